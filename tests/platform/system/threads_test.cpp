#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

#include "platform/system.h"

namespace {

std::atomic<bool> started{false};
std::atomic<bool> go{false};

// Waits to be let go, then ends with its own niceness.
DWORD ReportNiceness(LPVOID) {
    started = true;
    while (!go) std::this_thread::yield();
    return static_cast<DWORD>(getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())));
}

DWORD NicenessOfThread(bool started_first, int priority) {
    started = go = false;
    HANDLE thread = CreateThread(nullptr, 0, ReportNiceness, nullptr, 0, nullptr);
    EXPECT_NE(thread, nullptr);
    while (started_first && !started) std::this_thread::yield();
    EXPECT_TRUE(SetThreadPriority(thread, priority));
    go = true;
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    CloseHandle(thread);
    return code;
}

}  // namespace

TEST(Threads, ALowerPriorityTakesHoldWhetherTheThreadRunsYetOrNotAndNoneGoesAboveNormal) {
    const int own = getpriority(PRIO_PROCESS, 0);
    EXPECT_EQ(NicenessOfThread(false, THREAD_PRIORITY_LOWEST), static_cast<DWORD>(std::min(own + 10, 19)));
    EXPECT_EQ(NicenessOfThread(true, THREAD_PRIORITY_BELOW_NORMAL), static_cast<DWORD>(std::min(own + 5, 19)));

    // Nothing above normal, and no handle that is not a thread's.
    go = false;
    HANDLE thread = CreateThread(nullptr, 0, ReportNiceness, nullptr, 0, nullptr);
    EXPECT_FALSE(SetThreadPriority(thread, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SetThreadPriority(nullptr, THREAD_PRIORITY_LOWEST));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    go = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}
