// wnsprintfW: the conversions the program and the dialogs format with, and a buffer's end that
// keeps a long argument from overrunning it.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/platform.h"

TEST(Wnsprintf, ConversionsWidthsFlagsAndTheBuffersEnd) {
    wchar_t buffer[64];
    EXPECT_EQ(wnsprintfW(buffer, 64, L"%d|%u|%X|[%05d][%-4d][%3s]", INT_MIN, 4294967295u, 0xBEEFu, -42, 7, L"a"), 46);
    EXPECT_STREQ(buffer, L"-2147483648|4294967295|BEEF|[-0042][7   ][  a]");
    EXPECT_EQ(wnsprintfW(buffer, 64, L"%s.%d %s %c 100%% %q %", L"damaged", 3, static_cast<const wchar_t*>(nullptr), L'k'), 28);
    EXPECT_STREQ(buffer, L"damaged.3 (null) k 100% %q %");
    const std::wstring long_text(2000, L'x');
    buffer[10] = L'#';
    EXPECT_EQ(wnsprintfW(buffer, 10, L"%s", long_text.c_str()), 9);
    EXPECT_EQ(std::wstring(buffer), long_text.substr(0, 9));
    EXPECT_EQ(buffer[10], L'#') << "nothing written past the buffer";
    EXPECT_EQ(wnsprintfW(buffer, 10, L"%1500d", 1), 9);
    EXPECT_EQ(wnsprintfW(nullptr, 10, L"x"), -1);
}
