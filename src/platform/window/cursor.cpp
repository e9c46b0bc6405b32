// The cursors: the arrow, the wait cursor and the program's own pictures, and which one shows.
#include "window/cursor.h"

#include <cstdint>
#include <memory>

#include "core/handles.h"
#include "window/window_table.h"

using namespace platform;

namespace {

struct Cursor {
    CursorLook look;
};

struct Cursors {
    HandleTable<Cursor> table{HandleKind::Cursor};
    HCURSOR arrow = as_handle<HCURSOR>(table.add(std::make_unique<Cursor>(Cursor{cursor_shape(CursorLook::Kind::Arrow)})));
    HCURSOR wait = as_handle<HCURSOR>(table.add(std::make_unique<Cursor>(Cursor{cursor_shape(CursorLook::Kind::Wait)})));
    HCURSOR current = nullptr;
    // The look the window under the mouse asks for; shown only while the mouse is what is used.
    CursorLook pointer = cursor_shape(CursorLook::Kind::Arrow);
    bool mouse_in_use = false;
    std::uint64_t pictures_made = 0;
};

Cursors& cursors() {
    static Cursors c;
    return c;
}

void show() {
    Cursors& c = cursors();
    if (!has_backend()) return;
    const Cursor* chosen = c.table.find(raw(c.current));
    if (chosen && chosen->look.kind == CursorLook::Kind::Wait) {
        backend().set_cursor(chosen->look);
    } else if (!c.mouse_in_use) {
        backend().set_cursor(cursor_shape(CursorLook::Kind::Hidden));
    } else {
        backend().set_cursor(chosen ? chosen->look : c.pointer);
    }
}

bool plane_bit(const std::uint8_t* plane, int row_bytes, int x, int y) {
    return (plane[static_cast<std::size_t>(y) * row_bytes + x / 8] >> (7 - x % 8)) & 1;
}

}  // namespace

namespace platform {

void pointer_seen(PointerSource source, HWND window) {
    Cursors& c = cursors();
    c.mouse_in_use = source == PointerSource::Mouse;
    const Window* w = find_window(window);
    const Cursor* own = w ? c.table.find(raw(w->window_class->cursor)) : nullptr;
    c.pointer = own ? own->look : cursor_shape(CursorLook::Kind::Arrow);
    // A cursor set for a moment lasts until the mouse moves on, as the window under it decides then.
    if (const Cursor* set = c.table.find(raw(c.current)); set && set->look.kind != CursorLook::Kind::Wait)
        c.current = nullptr;
    show();
}

}  // namespace platform

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    if (instance) return nullptr;  // programs carry no cursors of their own
    if (name == IDC_WAIT) return cursors().wait;
    if (name == IDC_ARROW) return cursors().arrow;
    return nullptr;
}

HCURSOR CreateCursor(HINSTANCE, int hotX, int hotY, int width, int height, const void* andPlane,
                     const void* xorPlane) {
    constexpr int kLargestCursor = 256;
    if (width <= 0 || height <= 0 || width > kLargestCursor || height > kLargestCursor || !andPlane || !xorPlane ||
        hotX < 0 || hotY < 0 || hotX >= width || hotY >= height)
        return nullptr;
    const int row_bytes = (width + 15) / 16 * 2;
    const auto* and_bits = static_cast<const std::uint8_t*>(andPlane);
    const auto* xor_bits = static_cast<const std::uint8_t*>(xorPlane);
    CursorLook look{CursorLook::Kind::Picture, width, height, hotX, hotY, {}, ++cursors().pictures_made};
    look.pixels.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool keep = plane_bit(and_bits, row_bytes, x, y);
            const bool flip = plane_bit(xor_bits, row_bytes, x, y);
            look.pixels.push_back(keep && !flip ? 0x00000000u : (!keep && flip ? 0xFFFFFFFFu : 0xFF000000u));
        }
    }
    return as_handle<HCURSOR>(cursors().table.add(std::make_unique<Cursor>(Cursor{std::move(look)})));
}

BOOL DestroyCursor(HCURSOR cursor) {
    Cursors& c = cursors();
    const Cursor* found = c.table.find(raw(cursor));
    if (!found || found->look.kind != CursorLook::Kind::Picture) return FALSE;
    if (c.current == cursor) c.current = nullptr;
    c.table.remove(raw(cursor));
    return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
    Cursors& c = cursors();
    if (cursor && !c.table.find(raw(cursor))) return nullptr;
    const HCURSOR previous = c.current;
    c.current = cursor;
    show();
    return previous;
}
