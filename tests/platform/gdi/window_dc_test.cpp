// Window DCs: drawing follows the window, marks what changed and lets the window system present.
#include <gtest/gtest.h>

#include "gdi/window_dc.h"
#include "grid.h"

using namespace gdi_test;
using platform::Rect;

TEST(WindowDc, DrawingMarksTheChangedSurfaceAreaAndReportsEachCall) {
    HWND top = fake_window(50, 40);
    HWND child = fake_child(top, 20, 10, 20, 20);
    HDC dc = platform::dc_open_window(child, nullptr);
    const int before = fake_drew_count();
    ASSERT_NE(PatBlt(dc, 2, 3, 4, 5, BLACKNESS), 0);
    ASSERT_EQ(fake_dirty(top).rects().size(), 1u);
    EXPECT_EQ(fake_dirty(top).rects()[0], (Rect{22, 13, 26, 18}));
    EXPECT_EQ(fake_drew_count(), before + 1);

    fake_dirty(top).clear();
    ASSERT_NE(PatBlt(dc, -5, 15, 100, 100, WHITENESS), 0);
    ASSERT_EQ(fake_dirty(top).rects().size(), 1u);
    EXPECT_EQ(fake_dirty(top).rects()[0], (Rect{20, 25, 40, 30})) << "only what was drawn, clipped";
    EXPECT_EQ(fake_drew_count(), before + 2);
}

TEST(WindowDc, FollowsItsWindowAndFailsOnceItIsGone) {
    HWND top = fake_window(30, 30);
    HWND child = fake_child(top, 0, 0, 10, 10);
    HDC dc = platform::dc_open_window(child, nullptr);
    fake_move(child, 15, 15);
    ASSERT_NE(PatBlt(dc, 0, 0, 1, 1, WHITENESS), 0);
    EXPECT_EQ(fake_pixels(top)[15 * 30 + 15], 0xFFFFFFu);
    EXPECT_EQ(fake_pixels(top)[0], 0u);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 10, 0), CLR_INVALID) << "outside the window";

    const Grid<std::uint32_t> before = read_surface(top, 30);
    const int drawn = fake_drew_count();
    fake_destroy(child);
    const MonoImage image = make_mono_image(8, 8);
    RECT r{0, 0, 5, 5};
    EXPECT_EQ(PatBlt(dc, 0, 0, 5, 5, BLACKNESS), 0);
    EXPECT_EQ(BitBlt(dc, 0, 0, 5, 5, image.dc, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(BitBlt(image.dc, 0, 0, 5, 5, dc, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_EQ(DrawTextW(dc, L"1", -1, &r, 0), 0);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(read_surface(top, 30), before);
    EXPECT_EQ(fake_drew_count(), drawn);
    EXPECT_TRUE(platform::dc_close_window(dc)) << "the DC itself can still be given back";
}

TEST(WindowDc, ParentDrawsOverItsChildren) {
    HWND top = fake_window(20, 20);
    fake_child(top, 5, 5, 10, 10);
    HDC dc = platform::dc_open_window(top, nullptr);
    ASSERT_NE(PatBlt(dc, 0, 0, 20, 20, WHITENESS), 0);
    EXPECT_EQ(fake_pixels(top)[10 * 20 + 10], 0xFFFFFFu);
}
