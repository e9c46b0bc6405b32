#include "window_test_support.h"

using namespace window_test;
using platform::clock_now;
using Type = platform::DeviceEvent::Type;

namespace {

class Timing : public WindowTest {};

TEST_F(Timing, AnIdleProgramJumpsToItsTimer) {
    const HWND w = top_level(0, 0, 10, 10);
    dispatch_all();
    const std::uint64_t start = clock_now();
    SetTimer(w, 1, 400, nullptr);
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(clock_now() - start, 400u);

    // Setting the same id again starts a new period; a killed timer never comes.
    platform::clock_advance(300);
    SetTimer(w, 1, 400, nullptr);
    platform::clock_advance(300);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    platform::clock_advance(100);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_TRUE(KillTimer(w, 1));
    EXPECT_FALSE(KillTimer(w, 1));
    platform::clock_advance(10000);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Timing, ALateTimerFiresOnceAndThenKeepsItsPeriod) {
    const HWND w = top_level(0, 0, 10, 10);
    dispatch_all();
    SetTimer(w, 2, 100, nullptr);
    platform::clock_advance(1000);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    platform::clock_advance(100);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

int timer_calls = 0;
void count_call(HWND, UINT, UINT_PTR, DWORD) { ++timer_calls; }

TEST_F(Timing, ATimerWithoutAWindowCallsItsProcedure) {
    const UINT_PTR id = SetTimer(nullptr, 0, 50, count_call);
    ASSERT_NE(id, 0u);
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, id);
    DispatchMessageW(&msg);
    EXPECT_EQ(timer_calls, 1);
}

TEST_F(Timing, DestroyingAWindowEndsItsTimers) {
    const HWND w = top_level(0, 0, 10, 10);
    SetTimer(w, 1, 10, nullptr);
    DestroyWindow(w);
    platform::clock_advance(100);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(Timing, SleepMovesTheVirtualClockAndBuffersInput) {
    top_level(0, 0, 10, 10);
    const DWORD before = GetTickCount();
    std::uint64_t step_ran_at = 0;
    screen.at_time(clock_now() + 100, [&] {
        step_ran_at = platform::clock_peek();
        screen.push(key(Type::KeyDown, VK_DOWN));
    });
    bool idle_step_ran = false;
    screen.when_idle([&] { idle_step_ran = true; });
    Sleep(500);
    EXPECT_EQ(GetTickCount() - before, 500u);
    EXPECT_EQ(step_ran_at, before + 100u);
    EXPECT_FALSE(idle_step_ran) << "a sleeping program is not idle";
    EXPECT_NE(GetAsyncKeyState(VK_DOWN) & 0x8000, 0) << "read while sleeping";
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) << "and kept for the queue";
}

TEST_F(Timing, TheTickCountWraps) {
    platform::use_headless_backend(240, 320, 0xFFFFFFF0ull);
    const DWORD before = GetTickCount();
    Sleep(0x20);
    EXPECT_EQ(GetTickCount(), before + 0x20u);
    EXPECT_LT(GetTickCount(), before);
}

TEST_F(Timing, AKeyReleasedWhileTheProgramIsBusyIsSeenAtOnce) {
    const HWND w = top_level(0, 0, 10, 10);
    dispatch_all();
    screen.push(key(Type::KeyDown, VK_DOWN));
    screen.at_time(clock_now() + 300, [&] { screen.push(key(Type::KeyUp, VK_DOWN)); });
    int polls = 0;
    handlers[WM_KEYDOWN] = [&](HWND, UINT, WPARAM vk, LPARAM) -> LRESULT {
        // A busy loop that never goes back to the queue, as a page scroll does.
        while (GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) {
            ++polls;
            Sleep(100);
        }
        return 0;
    };
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, w, 0, 0));
    DispatchMessageW(&msg);
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(GetAsyncKeyState(VK_DOWN), 0);
    ASSERT_TRUE(PeekMessageW(&msg, w, WM_KEYUP, WM_KEYUP, PM_REMOVE)) << "the release waits in the queue";
}

}  // namespace
