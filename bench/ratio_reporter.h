#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Prints each measured operation beside what it should approach. Benchmarks are paired by name:
// "X" is compared with "X/limit" and any other "X/<name>"; with repetitions, medians are compared.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::map<std::string, double> m_nanoseconds;
    std::vector<std::string> m_order;
};

int RunBenchmarksWithRatios(int argc, char** argv);
