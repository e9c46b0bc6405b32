// Pixel stores. A window's surface is 32-bit 0x00RRGGBB, top-down; a 1-bit image is laid out as a
// device-independent bitmap: bottom-up rows padded to 32 bits, most significant bit leftmost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/geometry.h"

namespace platform {

enum class PixelFormat { Mono1, Rgb32 };

struct Surface {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Rgb32;
    int stride = 0;               // bytes per stored row
    std::uint8_t* bits = nullptr;  // not owned

    // Image row y, counted from the top, wherever the layout stores it.
    std::uint8_t* row(int y) const {
        const int stored = format == PixelFormat::Mono1 ? height - 1 - y : y;
        return bits + static_cast<std::ptrdiff_t>(stored) * stride;
    }
    Rect bounds() const { return {0, 0, width, height}; }
};

// Bytes per row of a 1-bit image of the given width: the bits rounded up to whole 32-bit words.
inline std::int64_t mono_stride(std::int64_t width) { return ((width + 31) / 32) * 4; }

// Changed areas of a surface waiting to be presented. A few separate rectangles are kept so that
// marks in distant corners do not make the whole screen go out; past that they are merged.
class DirtyRegion {
public:
    void add(const Rect& r);
    bool empty() const { return rects_.empty(); }
    const std::vector<Rect>& rects() const { return rects_; }
    void clear() { rects_.clear(); }

private:
    // r, which no rectangle holds, joined to the first it wastes little beside, or kept apart. Out of
    // line, so that the look for a rectangle holding r saves no registers for it.
    [[gnu::noinline]] void join(const Rect& r);

    static constexpr std::size_t kMaxRects = 8;
    std::vector<Rect> rects_;
};

// COLORREF (0x00BBGGRR) to a surface pixel (0x00RRGGBB) and back.
inline std::uint32_t pixel_from_colorref(std::uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline std::uint32_t colorref_from_pixel(std::uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

}  // namespace platform
