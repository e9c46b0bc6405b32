// Expected pictures for the drawing tests: a grid of pixels or bits, and a plain per-pixel model of
// a clipped block copy to compare the blitter with.
#pragma once

#include <cstdint>
#include <vector>

#include "core/geometry.h"
#include "fake_windows.h"
#include "mono_image.h"

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

inline Grid<std::uint32_t> read_surface(HWND window, int height) {
    const int width = fake_surface_width(window);
    const std::uint32_t* p = fake_pixels(window);
    return {width, height, std::vector<std::uint32_t>(p, p + static_cast<std::size_t>(width) * height)};
}

// A block copy: w×h from (sx, sy) of the source to (dx, dy) of the target, in surface coordinates.
struct Block {
    std::int64_t dx, dy, w, h, sx, sy;
};

// What a copy must give: a target pixel inside `clip` and the block takes `combine(source, target)`
// when its source pixel lies inside the source grid; everything else stays. The source is a copy
// taken before the operation, which is what a copy within one surface must behave like.
template <class T, class S, class Combine>
Grid<T> model_copy(Grid<T> target, const Grid<S>& source, const Block& b, const platform::Rect& clip, Combine combine) {
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const std::int64_t i = x - b.dx, j = y - b.dy;
            if (!clip.contains(x, y) || i < 0 || j < 0 || i >= b.w || j >= b.h) continue;
            const std::int64_t sx = b.sx + i, sy = b.sy + j;
            if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height) continue;
            target.at(x, y) = combine(source.at(static_cast<int>(sx), static_cast<int>(sy)), target.at(x, y));
        }
    }
    return target;
}

}  // namespace gdi_test
