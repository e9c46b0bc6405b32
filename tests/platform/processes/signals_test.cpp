#include <gtest/gtest.h>

#include <csignal>

#include "child_process.h"
#include "system/remote.h"

namespace platform {
namespace {

sighandler_t disposition(int signal) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

TEST(TerminationSignals, EachAsksTheApplicationToClose) {
    testing::WakeCounter& wakes = testing::use_wake_counter();
    ASSERT_TRUE(remote_forward_termination_signals());
    int expected_wakes = 0;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ASSERT_EQ(raise(signal), 0);
        ASSERT_TRUE(wakes.wait_for_wakes(++expected_wakes)) << signal;
        RemoteMessage m{};
        ASSERT_TRUE(remote_take_message(&m)) << signal;
        EXPECT_EQ(m.window, nullptr);
        EXPECT_EQ(m.message, static_cast<UINT>(WM_CLOSE));
        EXPECT_FALSE(m.raise);
        EXPECT_FALSE(remote_take_message(&m));
    }
    remote_shutdown();
}

TEST(TerminationSignals, ASignalIgnoredAtTheStartStaysIgnored) {
    signal(SIGHUP, SIG_IGN);
    ASSERT_TRUE(remote_forward_termination_signals());
    EXPECT_EQ(disposition(SIGHUP), SIG_IGN);
    EXPECT_NE(disposition(SIGTERM), SIG_DFL);
    // Still alive after it.
    raise(SIGHUP);
    remote_shutdown();
}

TEST(TerminationSignals, ShutdownGivesBackTheFormerHandling) {
    const sighandler_t before[] = {disposition(SIGTERM), disposition(SIGINT), disposition(SIGHUP)};
    ASSERT_TRUE(remote_forward_termination_signals());
    ASSERT_TRUE(remote_enable());
    remote_shutdown();
    EXPECT_EQ(disposition(SIGTERM), before[0]);
    EXPECT_EQ(disposition(SIGINT), before[1]);
    EXPECT_EQ(disposition(SIGHUP), before[2]);
    // And the platform can start again.
    testing::WakeCounter& wakes = testing::use_wake_counter();
    ASSERT_TRUE(remote_forward_termination_signals());
    raise(SIGTERM);
    ASSERT_TRUE(wakes.wait_for_wakes(1));
    RemoteMessage m{};
    EXPECT_TRUE(remote_take_message(&m));
    remote_shutdown();
}

}  // namespace
}  // namespace platform
