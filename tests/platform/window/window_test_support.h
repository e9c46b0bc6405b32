// What the window module's tests share: a headless screen on the virtual clock, and windows whose
// procedure records every message and lets a test answer any of them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "backend/headless/headless.h"
#include "core/clock.h"
#include "platform/platform.h"

namespace window_test {

using Type = platform::DeviceEvent::Type;

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Everything the test windows received, in order.
inline std::vector<Received> received;
// Per message number: what the test windows do instead of DefWindowProcW.
inline std::map<UINT, std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>> handlers;

inline LRESULT test_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back({window, message, wParam, lParam});
    const auto h = handlers.find(message);
    if (h != handlers.end()) return h->second(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// What was received of the messages from `first` to `last`.
inline std::vector<Received> received_of(UINT first, UINT last = 0) {
    std::vector<Received> out;
    for (const Received& r : received)
        if (r.message == first || (r.message > first && r.message <= last)) out.push_back(r);
    return out;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = test_proc;
        wc.lpszClassName = L"Test";
        ASSERT_NE(RegisterClassW(&wc), 0);
    }

    HWND top_level(int x, int y, int w, int h, HWND owner = nullptr, DWORD style = WS_VISIBLE) {
        return CreateWindowExW(0, L"Test", L"", style, x, y, w, h, owner, nullptr, nullptr, nullptr);
    }
    HWND child(HWND parent, int x, int y, int w, int h) {
        return CreateWindowExW(0, L"Test", L"", WS_CHILD | WS_VISIBLE, x, y, w, h, parent, nullptr, nullptr,
                               nullptr);
    }
    // The loop every program runs, for what is ready now.
    void dispatch_all() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    platform::HeadlessBackend& screen = platform::use_headless_backend(240, 320, 1000);
};

// A main window of the device's size, shown and painted, with nothing received yet.
class MainWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        main = top_level(0, 0, 240, 320);
        dispatch_all();
        received.clear();
    }

    HWND main = nullptr;
};

}  // namespace window_test
