// The Options dialog: fills its fields from Settings and PageCount, and on OK bounds the numbers,
// stores every option, warns about equal colours and lost pages, and resizes the notepad. Cancel
// (Escape) closes it and keeps everything as it was.
#include "settings/options_dialog.h"

#include <initializer_list>

#include "notepad/notepad.h"
#include "notepad/undo.h"
#include "settings/dialog_frame.h"
#include "settings/settings.h"
#include "shared/globals.h"

const ColourEntry ColourList[ColourCount] = {
    {L"Black", 0x00000000}, {L"Blue", 0x00FF0000}, {L"Dark Blue", 0x00800000},  {L"Green", 0x0000FF00},
    {L"Light Grey", 0x00C0C0C0}, {L"Red", 0x000000FF}, {L"White", 0x00FFFFFF}, {L"Yellow", 0x0000FFFF},
};

namespace {

DialogBrushes OptionsBrushes;

// UDM_SETRANGE's argument: the upper bound in the low word, the lower in the high word.
constexpr LPARAM SizeRange = MAKELPARAM(20, 1);
constexpr LPARAM PageRange = MAKELPARAM(100, 1);

void StoreOption(LPCWSTR name, DWORD value) {
    DWORD type = REG_DWORD;
    DWORD size = sizeof value;
    RegistryValue(REGISTRY_STORE, name, &type, &value, &size);
}

void SetSpinField(HWND dialog, int spin, LPARAM range, int field, LONG value) {
    SendDlgItemMessageW(dialog, spin, UDM_SETRANGE, 0, range);
    SetDlgItemInt(dialog, field, static_cast<UINT>(value), FALSE);
}

void FillColourLists(HWND dialog) {
    for (int i = 0; i < ColourCount; ++i) {
        for (int list : {IDC_PEN_COLOUR, IDC_PAGE_COLOUR}) {
            SendDlgItemMessageW(dialog, list, CB_INSERTSTRING, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(ColourList[i].Label));
            SendDlgItemMessageW(dialog, list, CB_SETITEMDATA, static_cast<WPARAM>(i),
                                static_cast<LPARAM>(ColourList[i].Colour));
        }
    }
}

// The last item carrying the colour is selected; a colour not in the list selects the first.
void SelectColour(HWND dialog, int list, COLORREF colour) {
    const LRESULT count = SendDlgItemMessageW(dialog, list, CB_GETCOUNT, 0, 0);
    LRESULT selection = 0;
    for (LRESULT i = 0; i < count; ++i)
        if (static_cast<COLORREF>(SendDlgItemMessageW(dialog, list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) ==
            colour)
            selection = i;
    SendDlgItemMessageW(dialog, list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

// A pen size as the field holds it, held to 1..20 (an unreadable field reads as 0, so as 1).
LONG BoundedPenSize(HWND dialog, int field) {
    UINT value = GetDlgItemInt(dialog, field, nullptr, FALSE);
    if (value <= 1) value = 1;
    if (value >= 20) value = 20;
    return static_cast<LONG>(value);
}

// The colour of the list's selection; a list without one keeps the colour it had.
COLORREF SelectedColour(HWND dialog, int list, COLORREF current) {
    const LRESULT selection = SendDlgItemMessageW(dialog, list, CB_GETCURSEL, 0, 0);
    if (selection == CB_ERR) return current;
    return static_cast<COLORREF>(SendDlgItemMessageW(dialog, list, CB_GETITEMDATA, static_cast<WPARAM>(selection), 0));
}

void InitOptions(HWND dialog) {
    InitDialogFrame(dialog, &OptionsBrushes, L" - Options", 1);
    SetSpinField(dialog, IDC_PEN_WIDTH_SPIN, SizeRange, IDC_PEN_WIDTH, Settings.PenWidth);
    SetSpinField(dialog, IDC_PEN_HEIGHT_SPIN, SizeRange, IDC_PEN_HEIGHT, Settings.PenHeight);
    SetSpinField(dialog, IDC_PEN_END_SPIN, SizeRange, IDC_PEN_END, Settings.PenEnd);
    FillColourLists(dialog);
    SelectColour(dialog, IDC_PEN_COLOUR, Settings.PenColour);
    SelectColour(dialog, IDC_PAGE_COLOUR, Settings.BakColour);
    SetSpinField(dialog, IDC_ERASER_SIZE_SPIN, SizeRange, IDC_ERASER_SIZE, Settings.EraserWidth);
    SetSpinField(dialog, IDC_PAGES_SPIN, PageRange, IDC_PAGES, PageCount);
}

// The OK sequence. Each option is stored as soon as it is assigned, so a Cancel at one of the two
// warnings leaves the options before it in effect.
void ConfirmOptions(HWND dialog) {
    Settings.PenWidth = BoundedPenSize(dialog, IDC_PEN_WIDTH);
    StoreOption(L"PenWidth", static_cast<DWORD>(Settings.PenWidth));
    Settings.PenHeight = BoundedPenSize(dialog, IDC_PEN_HEIGHT);
    StoreOption(L"PenHeight", static_cast<DWORD>(Settings.PenHeight));
    Settings.PenEnd = BoundedPenSize(dialog, IDC_PEN_END);
    StoreOption(L"PenEnd", static_cast<DWORD>(Settings.PenEnd));
    Settings.PenColour = SelectedColour(dialog, IDC_PEN_COLOUR, Settings.PenColour);
    StoreOption(L"PenColour", Settings.PenColour);
    Settings.BakColour = SelectedColour(dialog, IDC_PAGE_COLOUR, Settings.BakColour);
    StoreOption(L"BakColour", Settings.BakColour);

    if (Settings.PenColour == Settings.BakColour &&
        MessageBoxW(dialog, L"Warning Pen and Page colours are the same!", L"Scrivo", MB_OKCANCEL) == IDCANCEL)
        return;

    const UINT eraser = GetDlgItemInt(dialog, IDC_ERASER_SIZE, nullptr, FALSE);
    Settings.EraserWidth = static_cast<LONG>(eraser);
    Settings.EraserHeight = static_cast<LONG>(eraser);
    StoreOption(L"EraserSize", eraser);

    LONG pages = static_cast<LONG>(GetDlgItemInt(dialog, IDC_PAGES, nullptr, FALSE));
    if (pages <= 1) pages = 1;
    if (pages >= 100) pages = 100;
    if (pages != PageCount) {
        if (pages * PageHeight < NotepadHeight &&
            MessageBoxW(dialog, L"Warning some pages will be lost", L"Scrivo", MB_OKCANCEL | MB_DEFBUTTON2) != IDOK)
            return;
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        UpdateWindow(dialog);
        const int resized = ReshapeNotepad(PageWidth, pages * PageHeight);
        SetCursor(nullptr);
        if (!resized) MessageBoxW(dialog, L"Error - Pad resize failed", L"Scrivo", MB_OK);
    }
    CloseDialogFrame(dialog, &OptionsBrushes);
}

}  // namespace

INT_PTR OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        InitOptions(dialog);
        return 1;
    case WM_COMMAND:
        // Escape leaves with nothing stored, for a keyboard user who opened it by mistake.
        if (LOWORD(wParam) == IDCANCEL) {
            CloseDialogFrame(dialog, &OptionsBrushes);
            return 1;
        }
        if (LOWORD(wParam) != IDOK) return 0;
        ConfirmOptions(dialog);
        return 1;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return DialogFrameColours(&OptionsBrushes, message, reinterpret_cast<HDC>(wParam));
    default:
        return 0;
    }
}
