// Bitmaps: 1-bit DIB sections (what they report, their exact bit layout, the headers they refuse),
// and bitmaps from the built-in resources with the .bmp reader under hostile input.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "gdi/bmp_decode.h"
#include "grid.h"
#include "mono_image.h"
#include "system/resource_table.h"
#include "testing.h"

using namespace gdi_test;

TEST(DibSection, DescribesItselfWithRealFieldsAndWordPaddedRows) {
    void* bits = nullptr;
    MonoHeader header = mono_header(241, 1600);
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_PAL_COLORS, &bits, nullptr, 0);
    DIBSECTION d{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof d, &d), static_cast<int>(sizeof d));
    EXPECT_EQ(d.dsBmih.biSizeImage, 32u * 1600u);
    BITMAP b{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof b, &b), static_cast<int>(sizeof b));
    EXPECT_EQ(std::vector<LONG>({b.bmType, b.bmWidth, b.bmHeight, b.bmWidthBytes, b.bmPlanes, b.bmBitsPixel}),
              std::vector<LONG>({0, 241, 1600, 32, 1, 1}));
    EXPECT_TRUE(bits && b.bmBits == bits && d.dsBm.bmBits == bits);

    // The device's 32-bit sizes and sizes in between are not understood here, and other bitmaps
    // write no more than a BITMAP.
    std::vector<std::uint8_t> buffer(256, 0xEE);
    for (int size : {0, 1, 24, 84, 31, 33, 103, 105, 256}) EXPECT_EQ(GetObjectW(bitmap, size, buffer.data()), 0) << size;
    HBITMAP plain = CreateCompatibleBitmap(CreateCompatibleDC(nullptr), 5, 7);
    EXPECT_EQ(GetObjectW(plain, static_cast<int>(buffer.size()), buffer.data()), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(buffer[sizeof(BITMAP)], 0xEE) << "nothing written past the BITMAP";
}

// Pixels written through the drawing calls land at the bytes the file format and the blank-page
// test expect: bottom-up rows padded to 32 bits, most significant bit leftmost, paper 1 and ink 0.
TEST(DibSection, DrawingLandsOnTheDocumentedBits) {
    const MonoImage image = make_mono_image(40, 3);
    ASSERT_NE(PatBlt(image.dc, 0, 0, 40, 3, WHITENESS), 0);
    PatBlt(image.dc, 9, 0, 1, 1, BLACKNESS);    // top row: stored last
    PatBlt(image.dc, 0, 2, 1, 1, BLACKNESS);    // bottom row: stored first
    PatBlt(image.dc, 30, 1, 10, 1, BLACKNESS);  // the right end of the middle row
    EXPECT_EQ(std::vector<std::uint8_t>(image.bits, image.bits + 24),
              (std::vector<std::uint8_t>{0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFC, 0x00, 0, 0, 0,
                                         0xFF, 0xBF, 0xFF, 0xFF, 0xFF, 0, 0, 0}))
        << "the padding is left alone";
}

TEST(DibSection, RefusesWhatItCannotHoldSafely) {
    const std::pair<const char*, void (*)(BITMAPINFOHEADER&)> hostile[] = {
        {"biSize 12", [](auto& h) { h.biSize = 12; }},   {"biSize huge", [](auto& h) { h.biSize = 0xFFFFFFFF; }},
        {"planes 2", [](auto& h) { h.biPlanes = 2; }},   {"2 bits", [](auto& h) { h.biBitCount = 2; }},
        {"RLE", [](auto& h) { h.biCompression = 1; }},   {"width 0", [](auto& h) { h.biWidth = 0; }},
        {"width INT_MIN", [](auto& h) { h.biWidth = INT_MIN; }}, {"top-down", [](auto& h) { h.biHeight = -10; }},
        {"colours huge", [](auto& h) { h.biClrUsed = 0xFFFFFFFF; }}, {"largest", [](auto& h) { h.biWidth = h.biHeight = INT_MAX; }},
        {"just over the cap", [](auto& h) { h.biWidth = 32 * 1024, h.biHeight = 128 * 1024 + 1; }},
    };
    for (const auto& [name, change] : hostile) {
        MonoHeader header = mono_header(64, 10);
        change(header.header);
        void* bits = &header;
        EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << name;
        EXPECT_EQ(bits, nullptr) << name;
    }
    MonoHeader good = mono_header(32 * 1024, 128 * 1024);
    const auto* info = reinterpret_cast<BITMAPINFO*>(&good);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, info, 2, nullptr, nullptr, 0), nullptr) << "unknown usage";
    EXPECT_EQ(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, nullptr, reinterpret_cast<HANDLE>(8), 0), nullptr) << "no file mappings";
    EXPECT_EQ(CreateDIBSection(reinterpret_cast<HDC>(0x1234), info, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(platform::gdi_live_objects(), 0u);
    good.header.biClrUsed = 0;
    EXPECT_NE(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr) << "exactly the cap, 0 colours meaning 2";
}

TEST(LoadBitmap, OneBitFilesGiveInkZeroWhateverTheirTableOrder) {
    HBITMAP bitmap = LoadBitmapW(nullptr, L"ink_white_first");
    EXPECT_EQ(shape_of(bitmap), (std::array<LONG, 3>{10, 3, 1}));
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    const MonoImage image = make_mono_image(10, 3);
    ASSERT_NE(BitBlt(image.dc, 0, 0, 10, 3, dc, 0, 0, SRCCOPY), 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool black = (y == 0 && (x == 0 || x == 9)) || (y == 1 && x == 5) || (y == 2 && (x < 2 || x == 9));
            EXPECT_EQ(image.bit(x, y), black ? 0 : 1) << x << "," << y;
        }
}

// Every truncation and every header field set to hostile values: the reader refuses or reads, and
// never reads outside the bytes it was given (the sanitizer build watches).
TEST(LoadBitmap, ReaderSurvivesHostileFiles) {
    const platform::ResourceEntry& file = platform::kResourceTable[0];
    const std::vector<std::uint8_t> good(file.data, file.data + file.size);
    ASSERT_NE(platform::gdi::decode_bmp(good.data(), good.size()), nullptr);
    for (std::size_t n = 0; n < good.size(); ++n) EXPECT_EQ(platform::gdi::decode_bmp(good.data(), n), nullptr) << "cut to " << n;
    for (std::size_t offset = 0; offset + 4 <= 62; offset += 2)
        for (std::uint32_t value : {0u, 1u, 2u, 4u, 8u, 12u, 39u, 41u, 0x7FFFu, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
            std::vector<std::uint8_t> bad = good;
            std::memcpy(bad.data() + offset, &value, 4);
            platform::gdi::decode_bmp(bad.data(), bad.size());
        }
    EXPECT_EQ(platform::gdi_live_objects(), 0u);
}

// Colour pictures are chrome and grow with the display's scale, pixel for pixel; 1-bit ones are
// ink and keep their size.
TEST(LoadBitmap, ColourPicturesGrowWithTheScaleAndInkDoesNot) {
    headless_screen().set_desktop_scale(2);
    HBITMAP colour = LoadBitmapW(nullptr, L"colour_3x2");
    EXPECT_EQ(shape_of(colour), (std::array<LONG, 3>{6, 4, 32}));
    EXPECT_EQ(shape_of(LoadBitmapW(nullptr, L"ink_white_first")), (std::array<LONG, 3>{10, 3, 1}));
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, colour);
    const COLORREF expected[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                     {RGB(255, 255, 255), RGB(0, 0, 0), RGB(128, 128, 128)}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(GetPixel(dc, x, y), expected[y / 2][x / 2]) << x << "," << y;
}
