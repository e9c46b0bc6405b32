#include <tuple>

#include "window_test_support.h"

using namespace window_test;

namespace {

class Queue : public WindowTest {};

TEST_F(Queue, PostedComeBeforeInputBeforePaintBeforeTimers) {
    const HWND w = top_level(0, 0, 240, 320);  // new and visible: its whole client is invalid
    ASSERT_EQ(SetTimer(w, 7, 10, nullptr), 7u);
    platform::clock_advance(50);
    screen.push({Type::KeyDown, 0, 0, VK_DOWN});
    PostMessageW(w, WM_APP, 1, 2);

    std::vector<UINT> order;
    MSG msg;
    while (order.size() < 5 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        DispatchMessageW(&msg);  // the default WM_PAINT handling validates
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_APP, WM_KEYDOWN, WM_PAINT, WM_TIMER}));
}

TEST_F(Queue, WindowAndRangeFiltersLeaveTheRestQueued) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND button = child(main, 200, 0, 40, 40);
    PostMessageW(main, WM_APP, 40009, 0);
    PostMessageW(button, WM_USER, 0, 0);
    screen.push({Type::PointerDown, 10, 100});   // main
    screen.push({Type::PointerDown, 210, 10});   // the button
    screen.push({Type::KeyDown, 0, 0, VK_DOWN, true});  // main has the focus

    // Throwing away one window's input, as the program does at the end of a page.
    MSG msg;
    int flushed = 0;
    while (PeekMessageW(&msg, main, WM_KEYFIRST, WM_MOUSELAST, PM_REMOVE)) ++flushed;
    EXPECT_EQ(flushed, 2);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_MOUSELAST, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, button);
    ASSERT_TRUE(PeekMessageW(&msg, button, WM_USER, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 40009u);
}

TEST_F(Queue, QuitEndsGetMessageAfterWhatWasPostedBeforeIt) {
    const HWND w = top_level(0, 0, 10, 10, nullptr, 0);
    PostMessageW(w, WM_APP, 0, 0);
    PostQuitMessage(3);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_APP);
    EXPECT_FALSE(PeekMessageW(&msg, w, 0, 0, PM_REMOVE)) << "a window filter does not take the quit";
    // Its exit code, and that it is taken once, are seen through the modal loop's and the program's tests.
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
}

TEST_F(Queue, AnIdleProgramJumpsToItsTimerAndALateOneFiresOnce) {
    const HWND w = top_level(0, 0, 10, 10);
    dispatch_all();
    const std::uint64_t start = platform::clock_now();
    SetTimer(w, 1, 400, nullptr);
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(std::tuple(msg.message, msg.wParam, platform::clock_now() - start), std::tuple(WM_TIMER, 1u, 400u));

    platform::clock_advance(4000);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) << "ten periods late, once";
    platform::clock_advance(400);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    // A killed timer staying quiet is seen through the program's tool button hold.
}

}  // namespace
