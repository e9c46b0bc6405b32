// Bitmaps: DIB sections, compatible bitmaps, bitmaps from the built-in resources, and their
// descriptions.
#include <climits>
#include <cstring>

#include "backend/backend.h"
#include "core/handles.h"
#include "gdi/bmp_decode.h"
#include "gdi/objects.h"
#include "platform/gdi.h"
#include "platform/system.h"
#include "system/module.h"
#include "system/resources.h"

using namespace platform;
using namespace platform::gdi;

namespace {

COLORREF colour_of(const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); }

// A 32-bit picture `factor` times as wide and high, each pixel repeated so that edges stay crisp.
std::unique_ptr<Bitmap> enlarged(const Bitmap& source, int factor) {
    const Surface& from = source.surface;
    const std::int64_t width = std::int64_t{from.width} * factor;
    const std::int64_t height = std::int64_t{from.height} * factor;
    if (width > INT_MAX || height > INT_MAX) return nullptr;
    auto bitmap = make_bitmap(static_cast<int>(width), static_cast<int>(height), PixelFormat::Rgb32);
    if (!bitmap) return nullptr;
    const Surface& to = bitmap->surface;
    for (int y = 0; y < to.height; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(from.row(y / factor));
        auto* out = reinterpret_cast<std::uint32_t*>(to.row(y));
        for (int x = 0; x < to.width; ++x) out[x] = in[x / factor];
    }
    return bitmap;
}

}  // namespace

// Only what the notepad needs is accepted: bottom-up 1-bit images with the plain 40-byte header.
// The colour table is read as RGBQUAD entries whatever `usage` says, since the program passes
// colours with DIB_PAL_COLORS and there is no palette to index here.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
    if (bits) *bits = nullptr;
    if ((dc && !find_dc(dc)) || !info || section) return nullptr;
    if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biBitCount != 1 ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight <= 0 || header.biClrUsed > 2)
        return nullptr;
    auto bitmap = make_bitmap(header.biWidth, header.biHeight, PixelFormat::Mono1);
    if (!bitmap) return nullptr;
    bitmap->dib = true;
    bitmap->header = header;
    bitmap->header.biSizeImage = static_cast<DWORD>(bitmap->surface.stride) * static_cast<DWORD>(header.biHeight);
    const DWORD entries = header.biClrUsed == 0 ? 2 : header.biClrUsed;
    const auto* table = reinterpret_cast<const std::uint8_t*>(info) + sizeof(BITMAPINFOHEADER);
    for (DWORD i = 0; i < entries; ++i) {
        RGBQUAD entry;
        std::memcpy(&entry, table + i * sizeof(RGBQUAD), sizeof entry);
        bitmap->palette[i] = colour_of(entry);
    }
    void* pixels = bitmap->pixels.get();
    HBITMAP handle = add_bitmap(std::move(bitmap));
    if (bits) *bits = pixels;
    return handle;
}

// As on the original system, a memory DC makes bitmaps like the one it holds (monochrome while it
// still has its default bitmap); a window DC makes colour bitmaps.
HBITMAP CreateCompatibleBitmap(HDC dc_handle, int width, int height) {
    const DC* dc = find_dc(dc_handle);
    if (!dc) return nullptr;
    const Bitmap* held = dc->window ? nullptr : find_bitmap(dc->bitmap);
    const PixelFormat format = held ? held->surface.format : PixelFormat::Rgb32;
    auto bitmap = make_bitmap(width, height, format);
    return bitmap ? add_bitmap(std::move(bitmap)) : nullptr;
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    if (!name || !is_program_module(instance)) return nullptr;
    const ResourceEntry* entry = find_resource(name, LOWORD(reinterpret_cast<std::uintptr_t>(RT_BITMAP)));
    if (!entry) return nullptr;
    auto bitmap = gdi::decode_bmp(entry->data, entry->size);
    // Colour pictures are chrome and grow with the display's scale; 1-bit images (the ink stamps)
    // are drawn in device pixels and keep their size.
    const int factor = display_scale();
    if (bitmap && factor > 1 && bitmap->surface.format == PixelFormat::Rgb32) bitmap = enlarged(*bitmap, factor);
    return bitmap ? gdi::add_bitmap(std::move(bitmap)) : nullptr;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
    const std::uintptr_t handle = raw(object);
    if (const Bitmap* bitmap = find_bitmap(handle)) {
        constexpr int kBitmapSize = sizeof(BITMAP);
        constexpr int kSectionSize = sizeof(DIBSECTION);
        if (!buffer) return bitmap->dib ? kSectionSize : kBitmapSize;
        const Surface& s = bitmap->surface;
        const BITMAP description{0,       s.width, s.height, s.stride, 1, static_cast<WORD>(s.format == PixelFormat::Mono1 ? 1 : 32),
                                 bitmap->dib ? s.bits : nullptr};
        if (bitmap->dib && size == kSectionSize) {
            DIBSECTION section{};
            section.dsBm = description;
            section.dsBmih = bitmap->header;
            std::memcpy(buffer, &section, sizeof section);
            return kSectionSize;
        }
        if (size == kBitmapSize || (!bitmap->dib && size > kBitmapSize)) {
            std::memcpy(buffer, &description, sizeof description);
            return kBitmapSize;
        }
        return 0;
    }
    if (const Font* font = find_font(handle)) {
        constexpr int kFontSize = sizeof(LOGFONTW);
        if (!buffer) return kFontSize;
        if (size < kFontSize) return 0;
        std::memcpy(buffer, &font->logfont, sizeof font->logfont);
        return kFontSize;
    }
    return 0;
}
