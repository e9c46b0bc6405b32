#include "system/module.h"

#include <cerrno>
#include <cwchar>
#include <memory>
#include <string_view>
#include <unistd.h>

#include "core/handles.h"
#include "core/utf8.h"
#include "platform/system.h"
#include "system/errors.h"
#include "system/paths.h"

namespace platform {
namespace {

struct Module {};

constexpr std::string_view kReplacedMark = " (deleted)";

std::optional<std::string> path_override;

// Made once: its slot and generation never change, so the handle is the same for the whole run.
HINSTANCE the_instance() {
    static HandleTable<Module> table(HandleKind::Instance);
    static const std::uintptr_t handle = table.add(std::make_unique<Module>());
    return as_handle<HINSTANCE>(handle);
}

}  // namespace

HINSTANCE program_instance() { return the_instance(); }

bool is_program_module(HMODULE module) {
    if (module == nullptr || module == the_instance()) return true;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return false;
}

void set_program_path(const std::string& path) { path_override = path; }

std::optional<std::string> program_path() {
    if (path_override) return path_override;
    std::string path(256, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) return std::nullopt;
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            // An installation that replaced the running program leaves its old file deleted; the
            // program still lives in the same folder under the same name.
            if (path.ends_with(kReplacedMark) && access(path.c_str(), F_OK) != 0)
                path.resize(path.size() - kReplacedMark.size());
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace platform

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD capacity) {
    if (!platform::is_program_module(module)) return 0;
    if (!buffer && capacity > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto path = platform::program_path();
    if (!path) {
        platform::set_error_from_errno(errno);
        return 0;
    }
    const std::wstring wide = platform::utf8_to_wide(*path);
    if (platform::copy_wide(wide, buffer, capacity)) return static_cast<DWORD>(wide.size());
    // Too long: as much as fits, still terminated, and the whole capacity as the result.
    if (capacity > 0) {
        wmemcpy(buffer, wide.data(), capacity - 1);
        buffer[capacity - 1] = L'\0';
    }
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return capacity;
}
