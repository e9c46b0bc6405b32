// Text into a caller's buffer. wnsprintfW: the formatting the program and the dialogs use, written
// out so that it behaves the same everywhere: %d %i %u %x %X %c %s (wide) %%, with '-' and '0' flags,
// a width, and 'l' or 'h' size prefixes, which change nothing since int and LONG are both 32 bits
// here. A wide character is a whole code point here, so text cut to fit a buffer is always cut
// between two characters.
#include <cstdarg>
#include <cstdint>
#include <string>

#include "platform/gdi.h"

namespace {

std::wstring digits(std::uint32_t value, unsigned base, bool upper) {
    const wchar_t* set = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring out;
    do {
        out.insert(out.begin(), set[value % base]);
        value /= base;
    } while (value != 0);
    return out;
}

void pad(std::wstring* out, const std::wstring& field, std::size_t width, bool left, bool zero) {
    const std::size_t fill = field.size() < width ? width - field.size() : 0;
    if (left) {
        *out += field;
        out->append(fill, L' ');
    } else if (zero && !field.empty() && field[0] == L'-') {
        *out += L'-';
        out->append(fill, L'0');
        out->append(field, 1);
    } else {
        out->append(fill, zero ? L'0' : L' ');
        *out += field;
    }
}

int format_into(LPWSTR buffer, int count, LPCWSTR format, va_list args) {
    if (!buffer || count < 1) return -1;
    if (!format) {
        buffer[0] = 0;
        return 0;
    }
    const std::size_t limit = static_cast<std::size_t>(count) - 1;
    std::wstring out;
    for (const wchar_t* p = format; *p && out.size() < limit; ++p) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        const wchar_t* start = p++;
        bool left = false, zero = false;
        for (; *p == L'-' || *p == L'0'; ++p) (*p == L'-' ? left : zero) = true;
        std::size_t width = 0;
        for (; *p >= L'0' && *p <= L'9'; ++p) width = std::min<std::size_t>(width * 10 + static_cast<std::size_t>(*p - L'0'), limit);
        while (*p == L'l' || *p == L'h') ++p;
        std::wstring field;
        switch (*p) {
        case L'd':
        case L'i': {
            const int value = va_arg(args, int);
            const auto magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
            field = (value < 0 ? L"-" : L"") + digits(magnitude, 10, false);
            break;
        }
        case L'u': field = digits(va_arg(args, unsigned), 10, false); break;
        case L'x': field = digits(va_arg(args, unsigned), 16, false); break;
        case L'X': field = digits(va_arg(args, unsigned), 16, true); break;
        case L'c': field = static_cast<wchar_t>(va_arg(args, int)); break;
        case L's': {
            const wchar_t* s = va_arg(args, const wchar_t*);
            field = s ? s : L"(null)";
            break;
        }
        case L'%': field = L"%"; break;
        default:
            // Not a conversion: shown as written. A '%' ending the format shows alone.
            out.append(start, static_cast<std::size_t>(p - start) + (*p ? 1 : 0));
            if (!*p) --p;
            continue;
        }
        pad(&out, field, width, left, zero && !left);
    }
    if (out.size() > limit) out.resize(limit);
    out.copy(buffer, out.size());
    buffer[out.size()] = 0;
    return static_cast<int>(out.size());
}

}  // namespace

int wnsprintfW(LPWSTR buffer, int count, LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    const int written = format_into(buffer, count, format, args);
    va_end(args);
    return written;
}

LPWSTR lstrcpynW(LPWSTR target, LPCWSTR source, int count) {
    if (!target || count < 1) return nullptr;
    int i = 0;
    for (; source && i < count - 1 && source[i]; ++i) target[i] = source[i];
    target[i] = 0;
    return target;
}
