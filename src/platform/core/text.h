// Comparing names the way the system does: class names and resource names ignore case.
#pragma once

#include <cwctype>
#include <string_view>

namespace platform {

inline bool same_text_ignoring_case(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) return false;
    return true;
}

}  // namespace platform
