#include "app/commands.h"

#include "app/app.h"
#include "ink/pen_cursor.h"
#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "notepad/notepad_file.h"
#include "notepad/notepad_reload.h"
#include "notepad/page_operations.h"
#include "notepad/undo.h"
#include "settings/dialog_frame.h"
#include "settings/options_dialog.h"
#include "settings/settings.h"
#include "toolbutton/toolbutton.h"

namespace {

struct MenuEntry {
    LPCWSTR label;  // none for a separator
    WORD id;
};

constexpr MenuEntry CommandMenu[] = {
    {L"Undo", IDM_UNDO},
    {L"Redo", IDM_REDO},
    {nullptr, 0},
    {L"Cut", IDM_CUT},
    {L"Copy", IDM_COPY},
    {L"Paste", IDM_PASTE},
    {nullptr, 0},
    {L"Find Blank Page", IDM_FIND_BLANK},
    {L"Clear Page", IDM_CLEAR_PAGE},
    {L"Compress Pad", IDM_COMPRESS},
    {L"Clear Pad", IDM_CLEAR_PAD},
    {nullptr, 0},
    {L"Up ", IDM_UP},
    {L"Down", IDM_DOWN},
    {nullptr, 0},
    {L"Options", IDM_OPTIONS},
    {L"About", IDM_ABOUT},
    {L"Quit", IDM_QUIT},
};

// Our own message boxes, dialogs and menus are owned by the main window, directly or through
// another of them (a box over a dialog).
bool IsOwnWindow(HWND window, HWND mainWindow) {
    for (HWND owner = GetWindow(window, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER))
        if (owner == mainWindow) return true;
    return false;
}

// While a box, dialog or menu of ours is open its modal loop keeps the main window disabled. A
// command or menu request arriving then (another program may post one) would act under it.
bool OwnWindowIsOpen(HWND window) { return !IsWindowEnabled(window); }

bool Ask(HWND window, LPCWSTR question) { return MessageBoxW(window, question, L"Scrivo", MB_OKCANCEL) == IDOK; }

// The whole screen again from the notepad image, the tool button hidden meanwhile.
void RepaintWithoutToolButton(HWND window) {
    const RECT screen = {0, 0, PageWidth, PageHeight};
    ShowWindow(ToolButton, SW_HIDE);
    InvalidateRect(window, &screen, TRUE);
    UpdateWindow(window);
}

void FullRedraw(HWND window) {
    RepaintWithoutToolButton(window);
    ShowWindow(ToolButton, SW_SHOW);
}

// The button is painted before the pause: left to the message loop it would be missing while the
// number shows.
void FullRedrawWithPageNumber(HWND window) {
    RepaintWithoutToolButton(window);
    ShowPageIndicator();
    ShowToolButton();
    Sleep(PageNumberFlash);
    ErasePageIndicator();
}

// The dialog's template from the program's resources, or none when it is missing.
HGLOBAL LoadDialogTemplate(WORD id) {
    const HRSRC found = FindResourceW(AppInstance, MAKEINTRESOURCEW(id), RT_DIALOG);
    return found ? LoadResource(AppInstance, found) : nullptr;
}

// A modal dialog of the program's frame, with the task bar and input panel button shown while it
// is open; full-screen mode comes back with the next paint.
void OpenDialog(HWND window, WORD id, DLGPROC procedure) {
    SHFullScreen(window, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON);
    const HGLOBAL dialogTemplate = LoadDialogTemplate(id);
    if (!dialogTemplate) {
        MessageBeep(MB_OK);
        return;
    }
    DialogBoxIndirectParamW(AppInstance, reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate), window, procedure, 0);
}

void ClearWholePad(HWND window) {
    // Return must not wipe the notepad: Cancel answers until the user moves to OK.
    if (MessageBoxW(window, ClearPadQuestion, L"Scrivo", MB_OKCANCEL | MB_DEFBUTTON2) != IDOK) return;
    RecordRowsStep(0, NotepadHeight);
    ClearNotepad();
    FullRedraw(window);
    DirtyFlag = 1;
}

void Compress(HWND window) {
    if (!Ask(window, CompressQuestion)) return;
    UpdateWindow(window);
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    Sleep(BeforeCompressPause);
    RecordRowsStep(0, NotepadHeight);
    const int usedPages = CompressNotepad();
    SetCursor(nullptr);
    WCHAR report[128];
    wnsprintfW(report, ARRAYSIZE(report), CompressReport, PageCount, usedPages, PageCount - usedPages);
    MessageBoxW(window, report, L"Scrivo", MB_OK);
    ViewOffset = 0;
    FullRedrawWithPageNumber(window);
    DirtyFlag = 1;
}

void FindBlank(HWND window) {
    LONG row = ViewOffset;
    if (!FindBlankPage(&row)) {
        row = 0;
        if (!FindBlankPage(&row)) {
            MessageBoxW(window, NoBlankPage, L"Scrivo", MB_OK | MB_ICONHAND);
            return;
        }
    }
    ViewOffset = row;
    FullRedrawWithPageNumber(window);
}

