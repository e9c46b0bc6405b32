// The two cursors there are: none (a pen needs no arrow) and the wait cursor.
#include <memory>

#include "backend/backend.h"
#include "core/handles.h"
#include "platform/window.h"

using namespace platform;

namespace {

struct Cursor {
    CursorShape shape;
};

struct Cursors {
    HandleTable<Cursor> table{HandleKind::Cursor};
    HCURSOR arrow = as_handle<HCURSOR>(table.add(std::make_unique<Cursor>(Cursor{CursorShape::None})));
    HCURSOR wait = as_handle<HCURSOR>(table.add(std::make_unique<Cursor>(Cursor{CursorShape::Wait})));
    HCURSOR current = nullptr;
};

Cursors& cursors() {
    static Cursors c;
    return c;
}

}  // namespace

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    if (instance) return nullptr;  // programs carry no cursors of their own
    if (name == IDC_WAIT) return cursors().wait;
    if (name == IDC_ARROW) return cursors().arrow;
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    Cursors& c = cursors();
    const Cursor* chosen = c.table.find(raw(cursor));
    if (cursor && !chosen) return nullptr;
    if (has_backend()) backend().set_cursor(chosen ? chosen->shape : CursorShape::None);
    const HCURSOR previous = c.current;
    c.current = cursor;
    return previous;
}
