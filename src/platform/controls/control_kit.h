// What the dialog's controls share beyond the drawing module: the colours each asks its dialog
// for, and their window procedures for the platform's class table.
#pragma once

#include <string>

#include "platform/window.h"

namespace platform {

constexpr const wchar_t* kDialogClass = L"#32770";
constexpr const wchar_t* kComboListClass = L"ComboLBox";
// A dropped list carries the handle of its box.
constexpr int kComboListExtraBytes = sizeof(LONG_PTR);

// The brush `asked` answers for the control-colour message, after it has set the DC's colours;
// the platform's own colours when it answers nothing.
HBRUSH control_brush(HWND asked, UINT message, HDC dc);
// The platform's colours for a control-colour message nobody answered.
LRESULT default_control_colours(UINT message, HDC dc);

// Steps the up-down whose buddy is `buddy` by `direction` (+1 up, -1 down), as its arrow does;
// false when no up-down has that buddy.
bool step_up_down_of_buddy(HWND buddy, int direction);
// The width an edit control needs to show `text` whole, with its border, margins and caret.
int edit_width_for(HWND edit, const std::wstring& text);

LRESULT dialog_window_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT static_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT edit_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT up_down_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT combo_box_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT combo_list_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT group_box_proc(HWND, UINT, WPARAM, LPARAM);

}  // namespace platform
