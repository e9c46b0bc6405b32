// Pixel work on surfaces, every rectangle already clipped by the caller: block copies with raster
// operations between 1-bit and 32-bit surfaces, fills, inversion and nearest-neighbour stretching.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "core/surface.h"

namespace platform::gdi {

enum class RasterOp { Copy, NotCopy, And, Paint, Invert };

// How pixels change format between source and target: the 0 bits of a 1-bit source show as `ink`
// and its 1 bits as `paper` on a 32-bit target; 32-bit source pixels equal to `paper` become 1 bits
// on a 1-bit target, all others 0. Values are surface pixels (0x00RRGGBB).
struct ColourRule {
    std::uint32_t ink = 0;
    std::uint32_t paper = 0xFFFFFF;
};

// Copies the w×h block at (sx, sy) of `source` onto (dx, dy) of `target`; both blocks lie inside
// their surfaces. On one surface the result is as if the source had been read whole first.
void copy_block(const Surface& target, int dx, int dy, int w, int h, const Surface& source, int sx, int sy,
                RasterOp op, const ColourRule& rule);

// `value` is a pixel, or 0 or 1 on a 1-bit surface.
void fill_block(const Surface& target, const Rect& area, std::uint32_t value);
void invert_block(const Surface& target, const Rect& area);

// Nearest-neighbour mapping of a destination rectangle onto a source rectangle; sizes positive.
struct StretchMap {
    int dx, dy, dw, dh;
    int sx, sy, sw, sh;

    int source_x(int x) const { return sx + static_cast<int>(std::int64_t{x - dx} * sw / dw); }
    int source_y(int y) const { return sy + static_cast<int>(std::int64_t{y - dy} * sh / dh); }
    // The part of the destination inside `target_clip` whose samples fall inside `source_clip`.
    Rect area(const Rect& target_clip, const Rect& source_clip) const;
};

void stretch_block(const Surface& target, const Rect& area, const StretchMap& map, const Surface& source,
                   RasterOp op, const ColourRule& rule);

// One pixel's colour as a surface pixel (a 1-bit source coloured by `rule`), and one pixel written.
std::uint32_t read_pixel(const Surface& source, int x, int y, const ColourRule& rule);
void write_pixel(const Surface& target, int x, int y, std::uint32_t value);

}  // namespace platform::gdi
