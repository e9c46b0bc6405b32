// The registry and its file: values through a write and a read, a person's edit, damaged and huge
// files, a full disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system_test_support.h"

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(Registry, AwkwardValuesComeBackFromTheFileAndOneTooLongForTheBufferSaysHowLongItIs) {
    RegistryFolder registry;
    const wchar_t title[] = L"say \"hi\" \\ bye \u00e9\u20ac\ntwo";
    std::vector<BYTE> many(300);
    for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<BYTE>(i * 7);
    ASSERT_EQ(store(L"Title", REG_SZ, title, sizeof title), ERROR_SUCCESS);
    ASSERT_EQ(store(L"Long", REG_BINARY, many.data(), static_cast<DWORD>(many.size())), ERROR_SUCCESS);

    EXPECT_EQ(load_bytes(L"Long"), std::pair(DWORD{REG_BINARY}, many));
    const auto* text = reinterpret_cast<const BYTE*>(title);
    EXPECT_EQ(load_bytes(L"Title"), std::pair(DWORD{REG_SZ}, std::vector<BYTE>(text, text + sizeof title)));

    DWORD small = 0x11111111;
    DWORD size = sizeof small;
    EXPECT_EQ(load(L"Title", &small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof title);
    EXPECT_EQ(small, 0x11111111u) << "a failed read leaves the caller's default alone";
}

TEST(Registry, APersonsEditIsReadDamagedLinesLoseOnlyThemselvesAndARewriteKeepsThem) {
    RegistryFolder registry;
    ASSERT_EQ(store_dword(L"PenWidth", 1), ERROR_SUCCESS);
    write_text(registry.file(),
               "\xEF\xBB\xBFREGEDIT4\r\n"
               "; my settings\r\n"
               "[HKEY_CURRENT_USER\\Software\\Other]\n"
               "\"Kept\"=\"yes\"\n"
               "\x01\x02\xFF garbage\n"
               "[HKEY_CURRENT_USER\\Software\\Maker\\Program]\r\n"
               "\"PenWidth\" = dword:32\r\n"
               "\"PenHeight\"=dword:000000003\n"
               "\"PenColour\"=dword:xyz\n"
               "\"Bytes\"=hex:01, 2 ,ff,\\\r\n"
               "    10,20\r\n"
               "\"Cut\"=\"no end\n"
               "[HKEY_CURRENT_USER\\Software\\Broken\n"
               "\"Orphan\"=dword:00000001\n"
               "[HKEY_CURRENT_USER\\Software\\Maker\\Program]\n"
               "\"PenEnd\"=dword:00000004");
    EXPECT_EQ(dword_or(L"PenWidth"), 0x32u);
    EXPECT_EQ(dword_or(L"PenEnd"), 4u) << "a last line without a line end";
    EXPECT_EQ(load_bytes(L"Bytes").second, (std::vector<BYTE>{1, 2, 0xFF, 0x10, 0x20}));
    DWORD value = 0;
    for (const wchar_t* damaged : {L"PenHeight", L"PenColour", L"Cut", L"Orphan"})
        EXPECT_EQ(load_dword(damaged, &value), ERROR_FILE_NOT_FOUND);

    ASSERT_EQ(store_dword(L"PositionY", 320), ERROR_SUCCESS);
    const std::string file = read_text(registry.file());
    EXPECT_TRUE(contains(file, "[HKEY_CURRENT_USER\\Software\\Other]\n\"Kept\"=\"yes\"\n"));
    EXPECT_TRUE(contains(file, "\"PenEnd\"=dword:00000004\n"));
    // What could not be read stays, where it stood, for the person to mend.
    for (const char* kept : {"; my settings\r\n", "\x01\x02\xFF garbage\n",
                             "\"PenColour\"=dword:xyz\n", "[HKEY_CURRENT_USER\\Software\\Broken\n\"Orphan\"=dword:00000001\n"})
        EXPECT_TRUE(contains(file, kept)) << kept << " not in\n" << file;
    EXPECT_EQ(load_dword(L"Orphan", &value), ERROR_FILE_NOT_FOUND);
}

TEST(Registry, AHugeFileIsReadUpToItsCapAndNeverGrownPastIt) {
    RegistryFolder registry;
    std::string huge = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Maker\\Program]\n\"PenEnd\"=dword:00000009\n";
    const std::string filler = "\"Filler" + std::string(60, 'x');
    for (int i = 0; huge.size() < (3u << 20); ++i) huge += filler + std::to_string(i) + "\"=dword:00000001\n";
    write_text(registry.file(), huge);

    EXPECT_EQ(dword_or(L"PenEnd"), 9u);
    write_text(registry.file(), huge.substr(0, 1000));
    EXPECT_EQ(store_dword(L"PenWidth", 2), ERROR_SUCCESS);
    // A value that would take the file past the cap is refused rather than written and lost.
    const std::vector<BYTE> big(600 * 1024, 0xAB);
    EXPECT_EQ(store(L"Big", REG_BINARY, big.data(), static_cast<DWORD>(big.size())), ERROR_CANTWRITE);
    EXPECT_EQ(dword_or(L"PenWidth"), 2u);
}

TEST(Registry, AWriteToAFullDiskFailsAndLeavesTheOldFileWhole) {
    SmallFileSystem disk;
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a small file system here";
    setenv("XDG_CONFIG_HOME", disk.path().c_str(), 1);
    ASSERT_EQ(store_dword(L"PenWidth", 7), ERROR_SUCCESS);
    const std::vector<BYTE> big(100 * 1024, 1);
    EXPECT_EQ(store(L"Big", REG_BINARY, big.data(), static_cast<DWORD>(big.size())), ERROR_DISK_FULL);
    EXPECT_EQ(dword_or(L"PenWidth"), 7u);
    EXPECT_EQ(leftovers(disk.at("platform_system_tests")), std::vector<std::string>{});
}
