#include "gdi/objects.h"

#include "core/handles.h"
#include "platform/system.h"
#include "testing.h"

namespace platform::gdi {

// Defined before the other tables, which put the stock bitmap into this one as they start.
HandleTable<DC> dc_table{HandleKind::DC};
HandleTable<Bitmap> bitmap_table{HandleKind::Bitmap};

namespace {

struct Tables {
    HandleTable<DC>& dcs = dc_table;
    HandleTable<Bitmap>& bitmaps = bitmap_table;
    HandleTable<Brush> brushes{HandleKind::Brush};
    HandleTable<Font> fonts{HandleKind::Font};
    std::uintptr_t default_bitmap = 0;
    std::uintptr_t default_font = 0;
    std::uintptr_t stock_brushes[NULL_BRUSH + 1] = {};
    std::size_t stock_count = 0;

    Tables() {
        // Every new memory DC holds this 1×1 monochrome bitmap until the program selects its own.
        auto bitmap = make_bitmap(1, 1, PixelFormat::Mono1);
        bitmap->stock = true;
        default_bitmap = bitmaps.add(std::move(bitmap));

        auto font = std::make_unique<Font>();
        font->logfont.lfHeight = 16;
        font->logfont.lfWeight = FW_NORMAL;
        font->stock = true;
        default_font = fonts.add(std::move(font));

        const COLORREF greys[] = {kWhite, 0xC0C0C0, 0x808080, 0x404040, kBlack};
        for (int i = 0; i <= NULL_BRUSH; ++i) {
            auto brush = std::make_unique<Brush>();
            brush->stock = true;
            if (i == NULL_BRUSH)
                brush->hollow = true;
            else
                brush->colour = greys[i];
            stock_brushes[i] = brushes.add(std::move(brush));
        }
        stock_count = bitmaps.live() + fonts.live() + brushes.live();
    }
};

// At namespace scope rather than behind a function's first-use guard: every drawing call looks
// handles up here, several times.
Tables all_tables;

Tables& tables() { return all_tables; }

template <class T, class InUse>
bool remove_unused(HandleTable<T>& table, std::uintptr_t handle, InUse in_use) {
    const T* object = table.find(handle);
    if (!object) return false;
    if (object->stock) return true;
    if (in_use(*object)) return false;
    table.remove(handle);
    return true;
}

std::int64_t pixel_memory_limit = kMaxPixelBytes;

}  // namespace

std::unique_ptr<Bitmap> make_bitmap(int width, int height, PixelFormat format) {
    if (width <= 0 || height <= 0) return nullptr;
    const std::int64_t stride = format == PixelFormat::Mono1 ? mono_stride(width) : std::int64_t{width} * 4;
    const std::int64_t bytes = stride * height;
    auto bitmap = std::make_unique<Bitmap>();
    if (stride <= pixel_memory_limit && bytes <= pixel_memory_limit)
        bitmap->pixels = allocate_pixels(static_cast<std::size_t>(bytes));
    if (!bitmap->pixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bitmap->surface = {width, height, format, static_cast<int>(stride), bitmap->pixels.get()};
    return bitmap;
}

HDC add_dc(std::unique_ptr<DC> dc) {
    Tables& t = tables();
    dc->brush = t.stock_brushes[WHITE_BRUSH];
    dc->font = t.default_font;
    if (!dc->window) {
        dc->bitmap = t.default_bitmap;
        dc->selected = t.bitmaps.find(t.default_bitmap);
    }
    return as_handle<HDC>(t.dcs.add(std::move(dc)));
}

HBITMAP add_bitmap(std::unique_ptr<Bitmap> bitmap) { return as_handle<HBITMAP>(tables().bitmaps.add(std::move(bitmap))); }
HBRUSH add_brush(std::unique_ptr<Brush> brush) { return as_handle<HBRUSH>(tables().brushes.add(std::move(brush))); }
HFONT add_font(std::unique_ptr<Font> font) { return as_handle<HFONT>(tables().fonts.add(std::move(font))); }

Brush* find_brush(std::uintptr_t handle) { return tables().brushes.find(handle); }
Font* find_font(std::uintptr_t handle) { return tables().fonts.find(handle); }

void remove_dc(HDC handle) {
    Tables& t = tables();
    DC* dc = t.dcs.find(raw(handle));
    if (!dc) return;
    if (Bitmap* bitmap = t.bitmaps.find(dc->bitmap); bitmap && bitmap->selected_into == raw(handle))
        bitmap->selected_into = 0;
    if (Brush* brush = t.brushes.find(dc->brush)) --brush->selections;
    if (Font* font = t.fonts.find(dc->font)) --font->selections;
    t.dcs.remove(raw(handle));
    // What was found for the DC is kept by handle, not only in the DC.
    ++canvas_generation;
}

bool remove_object(std::uintptr_t handle) {
    Tables& t = tables();
    switch (kind_of(handle)) {
    case HandleKind::Bitmap:
        return remove_unused(t.bitmaps, handle, [](const Bitmap& b) { return b.selected_into != 0; });
    case HandleKind::Brush:
        return remove_unused(t.brushes, handle, [](const Brush& b) { return b.selections > 0; });
    case HandleKind::Font:
        return remove_unused(t.fonts, handle, [](const Font& f) { return f.selections > 0; });
    default:
        return false;
    }
}

std::uintptr_t stock_brush(int which) {
    if (which < 0 || which > NULL_BRUSH) return 0;
    return tables().stock_brushes[which];
}

}  // namespace platform::gdi

namespace platform {

void set_pixel_memory_limit(std::int64_t bytes) {
    gdi::pixel_memory_limit = bytes < gdi::kMaxPixelBytes ? bytes : gdi::kMaxPixelBytes;
}

std::size_t gdi_live_objects() {
    const gdi::Tables& t = gdi::tables();
    return t.dcs.live() + t.bitmaps.live() + t.brushes.live() + t.fonts.live() - t.stock_count;
}

}  // namespace platform
