// The notepad file: "Scrivo.bmp", a 1-bit BMP with a 62-byte header block, beside the program or,
// where the program's folder cannot take it, in the user's data folder.
#pragma once

#include "platform/platform.h"

constexpr LPCWSTR NotepadFileName = L"Scrivo.bmp";

// Why the last save failed (an ERROR_ code), and whether the file found at start-up was refused and
// is still to be kept aside before the first save replaces it.
extern DWORD LastSaveError;
extern int NotepadFileRefused;

// Where the notepad is loaded from and saved to, chosen once at start; empty when no place fits.
extern WCHAR NotepadFilePath[MAX_PATH];

int GetModuleDirectory(LPWSTR buffer);
// Chooses NotepadFilePath: a notepad beside the program stays there; else a new one goes beside
// the program when its folder can be written to, else into "scrivo" in the user's data folder,
// made by the first save. 0 when no path fits.
int ChooseNotepadFilePath();
HBITMAP LoadNotepadFile(HDC context, LPCWSTR path);
int SaveNotepadFile(HBITMAP bitmap, LPCWSTR path);
int SaveNotepad();
// Removes the temporary files of saves that a crash interrupted, beside the notepad file at `path`.
void RemoveLeftoverSaves(LPCWSTR path);
// The message for a failed save, into a buffer of 256 characters.
void FormatSaveFailure(LPWSTR message);
