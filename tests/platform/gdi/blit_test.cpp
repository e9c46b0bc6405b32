// Block copies: the colour rule, copies within one surface, clipping and stretching, each checked
// against a plain per-pixel model.
#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "gdi/window_dc.h"
#include "grid.h"

using namespace gdi_test;
using platform::Rect;

namespace {

void scramble_window(HWND window, unsigned seed) {
    for (std::uint32_t& pixel : pixels_of(window)) pixel = next_random(seed) & 0xFFFFFF;
}

// Copies `b` of `source` onto `target`, scrambled with `seed` first (the same image may be both),
// and compares the result with the model.
void expect_copy(const MonoImage& target, const Block& b, const MonoImage& source, unsigned seed) {
    SCOPED_TRACE(testing::Message() << "block " << b.dx << "," << b.dy << " " << b.w << "x" << b.h << " from " << b.sx
                                    << "," << b.sy << " onto " << target.width << " wide");
    target.scramble(seed);
    const Grid<int> before = read_bits(target), from = read_bits(source);
    ASSERT_NE(blit(target.dc, b, source.dc), 0);
    ASSERT_EQ(read_bits(target), model_copy(before, from, b));
}

}  // namespace

// Both directions, within and across bytes; and whole rows, which move as one block of memory (a
// width of whole words) or row by row (a part word at the right), as pages of the notepad close up,
// overlapping by any number of rows either way. (The page scroll, the same on a window, is seen
// through the program's scrolling tests.)
TEST(CopyWithinOneImage, MovesAsIfTheSourceWereReadFirst) {
    const MonoImage wide = make_mono_image(100, 60), whole_words = make_mono_image(96, 60);
    std::vector<std::pair<const MonoImage*, Block>> copies;
    for (int shift_x : {-37, -9, -8, -7, -1, 0, 1, 3, 8, 33})
        for (int shift_y : {-3, -1, 0, 2})
            for (int w : {1, 5, 25, 32, 33, 64}) copies.emplace_back(&wide, Block{40 + shift_x, 15 + shift_y, w, 7, 40, 15});
    for (const MonoImage* image : {&wide, &whole_words})
        for (int shift_y : {-25, -7, -1, 1, 7, 25})
            for (int h : {1, 20, 40}) copies.emplace_back(image, Block{0, 20 + shift_y, image->width, h, 0, 20});
    unsigned seed = 1;
    for (const auto& [image, b] : copies) ASSERT_NO_FATAL_FAILURE(expect_copy(*image, b, *image, ++seed));
}

