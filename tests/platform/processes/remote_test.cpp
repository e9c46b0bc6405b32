#include "system/remote.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "core/handles.h"
#include "system/remote_wire.h"

namespace platform {
namespace {

using testing::exit_code;
using testing::Gate;
using testing::Reports;
using testing::spawn;
using testing::unique_name;
using testing::use_wake_counter;

constexpr const wchar_t* kClass = L"Test Window";
const HWND kWindow = as_handle<HWND>(0x500000004);
const HWND kOtherWindow = as_handle<HWND>(0x600000104);

// A child's checks: each failed one makes the child's exit code non-zero.
#define CHILD_CHECK(condition) \
    if (!(condition)) return __LINE__ % 250 + 1

// This process takes the window `name` as a program does: it looks for it, finds none, makes it.
void own_window(const std::wstring& name) {
    ASSERT_TRUE(remote_enable());
    ASSERT_EQ(remote_find_window(kClass, name.c_str()), nullptr);
    remote_publish_window(kWindow, kClass, name.c_str());
}

// The messages waiting, in the order they came.
std::vector<UINT> take_messages() {
    std::vector<UINT> taken;
    RemoteMessage m{};
    while (remote_take_message(&m)) {
        EXPECT_EQ(m.window, kWindow);
        taken.push_back(m.message);
    }
    return taken;
}

// Owns the window `name`, lets `child` (waiting on `ready`) go, and gives the messages it sent,
// once it has ended and `count` of them have woken the platform.
std::vector<UINT> messages_from(pid_t child, Gate& ready, const std::wstring& name, int count) {
    testing::WakeCounter& wakes = use_wake_counter();
    own_window(name);
    ready.open();
    EXPECT_EQ(exit_code(child), 0);
    EXPECT_TRUE(wakes.wait_for_wakes(count));
    std::vector<UINT> taken = take_messages();
    remote_shutdown();
    return taken;
}

// In a child: the window `name` of another process, or null.
HWND find_from_child(const std::wstring& name) {
    return remote_enable() ? remote_find_window(kClass, name.c_str()) : nullptr;
}

TEST(RemoteWindows, FirstFindReservesTheNameAndAnotherProcessReachesTheWindowOncePublished) {
    const std::wstring name = unique_name(L"published");
    Gate reserved;
    Reports reports;
    const pid_t child = spawn([&] {
        CHILD_CHECK(reserved.wait());
        CHILD_CHECK(remote_enable());
        reports.send('s');
        const HWND found = remote_find_window(kClass, name.c_str());
        CHILD_CHECK(found != nullptr);
        CHILD_CHECK(kind_of(raw(found)) == HandleKind::RemoteWindow);
        CHILD_CHECK(remote_is_window(found));
        CHILD_CHECK(remote_post_message(found, WM_COMMAND, 40004, -5));
        CHILD_CHECK(remote_post_message(found, WM_APP, 0xFFFFFFFFFFFFu, -1234567890123));
        CHILD_CHECK(remote_set_foreground(as_handle<HWND>(raw(found) | 1)));
        return 0;
    });
    testing::WakeCounter& wakes = use_wake_counter();
    ASSERT_TRUE(remote_enable());
    EXPECT_EQ(remote_find_window(kClass, name.c_str()), nullptr);
    reserved.open();
    ASSERT_EQ(reports.next(), 's');
    // Give the child time to be waiting on the reservation; it must wait, not give up or run.
    usleep(100000);
    remote_publish_window(kWindow, kClass, name.c_str());
    ASSERT_TRUE(wakes.wait_for_wakes(3));
    RemoteMessage m{};
    ASSERT_TRUE(remote_take_message(&m));
    EXPECT_EQ(m.window, kWindow);
    EXPECT_EQ(m.message, WM_COMMAND);
    EXPECT_EQ(m.wParam, 40004u);
    EXPECT_EQ(m.lParam, -5);
    EXPECT_FALSE(m.raise);
    ASSERT_TRUE(remote_take_message(&m));
    EXPECT_EQ(m.message, WM_APP);
    EXPECT_EQ(m.wParam, 0xFFFFFFFFFFFFu);
    EXPECT_EQ(m.lParam, -1234567890123);
    ASSERT_TRUE(remote_take_message(&m));
    EXPECT_TRUE(m.raise);
    EXPECT_EQ(m.window, kWindow);
    EXPECT_FALSE(remote_take_message(&m));
    EXPECT_EQ(exit_code(child), 0);
    remote_shutdown();
}

TEST(RemoteWindows, CopiesStartedAtTheSameInstantNeverBothRun) {
    constexpr int kCopies = 6;
    for (int round = 0; round < 3; ++round) {
        const std::wstring name = unique_name(L"race") + L"-" + std::to_wstring(round);
        Gate start;
        Gate finish;
        Reports reports;
        std::vector<pid_t> copies;
        for (int i = 0; i < kCopies; ++i) {
            copies.push_back(spawn([&] {
                CHILD_CHECK(start.wait());
                CHILD_CHECK(remote_enable());
                const HWND found = remote_find_window(kClass, name.c_str());
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
        start.open();
        int running = 0;
        for (int i = 0; i < kCopies; ++i) {
            const char report = reports.next();
            ASSERT_NE(report, 0) << "a copy never finished looking";
            if (report == 'R') ++running;
        }
        finish.open();
        for (const pid_t copy : copies) EXPECT_EQ(exit_code(copy), 0);
        EXPECT_EQ(running, 1) << "round " << round;
    }
}

TEST(RemoteWindows, AReservationEndsWithItsProcessAndAWaitingCopyTakesOver) {
    const std::wstring name = unique_name(L"takeover");
    Gate leave;
    Gate published;
    Gate done;
    Reports reports;
    const pid_t holder = spawn([&] {
        CHILD_CHECK(remote_enable());
        CHILD_CHECK(remote_find_window(kClass, name.c_str()) == nullptr);
        reports.send('h');
        CHILD_CHECK(leave.wait());
        // Ends without ever making the window, as a tool that only looked for it would.
        return 0;
    });
    ASSERT_EQ(reports.next(), 'h');
    const pid_t waiter = spawn([&] {
        CHILD_CHECK(remote_enable());
        reports.send('w');
        CHILD_CHECK(remote_find_window(kClass, name.c_str()) == nullptr);
        remote_publish_window(kWindow, kClass, name.c_str());
        published.open();
        CHILD_CHECK(done.wait());
        return 0;
    });
    const pid_t finder = spawn([&] {
        CHILD_CHECK(published.wait());
        CHILD_CHECK(remote_enable());
        CHILD_CHECK(remote_find_window(kClass, name.c_str()) != nullptr);
        return 0;
    });
    ASSERT_EQ(reports.next(), 'w');
    usleep(100000);
    leave.open();
    EXPECT_EQ(exit_code(holder), 0);
    EXPECT_EQ(exit_code(finder), 0);
    done.open();
    EXPECT_EQ(exit_code(waiter), 0);
}

TEST(RemoteWindows, OnlyTheMessagesOtherProcessesMaySendArrive) {
    const std::wstring name = unique_name(L"filter");
    Gate ready;
    const pid_t child = spawn([&] {
        CHILD_CHECK(ready.wait());
        const HWND found = find_from_child(name);
        CHILD_CHECK(found != nullptr);
        CHILD_CHECK(!remote_post_message(found, WM_PAINT, 0, 0));
        CHILD_CHECK(!remote_post_message(found, WM_USER, 0, 0));
        CHILD_CHECK(!remote_post_message(found, WM_QUIT, 0, 0));
        CHILD_CHECK(remote_post_message(found, WM_HIBERNATE, 0, 0));
        CHILD_CHECK(remote_post_message(found, WM_CLOSE, 0, 0));
        return 0;
    });
    EXPECT_EQ(messages_from(child, ready, name, 2), (std::vector<UINT>{WM_HIBERNATE, WM_CLOSE}));
}

TEST(RemoteWindows, AWindowWhoseProcessEndedIsGone) {
    const std::wstring name = unique_name(L"ended");
    Gate leave;
    Reports reports;
    const pid_t owner = spawn([&] {
        CHILD_CHECK(remote_enable());
        CHILD_CHECK(remote_find_window(kClass, name.c_str()) == nullptr);
        remote_publish_window(kWindow, kClass, name.c_str());
        reports.send('p');
        CHILD_CHECK(leave.wait());
        return 0;
    });
    ASSERT_EQ(reports.next(), 'p');
    ASSERT_TRUE(remote_enable());
    const HWND found = remote_find_window(kClass, name.c_str());
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(remote_is_window(found));
    leave.open();
    EXPECT_EQ(exit_code(owner), 0);
    EXPECT_FALSE(remote_is_window(found));
    EXPECT_FALSE(remote_post_message(found, WM_CLOSE, 0, 0));
    EXPECT_FALSE(remote_set_foreground(found));
    // Not a remote window at all.
    EXPECT_FALSE(remote_post_message(nullptr, WM_CLOSE, 0, 0));
    EXPECT_FALSE(remote_post_message(kWindow, WM_CLOSE, 0, 0));
    EXPECT_FALSE(remote_is_window(as_handle<HWND>(raw(found) + (std::uintptr_t{1} << 32))));
    remote_shutdown();
}

TEST(RemoteWindows, AWithdrawnWindowCanNoLongerBeFoundAndItsNameIsFree) {
    const std::wstring name = unique_name(L"withdrawn");
    Gate withdrawn;
    const pid_t child = spawn([&] {
        CHILD_CHECK(withdrawn.wait());
        CHILD_CHECK(remote_enable());
        // Nobody holds the name now: this copy reserves it.
        CHILD_CHECK(remote_find_window(kClass, name.c_str()) == nullptr);
        return 0;
    });
    own_window(name);
    // A second window of the same class and name does not take the name over.
    remote_publish_window(kOtherWindow, kClass, name.c_str());
    remote_withdraw_window(kOtherWindow);
    remote_withdraw_window(kWindow);
    withdrawn.open();
    EXPECT_EQ(exit_code(child), 0);
    remote_shutdown();
}

TEST(RemoteWindows, RequestsThatAreNotRequestsAreDroppedAndTheListenerGoesOn) {
    const std::wstring name = unique_name(L"garbage");
    Gate ready;
    const pid_t child = spawn([&] {
        CHILD_CHECK(ready.wait());
        const std::string socket = wire::socket_name(getuid(), kClass, name.c_str());
        std::uint8_t bytes[wire::kRequestSize] = {0xde, 0xad, 0xbe, 0xef};
        int fd = wire::connect_to(socket);
        CHILD_CHECK(fd >= 0);
        CHILD_CHECK(send(fd, bytes, sizeof bytes, 0) == static_cast<ssize_t>(sizeof bytes));
        std::uint8_t reply = 7;
        CHILD_CHECK(recv(fd, &reply, 1, 0) == 0);  // closed without an answer
        close(fd);
        // A request cut short.
        fd = wire::connect_to(socket);
        CHILD_CHECK(fd >= 0);
        CHILD_CHECK(send(fd, bytes, 5, 0) == 5);
        close(fd);
        const HWND found = find_from_child(name);
        CHILD_CHECK(found != nullptr);
        CHILD_CHECK(remote_post_message(found, WM_CLOSE, 0, 0));
        return 0;
    });
    EXPECT_EQ(messages_from(child, ready, name, 1), std::vector<UINT>{WM_CLOSE});
}

TEST(RemoteWindows, AnotherUsersProcessIsNotListenedTo) {
    if (getuid() != 0) GTEST_SKIP() << "needs root to become another user";
    const std::wstring name = unique_name(L"stranger");
    Gate ready;
    const pid_t stranger = spawn([&] {
        CHILD_CHECK(ready.wait());
        CHILD_CHECK(setuid(65534) == 0);
        const int fd = wire::connect_to(wire::socket_name(0, kClass, name.c_str()));
        CHILD_CHECK(fd >= 0);
        std::uint8_t bytes[wire::kRequestSize];
        wire::encode({wire::Kind::Post, WM_CLOSE, 0, 0}, bytes);
        send(fd, bytes, sizeof bytes, MSG_NOSIGNAL);
        std::uint8_t reply = 7;
        CHILD_CHECK(recv(fd, &reply, 1, 0) <= 0);
        return 0;
    });
    own_window(name);
    ready.open();
    EXPECT_EQ(exit_code(stranger), 0);
    EXPECT_TRUE(take_messages().empty());
    remote_shutdown();
}

TEST(RemoteWindows, NothingCrossesProcessesUntilEnabledOrWithoutAFullName) {
    EXPECT_EQ(remote_find_window(kClass, L"x"), nullptr);
    ASSERT_TRUE(remote_enable());
    EXPECT_EQ(remote_find_window(nullptr, unique_name(L"no class").c_str()), nullptr);
    EXPECT_EQ(remote_find_window(kClass, nullptr), nullptr);
    remote_publish_window(nullptr, kClass, L"x");
    RemoteMessage m{};
    EXPECT_FALSE(remote_take_message(&m));
    remote_shutdown();
    EXPECT_FALSE(remote_enabled());
}

}  // namespace
}  // namespace platform
