// Block copies: the colour rule, copies within one surface, clipping, stretching and raster
// operations, each checked against a plain per-pixel model.
#include <gtest/gtest.h>

#include <climits>

#include "gdi/window_dc.h"
#include "grid.h"

using namespace gdi_test;
using platform::Rect;

namespace {

constexpr COLORREF kPen = RGB(200, 10, 0);
constexpr COLORREF kPage = RGB(0, 20, 90);
constexpr std::uint32_t kPenPixel = 0xC80A00;
constexpr std::uint32_t kPagePixel = 0x00145A;

auto copy_source = [](auto s, auto) { return s; };

Rect everything(int width, int height) { return {0, 0, width, height}; }

void scramble_surface(HWND window, int height, unsigned seed) {
    std::uint32_t* p = fake_pixels(window);
    for (int i = 0; i < fake_surface_width(window) * height; ++i) {
        seed = seed * 1103515245u + 12345u;
        p[i] = (seed >> 8) & 0xFFFFFF;
    }
}

HDC coloured_window_dc(HWND window, const platform::Rect* clip = nullptr) {
    HDC dc = platform::dc_open_window(window, clip);
    SetTextColor(dc, kPen);
    SetBkColor(dc, kPage);
    return dc;
}

}  // namespace

TEST(CopyWithinOneImage, OneBitBlocksMoveAsIfReadFirst) {
    const MonoImage image = make_mono_image(100, 40);
    unsigned seed = 1;
    for (int shift_x : {-37, -9, -8, -7, -1, 0, 1, 3, 8, 33})
        for (int shift_y : {-3, -1, 0, 2})
            for (int w : {1, 5, 20, 25, 31, 32, 33, 64}) {
                if (shift_x == 0 && shift_y == 0) continue;
                SCOPED_TRACE(testing::Message() << "shift " << shift_x << "," << shift_y << " width " << w);
                image.scramble(++seed);
                const Grid<int> before = read_bits(image);
                const Block b{40 + shift_x, 15 + shift_y, w, 7, 40, 15};
                ASSERT_NE(BitBlt(image.dc, 40 + shift_x, 15 + shift_y, w, 7, image.dc, 40, 15, SRCCOPY), 0);
                ASSERT_EQ(read_bits(image), model_copy(before, before, b, everything(100, 40), copy_source));
            }
}

TEST(CopyWithinOneImage, ScreenToScreenScrollsBothWays) {
    HWND window = fake_window(64, 48);
    HDC dc = platform::dc_open_window(window, nullptr);
    unsigned seed = 1;
    for (int shift_x : {-3, 0, 5})
        for (int shift_y : {-17, -1, 0, 1, 17}) {
            if (shift_x == 0 && shift_y == 0) continue;
            SCOPED_TRACE(testing::Message() << "shift " << shift_x << "," << shift_y);
            scramble_surface(window, 48, ++seed);
            const Grid<std::uint32_t> before = read_surface(window, 48);
            // As the page scroll does it: the band that stays moves by the shift.
            const int sx = std::max(0, -shift_x), sy = std::max(0, -shift_y);
            const int dx = std::max(0, shift_x), dy = std::max(0, shift_y);
            const int w = 64 - std::abs(shift_x), h = 48 - std::abs(shift_y);
            ASSERT_NE(BitBlt(dc, dx, dy, w, h, dc, sx, sy, SRCCOPY), 0);
            ASSERT_EQ(read_surface(window, 48), model_copy(before, before, Block{dx, dy, w, h, sx, sy}, everything(64, 48), copy_source));
        }
}

