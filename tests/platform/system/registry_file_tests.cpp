#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "system/registry_file.h"

using platform::format_registry;
using platform::parse_registry;
using platform::RegistryData;
using platform::RegistryDocument;

namespace {

RegistryData dword(std::uint32_t value) {
    RegistryData data{REG_DWORD, std::vector<BYTE>(4)};
    std::memcpy(data.bytes.data(), &value, 4);
    return data;
}

RegistryData text(const std::wstring& value) {
    RegistryData data{REG_SZ, std::vector<BYTE>((value.size() + 1) * sizeof(wchar_t))};
    std::memcpy(data.bytes.data(), value.c_str(), data.bytes.size());
    return data;
}

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Maker\\Program";

// The value `name` of kKey in `file`, or nullptr.
const RegistryData* value_in(const RegistryDocument& document, const char* name) {
    const platform::RegistryKey* key = document.find(kKey);
    return key ? key->find(name) : nullptr;
}

}  // namespace

TEST(RegistryFile, EveryKindOfValueSurvivesWritingAndReading) {
    RegistryDocument document;
    document.make("HKEY_CURRENT_USER\\Software\\Other").set("x", dword(1));
    platform::RegistryKey& key = document.make(kKey);
    key.set("Small", dword(10));
    key.set("Negative", dword(static_cast<std::uint32_t>(-2)));
    key.set("Quote", text(L"say \"hi\" \\ bye \u00e9\u20ac"));
    key.set("Lines", text(L"two\nlines"));
    key.set("Unterminated", RegistryData{REG_SZ, {'a', 0, 0, 0}});
    std::vector<BYTE> many(300);
    for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<BYTE>(i * 7);
    key.set("Long", RegistryData{REG_BINARY, many});
    key.set("Empty", RegistryData{REG_BINARY, {}});
    key.set("Odd type", RegistryData{7, {0x41, 0, 0, 0}});
    key.set("Short dword", RegistryData{REG_DWORD, {1, 2}});
    key.set("", text(L"unnamed"));

    const std::string written = format_registry(document);
    const RegistryDocument again = parse_registry(written);
    EXPECT_EQ(again.keys().size(), 2u);
    const platform::RegistryKey* read = again.find(kKey);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->values(), key.values());

    EXPECT_EQ(written.substr(0, 10), "REGEDIT4\n\n");
    EXPECT_NE(written.find("[HKEY_CURRENT_USER\\Software\\Maker\\Program]\n"), std::string::npos);
    EXPECT_NE(written.find("\"Small\"=dword:0000000a\n"), std::string::npos);
    EXPECT_NE(written.find("\"Negative\"=dword:fffffffe\n"), std::string::npos);
    EXPECT_NE(written.find("\"Quote\"=\"say \\\"hi\\\" \\\\ bye \xC3\xA9\xE2\x82\xAC\"\n"), std::string::npos);
    EXPECT_NE(written.find("\"Empty\"=hex:\n"), std::string::npos);
    EXPECT_NE(written.find("\"Odd type\"=hex(7):41,00,00,00\n"), std::string::npos);
    EXPECT_NE(written.find("@=\"unnamed\"\n"), std::string::npos);
    for (std::size_t start = 0, end; (end = written.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, 80u) << "long values are wrapped for people to read";
}

TEST(RegistryFile, WhatPeopleWriteIsRead) {
    const RegistryDocument document = parse_registry(
        "\xEF\xBB\xBFREGEDIT4\r\n"
        "; my settings\r\n"
        "[HKEY_CURRENT_USER\\Software\\Maker\\Program\\]\r\n"
        "\"PenWidth\" = dword:5\r\n"
        "\"penwidth\"=dword:00000006\r\n"
        "\"Bytes\"=hex:01, 2 ,ff,\\\r\n"
        "    10,20\r\n"
        "  \"Indented\"=\"yes\"  \r\n"
        "\"Last\"=dword:00000007");
    EXPECT_EQ(*value_in(document, "PENWIDTH"), dword(6)) << "the later of two spellings of a name wins";
    EXPECT_EQ(*value_in(document, "Bytes"), (RegistryData{REG_BINARY, {1, 2, 0xFF, 0x10, 0x20}}));
    EXPECT_EQ(*value_in(document, "Indented"), text(L"yes"));
    EXPECT_EQ(*value_in(document, "Last"), dword(7)) << "a last line without a line end";
    EXPECT_EQ(document.find(kKey)->values().size(), 4u);
}

TEST(RegistryFile, DamagedLinesReadAsAbsentAndTheRestIsRead) {
    const RegistryDocument document = parse_registry(
        "REGEDIT4\n"
        "[HKEY_CURRENT_USER\\Software\\Maker\\Program]\n"
        "\"Letters\"=dword:xyz\n"
        "\"Nine\"=dword:000000001\n"
        "\"Empty\"=dword:\n"
        "\"Spaced\"=dword:00 01\n"
        "\"Cut\"=\"no end\n"
        "\"Cut2\"=hex:01,0\x01\n"
        "\"Big byte\"=hex:100\n"
        "\"Odd\"=hex(zz):00\n"
        "\"NoEquals\" dword:00000001\n"
        "\"Trailing\"=\"a\" b\n"
        "\xFF\xFE garbage \x01\x02\n"
        "\"Good\"=dword:0000002a\n"
        "[HKEY_CURRENT_USER\\Software\\Broken\n"
        "\"Orphan\"=dword:00000001\n"
        "[-HKEY_CURRENT_USER\\Software\\Deleted]\n"
        "\"AlsoOrphan\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\Software\\Maker\\Program]\n"
        "\"Again\"=\"x\"\n"
        "\"Deleted\"=-\n");
    const platform::RegistryKey* key = document.find(kKey);
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values().size(), 2u);
    EXPECT_EQ(*key->find("Good"), dword(42));
    EXPECT_EQ(*key->find("Again"), text(L"x"));
    EXPECT_EQ(document.keys().size(), 1u) << "values under a broken key line belong to no key";
}

TEST(RegistryFile, AnyBytesParseWithoutHarm) {
    std::string noise;
    std::uint32_t state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1103515245u + 12345u;
        const char alphabet[] = "[]\"\\@=:,;-hexdword()0123456789abcdef\n\r \xC3\xFF";
        noise.push_back(alphabet[(state >> 16) % (sizeof alphabet - 1)]);
    }
    const RegistryDocument document = parse_registry(noise);
    // What was read is written and read back the same.
    const RegistryDocument again = parse_registry(format_registry(document));
    ASSERT_EQ(again.keys().size(), document.keys().size());
    for (std::size_t i = 0; i < document.keys().size(); ++i) EXPECT_EQ(again.keys()[i].values(), document.keys()[i].values());
}

TEST(RegistryFile, AKeyIsFoundByItsPathOrAsAFolderOnTheWay) {
    RegistryDocument document;
    document.make("HKEY_CURRENT_USER\\Software\\Maker\\Program");
    EXPECT_TRUE(document.has("HKEY_CURRENT_USER\\software\\maker"));
    EXPECT_TRUE(document.has("HKEY_CURRENT_USER\\Software\\Maker\\Program"));
    EXPECT_FALSE(document.has("HKEY_CURRENT_USER\\Software\\Make"));
    EXPECT_FALSE(document.has("HKEY_CURRENT_USER\\Software\\Maker\\Program\\More"));
    EXPECT_EQ(&document.make("hkey_current_user\\SOFTWARE\\Maker\\Program"), &document.keys()[0]);
}
