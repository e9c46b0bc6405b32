#include <tuple>

#include "gdi/draw_target.h"
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

    static constexpr std::uint32_t kRed = 0xFF0000;
};

// The headless display refreshes 60 times a second: refresh 1 starts at 16.7 ms.
TEST_F(Screen, DrawingIsShownOncePerRefreshAndOnlyWhereItChanged) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND button = child(main, 200, 10, 30, 30);
    GetTickCount();  // any call into the platform presents a due frame
    screen.forget_presented();
    const int presents = screen.presents();
    fill(button, kRed);
    platform::window_drew();
    EXPECT_EQ(screen.presents(), presents) << "a refresh has not passed";
    EXPECT_NE(screen.pixel(205, 15), kRed) << "nothing is composed before the refresh";
    platform::clock_advance(16);
    platform::window_drew();
    EXPECT_EQ(screen.presents(), presents) << "16 ms are still the first refresh";
    platform::clock_advance(1);
    platform::window_drew();
    EXPECT_EQ(std::tuple(screen.presents(), screen.pixel(205, 15), screen.presented()),
              std::tuple(presents + 1, kRed, (std::vector<platform::Rect>{{200, 10, 230, 40}})));
}

// The display's refreshes start at moments the program is not told: a frame presented at any moment
// keeps the next a whole refresh away, so that no two are shown in one refresh (as the first frame
// of a page turn, drawn when the key came, and the scroll's first would be).
TEST_F(Screen, TheNextFrameComesAWholeRefreshAfterTheLastWheneverThatWas) {
    const HWND main = top_level(0, 0, 240, 320);
    GetTickCount();
    platform::clock_advance(40);
    fill(main, kRed);
    const DWORD first = GetTickCount();
    EXPECT_EQ(screen.pixel(5, 5), kRed) << "a refresh had passed: shown at once";
    fill(main, 0x00FF00);
    EXPECT_EQ(GetTickCount() - first, 17u);
    EXPECT_EQ(screen.pixel(5, 5), 0x00FF00u);
}

// A clock read that finds a frame waiting holds until the next refresh, so that each frame of an
// animation is seen; pen input waiting ends the hold, so that a stroke draws its points as they
// come instead of one a refresh. What the pen's input drew is shown as soon as its batch is
// handled, in the refresh already shown, once a batch; anything drawn after that, or after another
// message, keeps to the refresh again.
TEST_F(Screen, PenInputEndsTheHoldForTheRefreshAndIsPresentedOnceItsBatchIsHandled) {
    const HWND main = top_level(0, 0, 240, 320);
    const DWORD start = GetTickCount();
    const int before = screen.presents();
    fill(main, kRed);
    const DWORD shown = GetTickCount();
    ASSERT_EQ(shown - start, 17u) << "held until refresh 1";
    const int presents = screen.presents();
    EXPECT_EQ(presents, before + 1);

    screen.push({Type::PointerDown, 10, 10});
    screen.push({Type::PointerMove, 12, 10});
    screen.push({Type::PointerMove, 14, 10});
    fill(main, 0x00FF00);
    EXPECT_EQ(GetTickCount(), shown) << "the pen's next point comes first";
    EXPECT_EQ(screen.presents(), presents);
    MSG m;
    for (int taken = 1; taken <= 3; ++taken) {
        ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
        fill(main, 0x000100u * static_cast<std::uint32_t>(taken));
        EXPECT_EQ(GetTickCount(), shown) << "the pen's ink is not held for the refresh";
        EXPECT_EQ(screen.presents(), presents + (taken == 3 ? 1 : 0)) << "one present when the batch is handled";
    }
    EXPECT_EQ(screen.pixel(5, 5), 0x000300u);

    fill(main, kRed);
    EXPECT_EQ(GetTickCount() - start, 34u) << "a frame not drawn for the pen keeps to the refresh";

    screen.push({Type::PointerMove, 16, 10});
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    PostMessageW(main, WM_USER, 0, 0);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    fill(main, 0x00FF00);
    EXPECT_EQ(GetTickCount() - start, 51u) << "after another message the frame keeps to the refresh";
    EXPECT_EQ(screen.presents(), presents + 3);

    // A long drawing shows what it has so far once a refresh has passed; the rest of what the pen
    // drew still goes out as soon as its batch is handled.
    platform::clock_advance(40);
    screen.push({Type::PointerMove, 18, 10});
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    fill(main, 0x000400);
    platform::window_drew();
    ASSERT_EQ(screen.presents(), presents + 4) << "a refresh had passed";
    fill(main, 0x000500);
    EXPECT_EQ(GetTickCount() - start, 91u) << "the end of the pen's drawing is not held for the refresh";
    EXPECT_EQ(screen.presents(), presents + 5);
    EXPECT_EQ(screen.pixel(5, 5), 0x000500u);
}

// A display that dropped what it showed is given the whole screen again at the next frame, though no
// window drew.
TEST_F(Screen, ALostScreenIsPresentedWholeAtTheNextFrame) {
    top_level(10, 20, 100, 100);
    GetTickCount();
    screen.forget_presented();
    screen.push({Type::ScreenLost});
    const int presents = screen.presents();
    GetTickCount();
    EXPECT_EQ(screen.presents(), presents + 1);
    EXPECT_EQ(screen.presented(), (std::vector<platform::Rect>{{0, 0, 240, 320}}));
}

TEST_F(Screen, AChildDrawsOnItsTopLevelSurfaceClippedToItsParents) {
    const HWND main = top_level(10, 20, 200, 200);
    const HWND panel = child(main, 50, 60, 100, 100);
    const HWND button = child(panel, 80, 90, 40, 40);  // reaches past the panel
    platform::DrawTarget t{};
    ASSERT_TRUE(platform::window_draw_target(button, &t));
    EXPECT_EQ(std::tuple(t.origin_x, t.origin_y, t.clip), std::tuple(130, 150, (platform::Rect{130, 150, 150, 160})));

    ShowWindow(panel, SW_HIDE);
    ASSERT_TRUE(platform::window_draw_target(button, &t));
    EXPECT_TRUE(t.clip.empty()) << "a hidden child draws nowhere";

    DestroyWindow(main);
    EXPECT_FALSE(platform::window_draw_target(button, &t));
}

}  // namespace
