// Files, memory, the program's own module, time, sound, the registry and resources.
#pragma once

#include "platform/types.h"

struct SECURITY_ATTRIBUTES;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[260];
};

constexpr int MAX_PATH = 260;

// What tells one file from another and one version of it from the next.
struct BY_HANDLE_FILE_INFORMATION {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD dwVolumeSerialNumber;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD nNumberOfLinks;
    DWORD nFileIndexHigh;
    DWORD nFileIndexLow;
};

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// Files.
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;
// A file any thread may use: its holder owns it, no handle table stands between.
struct PLAINFILE;
using HPLAINFILE = PLAINFILE*;

// Threads and waits.
using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);
constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD STILL_ACTIVE = 259;
constexpr int THREAD_PRIORITY_LOWEST = -2;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
constexpr int THREAD_PRIORITY_NORMAL = 0;

// Virtual memory.
constexpr DWORD MEM_COMMIT = 0x00001000;
constexpr DWORD MEM_RELEASE = 0x00008000;
constexpr DWORD PAGE_READWRITE = 0x04;

// Registry.
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001));
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Error codes (GetLastError and registry results).
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_PATH_NOT_FOUND = 3;
constexpr LONG ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr LONG ERROR_NOT_SAME_DEVICE = 17;
constexpr LONG ERROR_NO_MORE_FILES = 18;
constexpr LONG ERROR_WRITE_FAULT = 29;
constexpr LONG ERROR_GEN_FAILURE = 31;
constexpr LONG ERROR_SHARING_VIOLATION = 32;
constexpr LONG ERROR_HANDLE_DISK_FULL = 39;
constexpr LONG ERROR_FILE_EXISTS = 80;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_DISK_FULL = 112;
constexpr LONG ERROR_INSUFFICIENT_BUFFER = 122;
constexpr LONG ERROR_INVALID_NAME = 123;
constexpr LONG ERROR_MOD_NOT_FOUND = 126;
constexpr LONG ERROR_ALREADY_EXISTS = 183;
constexpr LONG ERROR_FILENAME_EXCED_RANGE = 206;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_INVALID_ADDRESS = 487;
constexpr LONG ERROR_CANTREAD = 1012;
constexpr LONG ERROR_CANTWRITE = 1013;
constexpr LONG ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

// Sounds.
constexpr DWORD SND_ASYNC = 0x0001;
constexpr DWORD SND_FILENAME = 0x00020000;

// Resource types.
inline LPCWSTR RT_BITMAP = MAKEINTRESOURCEW(2);
inline LPCWSTR RT_DIALOG = MAKEINTRESOURCEW(5);
inline LPCWSTR RT_GROUP_ICON = MAKEINTRESOURCEW(14);

DWORD GetLastError();
void SetLastError(DWORD error);

// Opens an existing file for reading, unshared (GENERIC_READ, share mode 0, OPEN_EXISTING); files are
// written as plain files.
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, SECURITY_ATTRIBUTES* security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, DWORD* read, void* overlapped);
DWORD GetFileSize(HANDLE file, DWORD* high);
// The file's volume, index, size and times as they are now (the change time, which no copy keeps,
// stands for the creation time).
BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information);
BOOL CloseHandle(HANDLE object);
BOOL DeleteFileW(LPCWSTR path);
// A new folder, for this user alone; ERROR_ALREADY_EXISTS when there is one of that name.
BOOL CreateDirectoryW(LPCWSTR path, SECURITY_ATTRIBUTES* security);
// With MOVEFILE_REPLACE_EXISTING the target is replaced in one step (a reader sees the old file or
// the new one); with MOVEFILE_WRITE_THROUGH the rename is on disk before the call returns.
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
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
// GetFileInformationByHandle for a plain file.
BOOL GetPlainFileInformation(HPLAINFILE file, BY_HANDLE_FILE_INFORMATION* information);
BOOL ClosePlainFile(HPLAINFILE file);

// Threads. Their handles, like every handle, belong to the GUI thread; the thread itself may only
// use what needs no handle (plain files, names of files, memory it was given).
HANDLE CreateThread(SECURITY_ATTRIBUTES* security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD flags, DWORD* threadId);
// Waits for a thread to end, in real time; 0 only asks.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);
// Normal, below normal or lowest, before or after the thread starts: a thread may be made to yield
// to the others, not to go ahead of them. Back up to normal needs the system's leave.
BOOL SetThreadPriority(HANDLE thread, int priority);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD capacity);

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect);
BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType);

DWORD GetTickCount();
// The wall clock's date and time in the user's time zone.
void GetLocalTime(SYSTEMTIME* time);
void Sleep(DWORD milliseconds);

BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags);
BOOL MessageBeep(UINT type);

LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, DWORD access,
                     SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition);
LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LONG RegQueryValueExW(HKEY key, LPCWSTR name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size);
LONG RegCloseKey(HKEY key);

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);

// The program's entry point; the platform's process start-up calls it with the program's module.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
