// The notepad file: "Scrivo.bmp" beside the program, a 1-bit BMP with a 62-byte header block.
#pragma once

#include "platform/platform.h"

constexpr LPCWSTR NotepadFileName = L"Scrivo.bmp";

// Why the last save failed (an ERROR_ code), and whether the file found at start-up was refused and
// is still to be kept aside before the first save replaces it.
extern DWORD LastSaveError;
extern int NotepadFileRefused;

int GetModuleDirectory(LPWSTR buffer);
// The notepad file's full path into a MAX_PATH buffer; 0 when it does not fit.
int GetNotepadFilePath(LPWSTR path);
HBITMAP LoadNotepadFile(HDC context, LPCWSTR path);
int SaveNotepadFile(HBITMAP bitmap, LPCWSTR path);
int SaveNotepad();
// Removes the temporary files of saves that a crash interrupted, beside the notepad file at `path`.
void RemoveLeftoverSaves(LPCWSTR path);
// The message for a failed save, into a buffer of 256 characters.
void FormatSaveFailure(LPWSTR message);
