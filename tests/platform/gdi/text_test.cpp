// DrawTextW: text lands inside its rectangle in the DC's colours, laid out as the flags say.
#include <gtest/gtest.h>

#include "grid.h"

using namespace gdi_test;

namespace {

constexpr std::uint32_t kPaper = 0x112233;
constexpr std::uint32_t kInkPixel = 0xF0C810;
constexpr std::uint32_t kBoxPixel = 0x008000;

struct Page {
    HWND window;
    HDC dc;
};

// A window of paper, and its DC with a 16-pixel bold font, ink and box colours.
Page page() {
    HWND window = make_window(160, 80);
    std::ranges::fill(pixels_of(window), kPaper);
    HDC dc = GetDC(window);
    LOGFONTW font{};
    font.lfHeight = 16;
    font.lfWeight = FW_BOLD;
    SelectObject(dc, CreateFontIndirectW(&font));
    SetTextColor(dc, RGB(240, 200, 16));
    SetBkColor(dc, RGB(0, 128, 0));
    return {window, dc};
}

bool between(std::uint32_t value, std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const auto v = (value >> shift) & 0xFF, lo = std::min((a >> shift) & 0xFF, (b >> shift) & 0xFF),
                   hi = std::max((a >> shift) & 0xFF, (b >> shift) & 0xFF);
        if (v < lo || v > hi) return false;
    }
    return true;
}

}  // namespace

// Glyphs blend the text colour into what is under them (the background colour's cells in opaque
// mode), and nothing of text far too long reaches past the rectangle.
TEST(DrawText, StaysInsideItsRectangleInTheDcsColours) {
    for (int mode : {TRANSPARENT, OPAQUE}) {
        const auto [window, dc] = page();
        SetBkMode(dc, mode);
        RECT r{30, 20, 100, 50};
        EXPECT_GT(DrawTextW(dc, L"Scrivo 42 WWWWWWWW\nWWWWWW\nWWWWWW", -1, &r, DT_LEFT), 30);
        const Grid<std::uint32_t> g = read_window(window);
        int ink = 0;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                const std::uint32_t pixel = g.at(x, y);
                const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                ASSERT_TRUE(pixel == kPaper || (inside && between(pixel, mode == OPAQUE ? kBoxPixel : kPaper, kInkPixel))) << x << "," << y;
                ink += pixel == kInkPixel;
            }
        EXPECT_GT(ink, 20);
    }
}

// What the message box lays out with: lines wrapped at spaces and measured without drawing; no text
// or no rectangle draws nothing.
TEST(DrawText, CalcRectWrapsAndMeasuresWithoutDrawing) {
    const auto [window, dc] = page();
    const Grid<std::uint32_t> before = read_window(window);
    RECT word{0, 0, 0, 0}, three{0, 0, 0, 0};
    const int line = DrawTextW(dc, L"three", -1, &word, DT_CALCRECT);
    EXPECT_NEAR(line, 16, 1) << "a positive height is the whole cell";
    three.right = word.right + 1;
    EXPECT_EQ(DrawTextW(dc, L"one two\r\nthree", -1, &three, DT_CALCRECT | DT_WORDBREAK), 3 * line);
    EXPECT_LE(three.right, word.right + 1);
    // A word wider than the line: clipped on one line, or broken over lines to be read whole.
    RECT path{0, 0, word.right + 1, 0};
    EXPECT_EQ(DrawTextW(dc, L"at /threethreethree", -1, &path, DT_CALCRECT | DT_WORDBREAK), 2 * line);
    path.right = word.right + 1;
    EXPECT_GE(DrawTextW(dc, L"at /threethreethree", -1, &path, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL), 4 * line);
    EXPECT_LE(path.right, word.right + 1);
    EXPECT_EQ(DrawTextW(dc, nullptr, -1, &word, DT_LEFT), 0);
    EXPECT_EQ(DrawTextW(dc, L"1", -1, nullptr, DT_LEFT), 0);
    EXPECT_EQ(read_window(window), before);
}
