#include "notepad/notepad_write.h"

#include <cstddef>
#include <cwchar>

#include "platform/gdi.h"

namespace {

// The autosave worker runs this file: the window system's clock is not for it, and a pause is only
// the one a write is handed.
void Sleep(DWORD milliseconds) = delete;
DWORD GetTickCount() = delete;

// The last characters of a notepad file's name that a temporary or set-aside name replaces, so that
// neither is longer than the notepad's own path.
constexpr std::size_t ReplacedNameTail = 3;

}  // namespace

bool SiblingName(LPCWSTR path, LPCWSTR tail, LPWSTR out, int count) {
    const WCHAR* separator = std::wcsrchr(path, L'/');
    const WCHAR* name = separator ? separator + 1 : path;
    const std::size_t nameLength = std::wcslen(name);
    const std::size_t kept = static_cast<std::size_t>(name - path) +
                             (nameLength > ReplacedNameTail ? nameLength - ReplacedNameTail : 0);
    if (kept + std::wcslen(tail) >= static_cast<std::size_t>(count)) return false;
    std::wmemcpy(out, path, kept);
    lstrcpynW(out + kept, tail, count - static_cast<int>(kept));
    return true;
}

bool FreeSiblingName(LPCWSTR target, LPCWSTR first, WCHAR letter, LPWSTR out, int count) {
    for (int attempt = first ? 0 : 1; attempt < MaxSetAsideNames; ++attempt) {
        WCHAR tail[8];
        if (attempt == 0)
            lstrcpynW(tail, first, ARRAYSIZE(tail));
        else
            wnsprintfW(tail, ARRAYSIZE(tail), L"%c%02d", letter, attempt);
        if (!SiblingName(target, tail, out, count)) return false;
        if (GetFileAttributesW(out) == INVALID_FILE_ATTRIBUTES) return true;
    }
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
}

bool SameVersion(const NotepadFileVersion& a, const NotepadFileVersion& b) {
    if (!a.Exists || !b.Exists) return !a.Exists && !b.Exists;
    const BY_HANDLE_FILE_INFORMATION& x = a.Information;
    const BY_HANDLE_FILE_INFORMATION& y = b.Information;
    return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
           x.nFileIndexLow == y.nFileIndexLow && x.nFileSizeHigh == y.nFileSizeHigh &&
           x.nFileSizeLow == y.nFileSizeLow && x.ftLastWriteTime.dwLowDateTime == y.ftLastWriteTime.dwLowDateTime &&
           x.ftLastWriteTime.dwHighDateTime == y.ftLastWriteTime.dwHighDateTime;
}

bool ReadFileVersion(LPCWSTR path, NotepadFileVersion* version) {
    version->Exists = FALSE;
    HPLAINFILE file = OpenPlainFile(path, GENERIC_READ, OPEN_EXISTING, nullptr);
    if (!file) return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
    version->Exists = GetPlainFileInformation(file, &version->Information);
    ClosePlainFile(file);
    return version->Exists;
}

HPLAINFILE CreateTemporaryFile(LPCWSTR target, LPCWSTR likeFile, LPWSTR temporary, int count) {
    for (int number = 0; number <= 0xFF; ++number) {
        WCHAR tail[8];
        wnsprintfW(tail, ARRAYSIZE(tail), L"~%02X", number);
        if (!SiblingName(target, tail, temporary, count)) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return nullptr;
        }
        HPLAINFILE file = OpenPlainFile(temporary, GENERIC_WRITE, CREATE_NEW, likeFile);
        if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return nullptr;
}

