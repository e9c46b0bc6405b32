// The platform's push button: when a press is a click, and what it looks like.
#include "controls_test_support.h"
#include "window/screen.h"

using namespace controls_test;

namespace {

class Button : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        button = CreateWindowExW(0, L"button", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 100, 100, 60, 30, main,
                                 reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
        dispatch_all();
        received.clear();
    }

    void pointer(Type type, int x, int y) { screen.push({type, x, y}); }

    std::size_t clicks() {
        dispatch_all();
        std::size_t n = 0;
        for (const Received& r : received_of(WM_COMMAND))
            n += r.window == main && r.wParam == MAKEWPARAM(IDOK, BN_CLICKED) &&
                 r.lParam == reinterpret_cast<LPARAM>(button);
        return n;
    }

    HWND button = nullptr;
};

TEST_F(Button, AClickIsAPressLetGoOnTheButton) {
    ASSERT_NE(button, nullptr) << "the class needs no registering, in any case";
    EXPECT_EQ(GetDlgItem(main, IDOK), button);
    pointer(Type::PointerDown, 110, 110);
    pointer(Type::PointerUp, 150, 120);
    EXPECT_EQ(clicks(), 1u);
    EXPECT_EQ(GetFocus(), button);

    pointer(Type::PointerDown, 110, 110);
    pointer(Type::PointerMove, 10, 10);
    pointer(Type::PointerUp, 10, 10);
    EXPECT_EQ(clicks(), 1u) << "slid off and let go outside";
    pointer(Type::PointerDown, 110, 110);
    pointer(Type::PointerMove, 99, 110);
    pointer(Type::PointerMove, 100, 110);
    pointer(Type::PointerUp, 100, 110);
    EXPECT_EQ(clicks(), 2u) << "slid off and back";

    press(VK_SPACE);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks(), 4u);
}

// Pressed, the face sinks and the label moves; the default button's frame is twice as thick.
TEST_F(Button, ItsFaceShowsWhetherItIsPressedAndWhetherItIsTheDefault) {
    const auto pixel = [&](int x, int y) {
        platform::compose_changes();  // what the next present will show
        return screen.pixel(x, y);
    };
    constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kGrey = 0x808080;
    EXPECT_EQ(pixel(101, 101), kBlack) << "default: two lines of frame";
    EXPECT_EQ(pixel(102, 102), kWhite) << "then the raised edge";
    const HWND plain = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 10, 10, 60, 30, main,
                                       reinterpret_cast<HMENU>(IDCANCEL), nullptr, nullptr);
    dispatch_all();
    EXPECT_EQ(pixel(11, 11), kWhite) << "one line of frame";
    EXPECT_EQ(pixel(12, 40 - 3), 0xC0C0C0u);

    pointer(Type::PointerDown, 110, 110);
    dispatch_all();
    EXPECT_EQ(pixel(102, 102), kGrey) << "sunk";
    pointer(Type::PointerMove, 10, 200);
    dispatch_all();
    EXPECT_EQ(pixel(102, 102), kWhite) << "raised while the pen is off it";
    pointer(Type::PointerMove, 120, 110);
    dispatch_all();
    EXPECT_EQ(pixel(102, 102), kGrey) << "sunk again back on it";
    EXPECT_NE(plain, nullptr);
}

// A press that ends other than by being let go on the button is no click, and leaves it raised
// and free: the next press is a click again.
TEST_F(Button, APressCancelledOrRobbedOfItsCaptureIsNoClick) {
    pointer(Type::PointerDown, 110, 110);
    screen.push({Type::PointerCancel, 110, 110});
    pointer(Type::PointerUp, 110, 110);
    EXPECT_EQ(clicks(), 0u) << "the pointer was cancelled";
    EXPECT_EQ(GetCapture(), nullptr);

    pointer(Type::PointerDown, 110, 110);
    dispatch_all();
    SetCapture(main);
    pointer(Type::PointerUp, 110, 110);
    EXPECT_EQ(clicks(), 0u) << "the release went to the window that took the capture";
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(clicks(), 0u) << "a release after the capture was lost";
    EXPECT_EQ(GetCapture(), main) << "the button does not give back a capture it no longer holds";

    ReleaseCapture();
    tap(110, 110);
    EXPECT_EQ(clicks(), 1u);
}

}  // namespace
