#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/system.h"
#include "registry_test_support.h"
#include "small_file_system.h"

namespace {

HKEY open_program_key(DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, 0, nullptr, &key, disposition), ERROR_SUCCESS);
    return key;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(Registry, TheKeyIsCreatedOnFirstUseEvenByARead) {
    RegistryFolder registry;
    DWORD disposition = 0;
    HKEY key = open_program_key(&disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    DWORD value = 0, size = 4;
    EXPECT_EQ(RegQueryValueExW(key, L"PenWidth", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    EXPECT_TRUE(contains(read_text(registry.file()), "REGEDIT4\n"));
    EXPECT_TRUE(contains(read_text(registry.file()), "[HKEY_CURRENT_USER\\Software\\Maker\\Program]\n"));
    struct stat folder {};
    ASSERT_EQ(stat(registry.folder().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);

    key = open_program_key(&disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    RegCloseKey(key);
    HKEY parent = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\MAKER", 0, 0, &parent), ERROR_SUCCESS);
    HKEY child = nullptr;
    EXPECT_EQ(RegOpenKeyExW(parent, L"Program", 0, 0, &child), ERROR_SUCCESS);
    RegCloseKey(child);
    EXPECT_EQ(RegOpenKeyExW(parent, L"Other", 0, 0, &child), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(child, nullptr);
    EXPECT_EQ(RegOpenKeyExW(parent, L"\\Program", 0, 0, &child), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKeyExW(parent, L"A\\\\B", 0, 0, &child), ERROR_INVALID_PARAMETER);
    RegCloseKey(parent);
}

TEST(Registry, ValuesComeBackWithTheirTypesAndThePersonReadingTheFileSeesThem) {
    RegistryFolder registry;
    HKEY key = open_program_key();
    const DWORD width = 5;
    const LONG negative = -1;
    const wchar_t name[] = L"My \"pad\"";
    const BYTE bytes[] = {1, 2, 0xFF};
    ASSERT_EQ(RegSetValueExW(key, L"PenWidth", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&width), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, L"PositionY", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&negative), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, L"Title", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof name), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, L"Blob", 0, REG_BINARY, bytes, sizeof bytes), ERROR_SUCCESS);
    RegCloseKey(key);

    const std::string file = read_text(registry.file());
    EXPECT_TRUE(contains(file, "\"PenWidth\"=dword:00000005\n"));
    EXPECT_TRUE(contains(file, "\"PositionY\"=dword:ffffffff\n"));
    EXPECT_TRUE(contains(file, "\"Title\"=\"My \\\"pad\\\"\"\n"));
    EXPECT_TRUE(contains(file, "\"Blob\"=hex:01,02,ff\n"));

    key = open_program_key();
    DWORD type = 0, size = 0, number = 0;
    BYTE buffer[64] = {};
    size = 4;
    EXPECT_EQ(RegQueryValueExW(key, L"penwidth", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(number, 5u);
    size = 4;
    EXPECT_EQ(RegQueryValueExW(key, L"PositionY", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size), ERROR_SUCCESS);
    EXPECT_EQ(static_cast<LONG>(number), -1);
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExW(key, L"Title", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, sizeof name);
    EXPECT_EQ(std::memcmp(buffer, name, sizeof name), 0);
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExW(key, L"Blob", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::memcmp(buffer, bytes, 3), 0);
    RegCloseKey(key);
}

TEST(Registry, AValueLongerThanTheBufferFailsAndSaysHowLongItIs) {
    RegistryFolder registry;
    HKEY key = open_program_key();
    const wchar_t colour[] = L"white";
    RegSetValueExW(key, L"PenColour", 0, REG_SZ, reinterpret_cast<const BYTE*>(colour), sizeof colour);

    DWORD value = 0x11111111, type = REG_DWORD, size = 4;
    EXPECT_EQ(RegQueryValueExW(key, L"PenColour", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof colour);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value, 0x11111111u) << "a failed read leaves the caller's default alone";

    size = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"PenColour", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, sizeof colour);
    EXPECT_EQ(RegQueryValueExW(key, L"PenColour", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(key, L"PenColour", nullptr, &type, reinterpret_cast<BYTE*>(&value), nullptr), ERROR_INVALID_PARAMETER);
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"PenColour", &reserved, &type, nullptr, &size), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST(Registry, APersonsEditOfTheFileIsSeenByTheNextOpen) {
    RegistryFolder registry;
    ASSERT_EQ(store_dword(L"PenWidth", 1), ERROR_SUCCESS);
    HKEY before = open_program_key();

    write_text(registry.file(),
               "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Maker\\Program]\n\"PenWidth\"=dword:00000032\n");
    DWORD value = 0;
    EXPECT_EQ(load_dword(L"PenWidth", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 50u);

    DWORD size = 4;
    EXPECT_EQ(RegQueryValueExW(before, L"PenWidth", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS);
    EXPECT_EQ(value, 1u) << "a key already open keeps what it read";
    RegCloseKey(before);
}

TEST(Registry, ADamagedFileReadsWhatItCanAndAWriteKeepsTheReadableRest) {
    RegistryFolder registry;
    std::filesystem::create_directories(registry.folder());
    write_text(registry.file(),
               "REGEDIT4\n"
               "[HKEY_CURRENT_USER\\Software\\Other]\n"
               "\"Kept\"=\"yes\"\n"
               "\x01\x02\xFF garbage\n"
               "[HKEY_CURRENT_USER\\Software\\Maker\\Program]\n"
               "\"PenWidth\"=dword:xyz\n"
               "\"PenHeight\"=dword:000000003\n"
               "\"PenEnd\"=dword:00000004\n"
               "\"EraserSize\"=dword:000");
    DWORD value = 0;
    EXPECT_EQ(load_dword(L"PenWidth", &value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(load_dword(L"PenHeight", &value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(load_dword(L"PenEnd", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 4u);

    ASSERT_EQ(store_dword(L"PositionY", 320), ERROR_SUCCESS);
    const std::string file = read_text(registry.file());
    EXPECT_TRUE(contains(file, "[HKEY_CURRENT_USER\\Software\\Other]\n\"Kept\"=\"yes\"\n"));
    EXPECT_TRUE(contains(file, "\"PenEnd\"=dword:00000004\n"));
    EXPECT_TRUE(contains(file, "\"PositionY\"=dword:00000140\n"));
    EXPECT_FALSE(contains(file, "garbage"));
}

TEST(Registry, AHugeFileIsReadUpToItsCapAndNeverGrowsPastIt) {
    RegistryFolder registry;
    std::filesystem::create_directories(registry.folder());
    std::string huge = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Maker\\Program]\n\"PenEnd\"=dword:00000009\n";
    const std::string filler = "\"Filler" + std::string(60, 'x');
    for (int i = 0; huge.size() < (3u << 20); ++i) huge += filler + std::to_string(i) + "\"=dword:00000001\n";
    write_text(registry.file(), huge);

    DWORD value = 0;
    EXPECT_EQ(load_dword(L"PenEnd", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 9u);
    EXPECT_EQ(store_dword(L"PenWidth", 2), ERROR_SUCCESS);
    EXPECT_LE(std::filesystem::file_size(registry.file()), std::size_t{1} << 20);
    EXPECT_EQ(load_dword(L"PenWidth", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 2u);

    // A value that would take the file past the cap is refused rather than written and lost.
    std::vector<BYTE> big(600 * 1024, 0xAB);
    HKEY key = open_program_key();
    EXPECT_EQ(RegSetValueExW(key, L"Big", 0, REG_BINARY, big.data(), static_cast<DWORD>(big.size())), ERROR_CANTWRITE);
    RegCloseKey(key);
    EXPECT_EQ(load_dword(L"PenEnd", &value), ERROR_SUCCESS);
}

TEST(Registry, ARelativeConfigFolderIsIgnoredForTheHomeFolder) {
    TempFolder home;
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    ASSERT_EQ(store_dword(L"PenEnd", 3), ERROR_SUCCESS);
    EXPECT_TRUE(exists(home.at(".config/platform_system_tests/registry.reg")));
    EXPECT_FALSE(exists("relative"));
}

TEST(Registry, BadAndClosedKeysFailWithoutEffect) {
    RegistryFolder registry;
    HKEY key = open_program_key();
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    const DWORD value = 1;
    DWORD size = 4;
    DWORD out = 0;
    for (HKEY bad : {key, HKEY{}, reinterpret_cast<HKEY>(0x80000002), reinterpret_cast<HKEY>(0x1230)}) {
        EXPECT_EQ(RegSetValueExW(bad, L"X", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegQueryValueExW(bad, L"X", nullptr, nullptr, reinterpret_cast<BYTE*>(&out), &size), ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegDeleteValueW(bad, L"X"), ERROR_INVALID_HANDLE);
        HKEY sub = nullptr;
        EXPECT_EQ(RegCreateKeyExW(bad, L"Sub", 0, nullptr, 0, 0, nullptr, &sub, nullptr), ERROR_INVALID_HANDLE);
        EXPECT_EQ(sub, nullptr);
    }
    EXPECT_FALSE(contains(read_text(registry.file()), "\"X\""));
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, 0, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
}

TEST(Registry, DeletingAValueRemovesItFromTheFile) {
    RegistryFolder registry;
    store_dword(L"PenWidth", 4);
    store_dword(L"PenHeight", 4);
    HKEY key = open_program_key();
    EXPECT_EQ(RegDeleteValueW(key, L"PENWIDTH"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, L"PenWidth"), ERROR_FILE_NOT_FOUND);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"PenWidth", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    EXPECT_FALSE(contains(read_text(registry.file()), "PenWidth"));
    EXPECT_TRUE(contains(read_text(registry.file()), "PenHeight"));
}

TEST(Registry, NamesThatWouldBreakTheFileAreRefused) {
    RegistryFolder registry;
    EXPECT_EQ(store_dword(L"Two\nlines", 1), ERROR_INVALID_PARAMETER);
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Bad\nKey", 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(store_dword(L"Fine", 1), ERROR_SUCCESS);
    EXPECT_FALSE(contains(read_text(registry.file()), "lines"));
}

TEST(Registry, AWriteThatCannotBeFinishedLeavesTheOldFileWhole) {
    SmallFileSystem disk;
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small file system here";
    setenv("XDG_CONFIG_HOME", disk.path().c_str(), 1);
    ASSERT_EQ(store_dword(L"PenWidth", 7), ERROR_SUCCESS);
    disk.fill();
    std::vector<BYTE> big(16 * 1024, 1);
    HKEY key = open_program_key();
    EXPECT_EQ(RegSetValueExW(key, L"Big", 0, REG_BINARY, big.data(), static_cast<DWORD>(big.size())), ERROR_DISK_FULL);
    RegCloseKey(key);
    DWORD value = 0;
    EXPECT_EQ(load_dword(L"PenWidth", &value), ERROR_SUCCESS);
    EXPECT_EQ(value, 7u);
    for (const auto& entry : std::filesystem::directory_iterator(disk.at("platform_system_tests")))
        EXPECT_TRUE(entry.path().filename() == "registry.reg" || entry.path().filename() == "registry.reg.lock")
            << "left behind: " << entry.path();
}
