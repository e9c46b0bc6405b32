#include "ratios.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <unistd.h>

namespace bench {
namespace {

bool ends_with(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Keeps every figure the console shows, by name.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, as the library's own reporter does.
    RecordingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const std::string name = run.run_name.str();
            const double time = ends_with(name, "/real_time") ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            if (run.run_type == Run::RT_Iteration)
                times_[name].push_back(time);
            else if (run.aggregate_name == "median")
                medians_[name] = time;
        }
    }

    // The median of a name's figures in nanoseconds, or a negative number when it did not run.
    double median(const std::string& name) const {
        if (const auto reported = medians_.find(name); reported != medians_.end()) return reported->second;
        const auto found = times_.find(name);
        if (found == times_.end() || found->second.empty()) return -1;
        std::vector<double> sorted = found->second;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }

private:
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, double> medians_;  // from repetitions, where the library gives them
};

}  // namespace

int run_with_ratios(int argc, char** argv, const std::vector<Ratio>& ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool printed_heading = false;
    for (const Ratio& ratio : ratios) {
        const double measured = reporter.median(ratio.measured);
        const double floor = reporter.median(ratio.floor);
        if (measured < 0 || floor <= 0) continue;
        if (!printed_heading) {
            std::printf("\n%-48s %-48s %6s  %s\n", "measured", "floor", "ratio", "goal");
            printed_heading = true;
        }
        const double value = measured / floor;
        std::printf("%-48s %-48s %6.2f  <= %.1f %s\n", ratio.measured.c_str(), ratio.floor.c_str(), value, ratio.goal,
                    value <= ratio.goal ? "met" : "MISSED");
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace bench
