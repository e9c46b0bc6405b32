#include "gdi/raster.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "gdi/expand.h"
#include "gdi/bit_rows.h"


namespace platform::gdi {
namespace {

constexpr std::uint32_t kRgbMask = 0xFFFFFF;

struct OpCopy {
    std::uint32_t operator()(std::uint32_t s, std::uint32_t) const { return s; }
};
struct OpNotCopy {
    std::uint32_t operator()(std::uint32_t s, std::uint32_t) const { return ~s; }
};
struct OpAnd {
    std::uint32_t operator()(std::uint32_t s, std::uint32_t d) const { return s & d; }
};
struct OpPaint {
    std::uint32_t operator()(std::uint32_t s, std::uint32_t d) const { return s | d; }
};
struct OpInvert {
    std::uint32_t operator()(std::uint32_t s, std::uint32_t d) const { return s ^ d; }
};

template <class F>
void with_op(RasterOp op, F&& f) {
    switch (op) {
    case RasterOp::Copy: f(OpCopy{}); break;
    case RasterOp::NotCopy: f(OpNotCopy{}); break;
    case RasterOp::And: f(OpAnd{}); break;
    case RasterOp::Paint: f(OpPaint{}); break;
    case RasterOp::Invert: f(OpInvert{}); break;
    }
}

// A row of bits read as 32-bit words; bits outside the row read as 0.
struct BitRow {
    const std::uint8_t* bytes;
    std::int64_t words;

