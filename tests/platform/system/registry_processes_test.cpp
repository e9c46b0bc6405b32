// The registry file shared by processes: killed in the middle of a write, or written by two at once.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "system_test_support.h"

namespace {

// Counts the bytes a child sends until the pipe closes or `count` came.
int receive(int fd, int count) {
    int received = 0;
    char byte;
    while (received < count && read(fd, &byte, 1) == 1) ++received;
    return received;
}

}  // namespace

TEST(RegistryProcesses, AWriterKilledAtAnyInstantLeavesTheOldOrTheNewFile) {
    RegistryFolder registry;
    // A large value makes each write long enough to be cut somewhere in its middle.
    std::vector<BYTE> padding(64 * 1024);
    for (std::size_t i = 0; i < padding.size(); ++i) padding[i] = static_cast<BYTE>(i * 31 + 7);
    ASSERT_EQ(store(L"Padding", REG_BINARY, padding.data(), static_cast<DWORD>(padding.size())), ERROR_SUCCESS);
    ASSERT_EQ(store_dword(L"Counter", 0), ERROR_SUCCESS);
    std::mt19937 random(20240611);
    DWORD on_disk = 0;
    for (int round = 0; round < 60; ++round) {
        int acks[2];
        ASSERT_EQ(pipe(acks), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(acks[0]);
            // Each stored count is announced once its write has returned.
            for (DWORD n = on_disk + 1;; ++n) {
                const char done = 1;
                if (store_dword(L"Counter", n) != ERROR_SUCCESS || write(acks[1], &done, 1) != 1) _exit(1);
            }
        }
        close(acks[1]);
        // Let a few writes finish, then kill the child somewhere inside a later one.
        int acknowledged = receive(acks[0], 1 + static_cast<int>(random() % 3));
        volatile std::uint32_t spin = static_cast<std::uint32_t>(random() % 3000000);
        while (spin > 0) spin = spin - 1u;
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        acknowledged += receive(acks[0], 1 << 30);
        close(acks[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself in round " << round;

        DWORD counter = 0;
        ASSERT_EQ(load_dword(L"Counter", &counter), ERROR_SUCCESS) << "round " << round;
        // Every announced write is there, and at most the one that was cut short besides.
        EXPECT_GE(counter, on_disk + static_cast<DWORD>(acknowledged));
        EXPECT_LE(counter, on_disk + static_cast<DWORD>(acknowledged) + 1);
        ASSERT_EQ(load_bytes(L"Padding").second, padding) << "round " << round;
        on_disk = counter;
    }
    // What a killed writer left half made is cleared away by the next write.
    ASSERT_EQ(store_dword(L"Done", 1), ERROR_SUCCESS);
    EXPECT_EQ(leftovers(registry.at("platform_system_tests")), std::vector<std::string>{});
}

TEST(RegistryProcesses, TwoProcessesWritingAtOnceLoseNothing) {
    RegistryFolder registry;
    constexpr DWORD kValues = 25, kRounds = 3;
    auto name = [](wchar_t letter, DWORD i) { return std::wstring(1, letter) + std::to_wstring(i); };
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> writers;
    for (const wchar_t letter : {L'A', L'B'}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(gate[1]);
            char go;
            if (read(gate[0], &go, 1) < 0) _exit(1);  // starts when the gate closes
            for (DWORD round = 0; round < kRounds; ++round)
                for (DWORD i = 0; i < kValues; ++i)
                    if (store_dword(name(letter, i).c_str(), round * 100 + i) != ERROR_SUCCESS) _exit(1);
            _exit(0);
        }
        writers.push_back(child);
    }
    close(gate[0]);
    close(gate[1]);
    for (const pid_t child : writers) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const wchar_t letter : {L'A', L'B'})
        for (DWORD i = 0; i < kValues; ++i)
            EXPECT_EQ(dword_or(name(letter, i).c_str()), (kRounds - 1) * 100 + i) << static_cast<char>(letter) << i;
}
