// 1-bit DIB sections for the drawing tests, read and written straight through their pixel memory so
// that the tests check the layout independently of the blitter.
#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"

namespace gdi_test {

struct MonoHeader {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

// The header the notepad gives CreateDIBSection: bottom-up, 1 bit, black then white.
inline MonoHeader mono_header(int width, int height, bool white_first = false) {
    const RGBQUAD black{0, 0, 0, 0}, white{255, 255, 255, 0};
    return {{sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB, 0, 0, 0, 2, 2},
            {white_first ? white : black, white_first ? black : white}};
}

// The same pseudo-random sequence wherever a test fills memory with noise.
inline std::uint32_t next_random(unsigned& seed) { return (seed = seed * 1103515245u + 12345u) >> 8; }

struct MonoImage {
    HDC dc;
    HBITMAP bitmap;
    std::uint8_t* bits;
    int width;
    int height;
    int stride;

    // Image row y counted from the top, stored bottom-up.
    int bit(int x, int y) const { return (bits[(height - 1 - y) * stride + (x >> 3)] >> (7 - (x & 7))) & 1; }
    void scramble(unsigned seed) const {
        for (int i = 0; i < stride * height; ++i) bits[i] = static_cast<std::uint8_t>(next_random(seed));
    }
};

// A DIB section selected into a new memory DC; the test deletes nothing (each test is a process).
inline MonoImage make_mono_image(int width, int height, bool white_first = false) {
    const MonoHeader header = mono_header(width, height, white_first);
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(&header), DIB_PAL_COLORS, &bits, nullptr, 0);
    SelectObject(dc, bitmap);
    return {dc, bitmap, static_cast<std::uint8_t*>(bits), width, height, (width + 31) / 32 * 4};
}

// What GetObjectW says of a bitmap: width, height, bits per pixel.
inline std::array<LONG, 3> shape_of(HGDIOBJ bitmap) {
    BITMAP b{};
    GetObjectW(bitmap, sizeof b, &b);
    return {b.bmWidth, b.bmHeight, b.bmBitsPixel};
}

}  // namespace gdi_test
