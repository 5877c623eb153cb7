#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lumivert::bench {

// Prints the runs as usual, then for each pair of benchmarks (ours, the bare loop) the ratio
// of their median CPU times.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Pair {
        std::string label;
        std::string ours; // benchmark name with its arguments, "BM_Rasterizer/16"
        std::string bare;
    };

    explicit RatioReporter(std::vector<Pair> pairs) : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times_[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedCPUTime();
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const Pair& pair : pairs_) {
            const double ours = times_[pair.ours];
            const double bare = times_[pair.bare];
            if (bare > 0) {
                std::printf("%s: ours %.3f, bare FreeType %.3f, ratio %.2f\n", pair.label.c_str(),
                            ours, bare, ours / bare);
            }
        }
    }

private:
    std::vector<Pair> pairs_;
    std::map<std::string, double> times_;
};

// Runs the registered benchmarks with the runs of different benchmarks interleaved, so that
// other work on the machine weighs on all alike, and reports the ratios of `pairs`.
inline int runInterleaved(int argc, char** argv, std::vector<RatioReporter::Pair> pairs) {
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace lumivert::bench
