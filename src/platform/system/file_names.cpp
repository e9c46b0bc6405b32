// Calls on files by name: delete, new folders, rename, attributes.
#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system.h"
#include "system/errors.h"
#include "system/paths.h"
#include "system/posix_io.h"
#include "core/utf8.h"

using namespace platform;

namespace {

// Renames without replacing. Where the file system cannot do that in one step, the check and the
// rename are two steps, which only a second writer racing for the same new name could tell apart.
int rename_no_replace(const std::string& from, const std::string& to) {
    const int result = renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (result == 0 || (errno != EINVAL && errno != ENOSYS)) return result;
    struct stat existing {};
    if (lstat(to.c_str(), &existing) == 0) {
        errno = EEXIST;
        return -1;
    }
    return rename(from.c_str(), to.c_str());
}

}  // namespace

BOOL DeleteFileW(LPCWSTR path) {
    const auto name = native_path(path);
    if (!name) return FALSE;
    if (unlink(name->c_str()) != 0) {
        set_error_for_path(errno, *name);
        return FALSE;
    }
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, SECURITY_ATTRIBUTES*) {
    const auto name = native_path(path);
    if (!name) return FALSE;
    if (mkdir(name->c_str(), 0700) != 0) {
        if (errno == EEXIST)
            SetLastError(ERROR_ALREADY_EXISTS);
        else
            set_error_for_path(errno, *name);
        return FALSE;
    }
    return TRUE;
}

BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
    const auto source = native_path(from);
    if (!source) return FALSE;
    const auto target = native_path(to);
    if (!target) return FALSE;
    const int result = (flags & MOVEFILE_REPLACE_EXISTING) ? rename(source->c_str(), target->c_str())
                                                           : rename_no_replace(*source, *target);
    if (result != 0) {
        if (errno == EEXIST)
            SetLastError(ERROR_ALREADY_EXISTS);
        else
            set_error_for_path(errno, *target);
        return FALSE;
    }
    if (flags & MOVEFILE_WRITE_THROUGH) {
        const std::string target_folder = folder_of(*target);
        const std::string source_folder = folder_of(*source);
        bool synced = sync_folder(target_folder);
        if (synced && source_folder != target_folder) synced = sync_folder(source_folder);
        if (!synced) {
            set_error_from_errno(errno);
            return FALSE;
        }
    }
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR path) {
    const auto name = native_path(path);
    if (!name) return INVALID_FILE_ATTRIBUTES;
    struct stat info {};
    if (stat(name->c_str(), &info) != 0) {
        set_error_for_path(errno, *name);
        return INVALID_FILE_ATTRIBUTES;
    }
    return file_attributes(info);
}

DWORD GetFinalPathNameW(LPCWSTR path, LPWSTR out, DWORD capacity) {
    const auto name = native_path(path);
    if (!name || !out) {
        if (!out) SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // As many links as the system itself follows before it calls a chain a loop.
    constexpr int MaxLinks = 40;
    std::string final = *name;
    for (int links = 0;; ++links) {
        struct stat info {};
        if (lstat(final.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        if (links == MaxLinks) {
            SetLastError(ERROR_INVALID_NAME);
            return 0;
        }
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = readlink(final.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            set_error_from_errno(length < 0 ? errno : ENAMETOOLONG);
            return 0;
        }
        target.resize(static_cast<std::size_t>(length));
        final = target.front() == '/' ? target : folder_of(final) + "/" + target;
    }
    const std::wstring wide = utf8_to_wide(final);
    if (!copy_wide(wide, out, capacity)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    return static_cast<DWORD>(wide.size());
}
