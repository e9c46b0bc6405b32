#include "gdi/bmp_decode.h"

#include <climits>
#include <cstring>

namespace platform::gdi {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

std::uint32_t u32(const std::uint8_t* p) { return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24; }
std::int32_t i32(const std::uint8_t* p) { return static_cast<std::int32_t>(u32(p)); }
std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// A colour table entry (blue, green, red, reserved) as a surface pixel.
std::uint32_t table_pixel(const std::uint8_t* entry) {
    return std::uint32_t{entry[2]} << 16 | std::uint32_t{entry[1]} << 8 | entry[0];
}

bool is_light(std::uint32_t pixel) {
    const std::uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r * 299 + g * 587 + b * 114 >= 128 * 1000;
}

int index_at(const std::uint8_t* row, int x, int bits) {
    if (bits == 8) return row[x];
    const int byte = row[x >> 1];
    return x & 1 ? byte & 0x0F : byte >> 4;
}

void copy_mono_row(std::uint8_t* target, const std::uint8_t* source, std::size_t bytes, int zero, int one) {
    for (std::size_t i = 0; i < bytes; ++i) {
        const std::uint8_t b = source[i];
        target[i] = static_cast<std::uint8_t>((zero ? ~b : 0) | (one ? b : 0));
    }
}

}  // namespace

std::unique_ptr<Bitmap> decode_bmp(const std::uint8_t* data, std::size_t size) {
    if (!data || size < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M') return nullptr;
    const std::uint8_t* info = data + kFileHeaderSize;
    const std::uint64_t pixels_at = u32(data + 10);
    const std::uint64_t header_size = u32(info);
    const std::int32_t width = i32(info + 4);
    const std::int32_t height = i32(info + 8);
    const int bits = u16(info + 14);
    if (header_size < kInfoHeaderSize || kFileHeaderSize + header_size > size || u16(info + 12) != 1 ||
        u32(info + 16) != 0 /* BI_RGB */ || width <= 0 || height == 0 || height == INT_MIN)
        return nullptr;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return nullptr;

    const std::uint64_t max_colours = bits <= 8 ? std::uint64_t{1} << bits : 0;
    const std::uint64_t colours = bits <= 8 && u32(info + 32) != 0 ? u32(info + 32) : max_colours;
    const std::uint64_t table_at = kFileHeaderSize + header_size;
    if (colours > max_colours || table_at + colours * 4 > size || pixels_at < table_at + colours * 4) return nullptr;

    const int rows = height < 0 ? -height : height;
    const std::uint64_t stride = (std::uint64_t{static_cast<std::uint32_t>(width)} * bits + 31) / 32 * 4;
    if (stride > size || pixels_at + stride * static_cast<std::uint64_t>(rows) > size) return nullptr;

    auto bitmap = make_bitmap(width, rows, bits == 1 ? PixelFormat::Mono1 : PixelFormat::Rgb32);
    if (!bitmap) return nullptr;
    std::uint32_t palette[256] = {};
    for (std::uint64_t i = 0; i < colours; ++i) palette[i] = table_pixel(data + table_at + 4 * i);

    const Surface& s = bitmap->surface;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* row = data + pixels_at + stride * static_cast<std::uint64_t>(height > 0 ? rows - 1 - y : y);
        std::uint8_t* out = s.row(y);
        if (bits == 1) {
            copy_mono_row(out, row, static_cast<std::size_t>(s.stride), is_light(palette[0]), is_light(palette[1]));
            continue;
        }
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel;
            if (bits <= 8) {
                pixel = palette[index_at(row, x, bits)];
            } else {
                const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bits / 8);
                pixel = table_pixel(p);
            }
            std::memcpy(out + static_cast<std::size_t>(x) * 4, &pixel, 4);
        }
    }
    return bitmap;
}

}  // namespace platform::gdi
