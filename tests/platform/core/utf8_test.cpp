#include <gtest/gtest.h>

#include "core/utf8.h"

using platform::utf8_to_wide;
using platform::wide_to_utf8;

TEST(Utf8, CharactersRoundTripAndBytesThatAreNotUtf8ComeBackUnchanged) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E";  // a é € 𝄞
    EXPECT_EQ(utf8_to_wide(text), (std::wstring{L'a', wchar_t(0xE9), wchar_t(0x20AC), wchar_t(0x1D11E)}));
    EXPECT_EQ(wide_to_utf8(utf8_to_wide(text)), text);
    const std::string samples[] = {
        "\xFF\xFE",              // never a lead byte
        "ab\xE2\x82",            // cut off
        "\xC0\xAF",              // overlong '/'
        "\xED\xA0\x80",          // an encoded surrogate
        "\xF4\x90\x80\x80",      // beyond U+10FFFF
        "\x80z",                 // a lone continuation byte
        std::string("x\0y", 3),  // a zero is a character like any other
    };
    for (const std::string& bytes : samples) {
        const std::wstring wide = utf8_to_wide(bytes);
        for (const wchar_t c : wide)
            EXPECT_TRUE(c < 0x80 || (c >= 0xDC80 && c <= 0xDCFF)) << "a bad byte became a real character";
        EXPECT_EQ(wide_to_utf8(wide), bytes);
    }
}

TEST(Utf8, CodePointsThatAreNoCharactersAreRefused) {
    for (const wchar_t bad : {wchar_t(0xD800), wchar_t(0xDC00), wchar_t(0x110000), wchar_t(-1)})
        EXPECT_FALSE(wide_to_utf8(std::wstring{L'a', bad, L'b'})) << static_cast<long>(bad);
}
