// Device contexts: creation, selection of objects, and their colours and modes.
#include "backend/backend.h"
#include "core/handles.h"
#include "gdi/objects.h"
#include "platform/gdi.h"

using namespace platform;
using namespace platform::gdi;

namespace {

constexpr int kPlainDpi = 96;

// Puts `handle` into a DC's brush or font slot and gives back what was there.
template <class T>
HGDIOBJ swap_selection(std::uintptr_t* slot, std::uintptr_t handle, T* (*find)(std::uintptr_t)) {
    T* next = find(handle);
    if (!next) return nullptr;
    if (T* previous = find(*slot)) --previous->selections;
    ++next->selections;
    const std::uintptr_t previous = *slot;
    *slot = handle;
    return as_handle<HGDIOBJ>(previous);
}

HGDIOBJ select_bitmap(HDC dc_handle, DC* dc, std::uintptr_t handle) {
    Bitmap* next = find_bitmap(handle);
    if (!next || dc->window) return nullptr;
    if (handle == dc->bitmap) return as_handle<HGDIOBJ>(handle);
    // A bitmap belongs to one DC at a time; only the shared default bitmap is everywhere.
    if (next->selected_into != 0) return nullptr;
    if (Bitmap* previous = find_bitmap(dc->bitmap)) previous->selected_into = 0;
    if (!next->stock) next->selected_into = raw(dc_handle);
    const std::uintptr_t previous = dc->bitmap;
    dc->bitmap = handle;
    dc->selected = next;
    ++canvas_generation;
    return as_handle<HGDIOBJ>(previous);
}

COLORREF set_colour(HDC dc_handle, COLORREF DC::*which, COLORREF colour) {
    DC* dc = find_dc(dc_handle);
    if (!dc) return CLR_INVALID;
    const COLORREF previous = dc->*which;
    dc->*which = colour & 0xFFFFFF;
    return previous;
}

COLORREF get_colour(HDC dc_handle, COLORREF DC::*which) {
    const DC* dc = find_dc(dc_handle);
    return dc ? dc->*which : CLR_INVALID;
}

}  // namespace

HDC CreateCompatibleDC(HDC dc) {
    if (dc && !find_dc(dc)) return nullptr;
    return add_dc(std::make_unique<DC>());
}

BOOL DeleteDC(HDC dc) {
    const DC* found = find_dc(dc);
    if (!found || found->window) return FALSE;
    remove_dc(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc_handle, HGDIOBJ object) {
    DC* dc = find_dc(dc_handle);
    if (!dc) return nullptr;
    const std::uintptr_t handle = raw(object);
    switch (kind_of(handle)) {
    case HandleKind::Bitmap: return select_bitmap(dc_handle, dc, handle);
    case HandleKind::Brush: return swap_selection(&dc->brush, handle, find_brush);
    case HandleKind::Font: return swap_selection(&dc->font, handle, find_font);
    default: return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ object) { return remove_object(raw(object)) ? TRUE : FALSE; }

HGDIOBJ GetStockObject(int which) { return as_handle<HGDIOBJ>(stock_brush(which)); }

int GetDeviceCaps(HDC dc_handle, int index) {
    const DC* dc = find_dc(dc_handle);
    if (!dc) return 0;
    switch (index) {
    case HORZRES: return has_backend() ? backend().screen_width() : 0;
    case VERTRES: return has_backend() ? backend().screen_height() : 0;
    case LOGPIXELSY: return kPlainDpi * display_scale();
    default: return 0;
    }
}

COLORREF SetTextColor(HDC dc, COLORREF colour) { return set_colour(dc, &DC::text, colour); }
COLORREF GetTextColor(HDC dc) { return get_colour(dc, &DC::text); }
COLORREF SetBkColor(HDC dc, COLORREF colour) { return set_colour(dc, &DC::background, colour); }
COLORREF GetBkColor(HDC dc) { return get_colour(dc, &DC::background); }

int SetBkMode(HDC dc_handle, int mode) {
    DC* dc = find_dc(dc_handle);
    if (!dc || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    const int previous = dc->background_mode;
    dc->background_mode = mode;
    return previous;
}