TEST(Clipping, OneBitCopiesAndStretchesStopAtEveryEdgeAndNegativeSizesDrawNothing) {
    const MonoImage target = make_mono_image(50, 30);
    const MonoImage source = make_mono_image(20, 12);
    source.scramble(7);
    const Grid<int> from = read_bits(source);
    const Block blocks[] = {
        {-5, 4, 20, 12, 0, 0},    {4, -7, 20, 12, 0, 0},     {41, 3, 20, 12, 0, 0},   {3, 25, 20, 12, 0, 0},
        {2, 2, 20, 12, -6, 0},    {2, 2, 20, 12, 0, -5},     {2, 2, 20, 12, 9, 0},    {2, 2, 20, 12, 0, 3},
        {45, 26, 30, 30, -3, -2}, {-60, 0, 20, 12, 0, 0},    {0, 0, 20, 12, 20, 0},   {0, 0, 20, 12, 0, -12},
        {3, 1, INT_MAX, INT_MAX, 1, 1}, {INT_MAX - 3, 0, 20, 12, 0, 0}, {0, INT_MIN, 20, 12, 0, 0},
        {1, 1, 20, 12, INT_MIN, 0}, {1, 1, INT_MAX, 5, INT_MAX - 10, 0},
    };
    for (const Block& b : blocks) ASSERT_NO_FATAL_FAILURE(expect_copy(target, b, source, 3));
    // One pixel stretched over a box that hangs off the corner, as a pen stamp at the page's edge.
    Grid<int> expected = read_bits(target);
    ASSERT_NE(StretchBlt(target.dc, 44, -3, 10, 8, source.dc, 3, 2, 1, 1, SRCCOPY), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 44; x < 50; ++x) expected.at(x, y) = from.at(3, 2);
    EXPECT_EQ(read_bits(target), expected);
    EXPECT_EQ(BitBlt(target.dc, 8, 8, -4, 4, source.dc, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchBlt(target.dc, 8, 8, 4, 4, source.dc, 0, 0, -2, 2, SRCCOPY), 0);
    EXPECT_EQ(PatBlt(target.dc, 8, 8, -4, -4, BLACKNESS), 0);
    EXPECT_EQ(PatBlt(target.dc, 8, 8, 4, 4, SRCCOPY), 0) << "PatBlt has no source";
    EXPECT_EQ(BitBlt(target.dc, 8, 8, 4, 4, source.dc, 0, 0, 0x12345678), 0);
    EXPECT_NE(BitBlt(target.dc, 8, 8, 0, 0, source.dc, 0, 0, SRCCOPY), 0) << "an empty block is fine";
    EXPECT_EQ(read_bits(target), expected);
}

// Pen stamps, narrow blocks between two images, land bit for bit at every column, inside the image
// and hanging off its edges, from any column of their source.
TEST(Clipping, NarrowBlocksLandAtEveryColumnAndEdge) {
    const MonoImage target = make_mono_image(70, 24);
    const MonoImage source = make_mono_image(40, 20);
    source.scramble(11);
    for (const int w : {1, 7, 20, 25, 32})
        for (const int sx : {0, 3, 8})
            for (const int dy : {-5, 0, 2, 10})
                for (int dx = -w; dx <= 70; dx += 3)
                    ASSERT_NO_FATAL_FAILURE(
                        expect_copy(target, {dx, dy, w, 14, sx, 4}, source, static_cast<unsigned>(dx + 100 * dy + 7)));
}

// The colour rule on a window: 0 bits in the text colour, 1 bits in the background colour, cut to
// the child window's place on its parent's surface (and to the DC's own clip when it has one);
// between 1-bit images, bits are copied whatever the colours and tables.
TEST(ColourRule, OneBitOntoAChildWindowPaintsOnlyItsPlaceAndOntoOneBitCopiesBits) {
    HWND top = make_window(60, 40);
    HWND child = make_window(30, 20, top, 10, 8);
    const Rect clip_in_client{2, 3, 25, 15};
    const MonoImage source = make_mono_image(21, 13, true);
    source.scramble(11);
    const Grid<int> from = read_bits(source);
    const Block blocks[] = {{-4, -3, 21, 13, 0, 0}, {15, 10, 21, 13, 0, 0}, {3, 2, 21, 13, 5, 1},
                            {-2, 9, 40, 40, -3, -3}, {1, 1, 21, 13, 1, 1},  {0, 0, 30, 20, 0, 0},
                            {4, 4, 12, 8, 3, 2}};
    for (bool clipped : {false, true}) {
        HDC dc = platform::dc_open_window(child, clipped ? &clip_in_client : nullptr);
        SetTextColor(dc, RGB(200, 10, 0));
        SetBkColor(dc, RGB(0, 20, 90));
        const Rect clip = clipped ? clip_in_client.offset(10, 8) : Rect{10, 8, 40, 28};
        for (const Block& b : blocks) {
            SCOPED_TRACE(testing::Message() << (clipped ? "clipped " : "") << "block " << b.dx << "," << b.dy);
            scramble_window(top, 5);
            const Grid<std::uint32_t> before = read_window(top);
            ASSERT_NE(blit(dc, b, source.dc), 0);
            const Block on_surface{b.dx + 10, b.dy + 8, b.w, b.h, b.sx, b.sy};
            ASSERT_EQ(read_window(top), model_copy(before, from, on_surface, clip, [](int bit) { return bit ? 0x00145Au : 0xC80A00u; }));
        }
    }
    const MonoImage target = make_mono_image(21, 13);
    SetTextColor(target.dc, RGB(255, 255, 255));
    SetBkColor(target.dc, RGB(0, 0, 0));
    ASSERT_NE(BitBlt(target.dc, 0, 0, 21, 13, source.dc, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(read_bits(target), from);
}

// A stroke's stamps go between the same DCs time after time, and each must still take what holds at
// its own moment: the bitmap the target DC holds now, the one the source DC holds now, the window
// DC's colours now, and nothing at all through a DC deleted since. Every drawing call finds its DC's
// bitmap the way the stamps do, so this stands for them all.
TEST(Stamps, EachTakesTheSelectionsAndColoursOfItsMoment) {
    const MonoImage first = make_mono_image(40, 30), second = make_mono_image(40, 30);
    const MonoImage pen_a = make_mono_image(20, 20), pen_b = make_mono_image(20, 20);
    HDC image = CreateCompatibleDC(nullptr), pen = CreateCompatibleDC(nullptr);
    unsigned seed = 3;
    for (const MonoImage* m : {&first, &second, &pen_a, &pen_b}) {
        m->scramble(++seed);
        SelectObject(m->dc, CreateCompatibleBitmap(m->dc, 1, 1));  // lets the DIB section go
    }
    Grid<int> in_first = read_bits(first), in_second = read_bits(second);
    SelectObject(image, first.bitmap);
    SelectObject(pen, pen_a.bitmap);
    const Block stamps[] = {{5, 4, 20, 20, 0, 0}, {13, 9, 20, 20, 0, 0}, {3, 1, 20, 18, 0, 2}};
    ASSERT_NE(blit(image, stamps[0], pen), 0);
    in_first = model_copy(in_first, read_bits(pen_a), stamps[0]);
    SelectObject(image, second.bitmap);
    ASSERT_NE(blit(image, stamps[1], pen), 0);
    in_second = model_copy(in_second, read_bits(pen_a), stamps[1]);
    SelectObject(pen, pen_b.bitmap);
    ASSERT_NE(blit(image, stamps[2], pen), 0);
    in_second = model_copy(in_second, read_bits(pen_b), stamps[2]);
    EXPECT_EQ(read_bits(first), in_first);
    EXPECT_EQ(read_bits(second), in_second);
    DeleteDC(pen);
    EXPECT_EQ(blit(image, stamps[0], pen), 0) << "a deleted source DC";
    EXPECT_EQ(read_bits(second), in_second);

    SelectObject(pen_a.dc, pen_a.bitmap);
    HWND window = make_window(40, 30);
    HDC screen = platform::dc_open_window(window, nullptr);
    Grid<std::uint32_t> shown = read_window(window);
    for (const auto& [ink, paper] : {std::pair{RGB(200, 10, 0), RGB(0, 20, 90)}, std::pair{RGB(1, 2, 3), RGB(250, 251, 252)}}) {
        SetTextColor(screen, ink);
        SetBkColor(screen, paper);
        ASSERT_NE(blit(screen, stamps[0], pen_a.dc), 0);
        shown = model_copy(shown, read_bits(pen_a), stamps[0], {0, 0, 40, 30},
                           [&](int bit) { return platform::pixel_from_colorref(bit ? paper : ink); });
        EXPECT_EQ(read_window(window), shown);
    }
}

// A stamp whose pixels are all one value is copied as a fill of that value. Each stamp must still
// show what its bitmap holds at that moment: after drawing into it (through its DC, or by a copy
// into it), and after its creator writes a DIB section's pixels directly.
TEST(Stamps, OfOneValueShowEveryChangeToTheirBitmap) {
    const MonoImage image = make_mono_image(70, 30), section = make_mono_image(32, 20);
    HWND window = make_window(70, 30);
    HDC screen = platform::dc_open_window(window, nullptr);
    SetTextColor(screen, RGB(200, 10, 0));
    SetBkColor(screen, RGB(0, 20, 90));
    HDC loaded = CreateCompatibleDC(nullptr);
    SelectObject(loaded, CreateCompatibleBitmap(loaded, 32, 20));
    const auto bits_of = [](HDC dc) {
        Grid<int> g{32, 20, {}};
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 32; ++x) g.cells.push_back(GetPixel(dc, x, y) == RGB(255, 255, 255) ? 1 : 0);
        return g;
    };
    image.scramble(5);
    Grid<int> in_image = read_bits(image);
    Grid<std::uint32_t> shown = read_window(window);
    const auto stamp_all_widths = [&](HDC pen, const char* after) {
        SCOPED_TRACE(after);
        const Grid<int> pen_bits = bits_of(pen);
        for (int w : {1, 7, 8, 9, 16, 20, 25, 32}) {
            const Block b{w + 3, w % 9, w, 20 - w % 3, 0, w % 3};
            ASSERT_NE(blit(image.dc, b, pen), 0);
            ASSERT_NE(blit(screen, b, pen), 0);
            in_image = model_copy(in_image, pen_bits, b);
            shown = model_copy(shown, pen_bits, b, {0, 0, 70, 30},
                               [](int bit) { return bit ? 0x00145Au : 0xC80A00u; });
        }
        EXPECT_EQ(read_bits(image), in_image);
        EXPECT_EQ(read_window(window), shown);
    };
    PatBlt(loaded, 0, 0, 32, 20, BLACKNESS);
    stamp_all_widths(loaded, "all ink");
    PatBlt(loaded, 3, 5, 1, 1, WHITENESS);
    stamp_all_widths(loaded, "one paper pixel drawn in");
    PatBlt(loaded, 0, 0, 32, 20, WHITENESS);
    stamp_all_widths(loaded, "all paper");
    BitBlt(loaded, 0, 0, 32, 20, image.dc, 30, 5, SRCCOPY);
    stamp_all_widths(loaded, "a block copied in");

    for (int i = 0; i < section.stride * section.height; ++i) section.bits[i] = 0;
    stamp_all_widths(section.dc, "a DIB section all ink");
    section.bits[7 * section.stride] = 0x08;
    stamp_all_widths(section.dc, "one bit of the DIB section written directly");
}
