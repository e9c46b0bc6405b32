// The About dialog: the frame around the icon and two blocks of text, all from its template.
#include "settings/dialog_frame.h"

namespace {
DialogBrushes AboutBrushes;
}

INT_PTR AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        InitDialogFrame(dialog, &AboutBrushes, L" - About", 0);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return 0;
        CloseDialogFrame(dialog, &AboutBrushes);
        return 1;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return DialogFrameColours(&AboutBrushes, message, reinterpret_cast<HDC>(wParam));
    default:
        return 0;
    }
}
