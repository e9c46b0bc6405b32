#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/utf8.h"
#include "platform/system.h"

TEST(Module, ATooSmallBufferGetsTheStartOfThePathTerminatedAndTheWholeCapacity) {
    const std::wstring expected = platform::utf8_to_wide(std::filesystem::read_symlink("/proc/self/exe").string());
    const auto length = static_cast<DWORD>(expected.size());
    std::wstring buffer(length + 4, L'#');

    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), length + 1), length) << "exactly enough room";
    EXPECT_EQ(std::wstring(buffer.c_str()), expected);

    buffer.assign(length + 4, L'#');
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), length), length);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::wstring(buffer.c_str()), expected.substr(0, length - 1));
    EXPECT_EQ(buffer[length], L'#') << "nothing written past the capacity";

    buffer.assign(4, L'#');
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), 1), 1u);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(buffer[1], L'#');
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), 0), 0u);
}
