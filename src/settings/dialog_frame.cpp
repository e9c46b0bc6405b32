// The common frame of the About and Options dialogs.
#include "settings/dialog_frame.h"

#include <cstring>
#include <cwchar>

#include "shared/globals.h"

void InitDialogFrame(HWND dialog, DialogBrushes* brushes, LPCWSTR titleSuffix, int raiseInputPanel) {
    brushes->ButtonBrush = CreateSolidBrush(ButtonColour);
    brushes->DialogBrush = CreateSolidBrush(DialogColour);

    SHINITDLGINFO info{};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN;
    SHInitDialog(&info);

    CreateDialogMenuBar(dialog, AppInstance);
    if (raiseInputPanel) SHSipPreference(dialog, SIP_UP);

    WCHAR title[64];
    wnsprintfW(title, ARRAYSIZE(title), L"Scrivo%s", titleSuffix);
    SHSetNavBarText(GetParent(dialog), title);
}

void CloseDialogFrame(HWND dialog, DialogBrushes* brushes) {
    SHSipPreference(dialog, SIP_FORCEDOWN);
    DeleteObject(brushes->ButtonBrush);
    DeleteObject(brushes->DialogBrush);
    brushes->ButtonBrush = nullptr;
    brushes->DialogBrush = nullptr;
    EndDialog(dialog, 1);
}

INT_PTR DialogFrameColours(const DialogBrushes* brushes, UINT message, HDC context) {
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        SetTextColor(context, 0x00FF0000);
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_CTLCOLORBTN:
        SetTextColor(context, 0x00FFFFFF);
        SetBkMode(context, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(brushes->ButtonBrush);
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(brushes->DialogBrush);
    case WM_CTLCOLORSTATIC:
        SetTextColor(context, 0x00000000);
        SetBkMode(context, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(brushes->DialogBrush);
    default:
        return 0;
    }
}

void CreateDialogMenuBar(HWND dialog, HINSTANCE instance) {
    SHMENUBARINFO info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.hwndParent = dialog;
    info.dwFlags = SHCMBF_EMPTYBAR;
    info.nToolBarId = 0;
    info.hInstRes = instance;
    info.nBmpId = 0;
    info.cBmpImages = 0;
    if (!SHCreateMenuBar(&info)) MessageBoxW(dialog, L"Create Menu Bar Failed", L"Error", MB_OK);
}
