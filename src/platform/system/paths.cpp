#include "system/paths.h"

#include <cwchar>
#include <sys/stat.h>

#include "core/utf8.h"
#include "platform/system.h"

namespace platform {

std::optional<std::string> native_path(LPCWSTR path) {
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    const std::size_t length = wcsnlen(path, MAX_PATH);
    if (length >= static_cast<std::size_t>(MAX_PATH)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return std::nullopt;
    }
    auto converted = wide_to_utf8(std::wstring_view(path, length));
    if (!converted) SetLastError(ERROR_INVALID_NAME);
    return converted;
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string file_name_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

DWORD file_attributes(const struct stat& info) {
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if (!(info.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

bool copy_wide(std::wstring_view text, LPWSTR out, std::size_t capacity) {
    if (!out || text.size() >= capacity) return false;
    wmemcpy(out, text.data(), text.size());
    out[text.size()] = L'\0';
    return true;
}

}  // namespace platform
