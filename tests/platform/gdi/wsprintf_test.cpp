// wsprintfW: the conversions the program and the dialogs format with, and the 1024-character limit
// that keeps a long argument from overrunning the caller's buffer.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/platform.h"

TEST(Wsprintf, ConversionsWidthsFlagsAndTheLimit) {
    wchar_t buffer[1100];
    EXPECT_EQ(wsprintfW(buffer, L"%d|%u|%X|[%05d][%-4d][%3s]", INT_MIN, 4294967295u, 0xBEEFu, -42, 7, L"a"), 46);
    EXPECT_STREQ(buffer, L"-2147483648|4294967295|BEEF|[-0042][7   ][  a]");
    EXPECT_EQ(wsprintfW(buffer, L"%s.%d %s %c 100%% %q %", L"damaged", 3, static_cast<const wchar_t*>(nullptr), L'k'), 28);
    EXPECT_STREQ(buffer, L"damaged.3 (null) k 100% %q %");
    const std::wstring long_text(2000, L'x');
    EXPECT_EQ(wsprintfW(buffer, L"%s", long_text.c_str()), 1023);
    EXPECT_EQ(std::wstring(buffer), long_text.substr(0, 1023));
    EXPECT_EQ(wsprintfW(buffer, L"%1500d", 1), 1023);
}
