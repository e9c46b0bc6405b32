#include "window_test_support.h"

using namespace window_test;
using platform::DeviceEvent;
using Type = platform::DeviceEvent::Type;

namespace {

class Input : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        main = top_level(0, 0, 240, 320);
        button = child(main, 200, 10, 30, 30);
        dispatch_all();
        received.clear();
    }

    // The stylus messages the windows got, in order.
    std::vector<Received> stylus() {
        std::vector<Received> out;
        for (const Received& r : received)
            if (r.message >= WM_MOUSEFIRST && r.message <= WM_MOUSELAST) out.push_back(r);
        return out;
    }

    HWND main = nullptr;
    HWND button = nullptr;
};

TEST_F(Input, TapsGoToTheDeepestShownEnabledWindowInClientCoordinates) {
    screen.push(pointer(Type::PointerDown, 205, 20));
    screen.push(pointer(Type::PointerUp, 205, 20));
    screen.push(pointer(Type::PointerDown, 100, 20));
    dispatch_all();
    ShowWindow(button, SW_HIDE);
    screen.push(pointer(Type::PointerDown, 205, 20));
    dispatch_all();
    ShowWindow(button, SW_SHOW);
    EnableWindow(button, FALSE);
    screen.push(pointer(Type::PointerDown, 205, 20));
    dispatch_all();

    const auto got = stylus();
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].window, button);
    EXPECT_EQ(got[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(got[0].lParam, MAKELPARAM(5, 10));
    EXPECT_EQ(got[1].message, WM_LBUTTONUP);
    EXPECT_EQ(got[2].window, main);
    EXPECT_EQ(got[2].lParam, MAKELPARAM(100, 20));
    EXPECT_EQ(got[3].window, main) << "a hidden child takes no taps";
    EXPECT_EQ(got[4].window, main) << "a disabled child takes no taps";
}

TEST_F(Input, CaptureTakesEverythingAndIsDecidedWhenTheMessageIsTaken) {
    // All three arrive before the program looks; the press takes the capture, and the moves that
    // were already waiting follow it.
    handlers[WM_LBUTTONDOWN] = [](HWND w, UINT, WPARAM, LPARAM) -> LRESULT {
        SetCapture(w);
        return 0;
    };
    screen.push(pointer(Type::PointerDown, 205, 20));
    screen.push(pointer(Type::PointerMove, 100, 5));
    screen.push(pointer(Type::PointerUp, 100, 5));
    dispatch_all();
    EXPECT_EQ(GetCapture(), button);
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    screen.push(pointer(Type::PointerDown, 100, 5));
    dispatch_all();

    const auto got = stylus();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[1].window, button);
    EXPECT_EQ(got[1].message, WM_MOUSEMOVE);
    // (100 - 200, 5 - 10) as unsigned 16-bit values.
    EXPECT_EQ(got[1].lParam, MAKELPARAM(static_cast<WORD>(-100), static_cast<WORD>(-5)));
    EXPECT_EQ(got[2].window, button);
    EXPECT_EQ(got[2].message, WM_LBUTTONUP);
    EXPECT_EQ(got[3].window, main) << "after the release the point decides again";
}

TEST_F(Input, KeysGoToTheFocusWithRepeatAndReleaseBits) {
    screen.push(key(Type::KeyDown, VK_DOWN));
    screen.push(key(Type::KeyDown, VK_DOWN, true));
    screen.push(key(Type::KeyUp, VK_DOWN));
    dispatch_all();
    SetFocus(button);
    screen.push(key(Type::KeyDown, VK_UP));
    dispatch_all();

    std::vector<Received> keys;
    for (const Received& r : received)
        if (r.message == WM_KEYDOWN || r.message == WM_KEYUP) keys.push_back(r);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].window, main);
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_DOWN));
    EXPECT_EQ(keys[0].lParam & (LPARAM{1} << 30), 0);
    EXPECT_NE(keys[1].lParam & (LPARAM{1} << 30), 0) << "auto-repeat";
    EXPECT_EQ(keys[2].message, WM_KEYUP);
    EXPECT_NE(keys[2].lParam & (LPARAM{1} << 31), 0);
    EXPECT_EQ(keys[3].window, button);
}

TEST_F(Input, ADisabledWindowUnderABoxGetsNoTaps) {
    const HWND box = top_level(60, 100, 120, 80, main, L"box");
    EnableWindow(main, FALSE);
    received.clear();
    screen.push(pointer(Type::PointerDown, 10, 10));    // on the disabled main window
    screen.push(pointer(Type::PointerDown, 205, 20));   // on its child
    screen.push(pointer(Type::PointerDown, 70, 110));   // on the box
    dispatch_all();
    const auto got = stylus();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].window, box);
    EXPECT_EQ(got[0].lParam, MAKELPARAM(10, 10));
}

TEST_F(Input, ACloseRequestClosesTheMainWindow) {
    const HWND box = top_level(60, 100, 120, 80, main, L"box");
    screen.push(event(Type::CloseRequested));
    dispatch_all();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IsWindow(box));
}

}  // namespace
