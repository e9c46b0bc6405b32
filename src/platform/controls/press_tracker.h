// Pressing a control with the pen, the same for every control: a press on it takes the capture
// (unless the control holds it already) and draws it pushed in; moves draw it pushed in only while
// the pen is over it; a release over it is the control's action; a cancelled pointer or a capture
// taken away lets go without one.
#pragma once

#include "platform/window.h"

namespace platform {

enum class Press {
    Ignored,    // the message was no part of a press
    Began,      // the pen went down on the control
    Moved,      // the pen moved while pressed, perhaps across the control's edge
    Cancelled,  // let go elsewhere, or taken away: no action
    Activated,  // let go over the control: its action
};

class PressTracker {
public:
    // Follows WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP and WM_CANCELMODE to `window`; `over` says
    // whether the message's position lies on what can be pressed.
    Press follow(HWND window, UINT message, bool over);
    // Lets go without an action, giving back the capture the press took.
    void cancel(HWND window);

    bool tracking() const { return tracking_; }
    // Drawn pushed in: tracking, with the pen over the control.
    bool pushed() const { return tracking_ && over_; }

    // The tracker in a window's extra bytes, for a control that keeps its state there.
    LONG_PTR to_bits() const;
    static PressTracker from_bits(LONG_PTR bits);

private:
    bool tracking_ = false;
    bool over_ = false;
    bool took_capture_ = false;
};

// Whether a pointer message's position lies in `r`.
bool lies_in(const RECT& r, LPARAM position);
// Whether it lies in the window's client area.
bool lies_in_client(HWND window, LPARAM position);

}  // namespace platform
