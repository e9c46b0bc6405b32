// The controls' shared ground: their classes, their colours, their modal loop, their strokes.
#include "controls/control_kit.h"

#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/window.h"

namespace platform {

bool register_control_classes() {
    static const bool registered = [] {
        const ControlClass classes[] = {
            kDialogControlClass,           {L"STATIC", static_proc},        {L"EDIT", edit_proc},
            {L"msctls_updown32", up_down_proc}, {L"COMBOBOX", combo_box_proc}, {L"ComboLBox", combo_list_proc},
            {L"BUTTON", group_box_proc},
        };
        for (const ControlClass& c : classes) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = c.proc;
            wc.lpszClassName = c.name;
            if (!RegisterClassW(&wc)) return false;
        }
        return true;
    }();
    return registered;
}

HBRUSH control_brush(HWND asked, UINT message, HDC dc) {
    LRESULT brush = SendMessageW(asked, message, reinterpret_cast<WPARAM>(dc), 0);
    if (!brush) brush = default_control_colours(message, dc);
    return reinterpret_cast<HBRUSH>(brush);
}

LRESULT default_control_colours(UINT message, HDC dc) {
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ? RGB(255, 255, 255)
                                                                                : RGB(192, 192, 192));
    const int stock = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ? WHITE_BRUSH : LTGRAY_BRUSH;
    return reinterpret_cast<LRESULT>(GetStockObject(stock));
}

void run_modal_loop(HWND owner, const std::function<bool()>& done, const std::function<bool(const MSG&)>& intercept) {
    const bool disabled_owner = owner && IsWindowEnabled(owner);
    if (disabled_owner) EnableWindow(owner, FALSE);
    MSG msg;
    while (!done()) {
        if (GetMessageW(&msg, nullptr, 0, 0) == 0) {
            // The loop that called us has to see the quit too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (intercept && intercept(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (disabled_owner) EnableWindow(owner, TRUE);
}

void fill_solid(HDC dc, const RECT& r, COLORREF colour) {
    const HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void frame_solid(HDC dc, const RECT& r, COLORREF colour, int thickness) {
    fill_solid(dc, {r.left, r.top, r.right, r.top + thickness}, colour);
    fill_solid(dc, {r.left, r.bottom - thickness, r.right, r.bottom}, colour);
    fill_solid(dc, {r.left, r.top, r.left + thickness, r.bottom}, colour);
    fill_solid(dc, {r.right - thickness, r.top, r.right, r.bottom}, colour);
}

}  // namespace platform
