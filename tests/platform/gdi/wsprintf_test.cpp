#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/platform.h"

namespace {

template <class... Args>
std::wstring format(const wchar_t* f, Args... args) {
    wchar_t buffer[1100];
    const int n = wsprintfW(buffer, f, args...);
    EXPECT_EQ(n, static_cast<int>(std::wcslen(buffer)));
    return buffer;
}

}  // namespace

TEST(Wsprintf, Integers) {
    EXPECT_EQ(format(L"%d", 7), L"7");
    EXPECT_EQ(format(L"%d|%i", -42, 0), L"-42|0");
    EXPECT_EQ(format(L"%d", INT_MIN), L"-2147483648");
    EXPECT_EQ(format(L"%u", 4294967295u), L"4294967295");
    EXPECT_EQ(format(L"%x %X", 0xBEEFu, 0xBEEFu), L"beef BEEF");
    EXPECT_EQ(format(L"%ld/%lu", 5, 6u), L"5/6");
}

TEST(Wsprintf, WidthAndFlags) {
    EXPECT_EQ(format(L"[%5d]", 42), L"[   42]");
    EXPECT_EQ(format(L"[%-5d]", 42), L"[42   ]");
    EXPECT_EQ(format(L"[%05d]", -42), L"[-0042]");
    EXPECT_EQ(format(L"[%-05d]", 42), L"[42   ]");
    EXPECT_EQ(format(L"[%08X]", 0xABu), L"[000000AB]");
    EXPECT_EQ(format(L"[%2d]", 12345), L"[12345]");
    EXPECT_EQ(format(L"[%6s]", L"ab"), L"[    ab]");
}

TEST(Wsprintf, StringsCharactersAndPercent) {
    EXPECT_EQ(format(L"Page %s of %d", L"one", 3), L"Page one of 3");
    EXPECT_EQ(format(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
    EXPECT_EQ(format(L"%c%c", L'o', L'k'), L"ok");
    EXPECT_EQ(format(L"100%%"), L"100%");
    EXPECT_EQ(format(L"%q and %"), L"%q and %");
}

TEST(Wsprintf, StopsAtTheOriginalLimit) {
    const std::wstring long_text(2000, L'x');
    EXPECT_EQ(format(L"%s", long_text.c_str()).size(), 1023u);
    EXPECT_EQ(format(L"%1500d", 1).size(), 1023u);
}
