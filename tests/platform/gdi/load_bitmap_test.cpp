// Bitmaps from the built-in resources, the .bmp reader under hostile input, and TransparentImage
// of a 4-bit face.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdi/bmp_decode.h"
#include "gdi/window_dc.h"
#include "grid.h"
#include "platform/resource_table.h"

using namespace gdi_test;

namespace {

constexpr std::uint32_t kBlue = 0x0000FF, kRed = 0xFF0000, kSilver = 0xC0C0C0, kWhite = 0xFFFFFF,
                        kGreen = 0x00FF00;

// face16.bmp, top-down: blue background with red, silver and white pixels.
const std::vector<std::vector<std::uint32_t>> kFace = {{kBlue, kBlue, kRed, kRed, kBlue, kBlue},
                                                       {kBlue, kSilver, kSilver, kSilver, kSilver, kBlue},
                                                       {kBlue, kSilver, kWhite, kWhite, kSilver, kBlue},
                                                       {kBlue, kBlue, kBlue, kBlue, kBlue, kBlue}};

HDC holding(HBITMAP bitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    return dc;
}

std::vector<std::uint8_t> resource_bytes(const wchar_t* name) {
    for (std::size_t i = 0; i < platform::kResourceCount; ++i) {
        const auto& e = platform::kResourceTable[i];
        if (e.name && std::wcscmp(e.name, name) == 0) return {e.data, e.data + e.size};
    }
    return {};
}

}  // namespace

TEST(LoadBitmap, OneBitFilesGiveInkZeroWhateverTheirTableOrder) {
    const MonoImage image = make_mono_image(10, 3);
    for (const wchar_t* name : {L"INK_BLACK_FIRST", L"ink_white_first"}) {
        SCOPED_TRACE(testing::Message() << name);
        HBITMAP bitmap = LoadBitmapW(nullptr, name);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(shape_of(bitmap), (Shape{10, 3, 1}));
        PatBlt(image.dc, 0, 0, 10, 3, WHITENESS);
        ASSERT_NE(BitBlt(image.dc, 0, 0, 10, 3, holding(bitmap), 0, 0, SRCCOPY), 0);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool black = (y == 0 && (x == 0 || x == 9)) || (y == 1 && x == 5) || (y == 2 && (x < 2 || x == 9));
                EXPECT_EQ(image.bit(x, y), black ? 0 : 1) << x << "," << y;
            }
    }
}

TEST(LoadBitmap, ColourFilesBecomeThirtyTwoBitByIdOrName) {
    HBITMAP face = LoadBitmapW(nullptr, MAKEINTRESOURCEW(141));
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(shape_of(face), (Shape{6, 4, 32}));
    HDC dc = holding(face);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(GetPixel(dc, x, y), platform::colorref_from_pixel(kFace[y][x])) << x << "," << y;

    HDC colours = holding(LoadBitmapW(nullptr, L"COLOURS24"));
    EXPECT_EQ(GetPixel(colours, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(colours, 2, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(colours, 0, 1), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(colours, 2, 1), RGB(0, 0, 0));
}

TEST(LoadBitmap, DamagedFilesAreRefused) {
    EXPECT_EQ(LoadBitmapW(nullptr, L"CUT_SHORT"), nullptr);
    EXPECT_EQ(platform::gdi_live_objects(), 0u);
}

// Every header field set to hostile values and every truncation: the reader refuses or reads, and
// never reads outside the bytes it was given (the sanitizer build watches).
TEST(LoadBitmap, ReaderSurvivesHostileFiles) {
    for (const wchar_t* name : {L"INK_WHITE_FIRST", L"COLOURS24"}) {
        const std::vector<std::uint8_t> good = resource_bytes(name);
        ASSERT_FALSE(good.empty());
        for (std::size_t n = 0; n < good.size(); ++n)
            EXPECT_EQ(platform::gdi::decode_bmp(good.data(), n), nullptr) << "cut to " << n;
        const std::uint32_t hostile[] = {0, 1, 2, 3, 4, 8, 12, 39, 41, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
        for (std::size_t offset = 0; offset + 4 <= 62 && offset + 4 <= good.size(); offset += 2)
            for (std::uint32_t value : hostile) {
                std::vector<std::uint8_t> bad = good;
                std::memcpy(bad.data() + offset, &value, 4);
                platform::gdi::decode_bmp(bad.data(), bad.size());
            }
    }
}

TEST(TransparentImage, SkipsTheTransparentColourFromABitmapOrADc) {
    HWND window = fake_window(20, 10);
    HDC screen = platform::dc_open_window(window, nullptr);
    HBITMAP face = LoadBitmapW(nullptr, MAKEINTRESOURCEW(141));
    for (bool from_dc : {false, true}) {
        std::fill(fake_pixels(window), fake_pixels(window) + 200, kGreen);
        HDC face_dc = from_dc ? holding(face) : nullptr;
        ASSERT_NE(from_dc ? TransparentImage(screen, 3, 2, 6, 4, face_dc, 0, 0, 6, 4, RGB(0, 0, 255))
                          : TransparentImage(screen, 3, 2, 6, 4, face, 0, 0, 6, 4, RGB(0, 0, 255)),
                  0);
        const Grid<std::uint32_t> g = read_surface(window, 10);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool inside = x >= 3 && x < 9 && y >= 2 && y < 6;
                const std::uint32_t face_pixel = inside ? kFace[y - 2][x - 3] : kBlue;
                EXPECT_EQ(g.at(x, y), face_pixel == kBlue ? kGreen : face_pixel) << x << "," << y;
            }
        if (from_dc) DeleteDC(face_dc);
    }
    std::fill(fake_pixels(window), fake_pixels(window) + 200, kGreen);
    ASSERT_NE(TransparentImage(screen, 0, 0, 12, 8, face, 0, 0, 6, 4, RGB(0, 0, 255)), 0) << "stretched twice";
    const Grid<std::uint32_t> g = read_surface(window, 10);
    EXPECT_EQ(g.at(4, 0), kRed);
    EXPECT_EQ(g.at(5, 1), kRed);
    EXPECT_EQ(g.at(1, 1), kGreen);
    EXPECT_EQ(g.at(5, 5), kWhite);

    EXPECT_EQ(TransparentImage(screen, 0, 0, 6, 4, face, 0, 0, 0, 4, 0), 0);
    EXPECT_EQ(TransparentImage(screen, 0, 0, 6, 4, HANDLE{}, 0, 0, 6, 4, 0), 0);
}
