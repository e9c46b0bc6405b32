// The registry file shared by processes: killed in the middle of a write, or written by two at once.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/system.h"
#include "registry_test_support.h"

namespace {

std::vector<BYTE> padding() {
    std::vector<BYTE> bytes(64 * 1024);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<BYTE>(i * 31 + 7);
    return bytes;
}

LONG store_padding() {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
    const std::vector<BYTE> bytes = padding();
    const LONG result = RegSetValueExW(key, L"Padding", 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return result;
}

bool padding_is_whole() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, 0, &key) != ERROR_SUCCESS) return false;
    std::vector<BYTE> bytes(padding().size() + 1);
    DWORD size = static_cast<DWORD>(bytes.size());
    const LONG result = RegQueryValueExW(key, L"Padding", nullptr, nullptr, bytes.data(), &size);
    RegCloseKey(key);
    bytes.resize(size);
    return result == ERROR_SUCCESS && bytes == padding();
}

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
    ASSERT_EQ(store_padding(), ERROR_SUCCESS);
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
                if (store_dword(L"Counter", n) != ERROR_SUCCESS) _exit(1);
                const char done = 1;
                if (write(acks[1], &done, 1) != 1) _exit(1);
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
        ASSERT_TRUE(padding_is_whole()) << "round " << round;
        on_disk = counter;
    }
    // What a killed writer left half made is cleared away by the next write.
    ASSERT_EQ(store_dword(L"Done", 1), ERROR_SUCCESS);
    for (const auto& entry : std::filesystem::directory_iterator(registry.folder()))
        EXPECT_TRUE(entry.path().filename() == "registry.reg" || entry.path().filename() == "registry.reg.lock")
            << "left behind: " << entry.path();
}

TEST(RegistryProcesses, TwoProcessesWritingAtOnceLoseNothing) {
    RegistryFolder registry;
    constexpr int kValues = 25;
    constexpr int kRounds = 3;
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
            for (int round = 0; round < kRounds; ++round)
                for (int i = 0; i < kValues; ++i)
                    if (store_dword((std::wstring(1, letter) + std::to_wstring(i)).c_str(), static_cast<DWORD>(round * 100 + i)) !=
                        ERROR_SUCCESS)
                        _exit(1);
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
    for (const wchar_t letter : {L'A', L'B'}) {
        for (int i = 0; i < kValues; ++i) {
            DWORD value = 0;
            const std::wstring name = std::wstring(1, letter) + std::to_wstring(i);
            EXPECT_EQ(load_dword(name.c_str(), &value), ERROR_SUCCESS) << "lost: " << static_cast<char>(letter) << i;
            EXPECT_EQ(value, static_cast<DWORD>((kRounds - 1) * 100 + i));
        }
    }
}
