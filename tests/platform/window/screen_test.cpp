#include "window/draw_target.h"
#include "window_test_support.h"

using namespace window_test;

namespace {

class Screen : public WindowTest {
protected:
    // Fills the window's whole area the way the drawing module does: through its draw target.
    void fill(HWND window, std::uint32_t pixel) {
        platform::DrawTarget t{};
        ASSERT_TRUE(platform::window_draw_target(window, &t));
        for (int y = t.clip.top; y < t.clip.bottom; ++y)
            for (int x = t.clip.left; x < t.clip.right; ++x)
                reinterpret_cast<std::uint32_t*>(t.surface.row(y))[x] = pixel;
        if (t.dirty) t.dirty->add(t.clip);
    }

    bool presented_within(const platform::Rect& area) {
        for (const platform::Rect& r : screen.presented())
            if (platform::intersect(r, area) != r) return false;
        return !screen.presented().empty();
    }

    static constexpr std::uint32_t kRed = 0xFF0000;
    static constexpr std::uint32_t kBlue = 0x0000FF;
};

TEST_F(Screen, ABoxOverTheMainWindowAndTheMainWindowBackWhenItGoes) {
    const HWND main = top_level(0, 0, 240, 320);
    fill(main, kRed);
    const HWND box = top_level(20, 100, 200, 100, main, L"box");
    fill(box, kBlue);
    GetTickCount();
    EXPECT_EQ(screen.pixel(5, 5), kRed);
    EXPECT_EQ(screen.pixel(20, 100), kBlue);
    EXPECT_EQ(screen.pixel(219, 199), kBlue);
    EXPECT_EQ(screen.pixel(220, 200), kRed);

    screen.forget_presented();
    ShowWindow(box, SW_HIDE);
    GetTickCount();
    EXPECT_EQ(screen.pixel(20, 100), kRed) << "the main window's own pixels, without a repaint";
    EXPECT_TRUE(presented_within({20, 100, 220, 200})) << "only the uncovered area goes out";

    ShowWindow(box, SW_SHOW);
    GetTickCount();
    EXPECT_EQ(screen.pixel(20, 100), kBlue);
    screen.forget_presented();
    MoveWindow(box, 0, 0, 200, 100, FALSE);
    DestroyWindow(box);
    GetTickCount();
    EXPECT_EQ(screen.pixel(0, 0), kRed);
    EXPECT_EQ(screen.pixel(20, 100), kRed);
}

TEST_F(Screen, NothingChangedNothingPresented) {
    const HWND main = top_level(0, 0, 240, 320);
    fill(main, kRed);
    GetTickCount();
    const int presents = screen.presents();
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE);
    GetAsyncKeyState(VK_UP);
    Sleep(100);
    EXPECT_EQ(screen.presents(), presents);
    ShowWindow(main, SW_HIDE);
    fill(main, kBlue);  // off screen: nothing to present
    GetTickCount();
    EXPECT_EQ(screen.pixel(5, 5), 0u);
}

TEST_F(Screen, LongDrawingLoopsAreShownOncePerFrame) {
    const HWND main = top_level(0, 0, 240, 320);
    GetTickCount();
    const int presents = screen.presents();
    fill(main, kRed);
    platform::window_drew();
    EXPECT_EQ(screen.presents(), presents) << "a frame has not passed";
    EXPECT_NE(screen.pixel(100, 100), kRed) << "nothing is composed before the frame";
    platform::clock_advance(16);
    platform::window_drew();
    EXPECT_EQ(screen.presents(), presents + 1);
    EXPECT_EQ(screen.pixel(100, 100), kRed);
    EXPECT_TRUE(presented_within({0, 0, 240, 320}));
}

TEST_F(Screen, AChildDrawsOnItsTopLevelSurfaceWithinItsParent) {
    const HWND main = top_level(10, 20, 200, 200);
    const HWND panel = child(main, 50, 60, 100, 100);
    const HWND button = child(panel, 80, 90, 40, 40);  // reaches past the panel
    platform::DrawTarget t{};
    ASSERT_TRUE(platform::window_draw_target(button, &t));
    EXPECT_EQ(t.origin_x, 130);
    EXPECT_EQ(t.origin_y, 150);
    EXPECT_EQ(t.clip, (platform::Rect{130, 150, 150, 160}));
    EXPECT_EQ(t.surface.width, 200);
    EXPECT_NE(t.dirty, nullptr);

    ASSERT_TRUE(platform::window_draw_target(main, &t));
    EXPECT_EQ(t.clip, (platform::Rect{0, 0, 200, 200})) << "a parent draws over its children";

    ShowWindow(panel, SW_HIDE);
    ASSERT_TRUE(platform::window_draw_target(button, &t));
    EXPECT_TRUE(t.clip.empty()) << "a hidden child draws nowhere";
    ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(platform::window_draw_target(main, &t));
    EXPECT_EQ(t.dirty, nullptr);

    DestroyWindow(main);
    EXPECT_FALSE(platform::window_draw_target(button, &t));
}

TEST_F(Screen, AResizedWindowKeepsWhatFits) {
    const HWND w = top_level(0, 0, 100, 100);
    fill(w, kRed);
    MoveWindow(w, 0, 0, 120, 50, TRUE);
    GetTickCount();
    EXPECT_EQ(screen.pixel(99, 49), kRed);
    EXPECT_EQ(screen.pixel(110, 10), 0u);
    EXPECT_EQ(screen.pixel(10, 60), 0u) << "uncovered when it shrank";
}

}  // namespace
