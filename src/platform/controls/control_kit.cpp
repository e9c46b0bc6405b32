// The colours a control asks its dialog for with the WM_CTLCOLOR messages.
#include "controls/control_kit.h"

#include "controls/draw.h"
#include "platform/controls.h"
#include "platform/gdi.h"

namespace platform {

HBRUSH control_brush(HWND asked, UINT message, HDC dc) {
    LRESULT brush = SendMessageW(asked, message, reinterpret_cast<WPARAM>(dc), 0);
    if (!brush) brush = default_control_colours(message, dc);
    return reinterpret_cast<HBRUSH>(brush);
}

LRESULT default_control_colours(UINT message, HDC dc) {
    const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, draw::kDark);
    SetBkColor(dc, field ? draw::kLight : draw::kFace);
    return reinterpret_cast<LRESULT>(GetStockObject(field ? WHITE_BRUSH : LTGRAY_BRUSH));
}

}  // namespace platform
