#pragma once
// The console reporter of every benchmark program, keeping each benchmark's
// time per iteration so the program can print the ratios its targets are set in.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.iterations > 0) {
                seconds_[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
                cpuSeconds_[run.benchmark_name()] = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            }
        ConsoleReporter::ReportRuns(runs);
    }

    // Runs the benchmarks the command line selects; false when it holds an
    // argument the library does not know.
    bool run(int& argc, char** argv)
    {
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            return false;
        benchmark::RunSpecifiedBenchmarks(this);
        benchmark::Shutdown();
        return true;
    }

    // Seconds per iteration of the named benchmark; 0 when it did not run.
    double seconds(const std::string& name) const
    {
        const auto it = seconds_.find(name);
        return it == seconds_.end() ? 0.0 : it->second;
    }

    // The same in processor time, which other work on a shared machine disturbs less.
    double cpuSeconds(const std::string& name) const
    {
        const auto it = cpuSeconds_.find(name);
        return it == cpuSeconds_.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> seconds_;
    std::map<std::string, double> cpuSeconds_;
};
