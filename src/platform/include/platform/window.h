// Windows, messages, painting, timers, capture, focus and the keyboard.
#pragma once

#include "platform/types.h"

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};

struct CREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};

// Messages.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
// Asks for a window's context menu: a right button's release (wParam the window, lParam the point
// on the screen) or the Menu key (lParam -1), from DefWindowProcW, which passes a child's on to
// its parent.
constexpr UINT WM_CONTEXTMENU = 0x007B;
// The press in progress is over without a release: the window forgets what it began.
constexpr UINT WM_CANCELMODE = 0x001F;
// Several fingers tapped at once: wParam says how (GID_...), lParam is the first finger's point
// on the screen.
constexpr UINT WM_GESTURE = 0x0119;
constexpr WPARAM GID_TWOFINGERTAP = 6;
// Our own: three fingers at once has no older id.
constexpr WPARAM GID_THREEFINGERTAP = 0x0100;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_KEYLAST = 0x0109;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
// The mouse's right button and wheel: never the stylus.
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOUSELAST = 0x020A;
constexpr UINT WM_HIBERNATE = 0x03FF;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// WM_ACTIVATE states.
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;

// Mouse buttons held, in the wParam of mouse messages.
constexpr WPARAM MK_RBUTTON = 0x0002;

// The wheel's turn in the high word of WM_MOUSEWHEEL's wParam: WHEEL_DELTA a notch, positive away
// from the user.
constexpr short WHEEL_DELTA = 120;
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<short>(HIWORD(w)); }

// A pointer message's position: 16-bit signed coordinates, negative left of or above the client area.
constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<short>(LOWORD(static_cast<std::uintptr_t>(l))); }
constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<short>(HIWORD(static_cast<std::uintptr_t>(l))); }

// Virtual keys.
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_CLEAR = 0x0C;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_APPS = 0x5D;  // the Menu key
constexpr int VK_NUMPAD0 = 0x60;  // to VK_NUMPAD9 = 0x69
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_F1 = 0x70;
// A key message that carries typed text rather than a key: the character is in bits 32 and up of
// lParam, and TranslateMessage makes the WM_CHAR for it.
constexpr int VK_PACKET = 0xE7;

// GetSystemMetrics.
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;

// Class and window styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
// Takes Close away from a window's system menu; no window here has one, so it changes nothing.
constexpr UINT CS_NOCLOSE = 0x0200;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
// A window that is never made active, a tap on it included: a bar that serves the active window.
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;
// Above every window without it: popup menus, lists that drop down, the navigation bar.
constexpr DWORD WS_EX_TOPMOST = 0x00000008;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;  // shown without being activated

// GetWindow relations.
constexpr UINT GW_OWNER = 4;

// PeekMessage flags.
constexpr UINT PM_REMOVE = 0x0001;

// Cursors.
inline LPCWSTR IDC_ARROW = MAKEINTRESOURCEW(32512);
inline LPCWSTR IDC_WAIT = MAKEINTRESOURCEW(32514);

// SetClassLongPtrW: the cursor shown while a mouse is over the class's windows (null: the arrow).
constexpr int GCLP_HCURSOR = -12;

// GetMessageExtraInfo of a pointer message: 0 for a mouse; for a pen or a touch the signature in the
// bits SIGNATURE_MASK covers, with MI_FROM_TOUCH set for a touch and MI_PEN_ERASER for the pen's
// eraser end.
constexpr LPARAM MI_WP_SIGNATURE = 0xFF515700;
constexpr LPARAM SIGNATURE_MASK = 0xFFFFFF00;
constexpr LPARAM MI_FROM_TOUCH = 0x80;
constexpr LPARAM MI_PEN_ERASER = 0x01;

// GetWindowLongPtrW and SetWindowLongPtrW: these, or an offset into the class's extra bytes.
constexpr int GWL_STYLE = -16;

ATOM RegisterClassW(const WNDCLASSW* wndClass);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL IsWindow(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL IsWindowEnabled(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
// A child's parent; a popup's owner.
HWND GetParent(HWND window);
HWND GetWindow(HWND window, UINT relation);
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
BOOL SetForegroundWindow(HWND window);
HWND GetActiveWindow();
HWND SetFocus(HWND window);
HWND GetFocus();
BOOL SetWindowTextW(HWND window, LPCWSTR text);
int GetWindowTextW(HWND window, LPWSTR buffer, int capacity);
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrW(HWND window, int index);
int GetDlgCtrlID(HWND window);
// The child of `parent` with that control id.
HWND GetDlgItem(HWND parent, int id);

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL GetMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
BOOL PeekMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Makes the WM_CHAR of a key message that types a character: typed text (VK_PACKET), Enter, Escape,
// Backspace and Tab.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND window, UINT_PTR id);

HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

short GetAsyncKeyState(int virtualKey);

// How far a press may wander before it counts as a drag (it grows with the display's scale, as a
// finger does not shrink on a denser screen).
int GetSystemMetrics(int index);

// The extra information of the input message last retrieved: where a pointer message came from.
LPARAM GetMessageExtraInfo();

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
// A cursor of two 1-bit planes of `width` × `height`, rows padded to 16 bits, first bit leftmost:
// AND 1 with XOR 0 is transparent, AND 0 paints black (XOR 0) or white (XOR 1); AND 1 with XOR 1
// (inverting) shows as black.
HCURSOR CreateCursor(HINSTANCE instance, int hotX, int hotY, int width, int height, const void* andPlane,
                     const void* xorPlane);
BOOL DestroyCursor(HCURSOR cursor);
// The cursor shown until the next pointer move, or until it is set again; IDC_WAIT shows to
// everyone, any other only to a mouse (a pen or a finger needs no pointer).
HCURSOR SetCursor(HCURSOR cursor);
ULONG_PTR SetClassLongPtrW(HWND window, int index, LONG_PTR value);
