#include "system/errors.h"

#include <cerrno>
#include <sys/stat.h>

#include "platform/system.h"

namespace platform {
namespace {
thread_local DWORD last_error = ERROR_SUCCESS;
}

DWORD error_from_errno(int err) {
    switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return ERROR_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_GEN_FAILURE;
    }
}

void set_error_from_errno(int err) { SetLastError(error_from_errno(err)); }

void set_error_for_path(int err, const std::string& path) {
    if (err == ENOENT) {
        const std::size_t slash = path.rfind('/');
        if (slash != std::string::npos && slash > 0) {
            struct stat folder {};
            if (stat(path.substr(0, slash).c_str(), &folder) != 0) {
                SetLastError(ERROR_PATH_NOT_FOUND);
                return;
            }
        }
    }
    set_error_from_errno(err);
}

}  // namespace platform

DWORD GetLastError() { return platform::last_error; }

void SetLastError(DWORD error) { platform::last_error = error; }
