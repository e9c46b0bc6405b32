#include <algorithm>
#include <string>
#include <tuple>

#include "window/window_table.h"
#include "window_test_support.h"

using namespace window_test;

namespace {

class Windows : public WindowTest {};

TEST_F(Windows, DestroyTakesOwnedWindowsAndChildrenFirstAndLeavesNothingQueued) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND button = child(main, 200, 0, 40, 40);
    const HWND inner = child(button, 0, 0, 5, 5);
    const HWND box = top_level(20, 20, 100, 100, button);
    const HWND other = top_level(0, 0, 10, 10);
    EXPECT_EQ(GetWindow(box, GW_OWNER), main) << "a child's top-level window owns";
    SetTimer(button, 1, 100, nullptr);
    PostMessageW(box, WM_APP, 0, 0);
    handlers[WM_DESTROY] = [&](HWND self, UINT, WPARAM, LPARAM) -> LRESULT {
        EXPECT_TRUE(IsWindow(self)) << "still a window during its WM_DESTROY";
        EXPECT_FALSE(DestroyWindow(self));
        EXPECT_FALSE(DestroyWindow(main)) << "its destruction is under way";
        EXPECT_EQ(child(main, 0, 0, 5, 5), nullptr) << "nothing new joins a window on its way out";
        return 0;
    };
    received.clear();

    ASSERT_TRUE(DestroyWindow(main));
    std::vector<HWND> order;
    for (const Received& r : received_of(WM_DESTROY)) order.push_back(r.window);
    EXPECT_EQ(std::tuple(order, IsWindow(other), platform::window_table().windows.live()),
              std::tuple((std::vector<HWND>{box, inner, button, main}), true, 1u));
    EXPECT_FALSE(DestroyWindow(main)) << "the handle is stale";
    platform::clock_advance(1000);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(msg.hwnd, other) << "nothing of the destroyed windows is left queued";
        DispatchMessageW(&msg);
    }
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
        // Each call in a list fails; a failing one is named by its place in it.
        const BOOL refused[] = {IsWindow(bad), DestroyWindow(bad), ShowWindow(bad, SW_SHOW), IsWindowVisible(bad),
                                IsWindowEnabled(bad), EnableWindow(bad, FALSE), MoveWindow(bad, 0, 0, 5, 5, TRUE),
                                GetWindowRect(bad, &r), GetClientRect(bad, &r), SetWindowTextW(bad, L"x"),
                                InvalidateRect(bad, nullptr, TRUE), UpdateWindow(bad),
                                KillTimer(bad, 1), SetForegroundWindow(bad), SHFullScreen(bad, SHFS_SHOWTASKBAR)};
        for (std::size_t i = 0; i < std::size(refused); ++i) EXPECT_FALSE(refused[i]) << "call " << i;
        const void* none[] = {GetParent(bad), GetWindow(bad, GW_OWNER), BeginPaint(bad, &ps), SetCapture(bad),
                              GetCapture(),
                              CreateWindowExW(0, L"Test", L"", WS_CHILD, 0, 0, 1, 1, bad, nullptr, nullptr, nullptr)};
        for (std::size_t i = 0; i < std::size(none); ++i) EXPECT_EQ(none[i], nullptr) << "call " << i;
        EXPECT_EQ(r.left, 1);
        EXPECT_EQ(GetWindowTextW(bad, text, 4), 0);
        EXPECT_EQ(SetWindowLongPtrW(bad, GWL_STYLE, 5), 0);
        EXPECT_EQ(GetWindowLongPtrW(bad, GWL_STYLE), 0);
        EXPECT_EQ(SendMessageW(bad, WM_APP, 0, 0), 0);
        EXPECT_EQ(MessageBoxW(bad == nullptr ? stale : bad, L"text", L"caption", MB_OK), 0);
        if (!bad) continue;  // to these calls null means no window, or any window
        const bool took[] = {PostMessageW(bad, WM_APP, 0, 0) != FALSE, SetTimer(bad, 1, 10, nullptr) != 0,
                             GetDC(bad) != nullptr, SetFocus(bad) != nullptr,
                             CreateWindowExW(0, L"Test", L"", 0, 0, 0, 1, 1, bad, nullptr, nullptr, nullptr) != nullptr,
                             PeekMessageW(&msg, bad, 0, 0, PM_REMOVE) != FALSE, GetMessageW(&msg, bad, 0, 0) != -1};
        for (std::size_t i = 0; i < std::size(took); ++i) EXPECT_FALSE(took[i]) << "call " << i << " took a bad window";
    }
    EXPECT_EQ(std::tuple(GetFocus(), GetActiveWindow(), platform::window_table().windows.live()),
              std::tuple(live, live, 1u));

    // A device context given back to the wrong window, and paint calls without their structure.
    const HDC dc = GetDC(live);
    EXPECT_EQ(ReleaseDC(top_level(0, 0, 10, 10), dc), 0);
    EXPECT_EQ(ReleaseDC(live, dc), 1);
    EXPECT_EQ(BeginPaint(live, nullptr), nullptr);
    EXPECT_FALSE(EndPaint(live, nullptr));
}

