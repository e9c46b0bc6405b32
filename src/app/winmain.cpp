#include "app/app.h"
#include "notepad/autosave.h"
#include "notepad/notepad.h"

HINSTANCE AppInstance = nullptr;
HWND MainWindow = nullptr;
int PageWidth = 0;
int PageHeight = 0;

namespace {

constexpr LPCWSTR MainWindowClass = L"Main Window";
constexpr LPCWSTR MainWindowName = L"Scrivo";

// With the low bit set, the window comes to the foreground together with its owned windows (an
// open dialog or message box).
HWND WithOwnedWindows(HWND window) {
    return reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(window) | 1);
}

}  // namespace

void GetScreenSize(int* width, int* height) {
    HDC screen = GetDC(nullptr);
    *width = GetDeviceCaps(screen, HORZRES);
    *height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
}

void RefreshDesktop() {
    HWND desktop = FindWindowW(nullptr, L"Desktop");
    if (desktop) UpdateWindow(desktop);
}

void CreateMainWindow(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = MainWindowClass;
    RegisterClassW(&windowClass);

    GetScreenSize(&PageWidth, &PageHeight);
    MainWindow = CreateWindowExW(0, MainWindowClass, MainWindowName, WS_VISIBLE, 0, 0, PageWidth, PageHeight, nullptr,
                                 nullptr, instance, nullptr);
    SHFullScreen(MainWindow, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON);
    RefreshDesktop();
}

int WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    HWND running = FindWindowW(MainWindowClass, MainWindowName);
    if (running) {
        SetForegroundWindow(WithOwnedWindows(running));
        return 0;
    }
    AppInstance = instance;
    CreateMainWindow(instance);
    if (!MainWindow) return 0;
    if (!InitNotepad(MainWindow, AppInstance)) {
        DestroyWindow(MainWindow);
        return 1;
    }

    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        KeepAutosaveArmed();
    }
    return static_cast<int>(message.wParam);
}
