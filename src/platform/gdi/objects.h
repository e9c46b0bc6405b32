// The drawing objects behind the handles: device contexts, bitmaps, brushes and fonts, each kind in
// its own checked table. Stock objects live in the same tables but are permanent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/geometry.h"
#include "core/handles.h"
#include "core/pixel_memory.h"
#include "core/surface.h"
#include "platform/gdi.h"

namespace platform::gdi {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

// Pixel memory is capped so that a hostile header cannot ask for more than a notepad could use.
constexpr std::int64_t kMaxPixelBytes = std::int64_t{512} << 20;

struct Bitmap {
    PixelMemory pixels;
    Surface surface;
    bool dib = false;
    BITMAPINFOHEADER header{};              // a DIB section's header as its creator gave it
    // 1-bit images: the colours of bit 0 and bit 1. A DIB section keeps its creator's table, so a
    // white-first table makes white (WHITENESS, a white brush) the 0 bit.
    COLORREF palette[2] = {kBlack, kWhite};
    std::uintptr_t selected_into = 0;        // the DC holding it, 0 when free
    bool stock = false;
    // Moves on at every drawing call into the bitmap, so that what was learnt of its pixels (a pen
    // stamp's being all one value) is known to still hold. A DIB section's creator writes its pixels
    // without a call, so for those it says nothing.
    std::uint64_t writes = 0;
};

struct Brush {
    COLORREF colour = kWhite;
    bool hollow = false;
    int selections = 0;
    bool stock = false;
};

struct Font {
    LOGFONTW logfont{};
    int selections = 0;
    bool stock = false;
};

// Where a device context draws: the pixels, where its (0, 0) lies on them and what it may touch.
struct Canvas {
    Surface surface;
    int origin_x = 0;  // the DC's (0, 0) in surface coordinates
    int origin_y = 0;
    Rect clip;         // surface coordinates
    Rect dc_clip;      // the same in the DC's coordinates
    DirtyRegion* dirty = nullptr;
    bool window = false;
    const COLORREF* palette = nullptr;  // 1-bit bitmaps: the colours of bit 0 and bit 1
    Bitmap* bitmap = nullptr;           // memory DCs: the bitmap they draw into

    // Whether the DC rectangle (x, y, w, h), sizes not negative, lies wholly inside the clip. Once
    // x and y are inside, the differences cannot overflow.
    bool holds(int x, int y, int w, int h) const {
        return x >= dc_clip.left && y >= dc_clip.top && w <= dc_clip.right - x && h <= dc_clip.bottom - y;
    }
};

// Moves on at every change that can move where any DC draws: a bitmap selected, a DC deleted, a
// window that appears, goes, moves, shows, hides or gets new pixels. A canvas resolved while it stays the
// same still holds.
extern std::uint64_t canvas_generation;

struct DC {
    bool window = false;       // a window's DC (dc_open_window) rather than a memory DC
    HWND hwnd = nullptr;       // window DCs: null for the screen's DC, which draws nothing
    bool clipped = false;      // window DCs: `clip` (client coordinates) limits drawing
    Rect clip;
    // Where the DC drew at canvas generation `resolved_at` (0: not yet looked up), and whether it
    // had anything to draw on. A stroke stamps dozens of times a move into the same two DCs.
    mutable std::uint64_t resolved_at = 0;
    mutable bool drawable = false;
    mutable Canvas canvas;
    std::uintptr_t bitmap = 0;  // memory DCs: the selected bitmap
    // ... and the bitmap itself, which cannot be deleted while selected: every stroke point draws
    // into a memory DC, and this spares a table lookup each time.
    Bitmap* selected = nullptr;
    std::uintptr_t brush = 0;
    std::uintptr_t font = 0;
    COLORREF text = kBlack;
    COLORREF background = kWhite;
    int background_mode = OPAQUE;
};

// A zero-filled bitmap, or null when the size is not positive, too large or memory is short.
std::unique_ptr<Bitmap> make_bitmap(int width, int height, PixelFormat format);

HDC add_dc(std::unique_ptr<DC> dc);  // selects the default brush, font and (memory DCs) bitmap
HBITMAP add_bitmap(std::unique_ptr<Bitmap> bitmap);
HBRUSH add_brush(std::unique_ptr<Brush> brush);
HFONT add_font(std::unique_ptr<Font> font);

// Every drawing call looks its device contexts and their bitmaps up, several times a stroke point:
// these two lookups are inline.
extern HandleTable<DC> dc_table;
extern HandleTable<Bitmap> bitmap_table;
inline DC* find_dc(HDC dc) { return dc_table.find(raw(dc)); }
inline Bitmap* find_bitmap(std::uintptr_t handle) { return bitmap_table.find(handle); }
Brush* find_brush(std::uintptr_t handle);
Font* find_font(std::uintptr_t handle);

// Takes a DC out of its table and drops what it holds selected.
void remove_dc(HDC dc);
// Deletes a bitmap, brush or font. Stock objects stay and count as deleted; an object still
// selected into a DC and a bad handle give false.
bool remove_object(std::uintptr_t handle);

std::uintptr_t stock_brush(int which);  // 0 for an index that names no stock brush

}  // namespace platform::gdi
