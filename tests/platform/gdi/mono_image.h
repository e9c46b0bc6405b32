// 1-bit DIB sections for the drawing tests, read and written straight through their pixel memory so
// that the tests check the layout independently of the blitter.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace gdi_test {

struct MonoHeader {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

// The header the notepad gives CreateDIBSection: bottom-up, 1 bit, black then white.
MonoHeader mono_header(int width, int height, bool white_first = false);

struct MonoImage {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;

    // Image row y counted from the top, stored bottom-up.
    std::uint8_t* row(int y) const { return bits + static_cast<std::ptrdiff_t>(height - 1 - y) * stride; }
    int bit(int x, int y) const { return (row(y)[x >> 3] >> (7 - (x & 7))) & 1; }
    void set(int x, int y, int value) const;
    void scramble(unsigned seed) const;  // fills every byte with pseudo-random bits
};

// What GetObjectW says of a bitmap's size and depth.
struct Shape {
    LONG width;
    LONG height;
    WORD bits_per_pixel;
    bool operator==(const Shape&) const = default;
};
Shape shape_of(HGDIOBJ bitmap);

// A DIB section selected into a new memory DC; the test deletes nothing (each test is a process).
MonoImage make_mono_image(int width, int height, bool white_first = false);

}  // namespace gdi_test
