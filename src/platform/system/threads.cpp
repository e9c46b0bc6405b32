// Threads: a handle to wait on, and the thread's exit code.
#include "system/threads.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

#include "core/clock.h"
#include "core/handles.h"
#include "platform/system.h"

namespace platform {
namespace {

// How long, in real milliseconds, a poll on the virtual clock waits for a thread to end.
constexpr int kVirtualThreadBound = 10000;

// What the thread and its handle share; it outlives whichever of the two ends last.
struct ThreadState {
    std::mutex lock;
    std::condition_variable ended;
    bool done = false;
    DWORD exit_code = 0;
    pid_t id = 0;                  // the system's id of the thread, once it runs
    std::optional<int> niceness;   // asked for before it ran, or since; none leaves it at its creator's
};

// The scheduler's niceness for a thread priority, which is the asking thread's own lowered by
// that much (a niceness may be below 0); none for a priority not offered.
std::optional<int> niceness_of(int priority) {
    int lowered = 0;
    switch (priority) {
    case THREAD_PRIORITY_NORMAL: break;
    case THREAD_PRIORITY_BELOW_NORMAL: lowered = 5; break;
    case THREAD_PRIORITY_LOWEST: lowered = 10; break;
    default: return std::nullopt;
    }
    errno = 0;
    const int own = getpriority(PRIO_PROCESS, 0);
    return std::min(errno == 0 ? own + lowered : lowered, 19);
}

struct Thread {
    std::shared_ptr<ThreadState> state;
    std::thread runner;

    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // The process may end with a handle still open: its thread is waited for, never left joinable.
    ~Thread() {
        if (runner.joinable()) runner.join();
    }
};

HandleTable<Thread>& threads() {
    static HandleTable<Thread> table(HandleKind::Thread);
    return table;
}

}  // namespace

bool close_thread(HANDLE handle) {
    std::unique_ptr<Thread> thread = threads().remove(raw(handle));
    if (!thread) return false;
    bool done;
    {
        std::lock_guard<std::mutex> hold(thread->state->lock);
        done = thread->state->done;
    }
    if (done)
        thread->runner.join();
    else
        thread->runner.detach();
    return true;
}

}  // namespace platform

using namespace platform;

HANDLE CreateThread(SECURITY_ATTRIBUTES*, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                    DWORD* threadId) {
    if (!start || flags != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto thread = std::make_unique<Thread>();
    thread->state = std::make_shared<ThreadState>();
    try {
        thread->runner = std::thread([state = thread->state, start, parameter] {
            {
                std::lock_guard<std::mutex> hold(state->lock);
                state->id = gettid();
                if (state->niceness) setpriority(PRIO_PROCESS, static_cast<id_t>(state->id), *state->niceness);
            }
            const DWORD code = start(parameter);
            std::lock_guard<std::mutex> hold(state->lock);
            state->exit_code = code;
            state->done = true;
            state->ended.notify_all();
        });
    } catch (const std::system_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const std::uintptr_t handle = threads().add(std::move(thread));
    if (threadId) *threadId = static_cast<DWORD>(handle >> 8);
    return as_handle<HANDLE>(handle);
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    Thread* thread = threads().find(raw(object));
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    std::unique_lock<std::mutex> hold(thread->state->lock);
    const auto ended = [&] { return thread->state->done; };
    // On the virtual clock another thread's work takes no time, as a sleep does: a poll of it
    // waits for its end (within a real bound), so what follows from it does not depend on how busy
    // the machine is.
    const auto bound = clock_is_virtual() ? std::chrono::milliseconds(kVirtualThreadBound)
                                          : std::chrono::milliseconds(milliseconds);
    if (milliseconds == INFINITE)
        thread->state->ended.wait(hold, ended);
    else if (!thread->state->ended.wait_for(hold, bound, ended))
        return WAIT_TIMEOUT;
    return WAIT_OBJECT_0;
}

BOOL SetThreadPriority(HANDLE handle, int priority) {
    Thread* thread = threads().find(raw(handle));
    const std::optional<int> niceness = niceness_of(priority);
    if (!thread || !niceness) {
        SetLastError(thread ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> hold(thread->state->lock);
    // An ended thread's id may be another's by now.
    if (thread->state->id != 0 && !thread->state->done &&
        setpriority(PRIO_PROCESS, static_cast<id_t>(thread->state->id), *niceness) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    thread->state->niceness = niceness;
    return TRUE;
}

BOOL GetExitCodeThread(HANDLE handle, DWORD* exitCode) {
    Thread* thread = threads().find(raw(handle));
    if (!thread || !exitCode) {
        SetLastError(thread ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> hold(thread->state->lock);
    *exitCode = thread->state->done ? thread->state->exit_code : STILL_ACTIVE;
    return TRUE;
}
