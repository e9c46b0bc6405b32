// Wide strings (wchar_t, UTF-32 here) to UTF-8 and back.
//
// A Linux file name is any bytes, not always UTF-8. Bytes that are not UTF-8 become the code points
// U+DC80..U+DCFF, which no valid text holds, and turn back into the same bytes; so every path read
// from the system survives the round trip to the program and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Never fails: bytes that are not UTF-8 are carried as U+DC80..U+DCFF.
std::wstring utf8_to_wide(std::string_view text);

// Nothing when the text holds a code point that is no character (a surrogate other than the
// U+DC80..U+DCFF carriers, a value above U+10FFFF, a negative value).
std::optional<std::string> wide_to_utf8(std::wstring_view text);

}  // namespace platform
