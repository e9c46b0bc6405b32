// Files at the edges: a full disk, paths too long, handles that are no open file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "system_test_support.h"

namespace {

HANDLE open_file(const std::wstring& path, DWORD disposition) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr);
}

}  // namespace

TEST(Files, AWriteToAFullDiskFailsAndSaysSo) {
    SmallFileSystem disk;
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small file system here";
    HANDLE file = open_file(disk.wide("big"), CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::vector<char> data(256 * 1024, 'x');
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_LT(written, data.size());
    EXPECT_EQ(GetFileSize(file, nullptr), written) << "the count must say what really went";
    CloseHandle(file);
}

TEST(Files, PathsOfMaxPathCharactersOrMoreAreRefused) {
    TempFolder folder;
    // Folders of 50 characters until a file name can make the path exactly MAX_PATH - 1 long.
    std::string path = folder.path();
    while (path.size() + 51 < static_cast<std::size_t>(MAX_PATH) - 20) {
        path += "/" + std::string(50, 'd');
        ASSERT_TRUE(std::filesystem::create_directory(path));
    }
    const std::string longest = path + "/" + std::string(MAX_PATH - 1 - path.size() - 1, 'f');
    HANDLE file = open_file(platform::utf8_to_wide(longest), CREATE_NEW);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    EXPECT_EQ(open_file(platform::utf8_to_wide(longest + "g"), CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_FALSE(std::filesystem::exists(longest + "g"));
    // A buffer with no terminating zero at all is not read past MAX_PATH characters.
    const std::vector<wchar_t> unterminated(MAX_PATH, L'a');
    EXPECT_EQ(CreateFileW(unterminated.data(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(GetFileAttributesW(unterminated.data()), INVALID_FILE_ATTRIBUTES);
}

TEST(Files, NullStaleAndForeignHandlesFailWithoutEffect) {
    TempFolder folder;
    HANDLE file = open_file(folder.wide("f"), CREATE_NEW);
    ASSERT_TRUE(CloseHandle(file));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder.wide("f").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    char buffer[4];
    DWORD count = 5;
    for (HANDLE bad : {HANDLE{}, INVALID_HANDLE_VALUE, file, search, reinterpret_cast<HANDLE>(0x1234560)}) {
        EXPECT_FALSE(ReadFile(bad, buffer, 4, &count, nullptr));
        EXPECT_EQ(count, 0u);
        EXPECT_FALSE(WriteFile(bad, buffer, 4, &count, nullptr));
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    EXPECT_TRUE(FindClose(search)) << "a failed CloseHandle must not have closed the search";
}
