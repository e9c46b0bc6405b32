// 1-bit DIB sections: what they report, their exact bit layout, and the headers they refuse.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <vector>

#include "gdi/window_dc.h"
#include "mono_image.h"

using namespace gdi_test;

TEST(DibSection, DescribesItselfWithRealFields) {
    void* bits = nullptr;
    MonoHeader header = mono_header(241, 1600);
    header.header.biXPelsPerMeter = 3780;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_PAL_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bits, nullptr);

    BITMAP b{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof b, &b), static_cast<int>(sizeof b));
    EXPECT_EQ(b.bmType, 0);
    EXPECT_EQ(b.bmWidth, 241);
    EXPECT_EQ(b.bmHeight, 1600);
    EXPECT_EQ(b.bmWidthBytes, 32);
    EXPECT_EQ(b.bmPlanes, 1);
    EXPECT_EQ(b.bmBitsPixel, 1);
    EXPECT_EQ(b.bmBits, bits);

    DIBSECTION d{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof d, &d), static_cast<int>(sizeof d));
    EXPECT_EQ(d.dsBm.bmBits, bits);
    EXPECT_EQ(d.dsBmih.biSize, 40u);
    EXPECT_EQ(d.dsBmih.biWidth, 241);
    EXPECT_EQ(d.dsBmih.biHeight, 1600);
    EXPECT_EQ(d.dsBmih.biBitCount, 1);
    EXPECT_EQ(d.dsBmih.biSizeImage, 32u * 1600u);
    EXPECT_EQ(d.dsBmih.biXPelsPerMeter, 3780);
    EXPECT_EQ(d.dsBmih.biClrUsed, 2u);
    EXPECT_EQ(d.dsBmih.biClrImportant, 2u);

    // The device's 32-bit sizes and sizes in between are not understood here.
    std::vector<std::uint8_t> buffer(256);
    for (int size : {0, 1, 24, 84, 31, 33, 103, 105, 256}) EXPECT_EQ(GetObjectW(bitmap, size, buffer.data()), 0) << size;
}

TEST(DibSection, RowsArePaddedToWholeWords) {
    for (auto [width, stride] : std::vector<std::pair<int, int>>{{1, 4}, {31, 4}, {32, 4}, {33, 8}, {240, 32}, {480, 60}}) {
        const MonoImage image = make_mono_image(width, 2);
        EXPECT_EQ(image.stride, stride) << width;
    }
}

TEST(DibSection, OtherBitmapsAnswerWithBitmapOnly) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 5, 7);
    std::vector<std::uint8_t> buffer(sizeof(DIBSECTION) + 16, 0xEE);
    EXPECT_EQ(GetObjectW(bitmap, static_cast<int>(buffer.size()), buffer.data()), static_cast<int>(sizeof(BITMAP)));
    BITMAP b{};
    std::memcpy(&b, buffer.data(), sizeof b);
    EXPECT_EQ(b.bmWidth, 5);
    EXPECT_EQ(b.bmHeight, 7);
    EXPECT_EQ(b.bmBits, nullptr);
    EXPECT_EQ(buffer[sizeof(BITMAP)], 0xEE) << "nothing written past the BITMAP";
    EXPECT_EQ(GetObjectW(bitmap, sizeof(BITMAP) - 1, buffer.data()), 0);
}

// Pixels written through the drawing calls land at the bytes the file format and the blank-page
// test expect: bottom-up rows, most significant bit leftmost, paper 1 and ink 0.
TEST(DibSection, DrawingLandsOnTheDocumentedBits) {
    const MonoImage image = make_mono_image(40, 3);
    ASSERT_NE(PatBlt(image.dc, 0, 0, 40, 3, WHITENESS), 0);
    for (int row = 0; row < 3; ++row) {
        for (int k = 0; k < 5; ++k) EXPECT_EQ(image.bits[row * 8 + k], 0xFF);
        for (int k = 5; k < 8; ++k) EXPECT_EQ(image.bits[row * 8 + k], 0x00) << "padding is left alone";
    }

    PatBlt(image.dc, 9, 0, 1, 1, BLACKNESS);   // top row: stored last
    PatBlt(image.dc, 0, 2, 1, 1, BLACKNESS);   // bottom row: stored first
    PatBlt(image.dc, 30, 1, 10, 1, BLACKNESS);  // the right end of the middle row
    EXPECT_EQ(image.bits[2 * 8 + 1], 0xBF);
    EXPECT_EQ(image.bits[0], 0x7F);
    EXPECT_EQ(image.bits[8 + 3], 0xFC);
    EXPECT_EQ(image.bits[8 + 4], 0x00);

    // A 3×2 ink stamp copied across a byte boundary.
    const MonoImage stamp = make_mono_image(3, 2);
    PatBlt(stamp.dc, 0, 0, 3, 2, BLACKNESS);
    PatBlt(image.dc, 0, 0, 40, 3, WHITENESS);
    ASSERT_NE(BitBlt(image.dc, 14, 1, 3, 2, stamp.dc, 0, 0, SRCCOPY), 0);
    for (int stored : {0, 1}) {
        EXPECT_EQ(image.bits[stored * 8 + 1], 0xFC);
        EXPECT_EQ(image.bits[stored * 8 + 2], 0x7F);
    }
    EXPECT_EQ(image.bits[2 * 8 + 1], 0xFF) << "image row 0 untouched";
    EXPECT_EQ(image.bits[2 * 8 + 2], 0xFF);
}

