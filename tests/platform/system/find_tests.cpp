#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/system.h"
#include "temp_folder.h"

namespace {

// The names FindFirstFileW/FindNextFileW give for `pattern`, in order.
std::vector<std::wstring> find_all(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(search, &found));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return names;
}

}  // namespace

TEST(Find, APrefixPatternListsTheMatchingPlainFilesOnly) {
    TempFolder folder;
    for (const char* name : {"Pad1234.tmp", "PadBEEF.tmp", "Pad", "Scrivo.bmp", "pad9999.tmp"}) write_text(folder.at(name), "abc");
    std::filesystem::create_directory(folder.at("PadFolder"));
    EXPECT_EQ(find_all(folder.wide("Pad*")), (std::vector<std::wstring>{L"Pad", L"Pad1234.tmp", L"PadBEEF.tmp"}));
    EXPECT_EQ(find_all(folder.wide("Pad????.tmp")), (std::vector<std::wstring>{L"Pad1234.tmp", L"PadBEEF.tmp"}));
    EXPECT_EQ(find_all(folder.wide("*.bmp")), (std::vector<std::wstring>{L"Scrivo.bmp"}));
    EXPECT_EQ(find_all(folder.wide("Scrivo.bmp")), (std::vector<std::wstring>{L"Scrivo.bmp"}));
}

TEST(Find, WhatIsFoundDescribesTheFile) {
    TempFolder folder;
    write_text(folder.at("seven"), "1234567");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder.wide("sev*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::wstring(found.cFileName), L"seven");
    EXPECT_EQ(found.nFileSizeLow, 7u);
    EXPECT_EQ(found.nFileSizeHigh, 0u);
    EXPECT_EQ(found.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    // Written after 2020-01-01 (132223104000000000 in 100 ns steps since 1601).
    const std::uint64_t written = (std::uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime;
    EXPECT_GT(written, 132223104000000000u);
    FindClose(search);
}

TEST(Find, NothingFoundAndBadHandlesAreReported) {
    TempFolder folder;
    WIN32_FIND_DATAW found;
    EXPECT_EQ(FindFirstFileW(folder.wide("x*").c_str(), &found), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirstFileW(folder.wide("missing/x*").c_str(), &found), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    write_text(folder.at("x1"), "");
    HANDLE search = FindFirstFileW(folder.wide("x*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CloseHandle(search)) << "a search is closed with FindClose";
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_FALSE(FindNextFileW(search, &found));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FindClose(nullptr));
}
