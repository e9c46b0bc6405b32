// Pen stamps: every stroke point copies a small 1-bit block onto the screen and into the notepad
// image, always between the same two pairs of device contexts.
#pragma once

#include "platform/gdi.h"

namespace platform::gdi {

// Any block copy between two DCs, what BitBlt does for all but a stamp.
BOOL copy_blocks(HDC target, int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop);

// A plain copy (SRCCOPY) of the w × h block at (sx, sy) of `source`, a 1-bit image, onto (x, y) of
// `target`, when the block lies wholly inside both DCs' clips and `target` is a 32-bit surface or
// another 1-bit image whose rows it can take one word at a time. Any other block goes on to
// `copy_blocks`, from here rather than from the caller, which then keeps nothing across the call.
// Its first eight arguments are BitBlt's, so that BitBlt passes them on as they lie.
BOOL copy_stamp(HDC target, int x, int y, int w, int h, HDC source, int sx, int sy);

}  // namespace platform::gdi
