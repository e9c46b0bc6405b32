// What every control shares: its class registered once, the colours it asks its dialog for, the
// modal loop that runs dialogs and dropped lists, and a few drawing strokes.
#pragma once

#include <functional>

#include "platform/window.h"

namespace platform {

struct ControlClass {
    const wchar_t* name;
    WNDPROC proc;
};

// Registers the dialog class and every control class; true once they are there.
bool register_control_classes();

// The brush `asked` answers for the control-colour message, after it has set the DC's colours;
// the platform's own colours when it answers nothing.
HBRUSH control_brush(HWND asked, UINT message, HDC dc);
// The platform's colours for a control-colour message nobody answered.
LRESULT default_control_colours(UINT message, HDC dc);


// Dispatches every message with the owner disabled until `done`; `intercept` sees each message
// first and keeps it from dispatch by returning true. A WM_QUIT ends the loop and is posted again.
void run_modal_loop(HWND owner, const std::function<bool()>& done, const std::function<bool(const MSG&)>& intercept);

// Drawing strokes: a solid rectangle, and a frame `thickness` pixels wide inside `r`.
void fill_solid(HDC dc, const RECT& r, COLORREF colour);
void frame_solid(HDC dc, const RECT& r, COLORREF colour, int thickness);

// Every control class's window procedure, for the class table.
LRESULT static_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT edit_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT up_down_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT combo_box_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT combo_list_proc(HWND, UINT, WPARAM, LPARAM);
LRESULT group_box_proc(HWND, UINT, WPARAM, LPARAM);
extern const ControlClass kDialogControlClass;

}  // namespace platform
