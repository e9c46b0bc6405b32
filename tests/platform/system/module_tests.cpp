#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <string>

#include "core/handles.h"
#include "platform/system.h"
#include "system/module.h"
#include "temp_folder.h"

namespace {

std::wstring own_path() { return widen(std::filesystem::read_symlink("/proc/self/exe").string()); }

}  // namespace

TEST(Module, TheProgramsPathIsItsExecutable) {
    wchar_t buffer[MAX_PATH];
    const std::wstring expected = own_path();
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, MAX_PATH), expected.size());
    EXPECT_EQ(std::wstring(buffer), expected);
    EXPECT_EQ(GetModuleFileNameW(platform::program_instance(), buffer, MAX_PATH), expected.size());
    EXPECT_EQ(std::wstring(buffer), expected);
}

TEST(Module, ATooSmallBufferGetsTheStartOfThePathTerminatedAndTheWholeCapacity) {
    const std::wstring expected = own_path();
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
    EXPECT_EQ(buffer[0], L'\0');
}

TEST(Module, OnlyTheProgramsOwnModuleIsKnown) {
    wchar_t buffer[MAX_PATH] = L"untouched";
    const HINSTANCE instance = platform::program_instance();
    EXPECT_EQ(instance, platform::program_instance());
    EXPECT_EQ(platform::kind_of(platform::raw(instance)), platform::HandleKind::Instance);
    const auto forged = reinterpret_cast<HMODULE>(platform::raw(instance) + (std::uintptr_t{1} << 32));
    for (HMODULE other : {forged, reinterpret_cast<HMODULE>(0x400000)}) {
        EXPECT_EQ(GetModuleFileNameW(other, buffer, MAX_PATH), 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    }
    EXPECT_EQ(std::wstring(buffer), L"untouched");
}
