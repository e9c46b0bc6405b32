// Listing the files of a folder whose names match a pattern: FindFirstFileW and its companions.
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "core/handles.h"
#include "core/utf8.h"
#include "platform/system.h"
#include "system/errors.h"
#include "system/paths.h"

using namespace platform;

namespace {

struct Match {
    std::wstring name;
    struct stat info;
};

struct Search {
    std::vector<Match> matches;  // taken whole when the search starts, in name order
    std::size_t next = 0;
};

HandleTable<Search>& searches() {
    static HandleTable<Search> table(HandleKind::FindSearch);
    return table;
}

// '*' stands for any run of characters, '?' for one; everything else for itself.
bool matches(std::wstring_view pattern, std::wstring_view name) {
    std::size_t p = 0, n = 0;
    std::size_t star = std::wstring_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            resume = n;
        } else if (star != std::wstring_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

FILETIME file_time(const timespec& t) {
    // 100-nanosecond steps since 1601-01-01.
    constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600u;
    const std::uint64_t ticks = (static_cast<std::uint64_t>(t.tv_sec) + kSecondsFrom1601To1970) * 10000000u +
                                static_cast<std::uint64_t>(t.tv_nsec) / 100u;
    return {static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

void describe(const Match& match, WIN32_FIND_DATAW* found) {
    *found = {};
    found->dwFileAttributes = file_attributes(match.info);
    found->ftCreationTime = file_time(match.info.st_ctim);
    found->ftLastAccessTime = file_time(match.info.st_atim);
    found->ftLastWriteTime = file_time(match.info.st_mtim);
    const auto size = static_cast<std::uint64_t>(match.info.st_size);
    found->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    found->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    copy_wide(match.name, found->cFileName, MAX_PATH);
}

// The plain files of `folder` whose names match; nothing with errno set when the folder cannot be
// read.
std::optional<std::vector<Match>> list_matching(const std::string& folder, const std::wstring& pattern) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return std::nullopt;
    std::vector<Match> found;
    while (const dirent* entry = readdir(dir)) {
        Match match{utf8_to_wide(entry->d_name), {}};
        if (match.name.size() >= static_cast<std::size_t>(MAX_PATH) || !matches(pattern, match.name)) continue;
        if (fstatat(dirfd(dir), entry->d_name, &match.info, 0) != 0 || !S_ISREG(match.info.st_mode)) continue;
        found.push_back(std::move(match));
    }
    closedir(dir);
    std::sort(found.begin(), found.end(), [](const Match& a, const Match& b) { return a.name < b.name; });
    return found;
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* found) {
    const auto path = native_path(pattern);
    if (!path) return INVALID_HANDLE_VALUE;
    if (!found) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto listed = list_matching(folder_of(*path), utf8_to_wide(file_name_of(*path)));
    if (!listed) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : error_from_errno(errno));
        return INVALID_HANDLE_VALUE;
    }
    if (listed->empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_unique<Search>();
    search->matches = std::move(*listed);
    describe(search->matches[0], found);
    search->next = 1;
    return as_handle<HANDLE>(searches().add(std::move(search)));
}

BOOL FindNextFileW(HANDLE handle, WIN32_FIND_DATAW* found) {
    Search* search = searches().find(raw(handle));
    if (!search) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!found) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (search->next >= search->matches.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    describe(search->matches[search->next++], found);
    return TRUE;
}

BOOL FindClose(HANDLE handle) {
    if (!searches().remove(raw(handle))) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
