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

// Keeps the time of every repetition, by name; the console shows the summaries of repeated
// benchmarks and the single runs of the others.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, as the library's own reporter does.
    RecordingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) shown.push_back(run);
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.run_name.str();
            // In the benchmark's own unit; kept in nanoseconds.
            const bool wall = ends_with(name, "/real_time") || ends_with(name, "/manual_time");
            const double time = wall ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            times_[name].push_back(time * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit));
            // Its counters too, by name: a floor it times beside its path is one, in nanoseconds.
            for (const auto& [counter, value] : run.counters) times_[name + " " + counter].push_back(value.value);
        }
        if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
    }

    // The fastest repetition of a name in nanoseconds, or a negative number when it did not run:
    // other work on a shared machine only ever adds time.
    double fastest(const std::string& name) const {
        const auto found = times_.find(name);
        if (found == times_.end() || found->second.empty()) return -1;
        return *std::min_element(found->second.begin(), found->second.end());
    }

private:
    std::map<std::string, std::vector<double>> times_;
};

// Nanoseconds in the unit that keeps them short, to three figures.
std::string readable(double ns) {
    const char* unit = "ns";
    if (ns >= 1e6) {
        ns /= 1e6;
        unit = "ms";
    } else if (ns >= 1e3) {
        ns /= 1e3;
        unit = "us";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.*f %s", ns < 10 ? 2 : ns < 100 ? 1 : 0, ns, unit);
    return text;
}

}  // namespace

int run_with_ratios(int argc, char** argv, const std::vector<Ratio>& ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool printed_heading = false;
    for (const Ratio& ratio : ratios) {
        const double measured = reporter.fastest(ratio.measured);
        const double floor = reporter.fastest(ratio.floor);
        if (measured < 0 || floor <= 0) continue;
        if (!printed_heading) {
            std::printf("\n%-48s %10s  %-48s %10s %6s  %s\n", "measured", "fastest", "floor", "fastest", "ratio", "goal");
            printed_heading = true;
        }
        const double value = measured / floor;
        std::printf("%-48s %10s  %-48s %10s %6.2f  <= %.1f %s\n", ratio.measured.c_str(), readable(measured).c_str(),
                    ratio.floor.c_str(), readable(floor).c_str(), value, ratio.goal, value <= ratio.goal ? "met" : "MISSED");
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace bench
