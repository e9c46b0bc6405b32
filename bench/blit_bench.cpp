// The hot drawing paths: a whole page of the 1-bit notepad onto a 32-bit window (every repaint and
// page flip), measured against a vectorised fill of the same pixels, and a pen stamp into the 1-bit
// notepad image (every point of a stroke), measured against the masked row writes it comes down to.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "backend/headless/headless.h"
#include "floors.h"
#include "in_turn.h"
#include "gdi/expand.h"
#include "platform/platform.h"
#include "ratios.h"
#include "gdi/draw_target.h"

namespace {

// A visible window of that size on a screen large enough for all of them, one for each size: a
// path and its floor write the same pixel memory (fresh memory can be a fifth faster or slower).
HWND bench_window(int width, int height) {
    static const bool ready = [] {
        platform::use_headless_backend(3840, 2160);
        WNDCLASSW window_class = {};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.lpszClassName = L"Blit";
        return RegisterClassW(&window_class) != 0;
    }();
    static std::map<std::pair<int, int>, HWND> windows;
    if (!ready) return nullptr;
    HWND& window = windows[{width, height}];
    if (!window)
        window = CreateWindowExW(0, L"Blit", L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                 nullptr, nullptr);
    return window;
}

struct MonoInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

HDC mono_image(int width, int height, void** pixels = nullptr) {
    MonoInfo info{{sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB, 0, 0, 0, 2, 2}, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_PAL_COLORS, &bits, nullptr, 0));
    // Something like handwriting: a pattern rather than one value, so no byte is special.
    auto* p = static_cast<std::uint8_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>((width + 31) / 32 * 4) * static_cast<std::size_t>(height); ++i)
        p[i] = static_cast<std::uint8_t>(i * 37 + (i >> 7));
    if (pixels) *pixels = bits;
    return dc;
}

void page_sizes(benchmark::internal::Benchmark* b) {
    b->Args({240, 320})->Args({1920, 1080})->Args({3840, 2160});
}

void set_area_counters(benchmark::State& state, int width, int height) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(width) * height * 4);
}

// RepaintFromImage of the whole screen; the source starts at a row of the tall notepad, and
// `column` > 0 starts it in the middle of a byte. Its floor, timed in turn with it, is a vectorised
// fill of the same window pixels.
void PageOntoWindow(benchmark::State& state, int column) {
    const auto width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    HDC notepad = mono_image(width + column, height * 3);
    HWND window = bench_window(width, height);
    HDC screen = GetDC(window);
    SetTextColor(screen, RGB(0, 0, 128));
    SetBkColor(screen, RGB(255, 255, 224));
    platform::DrawTarget target{};
    platform::window_draw_target(window, &target);
    auto* pixels = reinterpret_cast<std::uint32_t*>(target.surface.row(0));
    std::uint32_t value = 0x123456;
    bench::time_in_turn(
        state, 1,
        [&] {
            BitBlt(screen, 0, 0, width, height, notepad, column, height, SRCCOPY);
            benchmark::ClobberMemory();
        },
        "fill",
        [&] {
            bench::fill_pixels(pixels, width, height, target.surface.stride / 4, value++);
            benchmark::ClobberMemory();
        });
    set_area_counters(state, width, height);
}
BENCHMARK_CAPTURE(PageOntoWindow, aligned, 0)->Apply(page_sizes)->UseManualTime();
BENCHMARK_CAPTURE(PageOntoWindow, odd_column, 3)->Apply(page_sizes)->UseManualTime();

// The expansion alone, vector and plain, over a page's rows: the plain path is what a processor
// without AVX2 draws with.
void ExpandPage(benchmark::State& state, bool vector) {
    const auto width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const platform::gdi::ExpandBlock expand =
        vector ? platform::gdi::expand_block_vector() : platform::gdi::expand_block_plain;
    if (!expand) {
        state.SkipWithError("no vector path on this processor");
        return;
    }
    const std::size_t stride = static_cast<std::size_t>(width + 31) / 32 * 4;
    std::vector<std::uint8_t> source(stride * height);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 37 + (i >> 7));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (auto _ : state) {
        expand(pixels.data(), width, source.data(), static_cast<std::ptrdiff_t>(stride), 0, width, height, 0x000080,
               0xFFFFE0);
        benchmark::ClobberMemory();
    }
    set_area_counters(state, width, height);
}
BENCHMARK_CAPTURE(ExpandPage, vector, true)->Apply(page_sizes);
BENCHMARK_CAPTURE(ExpandPage, plain, false)->Apply(page_sizes);

// One pen stamp of 20×20 into a 240×1600 notepad image, at every column in turn. The stamp is a
// bitmap of solid ink made through its DC, as the program's loaded stamps are. Its floor, timed in
// turn with it a row of stamps at a time, is the 20 masked 32-bit row writes the same stamps come
// down to.
constexpr int StampColumns = 220;

void StampIntoImage(benchmark::State& state) {
    void* bits = nullptr;
    HDC notepad = mono_image(240, 1600, &bits);
    HDC stamp = CreateCompatibleDC(nullptr);
    SelectObject(stamp, CreateCompatibleBitmap(stamp, 20, 20));
    PatBlt(stamp, 0, 0, 20, 20, BLACKNESS);
    const std::ptrdiff_t stride = 32;
    // Image row 700 is stored row 899; the rows below it come one stride lower.
    auto* row700 = static_cast<std::uint8_t*>(bits) + 899 * stride;
    bench::time_in_turn(
        state, StampColumns,
        [&] {
            for (int x = 0; x < StampColumns; ++x) {
                BitBlt(notepad, x, 700, 20, 20, stamp, 0, 0, SRCCOPY);
                benchmark::ClobberMemory();
            }
        },
        "masked rows",
        [&] {
            for (int x = 0; x < StampColumns; ++x) {
                const std::uint32_t mask = __builtin_bswap32((~0u >> (x & 7)) & ~(~0u >> ((x & 7) + 20)));
                bench::masked_rows(row700 + (x >> 3), -stride, 20, mask, 0);
                benchmark::ClobberMemory();
            }
        });
}
// Rounds of about 6 µs: half a second.
BENCHMARK(StampIntoImage)->UseManualTime()->Iterations(100000);

}  // namespace

int main(int argc, char** argv) {
    return bench::run_with_ratios(argc, argv,
                                  {bench::in_turn("PageOntoWindow/aligned/1920/1080", "fill", 1.3),
                                   bench::in_turn("PageOntoWindow/aligned/3840/2160", "fill", 1.3),
                                   bench::in_turn("PageOntoWindow/odd_column/1920/1080", "fill", 1.3),
                                   bench::in_turn("PageOntoWindow/odd_column/3840/2160", "fill", 1.3),
                                   bench::in_turn("StampIntoImage/iterations:100000", "masked rows", 1.5)});
}
