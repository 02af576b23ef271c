#include "ratio_reporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        // With repetitions the median stands for the operation; a single run stands for itself.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (!median && (run.run_type != Run::RT_Iteration || run.iterations == 0 || run.repetitions > 1))
            continue;
        // CPU time, which a loaded machine disturbs least; real time where the benchmark asks for it
        // (file writing, whose waits are part of the cost).
        benchmark::BenchmarkName key = run.run_name;
        const bool realTime = !key.time_type.empty();
        key.time_type.clear();
        const std::string name = key.str();
        if (!m_nanoseconds.count(name))
            m_order.push_back(name);
        const double time = realTime ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        m_nanoseconds[name] = time / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\n%-48s %-12s %11s %11s %8s\n", "operation", "against", "time", "other", "ratio");
    // "X" is compared with every "X/<other>" measured in the same run.
    for (const std::string& name : m_order) {
        for (const std::string& other : m_order) {
            if (other.size() <= name.size() + 1 || other.compare(0, name.size() + 1, name + "/") != 0)
                continue;
            const double mine = m_nanoseconds[name];
            const double theirs = m_nanoseconds[other];
            std::printf("%-48s %-12s %8.1f us %8.1f us %7.2fx\n", name.c_str(),
                        other.c_str() + name.size() + 1, mine / 1000.0, theirs / 1000.0, mine / theirs);
        }
    }
}

int RunBenchmarksWithRatios(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