// Undo and redo show the step where it was made: on another page, that page with its number; on
// this one, only what the step changed is drawn again.
void TakeStep(HWND window, int (*step)(StepPlace*)) {
    StepPlace place{};
    if (!step(&place)) {
        MessageBeep(MB_OK);
        return;
    }
    DirtyFlag = 1;
    const LONG lastPageTop = NotepadHeight - PageHeight > 0 ? NotepadHeight - PageHeight : 0;
    const LONG viewRow = place.viewRow < lastPageTop ? place.viewRow : lastPageTop;
    if (viewRow == ViewOffset) {
        const RECT onScreen = {place.changed.left, place.changed.top - ViewOffset, place.changed.right,
                               place.changed.bottom - ViewOffset};
        InvalidateRect(window, &onScreen, FALSE);
        UpdateWindow(window);
        return;
    }
    ViewOffset = viewRow;
    FullRedrawWithPageNumber(window);
}

}  // namespace

LRESULT ActivateMainWindow(HWND window, WPARAM wParam, LPARAM lParam) {
    if (IsOwnWindow(reinterpret_cast<HWND>(lParam), window)) return 0;
    // Back in front after another program: a version of the notepad it left is shown.
    if (LOWORD(wParam) != WA_INACTIVE) {
        ReloadChangedNotepad();
        return 0;
    }
    // A failed save keeps the change marked, so the save at exit tries again and says why it failed.
    if (DirtyFlag && SaveNotepad()) DirtyFlag = 0;
    return 0;
}

LRESULT OpenCommandMenu(HWND window) { return OpenCommandMenuAt(window, -1); }

LRESULT OpenCommandMenuAt(HWND window, LPARAM point) {
    if (OwnWindowIsOpen(window)) return 0;
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry& entry : CommandMenu)
        AppendMenuW(menu, entry.label ? MF_STRING : MF_SEPARATOR, entry.id, entry.label);
    // A click opens the menu where the pointer is (the platform keeps it on the screen); a hold or
    // the Menu key, which point nowhere, open it in the middle.
    if (point == -1)
        TrackPopupMenuEx(menu, TPM_CENTERALIGN | TPM_VCENTERALIGN, PageWidth / 2, PageHeight / 2, window, nullptr);
    else
        TrackPopupMenuEx(menu, 0, GET_X_LPARAM(point), GET_Y_LPARAM(point), window, nullptr);
    DestroyMenu(menu);
    UpdateWindow(window);
    Sleep(AfterMenuPause);
    // The stylus input that came meanwhile must not reach the ink or the tool button; the picked
    // command was posted and stays in the queue.
    MSG discarded;
    while (PeekMessageW(&discarded, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    return 0;
}

LRESULT RunCommand(HWND window, WORD id) {
    if (OwnWindowIsOpen(window)) return 0;
    // Commands change the notepad in ways a snapshot under way does not follow.
    CompleteSnapshot();
    switch (id) {
    case IDM_QUIT:
        DestroyWindow(window);
        break;
    case IDM_ABOUT:
        OpenDialog(window, IDD_ABOUT, AboutDialogProc);
        break;
    case IDM_OPTIONS:
        OpenDialog(window, IDD_OPTIONS, OptionsDialogProc);
        SetTextColor(ScreenContext, Settings.PenColour);
        SetBkColor(ScreenContext, Settings.BakColour);
        UpdatePenCursor();
        break;
    case IDM_PEN:
        DrawMode = DRAW_PEN;
        InvalidateRect(ToolButton, nullptr, FALSE);  // its face shows the mode, whoever set it
        break;
    case IDM_ERASER:
        DrawMode = DRAW_ERASER;
        InvalidateRect(ToolButton, nullptr, FALSE);
        break;
    case IDM_CUT:
        // Without a copy the page would be lost for good: it is cleared only once it is safe.
        if (!CopyPage()) break;
        RecordRowsStep(ViewOffset, PageHeight);
        ClearPage();
        FullRedraw(window);
        DirtyFlag = 1;
        break;
    case IDM_COPY:
        CopyPage();
        break;
    case IDM_PASTE:
        if (PageClipboard) RecordRowsStep(ViewOffset, PageHeight);
        PastePage();
        FullRedraw(window);
        DirtyFlag = 1;
        break;
    case IDM_UP:
        UpdateWindow(window);
        PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
        break;
    case IDM_DOWN:
        UpdateWindow(window);
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
        break;
    case IDM_CLEAR_PAD:
        ClearWholePad(window);
        break;
    case IDM_CLEAR_PAGE:
        RecordRowsStep(ViewOffset, PageHeight);
        ClearPage();
        FullRedraw(window);
        DirtyFlag = 1;
        break;
    case IDM_COMPRESS:
        Compress(window);
        break;
    case IDM_FIND_BLANK:
        FindBlank(window);
        break;
    case IDM_UNDO:
        TakeStep(window, UndoStep);
        break;
    case IDM_REDO:
        TakeStep(window, RedoStep);
        break;
    default:
        break;
    }
    return 0;
}
