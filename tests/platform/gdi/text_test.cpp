// DrawTextW: text lands inside its rectangle in the DC's colours, laid out as the flags say.
#include <gtest/gtest.h>

#include "gdi/window_dc.h"
#include "grid.h"

using namespace gdi_test;

namespace {

constexpr std::uint32_t kPaper = 0x112233;
constexpr COLORREF kInk = RGB(240, 200, 16);
constexpr std::uint32_t kInkPixel = 0xF0C810;
constexpr COLORREF kBox = RGB(0, 128, 0);
constexpr std::uint32_t kBoxPixel = 0x008000;
constexpr int kWidth = 160;
constexpr int kHeight = 80;

HFONT font(LONG height, LONG weight = FW_BOLD) {
    LOGFONTW f{};
    f.lfHeight = height;
    f.lfWeight = weight;
    const wchar_t face[] = L"Swiss";
    std::copy(std::begin(face), std::end(face), f.lfFaceName);
    return CreateFontIndirectW(&f);
}

struct Screen {
    HWND window = fake_window(kWidth, kHeight);
    HDC dc = platform::dc_open_window(window, nullptr);

    Screen() {
        std::fill(fake_pixels(window), fake_pixels(window) + kWidth * kHeight, kPaper);
        SelectObject(dc, font(16));
        SetTextColor(dc, kInk);
        SetBkColor(dc, kBox);
    }
    Grid<std::uint32_t> pixels() const { return read_surface(window, kHeight); }
};

bool between(std::uint32_t value, std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const auto v = (value >> shift) & 0xFF, lo = std::min((a >> shift) & 0xFF, (b >> shift) & 0xFF),
                   hi = std::max((a >> shift) & 0xFF, (b >> shift) & 0xFF);
        if (v < lo || v > hi) return false;
    }
    return true;
}

// The columns and rows holding pixels of `pixel`, as a rectangle (empty when there are none).
RECT extent_of(const Grid<std::uint32_t>& g, std::uint32_t pixel) {
    RECT r{kWidth, kHeight, 0, 0};
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.at(x, y) == pixel) r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1), std::max<LONG>(r.bottom, y + 1)};
    return r;
}

int calc_width(HDC dc, const wchar_t* text, UINT flags = 0) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text, -1, &r, flags | DT_CALCRECT);
    return r.right;
}

}  // namespace

TEST(DrawText, GlyphsInTheTextColourStayInsideTheRectangle) {
    Screen s;
    SetBkMode(s.dc, TRANSPARENT);
    RECT r{20, 10, 140, 50};
    const int height = DrawTextW(s.dc, L"Scrivo 42", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_GT(height, 10);
    const Grid<std::uint32_t> g = s.pixels();
    int ink = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            if (!inside) {
                ASSERT_EQ(g.at(x, y), kPaper) << x << "," << y;
            }
            ASSERT_TRUE(between(g.at(x, y), kPaper, kInkPixel)) << "blended between ink and what was under it";
            ink += g.at(x, y) == kInkPixel;
        }
    EXPECT_GT(ink, 20);
}

TEST(DrawText, TextIsClippedToItsRectangle) {
    Screen s;
    RECT r{30, 20, 45, 30};
    DrawTextW(s.dc, L"WWWWWWWWWW\nWWWWWWWWWWW", -1, &r, DT_LEFT);
    const RECT inked = extent_of(s.pixels(), kInkPixel);
    const RECT boxed = extent_of(s.pixels(), kBoxPixel);
    EXPECT_TRUE(inked.left >= 30 && inked.right <= 45 && inked.top >= 20 && inked.bottom <= 30);
    EXPECT_TRUE(boxed.left >= 30 && boxed.right <= 45 && boxed.top >= 20 && boxed.bottom <= 30);
    EXPECT_LT(inked.left, inked.right);
}