TEST(Clipping, OneBitCopiesStopAtEveryEdgeOfBothImages) {
    const MonoImage target = make_mono_image(50, 30);
    const MonoImage source = make_mono_image(20, 12);
    source.scramble(7);
    const Grid<int> from = read_bits(source);
    const std::vector<Block> blocks = {
        {-5, 4, 20, 12, 0, 0},    {4, -7, 20, 12, 0, 0},     {41, 3, 20, 12, 0, 0},   {3, 25, 20, 12, 0, 0},
        {2, 2, 20, 12, -6, 0},    {2, 2, 20, 12, 0, -5},     {2, 2, 20, 12, 9, 0},    {2, 2, 20, 12, 0, 3},
        {45, 26, 30, 30, -3, -2}, {-60, 0, 20, 12, 0, 0},    {0, 0, 20, 12, 20, 0},   {0, 0, 20, 12, 0, -12},
        {3, 1, INT_MAX, INT_MAX, 1, 1}, {INT_MAX - 3, 0, 20, 12, 0, 0}, {0, INT_MIN, 20, 12, 0, 0},
        {1, 1, 20, 12, INT_MIN, 0}, {1, 1, INT_MAX, 5, INT_MAX - 10, 0},
    };
    for (const Block& b : blocks) {
        SCOPED_TRACE(testing::Message() << "block " << b.dx << "," << b.dy << " " << b.w << "x" << b.h << " from " << b.sx << "," << b.sy);
        target.scramble(3);
        const Grid<int> before = read_bits(target);
        ASSERT_NE(BitBlt(target.dc, static_cast<int>(b.dx), static_cast<int>(b.dy), static_cast<int>(b.w), static_cast<int>(b.h),
                         source.dc, static_cast<int>(b.sx), static_cast<int>(b.sy), SRCCOPY),
                  0);
        ASSERT_EQ(read_bits(target), model_copy(before, from, b, everything(50, 30), copy_source));
    }
}

// The colour rule on a window: 0 bits in the text colour, 1 bits in the background colour, cut to
// the child window's place on its parent's surface (and to the DC's own clip when it has one).
TEST(Clipping, OneBitOntoAChildWindowPaintsOnlyItsPlace) {
    HWND top = fake_window(60, 40);
    HWND child = fake_child(top, 10, 8, 30, 20);
    const Rect clip_in_client{2, 3, 25, 15};
    const MonoImage source = make_mono_image(21, 13, true);  // the table's order must not matter
    source.scramble(11);
    const Grid<int> from = read_bits(source);
    auto colour = [](int bit, std::uint32_t) { return bit ? kPagePixel : kPenPixel; };
    const std::vector<Block> blocks = {{-4, -3, 21, 13, 0, 0}, {15, 10, 21, 13, 0, 0}, {3, 2, 21, 13, 5, 1},
                                       {-2, 9, 40, 40, -3, -3}, {1, 1, 21, 13, 1, 1},  {0, 0, 30, 20, 0, 0}};
    for (bool clipped : {false, true}) {
        HDC dc = coloured_window_dc(child, clipped ? &clip_in_client : nullptr);
        const Rect clip = clipped ? clip_in_client.offset(10, 8) : Rect{10, 8, 40, 28};
        for (const Block& b : blocks) {
            SCOPED_TRACE(testing::Message() << (clipped ? "clipped " : "") << "block " << b.dx << "," << b.dy);
            scramble_surface(top, 40, 5);
            const Grid<std::uint32_t> before = read_surface(top, 40);
            ASSERT_NE(BitBlt(dc, static_cast<int>(b.dx), static_cast<int>(b.dy), static_cast<int>(b.w), static_cast<int>(b.h),
                             source.dc, static_cast<int>(b.sx), static_cast<int>(b.sy), SRCCOPY),
                      0);
            const Block on_surface{b.dx + 10, b.dy + 8, b.w, b.h, b.sx, b.sy};
            ASSERT_EQ(read_surface(top, 40), model_copy(before, from, on_surface, clip, colour));
        }
    }
}

TEST(ColourRule, ColourToOneBitKeepsTheSourceBackgroundAsPaper) {
    HWND window = fake_window(16, 4);
    HDC screen = platform::dc_open_window(window, nullptr);
    SetBkColor(screen, kPage);
    std::uint32_t* p = fake_pixels(window);
    for (int i = 0; i < 64; ++i) p[i] = i % 3 == 0 ? kPagePixel : (i % 3 == 1 ? kPenPixel : 0xFFFFFF);
    const MonoImage image = make_mono_image(16, 4);
    ASSERT_NE(BitBlt(image.dc, 0, 0, 16, 4, screen, 0, 0, SRCCOPY), 0);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(image.bit(i % 16, i / 16), i % 3 == 0 ? 1 : 0) << i;
}

