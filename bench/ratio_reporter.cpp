#include "ratio_reporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.iterations == 0)
            continue;
        const std::string name = run.benchmark_name();
        if (!m_nanoseconds.count(name))
            m_order.push_back(name);
        m_nanoseconds[name] = run.real_accumulated_time * 1e9 / double(run.iterations);
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\n%-48s %14s %14s %8s\n", "operation", "time", "limit", "ratio");
    for (const std::string& name : m_order) {
        const auto limit = m_nanoseconds.find(name + "/limit");
        if (limit == m_nanoseconds.end())
            continue;
        const double mine = m_nanoseconds[name];
        std::printf("%-48s %11.1f us %11.1f us %7.2fx\n", name.c_str(), mine / 1000.0, limit->second / 1000.0,
                    mine / limit->second);
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
