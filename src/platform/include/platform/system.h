// Files, memory, the program's own module, time, sound, the registry and resources.
#pragma once

#include "platform/types.h"

DWORD GetLastError();
void SetLastError(DWORD error);

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, DWORD* read, void* overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, DWORD* written, void* overlapped);
BOOL FlushFileBuffers(HANDLE file);
DWORD GetFileSize(HANDLE file, DWORD* high);
BOOL CloseHandle(HANDLE object);
BOOL DeleteFileW(LPCWSTR path);
// A new folder, for this user alone; ERROR_ALREADY_EXISTS when there is one of that name.
BOOL CreateDirectoryW(LPCWSTR path, SECURITY_ATTRIBUTES* security);
// With MOVEFILE_REPLACE_EXISTING the target is replaced in one step (a reader sees the old file or
// the new one); with MOVEFILE_WRITE_THROUGH the rename is on disk before the call returns.
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
// Creates a new empty file "<prefix><unique>.tmp" in `directory` and gives its path (MAX_PATH).
UINT GetTempFileNameW(LPCWSTR directory, LPCWSTR prefix, UINT unique, LPWSTR path);
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* found);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* found);
BOOL FindClose(HANDLE search);
DWORD GetFileAttributesW(LPCWSTR path);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD capacity);

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect);
BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType);

DWORD GetTickCount();
void Sleep(DWORD milliseconds);

BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags);

LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, DWORD access,
                     SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition);
LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD options, DWORD access, HKEY* result);
LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LONG RegQueryValueExW(HKEY key, LPCWSTR name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size);
LONG RegDeleteValueW(HKEY key, LPCWSTR name);
LONG RegCloseKey(HKEY key);

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);

// The program's entry point; the platform's process start-up calls it with the program's module.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
