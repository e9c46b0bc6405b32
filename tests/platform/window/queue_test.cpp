#include "window_test_support.h"

using namespace window_test;
using platform::DeviceEvent;

namespace {

class Queue : public WindowTest {};

TEST_F(Queue, PostedComeBeforeInputBeforePaintBeforeTimers) {
    const HWND w = top_level(0, 0, 240, 320);  // new and visible: its whole client is invalid
    ASSERT_EQ(SetTimer(w, 7, 10, nullptr), 7u);
    platform::clock_advance(50);
    screen.push(key(DeviceEvent::Type::KeyDown, VK_DOWN));
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
    const HWND a = top_level(0, 0, 10, 10);
    const HWND b = top_level(0, 0, 10, 10);
    PostMessageW(a, WM_USER, 0, 0);
    PostMessageW(b, WM_USER + 1, 0, 0);
    PostMessageW(a, WM_APP, 0, 0);

    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, b, WM_USER, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    EXPECT_EQ(msg.hwnd, b);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_APP);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));  // still there after NOREMOVE
    EXPECT_EQ(msg.message, WM_APP);
    EXPECT_FALSE(PeekMessageW(&msg, b, WM_USER, WM_APP, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, a, WM_USER, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
}

TEST_F(Queue, FlushOfOneWindowsInputKeepsOtherWindowsAndOtherMessages) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND button = child(main, 200, 0, 40, 40);
    PostMessageW(main, WM_APP, 40009, 0);
    screen.push(pointer(DeviceEvent::Type::PointerDown, 10, 100));   // main
    screen.push(pointer(DeviceEvent::Type::PointerDown, 210, 10));   // the button
    screen.push(key(DeviceEvent::Type::KeyDown, VK_DOWN, true));     // main has the focus

    MSG msg;
    int flushed = 0;
    while (PeekMessageW(&msg, main, WM_KEYFIRST, WM_MOUSELAST, PM_REMOVE)) ++flushed;
    EXPECT_EQ(flushed, 2);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_MOUSELAST, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, button);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 40009u);
}

TEST_F(Queue, QuitEndsGetMessageAfterWhatWasPostedBeforeIt) {
    const HWND w = top_level(0, 0, 10, 10, nullptr, L"", 0);
    PostMessageW(w, WM_APP, 0, 0);
    PostQuitMessage(3);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, w, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_APP);
    EXPECT_FALSE(PeekMessageW(&msg, w, 0, 0, PM_REMOVE)) << "a window filter does not take the quit";
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "the quit is taken once";
}

TEST_F(Queue, GetMessageWaitsForInput) {
    top_level(0, 0, 10, 10);
    dispatch_all();
    screen.when_idle([&] { screen.push(key(DeviceEvent::Type::KeyDown, VK_UP)); });
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_UP));
    EXPECT_THROW(GetMessageW(&msg, nullptr, 0, 0), platform::ScriptRanDry);
}

TEST_F(Queue, WhatAStepDoesWhileTheProgramWaitsEndsTheWait) {
    const HWND w = top_level(0, 0, 10, 10);
    dispatch_all();
    screen.when_idle([w] { PostMessageW(w, WM_CLOSE, 0, 0); });
    screen.when_idle([w] { InvalidateRect(w, nullptr, FALSE); });
    screen.when_idle([] { PostQuitMessage(0); });
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_CLOSE);
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_PAINT);
    DispatchMessageW(&msg);
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
}

TEST_F(Queue, MessagesForADestroyedWindowAreDropped) {
    const HWND gone = top_level(0, 0, 10, 10, nullptr, L"", 0);
    const HWND stays = top_level(0, 0, 10, 10, nullptr, L"", 0);
    PostMessageW(gone, WM_APP, 0, 0);
    PostMessageW(stays, WM_APP, 0, 0);
    DestroyWindow(gone);
    EXPECT_FALSE(PostMessageW(gone, WM_APP, 0, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, stays);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
}

TEST_F(Queue, SendCallsTheProcedureAtOnceAndDispatchRoutesByWindow) {
    const HWND w = top_level(0, 0, 10, 10);
    handlers[WM_APP] = [](HWND, UINT, WPARAM wParam, LPARAM) -> LRESULT { return static_cast<LRESULT>(wParam) * 2; };
    EXPECT_EQ(SendMessageW(w, WM_APP, 21, 0), 42);

    PostMessageW(nullptr, WM_APP, 5, 0);  // a thread message reaches no window procedure
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    received.clear();
    EXPECT_EQ(DispatchMessageW(&msg), 0);
    EXPECT_TRUE(received.empty());

    // A forged timer message never calls through its lParam.
    const MSG forged{w, WM_TIMER, 1, 0x1234, 0, {0, 0}};
    EXPECT_EQ(DispatchMessageW(&forged), 0);

    SendMessageW(w, WM_CLOSE, 0, 0);  // the default handling destroys
    EXPECT_FALSE(IsWindow(w));
}

}  // namespace