TEST(DrawText, OpaqueModeFillsTheCellsWithTheBackgroundColour) {
    Screen s;
    RECT r{0, 0, kWidth, kHeight};
    const int height = DrawTextW(s.dc, L"1", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT cell = extent_of(s.pixels(), kBoxPixel);
    EXPECT_EQ(cell.bottom - cell.top, height);
    EXPECT_NEAR(cell.top - r.top, r.bottom - cell.bottom, 1) << "vertically centred";
    EXPECT_NEAR(cell.left - r.left, r.right - cell.right, 1) << "horizontally centred";

    RECT low{0, 0, 50, 70};
    DrawTextW(s.dc, L"1", -1, &low, DT_BOTTOM | DT_SINGLELINE | DT_RIGHT);
    const Grid<std::uint32_t> g = s.pixels();
    EXPECT_EQ(g.at(49, 69), kBoxPixel);
    EXPECT_NE(g.at(49, 70 - height - 1), kBoxPixel);
}

TEST(DrawText, AlignsLeftAndRight) {
    Screen s;
    SetBkMode(s.dc, OPAQUE);
    RECT left{10, 0, 150, 20};
    DrawTextW(s.dc, L"12", -1, &left, DT_LEFT);
    EXPECT_EQ(extent_of(s.pixels(), kBoxPixel).left, 10);
    RECT right{10, 30, 150, 50};
    DrawTextW(s.dc, L"12", -1, &right, DT_RIGHT);
    RECT lower = extent_of(s.pixels(), kBoxPixel);
    EXPECT_EQ(lower.right, 150);
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing) {
    Screen s;
    const Grid<std::uint32_t> before = s.pixels();
    RECT one{5, 5, 6, 6};
    const int h = DrawTextW(s.dc, L"W", -1, &one, DT_CALCRECT);
    EXPECT_EQ(one.bottom - one.top, h);
    EXPECT_NEAR(h, 16, 1) << "a positive height is the whole cell";
    EXPECT_GT(one.right - one.left, 5);
    RECT three{5, 5, 6, 6};
    EXPECT_EQ(DrawTextW(s.dc, L"W\nWW\r\nW", -1, &three, DT_CALCRECT), 3 * h);
    EXPECT_GT(three.right - three.left, one.right - one.left);
    EXPECT_EQ(s.pixels(), before);

    SelectObject(s.dc, font(-16));
    RECT bigger{0, 0, 0, 0};
    EXPECT_GT(DrawTextW(s.dc, L"W", -1, &bigger, DT_CALCRECT), h) << "a negative height is the character's";
}

TEST(DrawText, WrapsAtSpacesAndHonoursPrefixes) {
    Screen s;
    const int word = calc_width(s.dc, L"three");
    RECT narrow{0, 0, word + 1, 0};
    const int line = DrawTextW(s.dc, L"x", -1, &narrow, DT_CALCRECT);
    narrow = {0, 0, word + 1, 0};
    EXPECT_EQ(DrawTextW(s.dc, L"one two three", -1, &narrow, DT_CALCRECT | DT_WORDBREAK), 3 * line);
    EXPECT_LE(narrow.right, word + 1);
    narrow = {0, 0, word + 1, 0};
    EXPECT_EQ(DrawTextW(s.dc, L"one two three", -1, &narrow, DT_CALCRECT | DT_WORDBREAK | DT_SINGLELINE), line);

    EXPECT_EQ(calc_width(s.dc, L"&File"), calc_width(s.dc, L"File"));
    EXPECT_GT(calc_width(s.dc, L"&File", DT_NOPREFIX), calc_width(s.dc, L"File"));
    EXPECT_EQ(calc_width(s.dc, L"a&&b"), calc_width(s.dc, L"a&b", DT_NOPREFIX));
}

TEST(DrawText, LengthCountsCharactersAndMinusOneMeansToTheEnd) {
    Screen a, b;
    RECT r{0, 0, kWidth, 30};
    DrawTextW(a.dc, L"12345", 2, &r, DT_LEFT);
    DrawTextW(b.dc, L"12", -1, &r, DT_LEFT);
    EXPECT_EQ(a.pixels(), b.pixels());
    EXPECT_EQ(DrawTextW(a.dc, L"1", -2, &r, DT_LEFT), 0);
    EXPECT_EQ(DrawTextW(a.dc, nullptr, -1, &r, DT_LEFT), 0);
    EXPECT_EQ(DrawTextW(a.dc, L"1", -1, nullptr, DT_LEFT), 0);
}

TEST(DrawText, BoldInksMoreThanNormal) {
    Screen bold, normal;
    SelectObject(normal.dc, font(16, FW_NORMAL));
    RECT r{0, 0, kWidth, 30};
    DrawTextW(bold.dc, L"Scrivo", -1, &r, DT_LEFT);
    DrawTextW(normal.dc, L"Scrivo", -1, &r, DT_LEFT);
    auto inked = [](const Grid<std::uint32_t>& g) { return std::count(g.cells.begin(), g.cells.end(), kInkPixel); };
    EXPECT_GT(inked(bold.pixels()), inked(normal.pixels()));
}

TEST(DrawText, OnOneBitImagesGlyphsAreInk) {
    const MonoImage image = make_mono_image(64, 24);
    PatBlt(image.dc, 0, 0, 64, 24, WHITENESS);
    SelectObject(image.dc, font(16));
    SetBkMode(image.dc, TRANSPARENT);
    RECT r{8, 4, 40, 22};
    DrawTextW(image.dc, L"8", -1, &r, DT_LEFT);
    int ink = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            if (!image.bit(x, y)) {
                ASSERT_TRUE(inside) << x << "," << y;
                ++ink;
            }
        }
    EXPECT_GT(ink, 10);
}
