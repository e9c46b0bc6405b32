// Other processes for tests: children forked before the test touches the platform (so that each
// starts with the platform untouched), gates between them, and a backend that counts wakes.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <string>
#include <mutex>

#include "backend/headless/headless.h"

namespace platform::testing {

using std::chrono::milliseconds;

// A one-way signal between processes: open() releases every process waiting in wait(), now and
// later (the byte it writes is never read, only seen).
class Gate {
public:
    Gate() {
        if (pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
    }
    void open() { [[maybe_unused]] auto n = write(fds_[1], "", 1); }
    bool wait(milliseconds patience = milliseconds(10000)) {
        pollfd p{fds_[0], POLLIN, 0};
        return poll(&p, 1, static_cast<int>(patience.count())) == 1;
    }

private:
    int fds_[2];
};

// A pipe of single bytes from children to the parent.
class Reports {
public:
    Reports() {
        if (pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
    }
    void send(char byte) { [[maybe_unused]] auto n = write(fds_[1], &byte, 1); }
    // The next byte, or 0 when none comes in time.
    char next(milliseconds patience = milliseconds(10000)) {
        pollfd p{fds_[0], POLLIN, 0};
        char byte = 0;
        if (poll(&p, 1, static_cast<int>(patience.count())) == 1 && read(fds_[0], &byte, 1) == 1) return byte;
        return 0;
    }

private:
    int fds_[2];
};

// Runs `body` in a new process; its result is the process's exit code.
inline pid_t spawn(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    return pid;
}

// The child's exit code, or -1 if it had not ended in time (it is killed then).
inline int exit_code(pid_t pid, milliseconds patience = milliseconds(15000)) {
    const auto until = std::chrono::steady_clock::now() + patience;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        usleep(2000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A backend that lets a test wait until the platform was woken.
class WakeCounter : public HeadlessBackend {
public:
    WakeCounter() : HeadlessBackend(1, 1) {}
    void wake() override {
        std::lock_guard lock(mutex_);
        ++wakes_;
        changed_.notify_all();
    }
    bool wait_for_wakes(int count, milliseconds patience = milliseconds(10000)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, patience, [&] { return wakes_ >= count; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int wakes_ = 0;
};

// A window name no other test running at the same time uses.
inline std::wstring unique_name(const wchar_t* what) { return what + std::to_wstring(getpid()); }

inline WakeCounter& use_wake_counter() {
    auto owned = std::make_unique<WakeCounter>();
    WakeCounter& counter = *owned;
    set_backend(std::move(owned));
    return counter;
}

}  // namespace platform::testing