TEST(DibSection, WhiteFirstTableIsRecordedAndHonoured) {
    const MonoImage image = make_mono_image(16, 2, true);
    DIBSECTION d{};
    ASSERT_EQ(GetObjectW(image.bitmap, sizeof d, &d), static_cast<int>(sizeof d));
    PatBlt(image.dc, 0, 0, 16, 2, WHITENESS);
    EXPECT_EQ(image.bits[0], 0x00) << "white is entry 0 in this table";
    EXPECT_EQ(GetPixel(image.dc, 3, 1), RGB(255, 255, 255));
    PatBlt(image.dc, 0, 0, 8, 1, BLACKNESS);
    EXPECT_EQ(image.bits[4], 0xFF);
    EXPECT_EQ(GetPixel(image.dc, 3, 0), RGB(0, 0, 0));
}

TEST(DibSection, RefusesWhatItCannotHoldSafely) {
    using Change = std::function<void(MonoHeader&)>;
    const std::vector<std::pair<const char*, Change>> hostile = {
        {"biSize 12", [](MonoHeader& h) { h.header.biSize = 12; }},
        {"biSize 39", [](MonoHeader& h) { h.header.biSize = 39; }},
        {"biSize huge", [](MonoHeader& h) { h.header.biSize = 0xFFFFFFFF; }},
        {"planes 0", [](MonoHeader& h) { h.header.biPlanes = 0; }},
        {"planes 2", [](MonoHeader& h) { h.header.biPlanes = 2; }},
        {"0 bits", [](MonoHeader& h) { h.header.biBitCount = 0; }},
        {"2 bits", [](MonoHeader& h) { h.header.biBitCount = 2; }},
        {"65535 bits", [](MonoHeader& h) { h.header.biBitCount = 0xFFFF; }},
        {"RLE", [](MonoHeader& h) { h.header.biCompression = 1; }},
        {"bit fields", [](MonoHeader& h) { h.header.biCompression = 3; }},
        {"width 0", [](MonoHeader& h) { h.header.biWidth = 0; }},
        {"width -1", [](MonoHeader& h) { h.header.biWidth = -1; }},
        {"width INT_MIN", [](MonoHeader& h) { h.header.biWidth = INT_MIN; }},
        {"height 0", [](MonoHeader& h) { h.header.biHeight = 0; }},
        {"height INT_MIN", [](MonoHeader& h) { h.header.biHeight = INT_MIN; }},
        {"top-down", [](MonoHeader& h) { h.header.biHeight = -10; }},
        {"3 colours", [](MonoHeader& h) { h.header.biClrUsed = 3; }},
        {"colours huge", [](MonoHeader& h) { h.header.biClrUsed = 0xFFFFFFFF; }},
        {"largest", [](MonoHeader& h) { h.header.biWidth = h.header.biHeight = INT_MAX; }},
        {"4 GiB", [](MonoHeader& h) { h.header.biWidth = 1 << 20, h.header.biHeight = 1 << 15; }},
        {"just over the cap", [](MonoHeader& h) { h.header.biWidth = 32 * 1024, h.header.biHeight = 128 * 1024 + 1; }},
    };
    for (const auto& [name, change] : hostile) {
        MonoHeader header = mono_header(64, 10);
        change(header);
        void* bits = &header;
        EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr)
            << name;
        EXPECT_EQ(bits, nullptr) << name;
    }
    MonoHeader good = mono_header(64, 10);
    const auto* info = reinterpret_cast<BITMAPINFO*>(&good);
    void* bits = &good;
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, info, 2, &bits, nullptr, 0), nullptr) << "unknown usage";
    EXPECT_EQ(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, reinterpret_cast<HANDLE>(8), 0), nullptr)
        << "no file mappings";
    EXPECT_EQ(CreateDIBSection(reinterpret_cast<HDC>(0x1234), info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(platform::gdi_live_objects(), 0u);

    EXPECT_NE(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr) << "bits pointer optional";
    good.header.biClrUsed = 0;
    EXPECT_NE(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << "0 colours means 2";
    good.header.biWidth = 32 * 1024;
    good.header.biHeight = 128 * 1024;
    EXPECT_NE(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << "exactly the cap";
}