TEST_F(Windows, AControlCarriesItsCreationDataTextAndExtraBytes) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = test_proc;
    wc.lpszClassName = L"Control";
    wc.cbWndExtra = 16;
    ASSERT_NE(RegisterClassW(&wc), 0);
    const HWND main = top_level(0, 0, 240, 320);
    int marker = 0;
    CREATESTRUCTW seen{};
    handlers[WM_CREATE] = [&](HWND, UINT, WPARAM, LPARAM lParam) -> LRESULT {
        seen = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        return 0;
    };
    received.clear();
    const HWND control = CreateWindowExW(0x200, L"Control", L"OK", WS_CHILD | WS_VISIBLE, 5, 6, 70, 30, main,
                                         reinterpret_cast<HMENU>(7), nullptr, &marker);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(received.front().message, WM_NCCREATE) << "WM_NCCREATE comes first";
    EXPECT_EQ(std::tuple(seen.lpCreateParams, seen.hMenu, seen.hwndParent, seen.x, seen.y, seen.cx, seen.cy,
                         seen.dwExStyle, std::wstring(seen.lpszName)),
              std::tuple(static_cast<void*>(&marker), reinterpret_cast<HMENU>(7), main, 5, 6, 70, 30, DWORD{0x200},
                         std::wstring(L"OK")));

    SetWindowLongPtrW(control, 9, 1);
    EXPECT_EQ(GetWindowLongPtrW(control, 9), 0) << "past the class's 16 bytes";
    EXPECT_EQ(GetWindowLongPtrW(control, -1), 0);

    // The text goes through the window's own messages, so a control may keep it itself.
    wchar_t text[8];
    EXPECT_EQ(GetWindowTextW(control, text, 8), 2);
    EXPECT_EQ(std::wstring(text), L"OK");
    EXPECT_TRUE(SetWindowTextW(control, L"Cancel"));
    EXPECT_EQ(GetWindowTextW(control, text, 4), 3);
    EXPECT_EQ(std::wstring(text), L"Can");
    handlers[WM_GETTEXT] = [](HWND, UINT, WPARAM capacity, LPARAM buffer) -> LRESULT {
        return capacity > 1 ? (reinterpret_cast<wchar_t*>(buffer)[0] = L'7', reinterpret_cast<wchar_t*>(buffer)[1] = 0, 1) : 0;
    };
    EXPECT_EQ(GetWindowTextW(control, text, 8), 1);
    EXPECT_EQ(std::wstring(text), L"7");
    EXPECT_EQ(received_of(WM_SETTEXT).size(), 1u);

    // A window that refuses its WM_NCCREATE is never made; top-level windows take no menu.
    handlers[WM_NCCREATE] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return FALSE; };
    EXPECT_EQ(CreateWindowExW(0, L"Control", L"", WS_CHILD, 0, 0, 1, 1, main, nullptr, nullptr, nullptr), nullptr);
    handlers.erase(WM_NCCREATE);
    EXPECT_EQ(CreateWindowExW(0, L"Control", L"", 0, 0, 0, 1, 1, nullptr, reinterpret_cast<HMENU>(7), nullptr, nullptr),
              nullptr);
    EXPECT_EQ(platform::window_table().windows.live(), 2u);
}

// A dialog asks for its parent and is given its owner; a menu in the topmost band stays above the
// main window whatever comes forward, and so does what it owns.
TEST_F(Windows, PopupsKnowTheirOwnerAndTheTopmostBandStaysOnTop) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND dialog = top_level(0, 0, 240, 320, main, WS_POPUP | WS_VISIBLE);
    const HWND plain = top_level(0, 0, 24, 32, main);
    EXPECT_EQ(GetParent(dialog), main);
    EXPECT_EQ(GetParent(plain), nullptr) << "not a popup";
    EXPECT_EQ(GetParent(child(dialog, 0, 0, 5, 5)), dialog);

    const HWND menu = CreateWindowExW(WS_EX_TOPMOST, L"Test", L"", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, main,
                                      nullptr, nullptr, nullptr);
    const HWND list = top_level(20, 20, 10, 10, menu, WS_POPUP | WS_VISIBLE);
    SetForegroundWindow(main);
    const HWND later = top_level(0, 0, 100, 100, main);
    ShowWindow(dialog, SW_HIDE);
    ShowWindow(dialog, SW_SHOW);
    const auto& z = platform::window_table().z_order;
    ASSERT_GE(z.size(), 2u);
    EXPECT_EQ(std::vector<HWND>(z.end() - 2, z.end()), (std::vector<HWND>{menu, list}));
    EXPECT_NE(std::find(z.begin(), z.end(), later), z.end());
}

}  // namespace
