// Dialogs made from templates, and the calls a dialog procedure makes on its controls.
#pragma once

#include "platform/types.h"

// A dialog template as LoadResource gives it. Its form is the platform's own: callers pass it on
// to DialogBoxIndirectParamW and never look inside.
struct DLGTEMPLATE;
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;
using INT_PTR = std::intptr_t;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// Dialog styles.
constexpr DWORD DS_SETFONT = 0x00000040;

// Runs the dialog modally over its owner and returns what EndDialog was given; -1 when the
// template is not one or the dialog cannot be made.
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);
HWND GetDlgItem(HWND dialog, int id);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// The number the control's text spells; 0, with `translated` false, when it spells none.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
