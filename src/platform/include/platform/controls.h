// Controls, dialogs, message boxes and menus.
#pragma once

#include "platform/window.h"

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
// Enter gives the second answer (Cancel) until the user moves the focus; the first by default.
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// Dialogs. A template is what LoadResource gives for an RT_DIALOG resource; its form is the
// platform's own, so callers pass it on to DialogBoxIndirectParamW and never look inside.
struct DLGTEMPLATE;
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;
using INT_PTR = std::intptr_t;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORDLG = 0x0136;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;

constexpr DWORD DS_SETFONT = 0x00000040;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;

// Runs the dialog modally over its owner and returns what EndDialog was given; -1 when the
// template is not one or the dialog cannot be made.
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// The number the control's text spells; 0, with `translated` false, when it spells none.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

// STATIC
constexpr DWORD SS_LEFT = 0x00000000;
constexpr DWORD SS_ICON = 0x00000003;
constexpr DWORD SS_BITMAP = 0x0000000E;
constexpr DWORD SS_TYPEMASK = 0x0000001F;
constexpr DWORD SS_NOPREFIX = 0x00000080;
constexpr DWORD SS_NOTIFY = 0x00000100;

// BUTTON
constexpr DWORD BS_GROUPBOX = 0x00000007;

// EDIT
constexpr DWORD ES_RIGHT = 0x00000002;
constexpr DWORD ES_NUMBER = 0x00002000;

// COMBOBOX
constexpr DWORD CBS_DROPDOWNLIST = 0x00000003;
constexpr DWORD CBS_SORT = 0x00000100;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr LRESULT CB_ERR = -1;
constexpr WORD CBN_SELCHANGE = 1;

// msctls_updown32
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
// wParam 0; lParam the upper bound in the low word and the lower bound in the high word.
constexpr UINT UDM_SETRANGE = WM_USER + 101;

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
