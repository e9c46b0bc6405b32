#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cwctype>
#include <filesystem>
#include <set>
#include <string>

#include "platform/system.h"
#include "temp_folder.h"

TEST(FileNames, MoveReplacesOnlyWhenAskedAndKeepsBothFilesOtherwise) {
    TempFolder folder;
    write_text(folder.at("new"), "new pad");
    write_text(folder.at("old"), "old pad");

    EXPECT_FALSE(MoveFileExW(folder.wide("new").c_str(), folder.wide("old").c_str(), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(read_text(folder.at("old")), "old pad");
    EXPECT_EQ(read_text(folder.at("new")), "new pad");

    EXPECT_TRUE(MoveFileExW(folder.wide("new").c_str(), folder.wide("old").c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(read_text(folder.at("old")), "new pad");
    EXPECT_FALSE(exists(folder.at("new")));

    EXPECT_TRUE(MoveFileExW(folder.wide("old").c_str(), folder.wide("fresh").c_str(), 0));
    EXPECT_EQ(read_text(folder.at("fresh")), "new pad");

    EXPECT_FALSE(MoveFileExW(folder.wide("gone").c_str(), folder.wide("x").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(MoveFileExW(folder.wide("fresh").c_str(), nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(FileNames, DeleteRemovesAFileAndReportsAMissingOne) {
    TempFolder folder;
    write_text(folder.at("f"), "x");
    EXPECT_TRUE(DeleteFileW(folder.wide("f").c_str()));
    EXPECT_FALSE(exists(folder.at("f")));
    EXPECT_FALSE(DeleteFileW(folder.wide("f").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileW(folder.wide("none/f").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(FileNames, TemporaryNamesAreNewEmptyFilesNeverGivenTwice) {
    TempFolder folder;
    const std::wstring directory = widen(folder.path());
    std::set<std::wstring> names;
    for (int i = 0; i < 300; ++i) {
        wchar_t name[MAX_PATH];
        const UINT number = GetTempFileNameW(directory.c_str(), L"Pad", 0, name);
        ASSERT_NE(number, 0u);
        const std::wstring text = name;
        ASSERT_TRUE(names.insert(text).second) << "given twice";
        // "<folder>/Pad" + four hex digits + ".tmp", the digits being the number returned.
        const std::wstring start = directory + L"/Pad";
        ASSERT_EQ(text.size(), start.size() + 8);
        EXPECT_EQ(text.substr(0, start.size()), start);
        EXPECT_EQ(std::stoul(text.substr(start.size(), 4), nullptr, 16), number);
        EXPECT_EQ(text.substr(start.size() + 4), L".tmp");
        EXPECT_EQ(std::filesystem::file_size(std::filesystem::path(text)), 0u);
    }
}

TEST(FileNames, ATemporaryNameWithAGivenNumberIsOnlyAName) {
    TempFolder folder;
    wchar_t name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameW((widen(folder.path()) + L"/").c_str(), L"x", 0xAB, name), 0xABu);
    EXPECT_EQ(std::wstring(name), folder.wide("x00AB.tmp"));
    EXPECT_FALSE(exists(folder.at("x00AB.tmp")));
}

TEST(FileNames, TemporaryNamesFailInAMissingOrTooDeepFolder) {
    TempFolder folder;
    wchar_t name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameW(folder.wide("missing").c_str(), L"p", 0, name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    const std::wstring deep = widen(folder.path()) + L"/" + std::wstring(MAX_PATH - 10 - folder.path().size(), L'd');
    EXPECT_EQ(GetTempFileNameW(deep.c_str(), L"p", 0, name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(GetTempFileNameW(widen(folder.path()).c_str(), L"a/b", 0, name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(FileNames, AttributesTellFilesFoldersAndReadOnlyFilesApart) {
    TempFolder folder;
    write_text(folder.at("plain"), "x");
    write_text(folder.at("locked"), "x");
    chmod(folder.at("locked").c_str(), 0444);
    EXPECT_EQ(GetFileAttributesW(folder.wide("plain").c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributesW(folder.wide("locked").c_str()), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(GetFileAttributesW(widen(folder.path()).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesW(folder.wide("missing").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}
