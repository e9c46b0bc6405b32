// Runs the benchmarks of one executable and then prints each measured path against its floor from
// the same run, so that a loaded or slower machine moves both figures together.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct Ratio {
    std::string measured;  // full benchmark names, as printed
    std::string floor;
    double goal;           // the most the ratio may be
};

// A benchmark timed in turn with its floor (in_turn.h): `benchmark` is its name up to "/manual_time".
inline Ratio in_turn(const std::string& benchmark, const std::string& floor, double goal) {
    return {benchmark + "/manual_time", benchmark + "/manual_time " + floor, goal};
}

// Times are CPU times, or wall times for benchmarks named ".../real_time" (those that wait on a
// disk) or ".../manual_time" (those that time themselves). A floor that a benchmark times beside its
// path is a counter of it in nanoseconds, named "<benchmark> <counter>". With repetitions the
// fastest is taken. Returns the process's exit code.
int run_with_ratios(int argc, char** argv, const std::vector<Ratio>& ratios);

}  // namespace bench
