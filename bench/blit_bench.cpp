// The hot drawing paths: a whole page of the 1-bit notepad onto a 32-bit window (every repaint and
// page flip), measured against a plain 32-bit store loop over the same area, and a pen stamp into
// the 1-bit notepad image (every point of a stroke).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "backend/headless/headless.h"
#include "platform/platform.h"

namespace {

// A visible window of that size on a screen large enough for all of them, and its DC.
HDC window_dc(int width, int height) {
    static const bool ready = [] {
        platform::use_headless_backend(3840, 2160);
        WNDCLASSW window_class = {};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.lpszClassName = L"Blit";
        return RegisterClassW(&window_class) != 0;
    }();
    if (!ready) return nullptr;
    return GetDC(CreateWindowExW(0, L"Blit", L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                 nullptr, nullptr));
}

struct MonoInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

HDC mono_image(int width, int height) {
    MonoInfo info{{sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB, 0, 0, 0, 2, 2}, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_PAL_COLORS, &bits, nullptr, 0));
    // Something like handwriting: a pattern rather than one value, so no byte is special.
    auto* p = static_cast<std::uint8_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>((width + 31) / 32 * 4) * static_cast<std::size_t>(height); ++i)
        p[i] = static_cast<std::uint8_t>(i * 37 + (i >> 7));
    return dc;
}

void page_sizes(benchmark::internal::Benchmark* b) {
    b->Args({240, 320})->Args({1920, 1080})->Args({3840, 2160});
}

void set_area_counters(benchmark::State& state, int width, int height) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(width) * height * 4);
}

// The floor: storing every pixel of the page once.
void StoreLoop(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    std::uint32_t value = 0x123456;
    for (auto _ : state) {
        for (int y = 0; y < height; ++y) {
            std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * width;
            for (int x = 0; x < width; ++x) row[x] = value;
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
        ++value;
    }
    set_area_counters(state, width, height);
}
BENCHMARK(StoreLoop)->Apply(page_sizes);

// RepaintFromImage of the whole screen; the source starts at a row of the tall notepad, and
// `column` > 0 starts it in the middle of a byte.
void PageOntoWindow(benchmark::State& state, int column) {
    const auto width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    HDC notepad = mono_image(width + column, height * 3);
    HDC screen = window_dc(width, height);
    SetTextColor(screen, RGB(0, 0, 128));
    SetBkColor(screen, RGB(255, 255, 224));
    for (auto _ : state) {
        BitBlt(screen, 0, 0, width, height, notepad, column, height, SRCCOPY);
        benchmark::ClobberMemory();
    }
    set_area_counters(state, width, height);
}
BENCHMARK_CAPTURE(PageOntoWindow, aligned, 0)->Apply(page_sizes);
BENCHMARK_CAPTURE(PageOntoWindow, odd_column, 3)->Apply(page_sizes);

// The same copy onto a 32-bit bitmap: the drawing alone, without what the window system does
// after each call to a window.
void PageOntoColourBitmap(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    HDC notepad = mono_image(width, height * 3);
    HDC target = CreateCompatibleDC(nullptr);
    SelectObject(target, CreateCompatibleBitmap(window_dc(1, 1), width, height));
    SetTextColor(target, RGB(0, 0, 128));
    SetBkColor(target, RGB(255, 255, 224));
    for (auto _ : state) {
        BitBlt(target, 0, 0, width, height, notepad, 0, height, SRCCOPY);
        benchmark::ClobberMemory();
    }
    set_area_counters(state, width, height);
}
BENCHMARK(PageOntoColourBitmap)->Apply(page_sizes);

// One pen stamp of 20×20 into a 240×1600 notepad image, at every column in turn.
void StampIntoImage(benchmark::State& state) {
    HDC notepad = mono_image(240, 1600);
    HDC stamp = mono_image(20, 20);
    PatBlt(stamp, 0, 0, 20, 20, BLACKNESS);
    int x = 0;
    for (auto _ : state) {
        BitBlt(notepad, x, 700, 20, 20, stamp, 0, 0, SRCCOPY);
        x = x == 219 ? 0 : x + 1;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(StampIntoImage);

}  // namespace
