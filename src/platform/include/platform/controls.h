// Controls, dialogs, message boxes and menus.
#pragma once

#include "platform/types.h"

// Messages every control of the platform takes.
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;

// Buttons: styles, the notification a click sends its parent in WM_COMMAND, and a click by message.
constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
constexpr DWORD BS_TYPEMASK = 0x0000000F;
constexpr WORD BN_CLICKED = 0;
constexpr UINT BM_CLICK = 0x00F5;

// Message boxes.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// Popup menus.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;

// Where the menu stands against (x, y); without a flag its top-left corner is there.
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_VCENTERALIGN = 0x0010;

HMENU CreatePopupMenu();
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text);
BOOL DestroyMenu(HMENU menu);
// Shows the menu over everything, kept on the screen, until an item is picked or the menu is
// dismissed. A picked item is posted to `owner` as WM_COMMAND with its id; a dismissal sends
// nothing. `params` must be null: an area to keep clear is not supported.
struct TPMPARAMS;
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
