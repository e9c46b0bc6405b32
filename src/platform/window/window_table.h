// The windows of this process: classes, the checked window table, the parent/owner relations and
// the z-order of top-level windows. Every other part of the window module works through these.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/handles.h"
#include "core/pixel_memory.h"
#include "core/surface.h"
#include "platform/window.h"

namespace platform {

struct WindowClass {
    std::wstring name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr;
    int window_extra = 0;  // bytes of extra data every window of the class carries
};

struct Window {
    HWND handle = nullptr;
    const WindowClass* window_class = nullptr;
    std::wstring text;
    DWORD style = 0;
    DWORD ex_style = 0;
    UINT_PTR id = 0;  // children only: the control id given as the menu argument
    std::uint64_t serial = 0;  // creation order
    // Top-level: screen coordinates. Child: its parent's client coordinates. The client area is
    // the whole window: there is no frame drawn by the system.
    Rect rect;
    HWND parent = nullptr;  // children only
    HWND owner = nullptr;   // top-level windows only
    std::vector<HWND> children;  // bottom to top
    bool visible = false;
    bool enabled = true;
    bool destroying = false;
    std::vector<std::uint8_t> extra;  // the class's extra bytes
    Rect invalid;  // client coordinates; empty when valid
    bool erase_pending = false;
    // Top-level only: the factor its controls are drawn at; 0 takes its owner's, or the display's.
    int scale = 0;

    // Top-level windows own the pixels their children draw into too.
    PixelMemory pixels;
    Surface surface;
    DirtyRegion dirty;

    bool is_child() const { return (style & WS_CHILD) != 0; }
    bool is_topmost() const { return (ex_style & WS_EX_TOPMOST) != 0; }
};

struct WindowTable {
    HandleTable<Window> windows{HandleKind::Window};
    std::vector<std::unique_ptr<WindowClass>> classes;
    std::vector<HWND> z_order;  // top-level windows, bottom to top; the topmost band last
    std::uint64_t next_serial = 1;
};

WindowTable& window_table();

// The window a handle names, or null for a null, stale or wrong-kind handle. A window being
// destroyed is still found until its WM_DESTROY has run.
Window* find_window(HWND handle);

// A registered class, or one of the platform's own, by name (in any case) or atom.
const WindowClass* find_class(LPCWSTR name_or_atom);
// A class registered so far, without registering any of the platform's own.
const WindowClass* find_registered_class(LPCWSTR name_or_atom);

Window& top_level_of(Window& window);
// The factor at which the window and its controls draw their lines, faces and text.
int scale_of(HWND window);
// The window's client (0, 0) in screen coordinates, and in its top-level window's surface.
POINT client_origin_on_screen(const Window& window);
POINT client_origin_on_surface(const Window& window);
// `inner` is `outer` or lies inside it (a child, a child's child, ...).
bool is_within(HWND inner, HWND outer);
// Visible and so are all its ancestors.
bool shown_on_screen(const Window& window);

// The first-created top-level window without an owner: the application's main window as far as
// the outside world (a request to close, a message from another process) is concerned.
HWND first_unowned_window();

// Moves a top-level window above the others of its band (topmost windows stay above all others),
// and its owned windows above it. A window not yet in the z-order is put in.
void raise_in_z_order(HWND top_level);

// Named top-level windows are visible to other processes of the user while remote access is on.
void announce_to_other_processes(const Window& window);
void withdraw_from_other_processes(const Window& window);

inline Rect rect_from(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT to_RECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace platform
