#include "controls/draw.h"

#include "window/window_table.h"

namespace platform::draw {

int line_width(HWND window) { return scale_of(window); }

RECT inset(const RECT& r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

void fill(HDC dc, const RECT& r, COLORREF colour) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    const HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void frame(HDC dc, const RECT& r, COLORREF colour, int line) {
    fill(dc, {r.left, r.top, r.right, r.top + line}, colour);
    fill(dc, {r.left, r.bottom - line, r.right, r.bottom}, colour);
    fill(dc, {r.left, r.top + line, r.left + line, r.bottom - line}, colour);
    fill(dc, {r.right - line, r.top + line, r.right, r.bottom - line}, colour);
}

void edge(HDC dc, const RECT& r, Edge kind, int line) {
    const COLORREF top_left = kind == Edge::Raised ? kLight : kShadow;
    const COLORREF bottom_right = kind == Edge::Raised ? kShadow : kLight;
    fill(dc, {r.left, r.top, r.right - line, r.top + line}, top_left);
    fill(dc, {r.left, r.top + line, r.left + line, r.bottom - line}, top_left);
    fill(dc, {r.left, r.bottom - line, r.right, r.bottom}, bottom_right);
    fill(dc, {r.right - line, r.top, r.right, r.bottom - line}, bottom_right);
}

RECT button_face(HDC dc, const RECT& r, bool pressed, bool is_default, int line) {
    const int border = is_default ? 2 * line : line;
    frame(dc, r, kDark, border);
    const RECT face = inset(r, border);
    fill(dc, face, kFace);
    if (pressed) {
        frame(dc, face, kShadow, line);
    } else {
        edge(dc, face, Edge::Raised, line);
    }
    RECT label = inset(face, line);
    // A pressed label moves down and right, as if pushed in.
    if (pressed) label = {label.left + line, label.top + line, label.right + line, label.bottom + line};
    return label;
}

void focus_mark(HDC dc, const RECT& r, int line) {
    const HBRUSH brush = CreateSolidBrush(kDark);
    const auto dot = [&](int x, int y) {
        const RECT d{x, y, x + line, y + line};
        FillRect(dc, &d, brush);
    };
    for (int x = r.left; x + line <= r.right; x += 2 * line) {
        dot(x, r.top);
        dot(x, r.bottom - line);
    }
    for (int y = r.top + 2 * line; y + line <= r.bottom - line; y += 2 * line) {
        dot(r.left, y);
        dot(r.right - line, y);
    }
    DeleteObject(brush);
}

}  // namespace platform::draw
