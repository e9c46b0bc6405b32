#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/system.h"
#include "small_file_system.h"
#include "temp_folder.h"

namespace {

HANDLE open_file(const std::wstring& path, DWORD access, DWORD disposition, DWORD share = 0) {
    return CreateFileW(path.c_str(), access, share, nullptr, disposition, 0, nullptr);
}

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

}  // namespace

TEST(Files, WhatIsWrittenIsReadBackAndTheLastReadStopsShortAtTheEnd) {
    TempFolder folder;
    HANDLE file = open_file(folder.wide("pad.bin"), kReadWrite, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    DWORD written = 99;
    ASSERT_TRUE(WriteFile(file, "0123456789", 10, &written, nullptr));
    EXPECT_EQ(written, 10u);
    EXPECT_TRUE(FlushFileBuffers(file));
    DWORD high = 7;
    EXPECT_EQ(GetFileSize(file, &high), 10u);
    EXPECT_EQ(high, 0u);
    ASSERT_TRUE(CloseHandle(file));

    file = open_file(folder.wide("pad.bin"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[8] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file, buffer, 6, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "012345");
    ASSERT_TRUE(ReadFile(file, buffer, 8, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "6789");
    ASSERT_TRUE(ReadFile(file, buffer, 8, &read, nullptr));
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(CloseHandle(file));
}

TEST(Files, DispositionsCreateOpenAndTruncateAsAsked) {
    TempFolder folder;
    const std::wstring path = folder.wide("f");

    EXPECT_EQ(open_file(path, GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(open_file(path, kReadWrite, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(open_file(folder.wide("no/such/folder"), kReadWrite, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    HANDLE file = open_file(path, kReadWrite, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    WriteFile(file, "abc", 3, nullptr, nullptr);
    CloseHandle(file);

    EXPECT_EQ(open_file(path, kReadWrite, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

    file = open_file(path, kReadWrite, OPEN_ALWAYS);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(file, nullptr), 3u) << "OPEN_ALWAYS must keep the contents";
    CloseHandle(file);

    file = open_file(path, kReadWrite, CREATE_ALWAYS);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    WriteFile(file, "xyz", 3, nullptr, nullptr);
    CloseHandle(file);

    file = open_file(path, kReadWrite, TRUNCATE_EXISTING);
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    CloseHandle(file);

    file = open_file(folder.wide("g"), kReadWrite, OPEN_ALWAYS);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(file);

    EXPECT_EQ(open_file(path, kReadWrite, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(open_file(widen(folder.path()), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "a folder is no file";
}

TEST(Files, NewFilesAreReadableByAllButWritableByTheOwnerUnderTheUmask) {
    TempFolder folder;
    const mode_t old_mask = umask(022);
    CloseHandle(open_file(folder.wide("a"), kReadWrite, CREATE_NEW));
    umask(077);
    CloseHandle(open_file(folder.wide("b"), kReadWrite, CREATE_NEW));
    umask(old_mask);
    struct stat a {}, b {};
    ASSERT_EQ(stat(folder.at("a").c_str(), &a), 0);
    ASSERT_EQ(stat(folder.at("b").c_str(), &b), 0);
    EXPECT_EQ(a.st_mode & 0777, 0644u);
    EXPECT_EQ(b.st_mode & 0777, 0600u);
}

TEST(Files, WithoutSharingASecondOpenFailsAndCannotTruncate) {
    TempFolder folder;
    write_text(folder.at("pad"), "precious");
    HANDLE first = open_file(folder.wide("pad"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);

    EXPECT_EQ(open_file(folder.wide("pad"), kReadWrite, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(read_text(folder.at("pad")), "precious");
    EXPECT_EQ(open_file(folder.wide("pad"), GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    CloseHandle(first);
    HANDLE again = open_file(folder.wide("pad"), GENERIC_READ, OPEN_EXISTING);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);

    HANDLE shared1 = open_file(folder.wide("pad"), GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ);
    HANDLE shared2 = open_file(folder.wide("pad"), GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ);
    EXPECT_NE(shared1, INVALID_HANDLE_VALUE);
    EXPECT_NE(shared2, INVALID_HANDLE_VALUE);
    EXPECT_EQ(open_file(folder.wide("pad"), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    CloseHandle(shared1);
    CloseHandle(shared2);
}

TEST(Files, AHandleOnlyDoesWhatItWasOpenedFor) {
    TempFolder folder;
    write_text(folder.at("f"), "data");
    char buffer[4];
    DWORD count = 9;
    HANDLE reader = open_file(folder.wide("f"), GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ);
    EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(FlushFileBuffers(reader));
    HANDLE writer = open_file(folder.wide("g"), GENERIC_WRITE, CREATE_NEW);
    EXPECT_FALSE(ReadFile(writer, buffer, 4, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(ReadFile(reader, nullptr, 4, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(reader);
    CloseHandle(writer);
    EXPECT_EQ(read_text(folder.at("f")), "data");
}

TEST(Files, NullStaleAndForeignHandlesFailWithoutEffect) {
    TempFolder folder;
    HANDLE file = open_file(folder.wide("f"), kReadWrite, CREATE_NEW);
    ASSERT_TRUE(CloseHandle(file));
    WIN32_FIND_DATAW found;
    write_text(folder.at("other"), "");
    HANDLE search = FindFirstFileW(folder.wide("other").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);

    char buffer[4];
    DWORD count = 5;
    for (HANDLE bad : {HANDLE{}, INVALID_HANDLE_VALUE, file, search, reinterpret_cast<HANDLE>(0x1234560)}) {
        EXPECT_FALSE(ReadFile(bad, buffer, 4, &count, nullptr));
        EXPECT_EQ(count, 0u);
        EXPECT_FALSE(WriteFile(bad, buffer, 4, &count, nullptr));
        EXPECT_FALSE(FlushFileBuffers(bad));
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    EXPECT_TRUE(FindClose(search)) << "a failed CloseHandle must not have closed the search";
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
    ASSERT_EQ(longest.size(), static_cast<std::size_t>(MAX_PATH) - 1);
    HANDLE file = open_file(widen(longest), kReadWrite, CREATE_NEW);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    EXPECT_EQ(open_file(widen(longest + "g"), kReadWrite, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_FALSE(exists(longest + "g"));

    // A buffer with no terminating zero at all is not read past MAX_PATH characters.
    std::vector<wchar_t> unterminated(MAX_PATH, L'a');
    EXPECT_EQ(CreateFileW(unterminated.data(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(GetFileAttributesW(unterminated.data()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeleteFileW(unterminated.data()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST(Files, APathHoldingNoCharacterIsRefused) {
    const wchar_t path[] = {L'/', L't', L'm', L'p', L'/', wchar_t(0xD800), 0};
    EXPECT_EQ(CreateFileW(path, GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST(Files, AWriteToAFullDiskFailsAndSaysSo) {
    SmallFileSystem disk;
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small file system here";
    HANDLE file = open_file(widen(disk.at("big")), kReadWrite, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::vector<char> data(256 * 1024, 'x');
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_LT(written, data.size());
    EXPECT_EQ(GetFileSize(file, nullptr), written) << "the count must say what really went";
    CloseHandle(file);
}
