// Files at the edges: paths too long, handles that are no open file, links, plain files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "system_test_support.h"
#include "testing.h"

TEST(Files, PathsOfMaxPathCharactersOrMoreAreRefused) {
    TempFolder folder;
    // Folders of 50 characters until a file name can make the path exactly MAX_PATH - 1 long.
    std::string path = folder.path();
    while (path.size() + 51 < static_cast<std::size_t>(MAX_PATH) - 20) {
        path += "/" + std::string(50, 'd');
        ASSERT_TRUE(std::filesystem::create_directory(path));
    }
    const std::string longest = path + "/" + std::string(MAX_PATH - 1 - path.size() - 1, 'f');
    HPLAINFILE file = OpenPlainFile(platform::utf8_to_wide(longest).c_str(), GENERIC_WRITE, CREATE_NEW, nullptr);
    EXPECT_NE(file, nullptr);
    ClosePlainFile(file);

    EXPECT_EQ(OpenPlainFile(platform::utf8_to_wide(longest + "g").c_str(), GENERIC_WRITE, CREATE_NEW, nullptr), nullptr);
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
    write_text(folder.at("f"), "text");
    HANDLE file = CreateFileW(folder.wide("f").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(CloseHandle(file));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder.wide("f").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    char buffer[4];
    DWORD count = 5;
    for (HANDLE bad : {HANDLE{}, INVALID_HANDLE_VALUE, file, search, reinterpret_cast<HANDLE>(0x1234560)}) {
        EXPECT_FALSE(ReadFile(bad, buffer, 4, &count, nullptr));
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
        EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    EXPECT_TRUE(FindClose(search)) << "a failed CloseHandle must not have closed the search";
}

TEST(Files, FinalPathsFollowLinksOfTheLastPartEvenToAFileNotYetThere) {
    TempFolder folder;
    std::filesystem::create_directory(folder.at("notes"));
    std::filesystem::create_symlink("notes/pad", folder.at("link"));
    std::filesystem::create_symlink(folder.at("link"), folder.at("chain"));
    WCHAR out[MAX_PATH];
    ASSERT_GT(GetFinalPathNameW(folder.wide("chain").c_str(), out, MAX_PATH), 0u);
    EXPECT_EQ(std::wstring(out), folder.wide("notes/pad"));
    ASSERT_GT(GetFinalPathNameW(folder.wide("plain").c_str(), out, MAX_PATH), 0u);
    EXPECT_EQ(std::wstring(out), folder.wide("plain"));
    std::filesystem::create_symlink("loop", folder.at("loop"));
    EXPECT_EQ(GetFinalPathNameW(folder.wide("loop").c_str(), out, MAX_PATH), 0u);
    EXPECT_EQ(GetFinalPathNameW(folder.wide("chain").c_str(), out, 8), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST(Files, PlainFilesTakeTheirModelsPermissionsAndReportAFailedFlush) {
    TempFolder folder;
    write_text(folder.at("model"), "old");
    std::filesystem::permissions(folder.at("model"), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_write |
                                                         std::filesystem::perms::group_read);
    HPLAINFILE file = OpenPlainFile(folder.wide("new").c_str(), GENERIC_WRITE, CREATE_NEW, folder.wide("model").c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::filesystem::status(folder.at("new")).permissions(), std::filesystem::status(folder.at("model")).permissions());
    EXPECT_TRUE(WritePlainFile(file, "abcdef", 6));
    platform::fail_next_file_flushes(1);
    EXPECT_FALSE(FlushPlainFile(file));
    EXPECT_TRUE(FlushPlainFile(file));
    EXPECT_TRUE(ClosePlainFile(file));

    EXPECT_EQ(OpenPlainFile(folder.wide("new").c_str(), GENERIC_WRITE, CREATE_NEW, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(OpenPlainFile(folder.wide("").c_str(), GENERIC_WRITE, OPEN_EXISTING, nullptr), nullptr);
    file = OpenPlainFile(folder.wide("new").c_str(), GENERIC_WRITE, OPEN_EXISTING, nullptr);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(WritePlainFile(file, "xy", 2));
    EXPECT_TRUE(SetPlainFileEnd(file));
    EXPECT_TRUE(ClosePlainFile(file));
    EXPECT_EQ(read_text(folder.at("new")), "xy");
    EXPECT_FALSE(WritePlainFile(nullptr, "x", 1));
}
