// The notepad file: "Scrivo.bmp", a 1-bit BMP with a 62-byte header block, beside the program or,
// where the program's folder cannot take it, in the user's data folder.
#pragma once

#include "notepad/notepad_write.h"
#include "platform/platform.h"

constexpr LPCWSTR NotepadFileName = L"Scrivo.bmp";

// What became of the file found at start-up when it could not be loaded: a damaged file is kept
// aside under `RefusedFileAside` before the first save replaces it; a file refused only for lack of
// memory is a good notepad and is never saved over.
enum NotepadRefusal { REFUSED_NONE, REFUSED_DAMAGED, REFUSED_NO_MEMORY };

// The main window's message that shows the pending save notice; no other program may send it.
constexpr UINT WM_SAVE_NOTICE = WM_APP + 1;
// Room for a notice: its words and two paths.
constexpr int SaveNoticeLength = 2 * MAX_PATH + 192;
// Room for the start-up box's line about a refused file: its words and a file name.
constexpr int RefusalNoteLength = MAX_PATH + 96;

// Why the last save failed (an ERROR_ code).
extern DWORD LastSaveError;
extern NotepadRefusal NotepadFileRefused;
extern WCHAR RefusedFileAside[MAX_PATH];
// Where the notepad is loaded from and saved to, chosen once at start; empty when no place fits.
extern WCHAR NotepadFilePath[MAX_PATH];
extern NotepadFileVersion NotepadOnDisk;

int GetModuleDirectory(LPWSTR buffer, int count);
// Chooses NotepadFilePath: a notepad beside the program stays there; else a new one goes beside
// the program when its folder takes new files, else into "scrivo" in the user's data folder, made
// by the first save. 0 when no path fits.
int ChooseNotepadFilePath();
HBITMAP LoadNotepadFile(HDC context, LPCWSTR path);
int SaveNotepadFile(HBITMAP bitmap, LPCWSTR path);
// Fills `save` for the bitmap and path, with the pixels in the bitmap itself, and makes the path's
// folder when it is missing; 0 (with LastSaveError) when the bitmap cannot be read, the folder
// cannot be made or the notepad on disk must not be replaced.
int PrepareNotepadSave(HBITMAP bitmap, LPCWSTR path, NotepadSave* save);
// Takes note of a finished save on the GUI thread; 1 when it succeeded. The first failure after a
// success, and a version of another program kept aside, leave a notice for the main window.
int NotepadSaveFinished(const NotepadSave& save, DWORD error);
// The notepad file as another program changed it since this program last read or wrote it, loaded
// into NotepadImage's context; null when it is unchanged or cannot be read now.
HBITMAP LoadChangedNotepadFile();
// After the save at exit failed: the notepad goes into the user's data folder under a name with
// the date and time, and the notice says where, or that the changes are lost; 1 when it was kept.
int SaveRescueCopy();
// Shows the pending notice, if any, in a box owned by `owner`.
void TellSaveNotice(HWND owner);
// Removes the temporary files of saves that a crash interrupted, beside the notepad file at `path`.
void RemoveLeftoverSaves(LPCWSTR path);
// The line the start-up box adds about a notepad file that could not be loaded, into a buffer of
// `count` characters; empty when the file was loaded or there was none.
void FormatRefusalNote(LPWSTR message, int count);
