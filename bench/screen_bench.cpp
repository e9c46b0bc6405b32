// Composing and presenting the screen at device, desktop and 4K sizes: nothing changed, a small
// mark, the whole screen, and a message box going away.
#include <benchmark/benchmark.h>

#include "backend/headless/headless.h"
#include "platform/platform.h"
#include "gdi/draw_target.h"

namespace {

LRESULT plain_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A full-screen window on a fresh screen of the benchmark's size, painted and presented once.
HWND full_screen_window(const benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    platform::use_headless_backend(width, height);
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = plain_proc;
        wc.lpszClassName = L"Bench";
        return RegisterClassW(&wc) != 0;
    }();
    benchmark::DoNotOptimize(registered);
    const HWND w = CreateWindowExW(0, L"Bench", L"", WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, nullptr,
                                   nullptr);
    UpdateWindow(w);
    GetTickCount();
    return w;
}

void mark(HWND window, const platform::Rect& area) {
    platform::DrawTarget t{};
    platform::window_draw_target(window, &t);
    if (t.dirty) t.dirty->add(area);
}

void ScreenSizes(benchmark::internal::Benchmark* b) {
    b->Args({240, 320})->Args({1920, 1080})->Args({3840, 2160});
}

void BM_PresentNothingChanged(benchmark::State& state) {
    const HWND w = full_screen_window(state);
    for (auto _ : state) benchmark::DoNotOptimize(GetTickCount());
    DestroyWindow(w);
}
BENCHMARK(BM_PresentNothingChanged)->Apply(ScreenSizes);

void BM_PresentSmallMark(benchmark::State& state) {
    const HWND w = full_screen_window(state);
    for (auto _ : state) {
        mark(w, {100, 100, 132, 132});
        GetTickCount();
    }
    DestroyWindow(w);
}
BENCHMARK(BM_PresentSmallMark)->Apply(ScreenSizes);

void BM_PresentWholeScreen(benchmark::State& state) {
    const HWND w = full_screen_window(state);
    for (auto _ : state) {
        mark(w, {0, 0, static_cast<int>(state.range(0)), static_cast<int>(state.range(1))});
        GetTickCount();
    }
    DestroyWindow(w);
}
BENCHMARK(BM_PresentWholeScreen)->Apply(ScreenSizes);

void BM_BoxHiddenAndShown(benchmark::State& state) {
    const HWND w = full_screen_window(state);
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const HWND box = CreateWindowExW(0, L"Bench", L"box", WS_VISIBLE, width / 4, height / 3, width / 2, height / 3, w,
                                     nullptr, nullptr, nullptr);
    for (auto _ : state) {
        ShowWindow(box, SW_HIDE);
        GetTickCount();
        ShowWindow(box, SW_SHOW);
        GetTickCount();
    }
    DestroyWindow(w);
}
BENCHMARK(BM_BoxHiddenAndShown)->Apply(ScreenSizes);

}  // namespace

BENCHMARK_MAIN();
