#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/shell.h"
#include "system_test_support.h"

namespace {

std::wstring DataFolder(BOOL create) {
    WCHAR path[MAX_PATH] = L"#";
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_APPDATA, create)) return L"(failed)";
    return path;
}

}  // namespace

// The data folder follows XDG_DATA_HOME when it is absolute, else lies below the home folder; it is
// made, private, only when asked.
TEST(UserFolders, TheDataFolderComesFromTheEnvironmentOrTheHomeFolderAndIsMadeWhenAsked) {
    TempFolder home;
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_DATA_HOME", home.at("data").c_str(), 1);
    EXPECT_EQ(DataFolder(FALSE), home.wide("data"));
    EXPECT_FALSE(std::filesystem::exists(home.at("data")));

    for (const char* unusable : {"", "relative/data"}) {
        setenv("XDG_DATA_HOME", unusable, 1);
        EXPECT_EQ(DataFolder(FALSE), home.wide(".local/share")) << unusable;
    }
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DataFolder(TRUE), home.wide(".local/share"));
    struct stat info {};
    ASSERT_EQ(stat(home.at(".local/share").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);

    WCHAR path[MAX_PATH] = L"#";
    EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, path, 0x0005, FALSE));
    EXPECT_EQ(path[0], L'\0');
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(UserFolders, ANewFolderIsPrivateAndAnExistingOneIsReportedAsSuch) {
    TempFolder root;
    EXPECT_TRUE(CreateDirectoryW(root.wide("notes").c_str(), nullptr));
    struct stat info {};
    ASSERT_EQ(stat(root.at("notes").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_FALSE(CreateDirectoryW(root.wide("notes").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryW(root.wide("missing/notes").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}
