#include "window_test_support.h"

using namespace window_test;

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

    void tap(int x, int y) { screen.push({Type::PointerDown, x, y}); }

    HWND main = nullptr;
    HWND button = nullptr;
};

TEST_F(Input, TapsGoToTheDeepestShownEnabledWindowInItsCoordinates) {
    tap(205, 20);
    tap(100, 20);
    dispatch_all();
    ShowWindow(button, SW_HIDE);
    tap(205, 20);
    dispatch_all();
    const HWND box = top_level(60, 100, 120, 80, main);
    EnableWindow(main, FALSE);
    tap(10, 10);  // on the disabled main window, under its box
    tap(70, 110);
    dispatch_all();

    std::vector<std::pair<HWND, LPARAM>> got;
    for (const Received& r : received_of(WM_LBUTTONDOWN)) got.emplace_back(r.window, r.lParam);
    EXPECT_EQ(got, (std::vector<std::pair<HWND, LPARAM>>{{button, MAKELPARAM(5, 10)},
                                                         {main, MAKELPARAM(100, 20)},
                                                         {main, MAKELPARAM(205, 20)},  // hidden child
                                                         {box, MAKELPARAM(10, 10)}}));
}

TEST_F(Input, CaptureTakesEverythingAndIsDecidedWhenTheMessageIsTaken) {
    // All three arrive before the program looks; the press takes the capture, and the moves that
    // were already waiting follow it.
    handlers[WM_LBUTTONDOWN] = [](HWND w, UINT, WPARAM, LPARAM) -> LRESULT {
        SetCapture(w);
        return 0;
    };
    tap(205, 20);
    screen.push({Type::PointerMove, 100, 5});
    screen.push({Type::PointerUp, 100, 5});
    dispatch_all();
    EXPECT_EQ(GetCapture(), button);
    ReleaseCapture();
    tap(100, 5);  // after the release the point decides again
    dispatch_all();

    std::vector<std::tuple<HWND, UINT, LPARAM>> got;
    for (const Received& r : received_of(WM_MOUSEFIRST, WM_MOUSELAST)) got.emplace_back(r.window, r.message, r.lParam);
    const LPARAM outside = MAKELPARAM(static_cast<WORD>(100 - 200), static_cast<WORD>(5 - 10));
    EXPECT_EQ(got, (std::vector<std::tuple<HWND, UINT, LPARAM>>{{button, WM_LBUTTONDOWN, MAKELPARAM(5, 10)},
                                                                {button, WM_MOUSEMOVE, outside},
                                                                {button, WM_LBUTTONUP, outside},
                                                                {main, WM_LBUTTONDOWN, MAKELPARAM(100, 5)}}));
}

TEST_F(Input, AnotherProgramTakingTheDisplayDeactivatesWithNoWindowOnceTheQueueIsRead) {
    screen.push({Type::FocusLost});
    GetAsyncKeyState(VK_DOWN);  // a busy program reads the device but takes no messages
    EXPECT_TRUE(received_of(WM_ACTIVATE).empty());
    screen.push({Type::FocusLost});  // no change, no message
    dispatch_all();
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_EQ(GetActiveWindow(), main);
    screen.push({Type::FocusGained});
    dispatch_all();
    std::vector<std::tuple<HWND, WORD, LPARAM>> got;
    for (const Received& r : received_of(WM_ACTIVATE)) got.emplace_back(r.window, LOWORD(r.wParam), r.lParam);
    EXPECT_EQ(got, (std::vector<std::tuple<HWND, WORD, LPARAM>>{{main, WA_INACTIVE, 0}, {main, WA_ACTIVE, 0}}));
    EXPECT_EQ(GetForegroundWindow(), main);
}

// A close (the display going away, a signal) must not overtake a stroke that came before it: the
// stroke is the person's last word and has to be in what the close saves.
TEST_F(Input, ACloseWaitsBehindTheInputThatCameBeforeIt) {
    handlers[WM_CLOSE] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
    tap(100, 20);
    screen.push({Type::PointerUp, 100, 20});
    screen.push({Type::CloseRequested});
    GetAsyncKeyState(VK_DOWN);  // all three are read before the program takes a message
    dispatch_all();
    screen.push({Type::CloseRequested});  // nothing waits before this one
    dispatch_all();
    std::vector<std::pair<HWND, UINT>> got;
    for (const Received& r : received)
        if (r.message == WM_LBUTTONDOWN || r.message == WM_LBUTTONUP || r.message == WM_CLOSE)
            got.emplace_back(r.window, r.message);
    EXPECT_EQ(got, (std::vector<std::pair<HWND, UINT>>{
                       {main, WM_LBUTTONDOWN}, {main, WM_LBUTTONUP}, {main, WM_CLOSE}, {main, WM_CLOSE}}));
}

}  // namespace
