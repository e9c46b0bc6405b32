// The device shell: full-screen mode and the strips it reserves.
#pragma once

#include "platform/types.h"

constexpr DWORD SHFS_SHOWTASKBAR = 0x0001;
constexpr DWORD SHFS_HIDETASKBAR = 0x0002;
constexpr DWORD SHFS_SHOWSIPBUTTON = 0x0004;
constexpr DWORD SHFS_HIDESIPBUTTON = 0x0008;
constexpr DWORD SHFS_HIDESTARTICON = 0x0020;

BOOL SHFullScreen(HWND window, DWORD state);

// SHInitDialog
struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
constexpr DWORD SHIDIM_FLAGS = 0x0001;
constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
// Sizes the dialog as its flags ask and, with the done button, gives it the navigation bar's OK.
BOOL SHInitDialog(SHINITDLGINFO* info);

// SHCreateMenuBar
struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
};
constexpr DWORD SHCMBF_EMPTYBAR = 0x0001;
// Only the empty bar is made: the strip at the bottom of the screen, reserved for the window.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// The title shown in the navigation bar while a dialog is open.
BOOL SHSetNavBarText(HWND requester, LPCWSTR text);

// The input panel: up starts the system's text input, down stops it.
enum SIPSTATE { SIP_UP = 0, SIP_DOWN = 1, SIP_FORCEDOWN = 2 };
BOOL SHSipPreference(HWND window, SIPSTATE state);

// Where programs keep this user's own data, each in a folder of its own inside.
constexpr int CSIDL_APPDATA = 0x001A;

// The path of a special folder into a MAX_PATH buffer, the folder made first when `create` is set.
// FALSE (the buffer empty) for a kind of folder the shell does not know, or one it cannot find,
// make or fit.
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int folder, BOOL create);
