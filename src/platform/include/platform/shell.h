// The device shell: full-screen mode and the strips it reserves.
#pragma once

#include "platform/types.h"

constexpr DWORD SHFS_SHOWTASKBAR = 0x0001;
constexpr DWORD SHFS_HIDETASKBAR = 0x0002;
constexpr DWORD SHFS_SHOWSIPBUTTON = 0x0004;
constexpr DWORD SHFS_HIDESIPBUTTON = 0x0008;
constexpr DWORD SHFS_SHOWSTARTICON = 0x0010;
constexpr DWORD SHFS_HIDESTARTICON = 0x0020;

BOOL SHFullScreen(HWND window, DWORD state);

// Where programs keep this user's own data, each in a folder of its own inside.
constexpr int CSIDL_APPDATA = 0x001A;

// The path of a special folder into a MAX_PATH buffer, the folder made first when `create` is set.
// FALSE (the buffer empty) for a kind of folder the shell does not know, or one it cannot find,
// make or fit.
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int folder, BOOL create);