TEST(ColourRule, OneBitToOneBitCopiesBitsWhateverTheTables) {
    const MonoImage source = make_mono_image(24, 3, true);
    const MonoImage target = make_mono_image(24, 3);
    source.scramble(2);
    SetTextColor(target.dc, RGB(255, 255, 255));
    SetBkColor(target.dc, RGB(0, 0, 0));
    ASSERT_NE(BitBlt(target.dc, 0, 0, 24, 3, source.dc, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(read_bits(target), read_bits(source));
}

TEST(Clipping, NegativeSizesDrawNothing) {
    const MonoImage image = make_mono_image(16, 16);
    const MonoImage source = make_mono_image(16, 16);
    PatBlt(image.dc, 0, 0, 16, 16, WHITENESS);
    EXPECT_EQ(BitBlt(image.dc, 8, 8, -4, 4, source.dc, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(BitBlt(image.dc, 8, 8, 4, -4, source.dc, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchBlt(image.dc, 8, 8, -4, 4, source.dc, 0, 0, 2, 2, SRCCOPY), 0);
    EXPECT_EQ(StretchBlt(image.dc, 8, 8, 4, 4, source.dc, 0, 0, -2, 2, SRCCOPY), 0);
    EXPECT_EQ(PatBlt(image.dc, 8, 8, -4, -4, BLACKNESS), 0);
    EXPECT_NE(BitBlt(image.dc, 8, 8, 0, 0, source.dc, 0, 0, SRCCOPY), 0) << "an empty block is fine";
    for (int i = 0; i < image.stride * 16; ++i) EXPECT_EQ(image.bits[i] & 0xFF, i % 4 < 2 ? 0xFF : 0x00) << i;
}

// The page indicator: one ink pixel stretched over a box, one paper pixel over the box inside it.
TEST(Stretch, OnePixelFillsTheBox) {
    HWND window = fake_window(40, 24);
    HDC dc = coloured_window_dc(window);
    const MonoImage pen = make_mono_image(20, 20);
    const MonoImage eraser = make_mono_image(20, 20);
    PatBlt(pen.dc, 0, 0, 20, 20, BLACKNESS);
    PatBlt(eraser.dc, 0, 0, 20, 20, WHITENESS);
    ASSERT_NE(StretchBlt(dc, 0, 0, 30, 17, pen.dc, 0, 0, 1, 1, SRCCOPY), 0);
    ASSERT_NE(StretchBlt(dc, 1, 1, 28, 15, eraser.dc, 0, 0, 1, 1, SRCCOPY), 0);
    const Grid<std::uint32_t> screen = read_surface(window, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool outer = x < 30 && y < 17;
            const bool inner = x >= 1 && x < 29 && y >= 1 && y < 16;
            EXPECT_EQ(screen.at(x, y), inner ? kPagePixel : (outer ? kPenPixel : 0u)) << x << "," << y;
        }
}

TEST(Stretch, NearestNeighbourWithClipping) {
    const MonoImage source = make_mono_image(5, 3);
    source.scramble(9);
    const Grid<int> from = read_bits(source);
    const MonoImage target = make_mono_image(12, 9);
    for (auto [dx, dy] : std::vector<std::pair<int, int>>{{0, 0}, {-3, 2}, {6, -4}, {5, 4}}) {
        target.scramble(4);
        Grid<int> expected = read_bits(target);
        ASSERT_NE(StretchBlt(target.dc, dx, dy, 11, 7, source.dc, 1, 0, 4, 3, SRCCOPY), 0);
        for (int y = std::max(dy, 0); y < std::min(dy + 7, 9); ++y)
            for (int x = std::max(dx, 0); x < std::min(dx + 11, 12); ++x)
                expected.at(x, y) = from.at(1 + (x - dx) * 4 / 11, (y - dy) * 3 / 7);
        EXPECT_EQ(read_bits(target), expected) << dx << "," << dy;
    }
    // Samples outside the source are not invented.
    target.scramble(4);
    const Grid<int> before = read_bits(target);
    ASSERT_NE(StretchBlt(target.dc, 0, 0, 12, 9, source.dc, 5, 3, 2, 2, SRCCOPY), 0);
    EXPECT_EQ(read_bits(target), before);
}

TEST(RasterOps, SourceOperationsCombineBits) {
    const MonoImage source = make_mono_image(40, 5);
    const MonoImage target = make_mono_image(40, 5);
    source.scramble(21);
    const Grid<int> from = read_bits(source);
    const std::vector<std::pair<DWORD, int (*)(int, int)>> ops = {
        {SRCAND, [](int s, int d) { return s & d; }},      {SRCPAINT, [](int s, int d) { return s | d; }},
        {SRCINVERT, [](int s, int d) { return s ^ d; }},   {NOTSRCCOPY, [](int s, int) { return 1 - s; }},
    };
    for (const auto& [rop, combine] : ops) {
        target.scramble(22);
        const Grid<int> before = read_bits(target);
        ASSERT_NE(BitBlt(target.dc, 3, 1, 30, 3, source.dc, 5, 2, rop), 0) << std::hex << rop;
        EXPECT_EQ(read_bits(target), model_copy(before, from, Block{3, 1, 30, 3, 5, 2}, everything(40, 5), combine)) << std::hex << rop;
    }
}

TEST(RasterOps, SourceOperationsOnColourUseTheColouredSource) {
    HWND window = fake_window(16, 2);
    HDC dc = coloured_window_dc(window);
    const MonoImage source = make_mono_image(16, 2);
    source.scramble(5);
    const Grid<int> from = read_bits(source);
    scramble_surface(window, 2, 6);
    const Grid<std::uint32_t> before = read_surface(window, 2);
    ASSERT_NE(BitBlt(dc, 0, 0, 16, 2, source.dc, 0, 0, SRCINVERT), 0);
    auto combine = [](int bit, std::uint32_t d) { return (bit ? kPagePixel : kPenPixel) ^ d; };
    EXPECT_EQ(read_surface(window, 2), model_copy(before, from, Block{0, 0, 16, 2, 0, 0}, everything(16, 2), combine));
}

TEST(RasterOps, PatBltFillsInvertsAndRefusesTheRest) {
    const MonoImage image = make_mono_image(40, 4);
    image.scramble(3);
    Grid<int> expected = read_bits(image);
    ASSERT_NE(PatBlt(image.dc, 3, 1, 30, 2, DSTINVERT), 0);
    for (int y = 1; y < 3; ++y)
        for (int x = 3; x < 33; ++x) expected.at(x, y) ^= 1;
    EXPECT_EQ(read_bits(image), expected);

    const Grid<int> before = read_bits(image);
    EXPECT_EQ(PatBlt(image.dc, 0, 0, 40, 4, SRCCOPY), 0) << "PatBlt has no source";
    EXPECT_EQ(PatBlt(image.dc, 0, 0, 40, 4, 0x00AA0029), 0);
    EXPECT_EQ(BitBlt(image.dc, 0, 0, 40, 4, image.dc, 0, 0, 0x12345678), 0);
    EXPECT_EQ(read_bits(image), before);

    HWND window = fake_window(8, 8);
    HDC dc = platform::dc_open_window(window, nullptr);
    SelectObject(dc, CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_NE(PatBlt(dc, 0, 0, 4, 8, PATCOPY), 0);
    ASSERT_NE(BitBlt(dc, 4, 0, 4, 8, nullptr, 0, 0, WHITENESS), 0) << "no source needed";
    ASSERT_NE(PatBlt(dc, 6, 0, 2, 8, DSTINVERT), 0);
    const std::uint32_t* p = fake_pixels(window);
    EXPECT_EQ(p[0], 0x010203u);
    EXPECT_EQ(p[8 * 7 + 5], 0xFFFFFFu);
    EXPECT_EQ(p[8 * 7 + 6], 0u);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    EXPECT_NE(PatBlt(dc, 0, 0, 8, 8, PATCOPY), 0);
    EXPECT_EQ(p[0], 0x010203u) << "the hollow brush paints nothing";
}

TEST(RasterOps, FillRectUsesTheBrushColourOrTheNearestBit) {
    HWND window = fake_window(8, 8);
    HDC dc = platform::dc_open_window(window, nullptr);
    RECT r{2, 2, 5, 6};
    ASSERT_NE(FillRect(dc, &r, CreateSolidBrush(RGB(10, 20, 30))), 0);
    const std::uint32_t* p = fake_pixels(window);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(p[y * 8 + x], x >= 2 && x < 5 && y >= 2 && y < 6 ? 0x0A141Eu : 0u);
    RECT backwards{5, 5, 2, 2};
    EXPECT_NE(FillRect(dc, &backwards, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0);
    EXPECT_EQ(p[3 * 8 + 3], 0x0A141Eu);

    const MonoImage image = make_mono_image(8, 1);
    RECT all{0, 0, 8, 1};
    FillRect(image.dc, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    EXPECT_EQ(image.bits[0], 0xFF);
    FillRect(image.dc, &all, CreateSolidBrush(RGB(100, 100, 100)));
    EXPECT_EQ(image.bits[0], 0x00);
}
