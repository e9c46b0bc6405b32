#include "app/app.h"
#include "app/commands.h"
#include "ink/ink.h"
#include "ink/pen_cursor.h"
#include "navigation/scrolling.h"
#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "notepad/notepad_file.h"
#include "notepad/notepad_reload.h"
#include "notepad/undo.h"
#include "settings/settings.h"
#include "toolbutton/toolbutton.h"

namespace {

void PaintMainWindow(HWND window) {
    // Every paint restores full-screen mode, which a dialog may have left off.
    SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    RepaintFromImage(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom);
    EndPaint(window, &paint);
    // The main window's drawing covers its child, so the button is drawn again on top.
    if (IsWindowVisible(ToolButton)) {
        InvalidateRect(ToolButton, nullptr, FALSE);
        UpdateWindow(ToolButton);
    }
}

void ShutDown() {
    // When start-up could not make a notepad there is nothing to save, and the stored position
    // belongs to the notepad that is still on disk. Until start-up has read the settings there is no
    // position of this run to store.
    if (NotepadImage.Bitmap) {
        // An autosave still writing ends first: the save below must not race it for the file.
        FinishAutosave();
        // A notepad that cannot be saved where it lives is kept in the data folder instead.
        if (DirtyFlag && !SaveNotepad()) SaveRescueCopy();
        DirtyFlag = 0;
        // The main window is going: the box stands on its own.
        TellSaveNotice(nullptr);
        if (ScreenContext) SavePositionY();
    }
    ReleaseAutosave();
    ReleaseDrawingObjects(MainWindow);
    PostQuitMessage(0);
}

bool KeyIsDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

// Besides the page keys, the desktop's habits: Ctrl+Q quits as the menu's Quit does, Ctrl+Z undoes,
// and Ctrl+Shift+Z or Ctrl+Y redo.
void KeyDown(HWND window, int key) {
    const bool control = KeyIsDown(VK_CONTROL);
    if (control && key == 'Q') {
        RunCommand(window, IDM_QUIT);
        return;
    }
    if (control && (key == 'Z' || key == 'Y')) {
        RunCommand(window, key == 'Y' || KeyIsDown(VK_SHIFT) ? IDM_REDO : IDM_UNDO);
        return;
    }
    PageKeyDown(key);
}

}  // namespace

int ReleaseDrawingObjects(HWND window) {
    DeleteDC(PenStamp);
    DeleteObject(PenStampBitmap);
    DeleteDC(EraserStamp);
    DeleteObject(EraserStampBitmap);
    DeleteDC(NotepadImage.Context);
    DeleteObject(NotepadImage.Bitmap);
    ReleaseDC(window, ScreenContext);
    // The indicator's font goes with the context it was selected into.
    DeleteObject(PageIndicatorFont);
    if (PageClipboard) DeleteObject(PageClipboard);
    ClearHistory();
    DestroyWindow(ToolButton);
    ReleasePenCursor();
    return 1;
}

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        ShutDown();
        return 0;
    case WM_PAINT:
        PaintMainWindow(window);
        return 0;
    case WM_ACTIVATE:
        return ActivateMainWindow(window, wParam, lParam);
    case WM_KEYDOWN:
        KeyDown(window, static_cast<int>(wParam));
        return 0;
    case WM_COMMAND:
        return RunCommand(window, LOWORD(wParam));
    // A right click (at the pointer) or the Menu key, here or on the tool button, opens the menu
    // as a hold does.
    case WM_CONTEXTMENU:
        return OpenCommandMenuAt(window, lParam);
    case WM_APP:
        return OpenCommandMenu(window);
    case WM_MOUSEWHEEL:
        WheelTurn(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_MOUSEMOVE:
        StylusMove(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        StylusDown(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_LBUTTONUP:
        StylusUp(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CANCELMODE:
        CancelStroke();
        return 0;
    // Two fingers tapping undo, three redo.
    case WM_GESTURE:
        if (wParam == GID_TWOFINGERTAP) return RunCommand(window, IDM_UNDO);
        if (wParam == GID_THREEFINGERTAP) return RunCommand(window, IDM_REDO);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_TIMER:
        // The pen rests with everything saved: a version another program left is shown now.
        if (wParam == AutosaveTimerId && AutosaveTimer()) ReloadChangedNotepad();
        return 0;
    case WM_SAVE_NOTICE:
        TellSaveNotice(window);
        return 0;
    case WM_HIBERNATE:
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
