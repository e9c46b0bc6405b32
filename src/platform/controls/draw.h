// The drawing every control shares: plain fills, frames, 3-D edges, button faces and focus marks,
// in the platform's grey scheme. Sizes are device pixels; `line` is the width of a line at the
// display's scale.
#pragma once

#include "platform/gdi.h"

namespace platform::draw {

constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kLight = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kDark = RGB(0, 0, 0);

// The width of a line in the window: one pixel a step of its scale.
int line_width(HWND window);

RECT inset(const RECT& r, int by);

void fill(HDC dc, const RECT& r, COLORREF colour);

// An outline `line` wide just inside `r`.
void frame(HDC dc, const RECT& r, COLORREF colour, int line);

// A raised edge is light at the top and left and dark at the bottom and right; a sunken one the
// other way round.
enum class Edge { Raised, Sunken };
void edge(HDC dc, const RECT& r, Edge kind, int line);

// A push button's face: framed in black (twice as thick for the default button), raised, or
// sunken while pressed. Gives the area left for the label.
RECT button_face(HDC dc, const RECT& r, bool pressed, bool is_default, int line);

// The dotted outline that shows which control has the keyboard focus.
void focus_mark(HDC dc, const RECT& r, int line);

}  // namespace platform::draw
