#include "window/window_table.h"
#include "window_test_support.h"

using namespace window_test;

namespace {

class Windows : public WindowTest {};

TEST_F(Windows, ClassesAreKnownByNameOnce) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = test_proc;
    wc.lpszClassName = L"Test";
    EXPECT_EQ(RegisterClassW(&wc), 0) << "a second class of the same name";
    EXPECT_EQ(RegisterClassW(nullptr), 0);
    EXPECT_EQ(CreateWindowExW(0, L"Nobody", L"", WS_VISIBLE, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    wc.lpszClassName = L"Other";
    const ATOM atom = RegisterClassW(&wc);
    ASSERT_NE(atom, 0);
    EXPECT_NE(CreateWindowExW(0, MAKEINTRESOURCEW(atom), L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST_F(Windows, CreateSendsCreateBeforeReturningAndMinusOneRefuses) {
    HWND seen = nullptr;
    handlers[WM_CREATE] = [&](HWND w, UINT, WPARAM, LPARAM) -> LRESULT {
        seen = w;
        RECT r;
        EXPECT_TRUE(GetClientRect(w, &r)) << "the window is usable inside its WM_CREATE";
        EXPECT_TRUE(MoveWindow(w, 5, 6, 30, 40, TRUE));
        return 0;
    };
    const HWND w = top_level(0, 0, 0, 0);
    EXPECT_EQ(seen, w);
    RECT r;
    ASSERT_TRUE(GetWindowRect(w, &r));
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.bottom, 46);

    handlers[WM_CREATE] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return -1; };
    received.clear();
    EXPECT_EQ(top_level(0, 0, 10, 10), nullptr);
    EXPECT_EQ(received_of(WM_DESTROY).size(), 1u);
    EXPECT_EQ(FindWindowW(L"Test", nullptr), w) << "the refused window left no trace";
}

TEST_F(Windows, DestroyTakesOwnedWindowsAndChildrenFirst) {
    const HWND main = top_level(0, 0, 240, 320, nullptr, L"main");
    const HWND button = child(main, 200, 0, 40, 40);
    const HWND inner = child(button, 0, 0, 5, 5);
    const HWND box = top_level(20, 20, 100, 100, main, L"box");
    const HWND other = top_level(0, 0, 10, 10);
    SetTimer(button, 1, 100, nullptr);
    PostMessageW(box, WM_APP, 0, 0);
    received.clear();

    ASSERT_TRUE(DestroyWindow(main));

    std::vector<HWND> order;
    for (const Received& r : received_of(WM_DESTROY)) order.push_back(r.window);
    EXPECT_EQ(order, (std::vector<HWND>{box, inner, button, main}));
    for (HWND gone : {main, button, inner, box}) EXPECT_FALSE(IsWindow(gone));
    EXPECT_TRUE(IsWindow(other));
    EXPECT_FALSE(DestroyWindow(main)) << "the handle is stale";
    platform::clock_advance(1000);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(msg.hwnd, other) << "nothing of the destroyed windows is left queued";
        DispatchMessageW(&msg);
    }
}

TEST_F(Windows, DestroyInsideDestroyIsRefused) {
    const HWND w = top_level(0, 0, 10, 10);
    int destroys = 0;
    handlers[WM_DESTROY] = [&](HWND self, UINT, WPARAM, LPARAM) -> LRESULT {
        ++destroys;
        EXPECT_FALSE(DestroyWindow(self));
        EXPECT_TRUE(IsWindow(self)) << "still a window during its WM_DESTROY";
        return 0;
    };
    EXPECT_TRUE(DestroyWindow(w));
    EXPECT_EQ(destroys, 1);
}

TEST_F(Windows, PlacesRelationsAndVisibility) {
    const HWND main = top_level(10, 20, 200, 300);
    const HWND button = child(main, 30, 40, 50, 60);
    const HWND box = top_level(0, 0, 10, 10, button, L"box");

    RECT r;
    ASSERT_TRUE(GetWindowRect(button, &r));
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right, 90);
    EXPECT_EQ(r.bottom, 120);
    ASSERT_TRUE(GetClientRect(button, &r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 50);

    EXPECT_EQ(GetParent(button), main);
    EXPECT_EQ(GetParent(main), nullptr);
    EXPECT_EQ(GetParent(box), nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), main) << "a child's top-level window owns";
    EXPECT_EQ(GetWindow(button, GW_OWNER), nullptr);

    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_TRUE(ShowWindow(main, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(button)) << "hidden with its parent";
    EXPECT_FALSE(ShowWindow(main, SW_HIDE));
    ShowWindow(main, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(button));

    EXPECT_FALSE(EnableWindow(main, FALSE));
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_TRUE(EnableWindow(main, TRUE)) << "it was disabled";
}

TEST_F(Windows, FindTextAndUserData) {
    const HWND main = top_level(0, 0, 10, 10, nullptr, L"Scribble");
    top_level(0, 0, 10, 10, nullptr, L"Other");
    EXPECT_EQ(FindWindowW(L"Test", L"Scribble"), main);
    EXPECT_EQ(FindWindowW(nullptr, L"Scribble"), main);
    EXPECT_EQ(FindWindowW(L"Missing", L"Scribble"), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, L"Desktop"), nullptr);

    ASSERT_TRUE(SetWindowTextW(main, L"Renamed"));
    wchar_t text[5];
    EXPECT_EQ(GetWindowTextW(main, text, 5), 4) << "cut to the buffer";
    EXPECT_STREQ(text, L"Rena");
    EXPECT_EQ(FindWindowW(nullptr, L"Scribble"), nullptr);

    EXPECT_EQ(SetWindowLongPtrW(main, GWLP_USERDATA, 77), 0);
    EXPECT_EQ(SetWindowLongPtrW(main, GWLP_USERDATA, 78), 77);
    EXPECT_EQ(GetWindowLongPtrW(main, GWLP_USERDATA), 78);
}

// Every call given a null, stale or wrong-kind handle fails and changes nothing.
TEST_F(Windows, BadHandlesFailWithoutEffect) {
    const HWND live = top_level(0, 0, 10, 10);
    const HWND stale = top_level(0, 0, 10, 10);
    DestroyWindow(stale);
    const HWND wrong_kind = reinterpret_cast<HWND>(LoadCursorW(nullptr, IDC_WAIT));
    const HWND garbage = reinterpret_cast<HWND>(std::uintptr_t{0xDEADBEEF0});

    for (HWND bad : {static_cast<HWND>(nullptr), stale, wrong_kind, garbage}) {
        RECT r{1, 2, 3, 4};
        MSG msg;
        PAINTSTRUCT ps;
        wchar_t text[4] = L"abc";
        EXPECT_FALSE(IsWindow(bad));
        EXPECT_FALSE(DestroyWindow(bad));
        EXPECT_FALSE(ShowWindow(bad, SW_SHOW));
        EXPECT_FALSE(IsWindowVisible(bad));
        EXPECT_FALSE(IsWindowEnabled(bad));
        EXPECT_FALSE(EnableWindow(bad, FALSE));
        EXPECT_FALSE(MoveWindow(bad, 0, 0, 5, 5, TRUE));
        EXPECT_FALSE(GetWindowRect(bad, &r));
        EXPECT_FALSE(GetClientRect(bad, &r));
        EXPECT_EQ(r.left, 1);
        EXPECT_EQ(GetParent(bad), nullptr);
        EXPECT_EQ(GetWindow(bad, GW_OWNER), nullptr);
        EXPECT_FALSE(SetWindowTextW(bad, L"x"));
        EXPECT_EQ(GetWindowTextW(bad, text, 4), 0);
        EXPECT_EQ(SetWindowLongPtrW(bad, GWLP_USERDATA, 5), 0);
        EXPECT_EQ(GetWindowLongPtrW(bad, GWLP_USERDATA), 0);
        EXPECT_EQ(SendMessageW(bad, WM_APP, 0, 0), 0);
        EXPECT_FALSE(InvalidateRect(bad, nullptr, TRUE));
        EXPECT_FALSE(ValidateRect(bad, nullptr));
        EXPECT_FALSE(UpdateWindow(bad));
        EXPECT_EQ(BeginPaint(bad, &ps), nullptr);
        EXPECT_FALSE(KillTimer(bad, 1));
        EXPECT_EQ(SetCapture(bad), nullptr);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_FALSE(SetForegroundWindow(bad));
        EXPECT_EQ(CreateWindowExW(0, L"Test", L"", WS_CHILD, 0, 0, 1, 1, bad, nullptr, nullptr, nullptr), nullptr);
        EXPECT_EQ(MessageBoxW(bad == nullptr ? stale : bad, L"text", L"caption", MB_OK), 0);
        if (bad) {
            EXPECT_FALSE(PostMessageW(bad, WM_APP, 0, 0));
            EXPECT_EQ(SetTimer(bad, 1, 10, nullptr), 0u);
            EXPECT_EQ(GetDC(bad), nullptr);
            EXPECT_EQ(SetFocus(bad), nullptr);
            EXPECT_EQ(CreateWindowExW(0, L"Test", L"", 0, 0, 0, 1, 1, bad, nullptr, nullptr, nullptr), nullptr);
            EXPECT_FALSE(PeekMessageW(&msg, bad, 0, 0, PM_REMOVE));
            EXPECT_EQ(GetMessageW(&msg, bad, 0, 0), -1);
        }
    }
    EXPECT_EQ(GetFocus(), live);
    EXPECT_EQ(GetActiveWindow(), live);
    EXPECT_EQ(platform::window_table().windows.live(), 1u);
}

}  // namespace