    std::uint32_t word(std::int64_t k) const { return k >= 0 && k < words ? load_be32(bytes + 4 * k) : 0; }
    // The 32 bits starting at bit p.
    std::uint32_t bits_at(std::int64_t p) const {
        const std::int64_t k = p >> 5;
        const int shift = static_cast<int>(p & 31);
        const std::uint32_t high = word(k);
        return shift == 0 ? high : (high << shift) | (word(k + 1) >> (32 - shift));
    }
};

int bit_at(const std::uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

std::uint8_t* pixel_at(const Surface& s, int x, int y) { return s.row(y) + static_cast<std::ptrdiff_t>(x) * 4; }

// w bits from bit sx of `source` onto bit dx of `target`, a word at a time. `backwards` walks right
// to left, for a copy to the right within one row.
template <class Op>
void mono_row(std::uint8_t* target, int dx, int w, const BitRow& source, int sx, bool backwards, Op op) {
    const int first = dx >> 5;
    const int last = (dx + w - 1) >> 5;
    for (int i = 0; i <= last - first; ++i) {
        const int j = backwards ? last - i : first + i;
        const int base = 32 * j;
        const std::uint32_t mask = span_mask(std::max(dx - base, 0), std::min(dx + w - base, 32));
        const std::uint32_t s = source.bits_at(std::int64_t{sx} + base - dx);
        std::uint8_t* p = target + 4 * j;
        const std::uint32_t d = load_be32(p);
        store_be32(p, (d & ~mask) | (op(s, d) & mask));
    }
}

// Row order for a copy within one surface: a block moving down is copied from its bottom row up.
struct Order {
    bool upward;
    bool backwards;
};

Order order_for(const Surface& target, int dx, int dy, const Surface& source, int sx, int sy) {
    const bool same = target.bits == source.bits;
    return {same && dy > sy, same && dy == sy && dx > sx};
}

// A copy whose columns start on byte boundaries moves whole bytes; only a part byte at the right
// edge is merged. Whole stored rows lie next to each other, so such a block is one move. Both are
// safe when source and target overlap.
void byte_rows(const Surface& t, int dx, int dy, int w, int h, const Surface& s, int sx, int sy, bool upward) {
    if (w == 8 * t.stride && t.stride == s.stride) {
        // Stored rows run bottom-up: the block's lowest image row is its first in memory.
        std::memmove(t.row(dy + h - 1), s.row(sy + h - 1), static_cast<std::size_t>(h) * t.stride);
        return;
    }
    const std::size_t whole = static_cast<std::size_t>(w >> 3);
    const auto edge = static_cast<std::uint8_t>(0xFF00 >> (w & 7));
    for (int i = 0; i < h; ++i) {
        const int r = upward ? h - 1 - i : i;
        std::uint8_t* target = t.row(dy + r) + (dx >> 3);
        const std::uint8_t* source = s.row(sy + r) + (sx >> 3);
        // Read before the move, which may overwrite it when the block moves right within a row.
        const std::uint8_t last = edge ? source[whole] : 0;
        std::memmove(target, source, whole);
        if (edge) target[whole] = static_cast<std::uint8_t>((target[whole] & ~edge) | (last & edge));
    }
}

template <class Op>
void mono_block(const Surface& t, int dx, int dy, int w, int h, const Surface& s, int sx, int sy, Op op) {
    const Order order = order_for(t, dx, dy, s, sx, sy);
    const int first = order.upward ? h - 1 : 0;
    // Stored rows run bottom-up: the next image row down is one stride lower in memory.
    const std::ptrdiff_t direction = order.upward ? 1 : -1;
    const std::ptrdiff_t t_step = direction * t.stride, s_step = direction * s.stride;
    std::ptrdiff_t t_offset = t.row(dy + first) - t.bits, s_offset = s.row(sy + first) - s.bits;
    const int dshift = dx & 7, sshift = sx & 7;
    if (narrow(dx, w, t, sx, s)) {
        narrow_rows(t.bits + t_offset + (dx >> 3), t_step, s.bits + s_offset + (sx >> 3), s_step, dshift, sshift, w, h,
                    op);
        return;
    }
    if constexpr (std::is_same_v<Op, OpCopy>) {
        if (dshift == 0 && sshift == 0) {
            byte_rows(t, dx, dy, w, h, s, sx, sy, order.upward);
            return;
        }
    }
    for (int i = 0; i < h; ++i, t_offset += t_step, s_offset += s_step)
        mono_row(t.bits + t_offset, dx, w, BitRow{s.bits + s_offset, s.stride / 4}, sx, order.backwards, op);
}

template <class Op>
void rgb_row(std::uint8_t* target, const std::uint8_t* source, int w, bool backwards, Op op) {
    if constexpr (std::is_same_v<Op, OpCopy>) {
        std::memmove(target, source, static_cast<std::size_t>(w) * 4);
    } else {
        for (int i = 0; i < w; ++i) {
            const int x = backwards ? w - 1 - i : i;
            store32(target + 4 * x, op(load32(source + 4 * x), load32(target + 4 * x)) & kRgbMask);
        }
    }
}

template <class Op>
void rgb_block(const Surface& t, int dx, int dy, int w, int h, const Surface& s, int sx, int sy, Op op) {
    const Order order = order_for(t, dx, dy, s, sx, sy);
    for (int i = 0; i < h; ++i) {
        const int r = order.upward ? h - 1 - i : i;
        rgb_row(pixel_at(t, dx, dy + r), pixel_at(s, sx, sy + r), w, order.backwards, op);
    }
}

template <class Op>
void mono_to_rgb_block(const Surface& t, int dx, int dy, int w, int h, const Surface& s, int sx, int sy, Op op,
                       const ColourRule& rule) {
    auto pixels_at = [&t, dx, dy](int r) { return reinterpret_cast<std::uint32_t*>(pixel_at(t, dx, dy + r)); };
    // Stored 1-bit rows run bottom-up: the next image row down is one stride lower in memory.
    const std::ptrdiff_t source_step = -static_cast<std::ptrdiff_t>(s.stride);
    if constexpr (std::is_same_v<Op, OpCopy>) {
        expand_block(pixels_at(0), t.stride / 4, s.row(sy), source_step, sx, w, h, rule.ink, rule.paper);
    } else {
        std::vector<std::uint32_t> row(static_cast<std::size_t>(w));
        for (int r = 0; r < h; ++r) {
            expand_block(row.data(), 0, s.row(sy + r), source_step, sx, w, 1, rule.ink, rule.paper);
            rgb_row(reinterpret_cast<std::uint8_t*>(pixels_at(r)), reinterpret_cast<const std::uint8_t*>(row.data()), w,
                    false, op);
        }
    }
}

template <class Op>
void rgb_to_mono_block(const Surface& t, int dx, int dy, int w, int h, const Surface& s, int sx, int sy, Op op,
                       const ColourRule& rule) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(mono_stride(w)));
    for (int r = 0; r < h; ++r) {
        std::fill(row.begin(), row.end(), std::uint8_t{0});
        const std::uint8_t* pixels = pixel_at(s, sx, sy + r);
        for (int x = 0; x < w; ++x)
            if ((load32(pixels + 4 * x) & kRgbMask) == rule.paper) row[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        mono_row(t.row(dy + r), dx, w, BitRow{row.data(), static_cast<std::int64_t>(row.size() / 4)}, 0, false, op);
    }
}

// Applies `f(word, mask)` to the words of a 1-bit area, or `f(pixel)` to a 32-bit area.
template <class Mono, class Rgb>
void each_in_area(const Surface& t, const Rect& area, Mono mono, Rgb rgb) {
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* row = t.row(y);
        if (t.format == PixelFormat::Rgb32) {
            for (int x = area.left; x < area.right; ++x) store32(row + 4 * x, rgb(load32(row + 4 * x)));
            continue;
        }
        for (int j = area.left >> 5; j <= (area.right - 1) >> 5; ++j) {
            const int base = 32 * j;
            const std::uint32_t mask = span_mask(std::max(area.left - base, 0), std::min(area.right - base, 32));
            store_be32(row + 4 * j, mono(load_be32(row + 4 * j), mask));
        }
    }
}

// The destination offsets [first, last) along one axis whose samples land in [low, high).
void sampled_span(int length, int source_start, int source_length, int low, int high, std::int64_t* first,
                  std::int64_t* last) {
    // Offset o samples source_start + floor(o * source_length / length).
    auto offsets_below = [&](int limit) -> std::int64_t {
        const std::int64_t need = std::int64_t{limit} - source_start;
        if (need <= 0) return 0;
        return (need * length + source_length - 1) / source_length;
    };
    *first = offsets_below(low);
    *last = std::min<std::int64_t>(offsets_below(high), length);
}

}  // namespace

