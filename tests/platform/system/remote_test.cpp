// Windows of other processes and termination signals. Children are forked before the test
// touches the platform, so that each starts with the platform untouched.
#include "system/remote.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "backend/headless/headless.h"
#include "core/handles.h"
#include "system/remote_wire.h"

namespace platform {
namespace {

constexpr const wchar_t* kClass = L"Test Window";
const std::string kDisplay = "x11:7";
const HWND kWindow = as_handle<HWND>(0x500000004);

// A child's checks: each failed one makes the child's exit code non-zero.
#define CHILD_CHECK(condition) \
    if (!(condition)) return __LINE__ % 250 + 1

// Runs `body` in a new process; its result is the process's exit code. A child that hangs is
// ended after twenty seconds, so waiting for its end never hangs the test.
pid_t spawn(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(20);
        _exit(body());
    }
    return pid;
}

// The exit code, or -1 for a child killed by a signal.
int exit_code(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Single bytes from one process to others. Waiting does not take the byte, so one send() used as
// a gate lets every waiter through, now and later.
class Pipe {
public:
    Pipe() { EXPECT_EQ(pipe(fds_), 0); }
    void send(char byte = 0) { [[maybe_unused]] auto n = write(fds_[1], &byte, 1); }
    bool wait() {
        pollfd p{fds_[0], POLLIN, 0};
        return poll(&p, 1, 10000) == 1;
    }
    // The next byte, or 0 when none comes in time.
    char next() {
        char byte = 0;
        return wait() && read(fds_[0], &byte, 1) == 1 ? byte : 0;
    }

private:
    int fds_[2];
};

// A backend that reports each wake of the platform as a byte on `wakes`.
struct WakeReporter : HeadlessBackend {
    WakeReporter() : HeadlessBackend(1, 1) {}
    void wake() override { wakes.send('w'); }
    Pipe wakes;
};

Pipe& report_wakes() {
    auto owned = std::make_unique<WakeReporter>();
    Pipe& wakes = owned->wakes;
    set_backend(std::move(owned));
    return wakes;
}

// A window name no other test running at the same time uses.
std::wstring unique_name(const wchar_t* what) { return what + std::to_wstring(getpid()); }

HWND find(const std::wstring& name) { return remote_find_window(kClass, name.c_str()); }

// Sends `size` bytes to `socket` as they are: the byte it answers, or -1 when it answers none.
int reply_to(const std::string& socket, const std::uint8_t* bytes, std::size_t size) {
    const int fd = wire::connect_to(socket);
    if (fd < 0) return -2;
    send(fd, bytes, size, MSG_NOSIGNAL);
    std::uint8_t reply = 0;
    const int result = recv(fd, &reply, 1, 0) == 1 ? reply : -1;
    close(fd);
    return result;
}

sighandler_t disposition(int signal) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

TEST(RemoteWindows, AnotherProcessReachesTheWindowWithEveryBitButGarbageAndStrangersDoNot) {
    const std::wstring name = unique_name(L"published");
    const std::string socket = wire::socket_name(getuid(), kDisplay, kClass, name.c_str());
    Pipe ready;
    const pid_t stranger = spawn([&] {
        // Only root can become another user; the machines that run the tests run as root.
        if (getuid() != 0) return 0;
        CHILD_CHECK(ready.wait() && setuid(65534) == 0);
        std::uint8_t post[wire::kRequestSize];
        wire::encode({wire::Kind::Post, WM_CLOSE, 0, 0}, post);
        CHILD_CHECK(reply_to(socket, post, sizeof post) == -1);
        return 0;
    });
    const pid_t child = spawn([&] {
        CHILD_CHECK(ready.wait());
        std::uint8_t bytes[wire::kRequestSize] = {0xde, 0xad, 0xbe, 0xef};
        CHILD_CHECK(reply_to(socket, bytes, sizeof bytes) == -1);
        CHILD_CHECK(reply_to(socket, bytes, 5) == -1);
        wire::encode({wire::Kind::Post, WM_QUIT, 0, 0}, bytes);
        CHILD_CHECK(reply_to(socket, bytes, sizeof bytes) == wire::kNo);
        CHILD_CHECK(remote_enable(kDisplay));
        const HWND found = find(name);
        CHILD_CHECK(found != nullptr && kind_of(raw(found)) == HandleKind::RemoteWindow);
        CHILD_CHECK(!remote_post_message(found, WM_PAINT, 0, 0));  // not one other programs may send
        CHILD_CHECK(remote_post_message(found, WM_COMMAND, 40004, -5));
        CHILD_CHECK(remote_post_message(found, WM_APP, ~WPARAM{0}, INTPTR_MIN));
        CHILD_CHECK(remote_post_message(found, WM_HIBERNATE, 0, 0));
        CHILD_CHECK(remote_set_foreground(as_handle<HWND>(raw(found) | 1)));
        return 0;
    });
    Pipe& wakes = report_wakes();
    ASSERT_TRUE(remote_enable(kDisplay));
    ASSERT_EQ(find(name), nullptr);
    remote_publish_window(kWindow, kClass, name.c_str());
    ready.send();
    EXPECT_EQ(exit_code(stranger), 0);
    EXPECT_EQ(exit_code(child), 0);
    for (int i = 0; i < 4; ++i) ASSERT_EQ(wakes.next(), 'w') << "each message wakes the platform";
    std::vector<std::tuple<UINT, WPARAM, LPARAM, bool>> arrived;
    for (RemoteMessage m{}; remote_take_message(&m);) {
        EXPECT_EQ(m.window, kWindow);
        arrived.emplace_back(m.message, m.wParam, m.lParam, m.raise);
    }
    EXPECT_EQ(arrived, (decltype(arrived){{WM_COMMAND, 40004, -5, false},
                                          {WM_APP, ~WPARAM{0}, INTPTR_MIN, false},
                                          {WM_HIBERNATE, 0, 0, false},
                                          {0, 0, 0, true}}));
    remote_shutdown();
}

TEST(RemoteWindows, CopiesStartedAtTheSameInstantNeverBothRun) {
    constexpr int kCopies = 6;
    for (int round = 0; round < 3; ++round) {
        const std::wstring name = unique_name(L"race") + L"-" + std::to_wstring(round);
        Pipe start;
        Pipe finish;
        Pipe reports;
        std::vector<pid_t> copies;
        for (int i = 0; i < kCopies; ++i) {
            copies.push_back(spawn([&] {
                CHILD_CHECK(start.wait());
                CHILD_CHECK(remote_enable(kDisplay));
                const HWND found = find(name);
                reports.send(found == nullptr ? 'R' : 'F');
                if (found == nullptr) {
                    // A copy takes a while to make its window after looking.
                    usleep(20000);
                    remote_publish_window(kWindow, kClass, name.c_str());
                }
                // The running copy stays until every copy has looked.
                CHILD_CHECK(finish.wait());
                return 0;
            }));
        }
        start.send();
        int running = 0;
        for (int i = 0; i < kCopies; ++i) {
            const char report = reports.next();
            ASSERT_NE(report, 0) << "a copy never finished looking";
            if (report == 'R') ++running;
        }
        finish.send();
        for (const pid_t copy : copies) EXPECT_EQ(exit_code(copy), 0);
        EXPECT_EQ(running, 1) << "round " << round;
    }
}

// A copy that reserved the name and crashed before making its window holds nothing up; handles
// to a window whose process ended, and null, local or stale handles, fail.
TEST(RemoteWindows, AReservationEndsWithItsProcessAndNoHandleOutlivesItsWindow) {
    const std::wstring name = unique_name(L"takeover");
    Pipe leave;
    Pipe reports;
    const pid_t holder = spawn([&] {
        CHILD_CHECK(remote_enable(kDisplay));
        CHILD_CHECK(find(name) == nullptr);
        reports.send('h');
        CHILD_CHECK(leave.wait());
        return 0;
    });
    ASSERT_EQ(reports.next(), 'h');
    const pid_t waiter = spawn([&] {
        CHILD_CHECK(remote_enable(kDisplay));
        reports.send('w');
        CHILD_CHECK(find(name) == nullptr);
        remote_publish_window(kWindow, kClass, name.c_str());
        reports.send('p');
        CHILD_CHECK(leave.wait());
        return 0;
    });
    ASSERT_EQ(reports.next(), 'w');
    // Give the waiter time to be waiting on the reservation.
    usleep(100000);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    ASSERT_EQ(reports.next(), 'p');
    // Nothing crosses processes until enabled, nor without a full class and name.
    EXPECT_EQ(find(name), nullptr);
    ASSERT_TRUE(remote_enable(kDisplay));
    EXPECT_EQ(remote_find_window(nullptr, name.c_str()), nullptr);
    EXPECT_EQ(remote_find_window(kClass, nullptr), nullptr);
    const HWND found = find(name);
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(remote_is_window(found));
    EXPECT_FALSE(remote_post_message(nullptr, WM_CLOSE, 0, 0));
    EXPECT_FALSE(remote_post_message(kWindow, WM_CLOSE, 0, 0));
    EXPECT_FALSE(remote_is_window(as_handle<HWND>(raw(found) + (std::uintptr_t{1} << 32))));
    leave.send();
    EXPECT_EQ(exit_code(waiter), 0);
    EXPECT_FALSE(remote_is_window(found));
    EXPECT_FALSE(remote_post_message(found, WM_CLOSE, 0, 0));
    EXPECT_FALSE(remote_set_foreground(found));
    remote_shutdown();
}

// Each display has its own copy, and no display's part can run into the class's: the socket, which
// the first test reaches by its name, differs for each.
TEST(RemoteWindows, EachDisplayClassAndNameHasASocketOfItsOwn) {
    EXPECT_NE(wire::socket_name(0, "x11:7", L"A", L"B"), wire::socket_name(0, "x11:8", L"A", L"B"));
    EXPECT_NE(wire::socket_name(0, "x11:1/A", L"B", L"C"), wire::socket_name(0, "x11:1", L"A/B", L"C"));
}

// A shell starts background jobs with SIGINT ignored; that must stay so.
TEST(TerminationSignals, EachAsksToCloseButOneIgnoredAtTheStartStaysIgnored) {
    Pipe& wakes = report_wakes();
    signal(SIGINT, SIG_IGN);
    ASSERT_TRUE(remote_forward_termination_signals());
    EXPECT_EQ(disposition(SIGINT), SIG_IGN);
    for (const int signal : {SIGTERM, SIGHUP}) {
        ASSERT_EQ(raise(signal), 0);
        ASSERT_EQ(wakes.next(), 'w') << signal;
        RemoteMessage m{};
        ASSERT_TRUE(remote_take_message(&m)) << signal;
        EXPECT_EQ(std::tuple(m.window, m.message, m.raise), std::tuple(HWND{}, UINT{WM_CLOSE}, false));
        EXPECT_FALSE(remote_take_message(&m));
    }
    remote_shutdown();
    EXPECT_EQ(disposition(SIGTERM), SIG_DFL);
    EXPECT_EQ(disposition(SIGINT), SIG_IGN);
}

}  // namespace
}  // namespace platform
