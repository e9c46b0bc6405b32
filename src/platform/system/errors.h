// The calling thread's last error, and the error codes that stand for the system's errno values.
#pragma once

#include <string>

#include "platform/system.h"

namespace platform {

DWORD error_from_errno(int err);

// SetLastError with the code for `err`.
void set_error_from_errno(int err);

// As set_error_from_errno, but a missing file whose folder is missing as well is reported as a
// missing path, the way the program's system tells the two apart.
void set_error_for_path(int err, const std::string& path);

}  // namespace platform