namespace {

// Whether another program put a version of its own at `target` since the notepad was read or
// last saved, with the version it holds now.
bool ChangedByOthers(LPCWSTR target, const NotepadSave& save, NotepadFileVersion* now) {
    return ReadFileVersion(target, now) && !SameVersion(*now, save.Expected);
}

bool WriteAll(HPLAINFILE file, const NotepadSave& save, WritePause pause) {
    constexpr DWORD Parts[] = {sizeof(BITMAPFILEHEADER), sizeof(BITMAPINFOHEADER), 2 * sizeof(RGBQUAD)};
    const BYTE* next = save.Header;
    for (DWORD size : Parts) {
        if (pause) pause();
        if (!WritePlainFile(file, next, size)) return false;
        next += size;
    }
    if (pause) pause();
    return WritePlainFile(file, save.Pixels, save.PixelBytes);
}

// Puts what was written on disk and notes the version of the notepad file it makes.
bool FlushAndNote(HPLAINFILE file, NotepadSave& save) {
    save.Written.Exists = FlushPlainFile(file) && GetPlainFileInformation(file, &save.Written.Information);
    return save.Written.Exists;
}

// For a folder that takes no new file: the notepad is written over where it stands, and flushed.
// Another program's version cannot be kept beside it there, so it is not written over either.
DWORD WriteInPlace(LPCWSTR target, NotepadSave& save, WritePause pause) {
    NotepadFileVersion now;
    if (ChangedByOthers(target, save, &now)) return ERROR_ACCESS_DENIED;
    HPLAINFILE file = OpenPlainFile(target, GENERIC_WRITE, OPEN_EXISTING, nullptr);
    if (!file) return GetLastError();
    const bool written = WriteAll(file, save, pause) && SetPlainFileEnd(file) && FlushAndNote(file, save);
    const DWORD error = written ? ERROR_SUCCESS : GetLastError();
    if (!ClosePlainFile(file) && written) return GetLastError();
    return error;
}

DWORD FailWrite(HPLAINFILE file, LPCWSTR temporary) {
    DWORD error = GetLastError();
    if (error == ERROR_SUCCESS) error = ERROR_WRITE_FAULT;
    if (file) ClosePlainFile(file);
    DeleteFileW(temporary);
    return error;
}

}  // namespace

DWORD WriteNotepadSave(NotepadSave& save, WritePause pause) {
    save.Written.Exists = FALSE;
    save.Conflict[0] = 0;
    // Through a symbolic link to the notepad, the file it leads to is the one replaced.
    WCHAR target[MAX_PATH];
    if (!GetFinalPathNameW(save.Path, target, ARRAYSIZE(target))) return GetLastError();
    const DWORD attributes = GetFileAttributesW(target);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    const bool setAside = exists && save.Aside[0];
    // A write-protected notepad stays as it is, as writing it in place would.
    if (exists && !setAside && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return ERROR_ACCESS_DENIED;

    // The new notepad goes into a file of its own beside the old one, with the old one's permissions,
    // and replaces it in one rename: a crash or a full disk at any moment leaves the old notepad or
    // the new one, never neither.
    WCHAR temporary[MAX_PATH] = {};
    HPLAINFILE file = CreateTemporaryFile(target, exists && !setAside ? target : nullptr, temporary, ARRAYSIZE(temporary));
    if (!file) {
        const DWORD error = GetLastError();
        if (exists && !setAside && (error == ERROR_ACCESS_DENIED || error == ERROR_FILENAME_EXCED_RANGE))
            return WriteInPlace(target, save, pause);
        return error;
    }
    if (!WriteAll(file, save, pause) || !FlushAndNote(file, save)) return FailWrite(file, temporary);
    if (!ClosePlainFile(file)) return FailWrite(nullptr, temporary);
    // Looked at as late as possible: a version another program put there since the notepad was read
    // or last saved is kept beside it, under the next free name of its own.
    LPCWSTR aside = setAside ? save.Aside : nullptr;
    NotepadFileVersion now;
    if (!setAside && ChangedByOthers(target, save, &now) && now.Exists) {
        if (!FreeSiblingName(target, nullptr, L'c', save.Conflict, ARRAYSIZE(save.Conflict)))
            return FailWrite(nullptr, temporary);
        aside = save.Conflict;
    }
    if (aside && !MoveFileExW(target, aside, MOVEFILE_WRITE_THROUGH)) {
        save.Conflict[0] = 0;
        return FailWrite(nullptr, temporary);
    }
    if (!MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = FailWrite(nullptr, temporary);
        if (aside) MoveFileExW(aside, target, MOVEFILE_WRITE_THROUGH);
        save.Conflict[0] = 0;
        return error;
    }
    return ERROR_SUCCESS;
}

DWORD WriteNotepadSaveOnWorker(LPVOID save) { return WriteNotepadSave(*static_cast<NotepadSave*>(save), nullptr); }
