// Paths between the program's wide strings and the system's UTF-8 file names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

struct stat;

namespace platform {

// The system path for a path the program gave, or nothing with the last error set: a null path
// (ERROR_INVALID_PARAMETER), one of MAX_PATH characters or more, which no buffer of the program
// could hold with its terminating zero (ERROR_FILENAME_EXCED_RANGE), or one holding a code point
// that is no character (ERROR_INVALID_NAME). Never reads more than MAX_PATH characters.
std::optional<std::string> native_path(LPCWSTR path);

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string folder_of(const std::string& path);
// The last part of a path.
std::string file_name_of(const std::string& path);

// The attributes the program sees for a file: a folder, read-only when its owner may not write it.
DWORD file_attributes(const struct stat& info);

// Copies `text` with its terminating zero into `out` of `capacity` characters; false (nothing
// copied) when it does not fit.
bool copy_wide(std::wstring_view text, LPWSTR out, std::size_t capacity);

}  // namespace platform
