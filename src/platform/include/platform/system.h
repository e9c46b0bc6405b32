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
// With MOVEFILE_REPLACE_EXISTING the target is replaced in one step (a reader sees the old file or
// the new one); with MOVEFILE_WRITE_THROUGH the rename is on disk before the call returns.
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
// Creates a new empty file "<prefix><unique>.tmp" in `directory` and gives its path (MAX_PATH).
UINT GetTempFileNameW(LPCWSTR directory, LPCWSTR prefix, UINT unique, LPWSTR path);
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* found);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* found);
BOOL FindClose(HANDLE search);
DWORD GetFileAttributesW(LPCWSTR path);
// The path with the symbolic links of its last part followed, into `out` of `capacity` characters;
// a link to a file not yet there gives the path the file would have. The length, or 0 on failure.
DWORD GetFinalPathNameW(LPCWSTR path, LPWSTR out, DWORD capacity);

// Plain files: the calls above that touch no handle table, so that a worker thread may write a file
// while the GUI thread runs. Only the dispositions CREATE_NEW and OPEN_EXISTING are offered; a
// created file takes the permissions, owner and group of the file `likeFile` names (as far as the
// system lets the user give them) when that file exists. One thread at a time uses a file.
HPLAINFILE OpenPlainFile(LPCWSTR path, DWORD access, DWORD disposition, LPCWSTR likeFile);
BOOL WritePlainFile(HPLAINFILE file, LPCVOID data, DWORD size);
// Cuts the file off where the last write ended.
BOOL SetPlainFileEnd(HPLAINFILE file);
BOOL FlushPlainFile(HPLAINFILE file);
BOOL ClosePlainFile(HPLAINFILE file);

// Threads. Their handles, like every handle, belong to the GUI thread; the thread itself may only
// use what needs no handle (plain files, names of files, memory it was given).
HANDLE CreateThread(SECURITY_ATTRIBUTES* security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD flags, DWORD* threadId);
// Waits for a thread to end, in real time; 0 only asks.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);
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
