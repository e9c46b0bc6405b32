#include <gtest/gtest.h>

#include <string>

#include "platform/system.h"
#include "system/module.h"
#include "system/resources.h"
#include "temp_folder.h"

namespace {

std::string bytes_of(HRSRC resource) {
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* data = LockResource(loaded);
    if (!data) return "<none>";
    return std::string(static_cast<const char*>(data), SizeofResource(nullptr, resource));
}

}  // namespace

TEST(Resources, FoundByNameWithoutRegardToCaseAndById) {
    EXPECT_EQ(bytes_of(FindResourceW(nullptr, L"Greeting", RT_RCDATA)), "Hello from a resource.\n");
    EXPECT_EQ(bytes_of(FindResourceW(nullptr, L"gREETING", RT_RCDATA)), "Hello from a resource.\n");
    EXPECT_EQ(bytes_of(FindResourceW(platform::program_instance(), MAKEINTRESOURCEW(7), RT_RCDATA)), "seven");
    EXPECT_EQ(bytes_of(FindResourceW(nullptr, L"#7", MAKEINTRESOURCEW(10))), "seven");
    EXPECT_EQ(bytes_of(FindResourceW(nullptr, L"#7", L"#10")), "seven");
}

TEST(Resources, TheTypeMustMatchAndMissingNamesAreReported) {
    EXPECT_EQ(FindResourceW(nullptr, L"Greeting", RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_NE(FindResourceW(nullptr, L"Picture", RT_BITMAP), nullptr);
    EXPECT_EQ(FindResourceW(nullptr, L"Picture", RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(8), RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceW(nullptr, L"Greetings", RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceW(nullptr, L"7", RT_RCDATA), nullptr) << "an id is named \"#7\", not \"7\"";
    EXPECT_EQ(FindResourceW(nullptr, L"Greeting", L"RCDATA"), nullptr);
    EXPECT_EQ(FindResourceW(nullptr, nullptr, RT_RCDATA), nullptr);
}

TEST(Resources, TheInternalLookupAgreesWithFindResource) {
    const platform::ResourceEntry* entry = platform::find_resource(L"GREETING", 10);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(std::wstring(entry->name), L"Greeting");
    EXPECT_EQ(platform::find_resource(MAKEINTRESOURCEW(7), 10)->size, 5u);
    EXPECT_EQ(platform::find_resource(nullptr, 10), nullptr);
}

TEST(Resources, BadHandlesAndOtherModulesFindNothing) {
    const HRSRC good = FindResourceW(nullptr, L"Greeting", RT_RCDATA);
    const auto other_module = reinterpret_cast<HMODULE>(0x400000);
    EXPECT_EQ(FindResourceW(other_module, L"Greeting", RT_RCDATA), nullptr);
    EXPECT_EQ(LoadResource(other_module, good), nullptr);
    EXPECT_EQ(SizeofResource(other_module, good), 0u);
    for (HRSRC bad : {HRSRC{}, reinterpret_cast<HRSRC>(0x12345678), reinterpret_cast<HRSRC>(platform::program_instance())}) {
        EXPECT_EQ(LoadResource(nullptr, bad), nullptr);
        EXPECT_EQ(SizeofResource(nullptr, bad), 0u);
    }
    EXPECT_EQ(LockResource(nullptr), nullptr);
    EXPECT_EQ(LockResource(reinterpret_cast<HGLOBAL>(0x5555)), nullptr);
}
