// Window DCs: drawing goes where the window is now (moved, grown or hidden since the DC last drew),
// only inside it, reaches the screen at the next present, and fails without effect once the window
// is gone.
#include <gtest/gtest.h>

#include "testing.h"
#include "grid.h"
#include "window/screen.h"

using namespace gdi_test;
using platform::Rect;

TEST(WindowDc, DrawsInsideItsWindowWhereverItIsAndTheScreenShowsOnlyThat) {
    platform::HeadlessBackend& screen = headless_screen();
    HWND top = make_window(50, 40);
    HWND child = make_window(20, 20, top, 20, 10);
    HDC dc = GetDC(child);
    platform::present_changes();
    screen.forget_presented();
    ASSERT_NE(PatBlt(dc, -5, 15, 100, 100, WHITENESS), 0);
    platform::present_changes();
    const Rect drawn{20, 25, 40, 30};
    ASSERT_FALSE(screen.presented().empty());
    for (const Rect& r : screen.presented()) EXPECT_EQ(platform::intersect(r, drawn), r) << "only what was drawn goes out";
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(screen.pixel(x, y), drawn.contains(x, y) ? 0xFFFFFFu : 0u) << x << "," << y;

    MoveWindow(child, 5, 0, 20, 20, FALSE);
    ASSERT_NE(PatBlt(dc, 0, 0, 1, 1, WHITENESS), 0);
    EXPECT_EQ(read_window(top).at(5, 0), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 20, 0), CLR_INVALID) << "outside the window";
    // A DC that has drawn goes on drawing into its window's new pixels after the window grows.
    HDC top_dc = GetDC(top);
    ASSERT_NE(PatBlt(top_dc, 0, 0, 1, 1, BLACKNESS), 0);
    MoveWindow(top, 0, 0, 80, 60, FALSE);
    ASSERT_NE(PatBlt(top_dc, 70, 50, 1, 1, WHITENESS), 0);
    EXPECT_EQ(read_window(top).at(70, 50), 0xFFFFFFu);
    ShowWindow(top, SW_HIDE);
    EXPECT_EQ(GetPixel(top_dc, 70, 50), RGB(255, 255, 255)) << "a hidden window keeps its pixels";
    ShowWindow(top, SW_SHOW);
    ReleaseDC(top, top_dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
    EXPECT_EQ(shape_of(bitmap), (std::array<LONG, 3>{4, 4, 32}));
    EXPECT_EQ(SelectObject(dc, bitmap), nullptr) << "a window's DC takes no bitmap";
    EXPECT_EQ(DeleteDC(dc), 0) << "a window's DC goes back through its window";
    EXPECT_EQ(PatBlt(GetDC(nullptr), 0, 0, 1, 1, BLACKNESS), 0) << "the screen's DC draws nothing";
}

TEST(WindowDc, FailsWithoutEffectOnceItsWindowIsGone) {
    HWND top = make_window(30, 30);
    HWND child = make_window(10, 10, top, 5, 5);
    HDC dc = GetDC(child);
    ASSERT_NE(PatBlt(dc, 0, 0, 10, 10, WHITENESS), 0);
    DestroyWindow(child);
    const Grid<std::uint32_t> before = read_window(top);
    const MonoImage image = make_mono_image(8, 8);
    RECT r{0, 0, 5, 5};
    EXPECT_EQ(PatBlt(dc, 0, 0, 5, 5, BLACKNESS), 0);
    EXPECT_EQ(BitBlt(dc, 0, 0, 5, 5, image.dc, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(BitBlt(image.dc, 0, 0, 5, 5, dc, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(DrawTextW(dc, L"1", -1, &r, 0), 0);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(read_window(top), before);
    EXPECT_EQ(ReleaseDC(child, dc), 1) << "the DC itself can still be given back";
    EXPECT_EQ(platform::gdi_live_objects(), 2u) << "the image and its DC only";
}
