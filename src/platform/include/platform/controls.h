// Menus: a popup menu built item by item and tracked in its own modal loop.
#pragma once

#include "platform/types.h"

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
