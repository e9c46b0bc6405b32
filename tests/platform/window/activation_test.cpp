#include "window_test_support.h"

using namespace window_test;
using Type = platform::DeviceEvent::Type;

namespace {

class Activation : public WindowTest {
protected:
    // The WM_ACTIVATE messages since the last call, as (window, state, lParam).
    std::vector<std::tuple<HWND, WORD, HWND>> activations() {
        std::vector<std::tuple<HWND, WORD, HWND>> out;
        for (const Received& r : received_of(WM_ACTIVATE))
            out.emplace_back(r.window, LOWORD(r.wParam), reinterpret_cast<HWND>(r.lParam));
        received.clear();
        return out;
    }
};

TEST_F(Activation, AnOwnedBoxComesAndGoes) {
    const HWND main = top_level(0, 0, 240, 320);
    EXPECT_EQ(activations(), (std::vector<std::tuple<HWND, WORD, HWND>>{{main, WA_ACTIVE, nullptr}}));
    EXPECT_EQ(GetFocus(), main);

    const HWND box = top_level(20, 100, 200, 100, main, L"box");
    EXPECT_EQ(activations(),
              (std::vector<std::tuple<HWND, WORD, HWND>>{{main, WA_INACTIVE, box}, {box, WA_ACTIVE, main}}));
    EXPECT_EQ(GetActiveWindow(), box);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(GetWindow(box, GW_OWNER), main);

    DestroyWindow(box);
    EXPECT_EQ(activations(),
              (std::vector<std::tuple<HWND, WORD, HWND>>{{box, WA_INACTIVE, main}, {main, WA_ACTIVE, box}}));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(GetFocus(), main);
}

TEST_F(Activation, AnotherProgramTakingTheDisplayDeactivatesWithNoWindow) {
    const HWND main = top_level(0, 0, 240, 320);
    activations();
    screen.push(event(Type::FocusLost));
    dispatch_all();
    EXPECT_EQ(activations(), (std::vector<std::tuple<HWND, WORD, HWND>>{{main, WA_INACTIVE, nullptr}}));
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_EQ(GetActiveWindow(), main);

    screen.push(event(Type::FocusLost));  // no change, no message
    screen.push(event(Type::FocusGained));
    dispatch_all();
    EXPECT_EQ(activations(), (std::vector<std::tuple<HWND, WORD, HWND>>{{main, WA_ACTIVE, nullptr}}));
    EXPECT_EQ(GetForegroundWindow(), main);
}

TEST_F(Activation, TheFocusChangeWaitsForTheQueue) {
    top_level(0, 0, 240, 320);
    activations();
    screen.push(event(Type::FocusLost));
    GetAsyncKeyState(VK_DOWN);  // a busy program reads the device but takes no messages
    EXPECT_TRUE(activations().empty());
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(activations().size(), 1u);
}

TEST_F(Activation, ForegroundWithOwnedWindowsActivatesTheBox) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND box = top_level(20, 100, 200, 100, main, L"box");
    const HWND other = top_level(0, 0, 240, 320);
    EnableWindow(main, FALSE);
    EXPECT_EQ(GetActiveWindow(), other);

    const int raises = screen.raises();
    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(main) | 1)));
    EXPECT_EQ(GetActiveWindow(), box);
    EXPECT_EQ(screen.raises(), raises + 1);

    SetForegroundWindow(other);
    EXPECT_TRUE(SetForegroundWindow(main));
    EXPECT_NE(GetActiveWindow(), main) << "a disabled window is not made active";
}

TEST_F(Activation, HidingTheActiveWindowActivatesItsOwner) {
    const HWND main = top_level(0, 0, 240, 320);
    const HWND box = top_level(20, 100, 200, 100, main, L"box");
    const HWND other = top_level(0, 0, 10, 10);
    SetForegroundWindow(box);
    ShowWindow(box, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), main);
    ShowWindow(main, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), other);
}

}  // namespace
