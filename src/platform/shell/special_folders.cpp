// SHGetSpecialFolderPathW: the shell's named folders, as the desktop's base folders define them.
#include <cerrno>

#include "core/utf8.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "system/errors.h"
#include "system/paths.h"
#include "system/user_folders.h"

BOOL SHGetSpecialFolderPathW(HWND, LPWSTR path, int folder, BOOL create) {
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    path[0] = L'\0';
    if (folder != CSIDL_APPDATA) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto found = platform::data_folder();
    if (!found) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (create && !platform::make_folders(*found)) {
        platform::set_error_from_errno(errno);
        return FALSE;
    }
    if (!platform::copy_wide(platform::utf8_to_wide(*found), path, MAX_PATH)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    return TRUE;
}
