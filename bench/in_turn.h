// A path and its floor timed in turn, a round of each at a time, each round on its own: this
// machine's speed drifts by more than some of the differences measured, and both then see the same
// drift.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

namespace bench {

// The benchmark's time (manual, so its name ends in "/manual_time") is one of `count` parts of a
// round of `path`; its counter `floor_name` is the same part of a round of `floor`, in nanoseconds.
// With `count` > 1 give the benchmark a fixed number of rounds: the library reckons the rounds it
// needs from the time reported, which is then a small part of each.
template <typename Path, typename Floor>
void time_in_turn(benchmark::State& state, int count, Path path, const char* floor_name, Floor floor) {
    using Clock = std::chrono::steady_clock;
    double floor_seconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        floor();
        const Clock::time_point between = Clock::now();
        path();
        const Clock::time_point end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - between).count() / count);
        floor_seconds += std::chrono::duration<double>(between - start).count() / count;
    }
    state.counters[floor_name] = floor_seconds * 1e9 / static_cast<double>(state.iterations());
}

}  // namespace bench
