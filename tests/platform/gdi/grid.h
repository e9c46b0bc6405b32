// Expected pictures for the drawing tests: grids of bits or pixels, real windows on the headless
// screen to draw on, and a plain per-pixel model of a clipped block copy to compare the blitter with.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "backend/headless/headless.h"
#include "mono_image.h"
#include "gdi/draw_target.h"

namespace gdi_test {

template <class T>
struct Grid {
    int width = 0;
    int height = 0;
    std::vector<T> cells;

    T& at(int x, int y) { return cells[static_cast<std::size_t>(y) * width + x]; }
    T at(int x, int y) const { return cells[static_cast<std::size_t>(y) * width + x]; }
    bool operator==(const Grid&) const = default;
};

inline Grid<int> read_bits(const MonoImage& image) {
    Grid<int> g{image.width, image.height, {}};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) g.cells.push_back(image.bit(x, y));
    return g;
}

inline platform::HeadlessBackend& headless_screen() {
    static platform::HeadlessBackend& screen = platform::use_headless_backend(240, 320);
    return screen;
}

// A visible window: top-level at (0, 0), or a child of `parent` at (x, y).
inline HWND make_window(int width, int height, HWND parent = nullptr, int x = 0, int y = 0) {
    headless_screen();
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.lpszClassName = L"Drawing";
    RegisterClassW(&window_class);  // refused as a duplicate after the first window
    const DWORD style = WS_VISIBLE | (parent ? WS_CHILD : WS_POPUP);
    return CreateWindowExW(0, L"Drawing", L"", style, x, y, width, height, parent, nullptr, nullptr, nullptr);
}

// The pixels (0x00RRGGBB) of the surface the window draws on, its top-level window's, as they are
// before the screen shows them.
inline Grid<std::uint32_t> read_window(HWND window) {
    platform::DrawTarget t{};
    platform::window_draw_target(window, &t);
    const auto* p = reinterpret_cast<const std::uint32_t*>(t.surface.bits);
    return {t.surface.width, t.surface.height, {p, p + static_cast<std::size_t>(t.surface.width) * t.surface.height}};
}

inline std::span<std::uint32_t> pixels_of(HWND window) {
    platform::DrawTarget t{};
    platform::window_draw_target(window, &t);
    return {reinterpret_cast<std::uint32_t*>(t.surface.bits), static_cast<std::size_t>(t.surface.width) * t.surface.height};
}

// A block copy: w×h from (sx, sy) of the source to (dx, dy) of the target, in surface coordinates.
struct Block {
    std::int64_t dx, dy, w, h, sx, sy;
};

inline BOOL blit(HDC target, const Block& b, HDC source) {
    return BitBlt(target, static_cast<int>(b.dx), static_cast<int>(b.dy), static_cast<int>(b.w), static_cast<int>(b.h),
                  source, static_cast<int>(b.sx), static_cast<int>(b.sy), SRCCOPY);
}

// What a copy must give: a target pixel inside `clip` and the block takes `colour(source)` when its
// source pixel lies inside the source grid; everything else stays. The source is a copy taken
// before the operation, which is what a copy within one surface must behave like.
template <class T, class S, class Colour = std::identity>
Grid<T> model_copy(Grid<T> target, const Grid<S>& source, const Block& b, const platform::Rect& clip = {0, 0, INT_MAX, INT_MAX},
                   Colour colour = {}) {
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const std::int64_t i = x - b.dx, j = y - b.dy, sx = b.sx + i, sy = b.sy + j;
            if (!clip.contains(x, y) || i < 0 || j < 0 || i >= b.w || j >= b.h) continue;
            if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height) continue;
            target.at(x, y) = static_cast<T>(colour(source.at(static_cast<int>(sx), static_cast<int>(sy))));
        }
    }
    return target;
}

}  // namespace gdi_test
