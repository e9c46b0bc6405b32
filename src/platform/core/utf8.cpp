#include "core/utf8.h"

#include <cstdint>

namespace platform {
namespace {

constexpr char32_t kCarrierFirst = 0xDC80;
constexpr char32_t kCarrierLast = 0xDCFF;

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length and value of the UTF-8 sequence at the start of `text`, or 0 when it is not one
// (bad lead byte, missing continuation, overlong form, surrogate, beyond U+10FFFF).
std::size_t decode_one(std::string_view text, char32_t* out) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length;
    char32_t value;
    char32_t smallest;
    if (lead < 0x80) {
        *out = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1Fu;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0Fu;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!is_continuation(byte)) return 0;
        value = (value << 6) | (byte & 0x3Fu);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *out = value;
    return length;
}

void encode_one(char32_t c, std::string* out) {
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (c >> 18)));
        out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

std::wstring utf8_to_wide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    while (!text.empty()) {
        char32_t c;
        std::size_t used = decode_one(text, &c);
        if (used == 0) {
            c = kCarrierFirst - 0x80 + static_cast<unsigned char>(text[0]);
            used = 1;
        }
        out.push_back(static_cast<wchar_t>(c));
        text.remove_prefix(used);
    }
    return out;
}

std::optional<std::string> wide_to_utf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t w : text) {
        if (w < 0) return std::nullopt;
        const auto c = static_cast<char32_t>(w);
        if (c >= kCarrierFirst && c <= kCarrierLast) {
            out.push_back(static_cast<char>(c - kCarrierFirst + 0x80));
            continue;
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
        encode_one(c, &out);
    }
    return out;
}

}  // namespace platform
