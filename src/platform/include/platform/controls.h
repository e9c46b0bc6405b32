// The controls dialogs are made of: their styles and the messages they answer.
#pragma once

#include "platform/types.h"

// STATIC
constexpr DWORD SS_LEFT = 0x00000000;
constexpr DWORD SS_ICON = 0x00000003;
constexpr DWORD SS_BITMAP = 0x0000000E;
constexpr DWORD SS_TYPEMASK = 0x0000001F;
constexpr DWORD SS_NOPREFIX = 0x00000080;
constexpr DWORD SS_NOTIFY = 0x00000100;

// BUTTON
constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
constexpr DWORD BS_GROUPBOX = 0x00000007;
constexpr DWORD BS_TYPEMASK = 0x0000000F;

// EDIT
constexpr DWORD ES_RIGHT = 0x00000002;
constexpr DWORD ES_NUMBER = 0x00002000;

// COMBOBOX
constexpr DWORD CBS_DROPDOWNLIST = 0x00000003;
constexpr DWORD CBS_SORT = 0x00000100;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr LRESULT CB_ERR = -1;

// msctls_updown32
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
// wParam 0; lParam the upper bound in the low word and the lower bound in the high word.
constexpr UINT UDM_SETRANGE = WM_USER + 101;
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;

// Notifications a control sends its dialog in WM_COMMAND's high word.
constexpr WORD BN_CLICKED = 0;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD EN_CHANGE = 0x0300;
