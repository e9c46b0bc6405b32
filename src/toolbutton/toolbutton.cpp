#include "toolbutton/toolbutton.h"

#include <cstdlib>

#include "notepad/notepad.h"
#include "shared/globals.h"

HWND ToolButton = nullptr;
bool ButtonPressed = false;
UINT_PTR HoldTimer = 0;

namespace {

constexpr LPCWSTR ToolButtonClass = L"MenuWindowClass";
constexpr UINT_PTR HoldTimerId = 1;
constexpr UINT HoldMilliseconds = 400;
// Pure blue: no face uses it, so every face is drawn whole.
constexpr COLORREF TransparentColour = 0x00FF0000;

// The faces, owned by the window from WM_CREATE to WM_DESTROY, and their size as read from the
// pen face.
HBITMAP PenFace = nullptr;
HBITMAP PenPressedFace = nullptr;
HBITMAP EraserFace = nullptr;
HBITMAP EraserPressedFace = nullptr;
int ButtonWidth = 0;
int ButtonHeight = 0;
// Where the wait for a hold last started. A finger is never quite still: moves that stay within
// the drag distance of this point do not start the wait again, or a hold might never complete.
POINT HoldPoint = {0, 0};

void DrawFace(HDC context, HBITMAP face) {
    TransparentImage(context, 0, 0, ButtonWidth, ButtonHeight, face, 0, 0, ButtonWidth, ButtonHeight,
                     TransparentColour);
}

POINT PointOf(LPARAM position) { return {LOWORD(position), HIWORD(position)}; }

// Strict on both sides: the leftmost column and the top row count as outside.
bool IsInside(LPARAM position) {
    const POINT point = PointOf(position);
    return 0 < point.x && point.x < ButtonWidth && 0 < point.y && point.y < ButtonHeight;
}

bool IsWithinDragDistance(LPARAM position) {
    const POINT point = PointOf(position);
    return std::abs(point.x - HoldPoint.x) <= GetSystemMetrics(SM_CXDRAG) &&
           std::abs(point.y - HoldPoint.y) <= GetSystemMetrics(SM_CYDRAG);
}

void OnCreate(HWND window) {
    PenFace = LoadBitmapW(AppInstance, MAKEINTRESOURCEW(IDB_PEN));
    PenPressedFace = LoadBitmapW(AppInstance, MAKEINTRESOURCEW(IDB_PEN_PRESSED));
    EraserFace = LoadBitmapW(AppInstance, MAKEINTRESOURCEW(IDB_ERASER));
    EraserPressedFace = LoadBitmapW(AppInstance, MAKEINTRESOURCEW(IDB_ERASER_PRESSED));
    BITMAP size{};
    GetObjectW(PenFace, sizeof size, &size);
    ButtonWidth = size.bmWidth;
    ButtonHeight = size.bmHeight;
    MoveWindow(window, PageWidth - ButtonWidth - 1, 1, ButtonWidth, ButtonHeight, TRUE);
}

void OnDestroy() {
    DeleteObject(PenFace);
    DeleteObject(EraserFace);
    DeleteObject(PenPressedFace);
    DeleteObject(EraserPressedFace);
}

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    DrawFace(context, DrawMode == DRAW_PEN ? PenFace : EraserFace);
    EndPaint(window, &paint);
}

// Starts, or starts again, the wait for a hold.
void OnPress(HWND window, LPARAM position) {
    HoldPoint = PointOf(position);
    ButtonPressed = true;
    SetCapture(window);
    HDC context = GetDC(window);
    DrawFace(context, DrawMode == DRAW_PEN ? PenPressedFace : EraserPressedFace);
    ReleaseDC(window, context);
    if (HoldTimer) KillTimer(window, HoldTimerId);
    HoldTimer = SetTimer(window, HoldTimerId, HoldMilliseconds, nullptr);
}

void OnMove(HWND window, LPARAM position) {
    if (IsInside(position)) {
        // A wait already running goes on through jitter.
        if (ButtonPressed && !(HoldTimer && IsWithinDragDistance(position))) {
            SendMessageW(window, WM_LBUTTONDOWN, 0, 0);
            // That press carries no position; the wait starts again from here.
            HoldPoint = PointOf(position);
        }
        return;
    }
    // Away from the button the press is kept, with the normal face, until the stylus comes back
    // or lifts.
    KillTimer(window, HoldTimerId);
    HoldTimer = 0;
    InvalidateRect(window, nullptr, TRUE);
}

void OnHold(HWND window) {
    ButtonPressed = false;
    ReleaseCapture();
    KillTimer(window, HoldTimerId);
    HoldTimer = 0;
    PostMessageW(GetParent(window), WM_APP, 0, 0);
    InvalidateRect(window, nullptr, TRUE);
}

void OnRelease(HWND window, LPARAM position) {
    ReleaseCapture();
    // After a hold the lift changes nothing.
    if (!ButtonPressed) return;
    ButtonPressed = false;
    if (HoldTimer) KillTimer(window, HoldTimerId);
    HoldTimer = 0;
    if (IsInside(position)) {
        DrawMode = DrawMode == DRAW_PEN ? DRAW_ERASER : DRAW_PEN;
        PlaySoundW(L"MenuPop.wav", nullptr, SND_FILENAME);
    }
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

int CreateToolButton(HWND parent, HINSTANCE instance) {
    WNDCLASSW buttonClass = {};
    buttonClass.style = CS_NOCLOSE | CS_HREDRAW | CS_VREDRAW;
    buttonClass.lpfnWndProc = ToolButtonProc;
    buttonClass.hInstance = instance;
    buttonClass.lpszClassName = ToolButtonClass;
    RegisterClassW(&buttonClass);
    ToolButton = CreateWindowExW(0, ToolButtonClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr,
                                 instance, nullptr);
    return 0;
}

LRESULT ToolButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_LBUTTONDOWN:
        OnPress(window, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMove(window, lParam);
        return 0;
    case WM_TIMER:
        OnHold(window);
        return 0;
    case WM_LBUTTONUP:
        OnRelease(window, lParam);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void ShowToolButton() {
    ShowWindow(ToolButton, SW_SHOW);
    UpdateWindow(ToolButton);
}

void HideToolButton() {
    RECT area{};
    GetWindowRect(ToolButton, &area);
    ShowWindow(ToolButton, SW_HIDE);
    RepaintFromImage(area.left, area.top, area.right, area.bottom);
}