void copy_block(const Surface& target, int dx, int dy, int w, int h, const Surface& source, int sx, int sy,
                RasterOp op, const ColourRule& rule) {
    if (w <= 0 || h <= 0) return;
    const bool mono_target = target.format == PixelFormat::Mono1;
    const bool mono_source = source.format == PixelFormat::Mono1;
    with_op(op, [&](auto o) {
        if (mono_target && mono_source)
            mono_block(target, dx, dy, w, h, source, sx, sy, o);
        else if (!mono_target && !mono_source)
            rgb_block(target, dx, dy, w, h, source, sx, sy, o);
        else if (mono_source)
            mono_to_rgb_block(target, dx, dy, w, h, source, sx, sy, o, rule);
        else
            rgb_to_mono_block(target, dx, dy, w, h, source, sx, sy, o, rule);
    });
}

void fill_block(const Surface& target, const Rect& area, std::uint32_t value) {
    if (area.empty()) return;
    const std::uint32_t bits = value ? ~0u : 0u;
    each_in_area(
        target, area, [bits](std::uint32_t d, std::uint32_t mask) { return (d & ~mask) | (bits & mask); },
        [value](std::uint32_t) { return value; });
}

void invert_block(const Surface& target, const Rect& area) {
    if (area.empty()) return;
    each_in_area(
        target, area, [](std::uint32_t d, std::uint32_t mask) { return d ^ mask; },
        [](std::uint32_t p) { return ~p & kRgbMask; });
}

Rect StretchMap::area(const Rect& target_clip, const Rect& source_clip) const {
    std::int64_t left, right, top, bottom;
    sampled_span(dw, sx, sw, source_clip.left, source_clip.right, &left, &right);
    sampled_span(dh, sy, sh, source_clip.top, source_clip.bottom, &top, &bottom);
    if (left >= right || top >= bottom) return {};
    const Rect sampled{static_cast<int>(std::max<std::int64_t>(dx + left, target_clip.left)),
                       static_cast<int>(std::max<std::int64_t>(dy + top, target_clip.top)),
                       static_cast<int>(std::min<std::int64_t>(dx + right, target_clip.right)),
                       static_cast<int>(std::min<std::int64_t>(dy + bottom, target_clip.bottom))};
    return sampled.empty() ? Rect{} : sampled;
}

void stretch_block(const Surface& target, const Rect& area, const StretchMap& map, const Surface& source,
                   RasterOp op, const ColourRule& rule) {
    if (area.empty()) return;
    const int w = area.width();
    const bool mono = source.format == PixelFormat::Mono1;
    const std::int64_t stride = mono ? mono_stride(w) : std::int64_t{w} * 4;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(stride));
    const Surface sampled{w, 1, source.format, static_cast<int>(stride), row.data()};
    std::vector<int> columns(static_cast<std::size_t>(w));
    for (int i = 0; i < w; ++i) columns[i] = map.source_x(area.left + i);
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* from = source.row(map.source_y(y));
        if (mono) {
            std::fill(row.begin(), row.end(), std::uint8_t{0});
            for (int i = 0; i < w; ++i)
                if (bit_at(from, columns[i])) row[i >> 3] |= static_cast<std::uint8_t>(0x80 >> (i & 7));
        } else {
            for (int i = 0; i < w; ++i) std::memcpy(&row[static_cast<std::size_t>(i) * 4], from + 4 * columns[i], 4);
        }
        copy_block(target, area.left, y, w, 1, sampled, 0, 0, op, rule);
    }
}

std::uint32_t read_pixel(const Surface& source, int x, int y, const ColourRule& rule) {
    const std::uint8_t* row = source.row(y);
    if (source.format == PixelFormat::Rgb32) return load32(row + 4 * x) & kRgbMask;
    return bit_at(row, x) ? rule.paper : rule.ink;
}

void write_pixel(const Surface& target, int x, int y, std::uint32_t value) {
    std::uint8_t* row = target.row(y);
    if (target.format == PixelFormat::Rgb32) {
        store32(row + 4 * x, value);
        return;
    }
    const auto bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
    row[x >> 3] = static_cast<std::uint8_t>(value ? row[x >> 3] | bit : row[x >> 3] & ~bit);
}

}  // namespace platform::gdi
