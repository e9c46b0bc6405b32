#include "mono_image.h"

namespace gdi_test {

MonoHeader mono_header(int width, int height, bool white_first) {
    MonoHeader h{};
    h.header.biSize = sizeof(BITMAPINFOHEADER);
    h.header.biWidth = width;
    h.header.biHeight = height;
    h.header.biPlanes = 1;
    h.header.biBitCount = 1;
    h.header.biCompression = BI_RGB;
    h.header.biClrUsed = 2;
    h.header.biClrImportant = 2;
    const RGBQUAD black{0, 0, 0, 0}, white{255, 255, 255, 0};
    h.colours[0] = white_first ? white : black;
    h.colours[1] = white_first ? black : white;
    return h;
}

void MonoImage::set(int x, int y, int value) const {
    std::uint8_t& byte = row(y)[x >> 3];
    const auto mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
    byte = static_cast<std::uint8_t>(value ? byte | mask : byte & ~mask);
}

void MonoImage::scramble(unsigned seed) const {
    for (int i = 0; i < stride * height; ++i) {
        seed = seed * 1103515245u + 12345u;
        bits[i] = static_cast<std::uint8_t>(seed >> 16);
    }
}

Shape shape_of(HGDIOBJ bitmap) {
    BITMAP b{};
    if (GetObjectW(bitmap, sizeof b, &b) != static_cast<int>(sizeof b)) return {};
    return {b.bmWidth, b.bmHeight, b.bmBitsPixel};
}

MonoImage make_mono_image(int width, int height, bool white_first) {
    MonoImage image;
    const MonoHeader header = mono_header(width, height, white_first);
    void* bits = nullptr;
    image.dc = CreateCompatibleDC(nullptr);
    image.bitmap = CreateDIBSection(image.dc, reinterpret_cast<const BITMAPINFO*>(&header), DIB_PAL_COLORS, &bits, nullptr, 0);
    SelectObject(image.dc, image.bitmap);
    BITMAP description{};
    GetObjectW(image.bitmap, sizeof description, &description);
    image.bits = static_cast<std::uint8_t*>(bits);
    image.width = width;
    image.height = height;
    image.stride = description.bmWidthBytes;
    return image;
}

}  // namespace gdi_test
