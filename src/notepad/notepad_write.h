// Writing the notepad file: all that the autosave worker runs. It reaches plain files and names of
// files and nothing of the window system; the only pause it makes is one it is handed.
#pragma once

#include "platform/system.h"
#include "platform/types.h"

constexpr DWORD NotepadHeaderBytes = 62;
// How many names a file set aside beside the notepad may take: Scrivo.bad, Scrivo.b01 to b99.
constexpr int MaxSetAsideNames = 100;

// The notepad file as this program last read or wrote it, so that a version another program put
// there since (a sync tool bringing another machine's notes) is told from it.
struct NotepadFileVersion {
    BOOL Exists;
    BY_HANDLE_FILE_INFORMATION Information;
};

// One save: the header block and pixel rows to write and where. Made on the GUI thread; written on
// any thread.
struct NotepadSave {
    BYTE Header[NotepadHeaderBytes];
    const BYTE* Pixels;
    DWORD PixelBytes;
    WCHAR Path[MAX_PATH];
    WCHAR Aside[MAX_PATH];  // not empty: the refused file at Path goes there first
    NotepadFileVersion Expected;  // what Path holds unless another program changed it
    // What the write did: the file it left, and where another program's version went.
    NotepadFileVersion Written;
    WCHAR Conflict[MAX_PATH];
};

// What a write waits through before each of its four parts, for the GUI thread's wait cursor to be
// seen; null for none.
using WritePause = void (*)();

// Writes the notepad file without ever leaving neither the old nor the new notepad, and keeps a
// version another program put there beside it; the ERROR_ code of a failure, or ERROR_SUCCESS.
DWORD WriteNotepadSave(NotepadSave& save, WritePause pause);
// The autosave worker's entry: writes the NotepadSave at `save` at once.
DWORD WriteNotepadSaveOnWorker(LPVOID save);

// `path` with the end of its file name replaced by `tail`; false when that does not fit a path.
bool SiblingName(LPCWSTR path, LPCWSTR tail, LPWSTR out, int count);
// The first free name beside `target` that ends in `first`, else in `letter` and two digits, as
// Scrivo.bad, Scrivo.b01 and on.
bool FreeSiblingName(LPCWSTR target, LPCWSTR first, WCHAR letter, LPWSTR out, int count);
// A new file beside `target` for a save, under the first free temporary name.
HPLAINFILE CreateTemporaryFile(LPCWSTR target, LPCWSTR likeFile, LPWSTR temporary, int count);
bool SameVersion(const NotepadFileVersion& a, const NotepadFileVersion& b);
// The version of the file at `path` now; false when it cannot be told (a file this user may not
// read), which counts as unchanged.
bool ReadFileVersion(LPCWSTR path, NotepadFileVersion* version);
