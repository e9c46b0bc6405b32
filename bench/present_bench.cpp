// Presenting through the SDL backend on a real X server (run it under Xvfb with
// bench/run_present_bench.sh): a whole frame and a small rectangle at three screen sizes.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "backend/sdl/sdl_backend.h"
#include "system/display_name.h"

namespace {

void present(benchmark::State& state, int width, int height, int rect_size) {
    std::string error;
    auto backend = platform::SdlBackend::open({width, height}, platform::display_to_open(platform::display_from_environment()), "Scrivo",
                                                &error);
    if (!backend) {
        state.SkipWithError(("no display: " + error).c_str());
        return;
    }
    state.SetLabel(SDL_GetCurrentVideoDriver());
    const platform::Rect whole{0, 0, width, height};
    const platform::Rect small{width / 2, height / 2, width / 2 + rect_size, height / 2 + rect_size};
    const platform::Rect& rect = rect_size == 0 ? whole : small;
    std::uint32_t colour = 0;
    for (auto _ : state) {
        backend->framebuffer()[static_cast<std::ptrdiff_t>(rect.top) * backend->framebuffer_pitch() + rect.left] = ++colour;
        backend->present(&rect, 1);
    }
}

void whole_frame(benchmark::State& state) {
    present(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 0);
}
void rect_32(benchmark::State& state) {
    present(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 32);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({240, 320})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(whole_frame)->Apply(sizes);
BENCHMARK(rect_32)->Apply(sizes);
BENCHMARK_MAIN();
