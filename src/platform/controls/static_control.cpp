// STATIC: text, or a picture from the resources (SS_BITMAP, SS_ICON), on the brush its dialog
// answers WM_CTLCOLORSTATIC with.
#include <string>

#include "backend/backend.h"
#include "controls/control_kit.h"
#include "controls/control_state.h"
#include "gdi/bmp_decode.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/window.h"
#include "system/resources.h"
#include "window/window_table.h"

namespace platform {
namespace {

struct StaticState {
    HFONT font = nullptr;
    HBITMAP picture = nullptr;
    bool icon = false;
};

DWORD kind_of(const Window& w) { return w.style & SS_TYPEMASK; }

// "#124" names resource 124.
LPCWSTR resource_name(const std::wstring& text) {
    if (text.size() < 2 || text[0] != L'#') return text.c_str();
    unsigned id = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9' || (id = id * 10 + static_cast<unsigned>(text[i] - L'0')) > 0xFFFF)
            return text.c_str();
    }
    return MAKEINTRESOURCEW(static_cast<WORD>(id));
}

// A picture of the resources; an icon's black stands for "nothing here".
HBITMAP load_picture(LPCWSTR name, LPCWSTR type) {
    const ResourceEntry* entry = find_resource(name, LOWORD(reinterpret_cast<std::uintptr_t>(type)));
    if (!entry) return nullptr;
    auto bitmap = gdi::decode_bmp(entry->data, entry->size);
    return bitmap ? gdi::add_bitmap(std::move(bitmap)) : nullptr;
}

void take_picture(HWND window, StaticState& s) {
    const Window* w = find_window(window);
    if (!w || (kind_of(*w) != SS_BITMAP && kind_of(*w) != SS_ICON)) return;
    s.icon = kind_of(*w) == SS_ICON;
    const LPCWSTR name = resource_name(w->text);
    s.picture = load_picture(name, s.icon ? RT_GROUP_ICON : RT_BITMAP);
    BITMAP info{};
    if (!s.picture || !GetObjectW(s.picture, sizeof info, &info)) return;
    // The control takes the picture's size, enlarged with its dialog, as a picture static does.
    const int scale = scale_of(window);
    MoveWindow(window, w->rect.left, w->rect.top, info.bmWidth * scale, info.bmHeight * scale, TRUE);
}

void paint(HWND window, StaticState& s) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    const Window* w = find_window(window);
    if (dc && w) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, control_brush(GetParent(window), WM_CTLCOLORSTATIC, dc));
        if (s.picture) {
            BITMAP info{};
            GetObjectW(s.picture, sizeof info, &info);
            if (s.icon)
                TransparentImage(dc, 0, 0, client.right, client.bottom, s.picture, 0, 0, info.bmWidth, info.bmHeight,
                                 RGB(0, 0, 0));
            else if (const HDC source = CreateCompatibleDC(dc)) {
                const HGDIOBJ old = SelectObject(source, s.picture);
                StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
                SelectObject(source, old);
                DeleteDC(source);
            }
        } else if (kind_of(*w) != SS_BITMAP && kind_of(*w) != SS_ICON) {
            const HGDIOBJ old = s.font ? SelectObject(dc, s.font) : nullptr;
            DrawTextW(dc, w->text.c_str(), -1, &client,
                      DT_LEFT | DT_WORDBREAK | ((w->style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
            if (old) SelectObject(dc, old);
        }
    }
    EndPaint(window, &ps);
}

}  // namespace

LRESULT static_proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        take_picture(window, create_control_state<StaticState>(window));
        return 0;
    }
    StaticState* s = control_state<StaticState>(window);
    if (!s) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        DeleteObject(s->picture);
        free_control_state<StaticState>(window);
        return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (lParam) InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_PAINT:
        paint(window, *s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace platform
