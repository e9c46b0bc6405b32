// The program's own module: its instance handle and where its executable lives.
#pragma once

#include <optional>
#include <string>

#include "platform/system.h"

namespace platform {

// The one module of the process: a constant handle that every call taking an HINSTANCE or HMODULE
// accepts, as it accepts null for the same module.
HINSTANCE program_instance();

// Null or program_instance(); false (with ERROR_MOD_NOT_FOUND set) for anything else.
bool is_program_module(HMODULE module);

// The executable's path, from /proc/self/exe; nothing when the system will not say (errno set).
std::optional<std::string> program_path();

// Makes the program believe it was started from `path`: files it keeps beside itself then land in a
// test's own folder instead of beside the test binary.
void set_program_path(const std::string& path);

}  // namespace platform
