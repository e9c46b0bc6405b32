// Words of 1-bit rows, and narrow blocks between 1-bit surfaces such as pen stamps, each row within
// one 32-bit word of both. Inline: the stamp path draws one every stroke point.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/surface.h"

namespace platform::gdi {

inline std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

inline void store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// 1-bit rows keep their leftmost pixel in the most significant bit, so they are read as big-endian
// words.
inline std::uint32_t load_be32(const std::uint8_t* p) { return __builtin_bswap32(load32(p)); }
inline void store_be32(std::uint8_t* p, std::uint32_t v) { store32(p, __builtin_bswap32(v)); }

// Bits lo .. hi-1 of a word, counted from the most significant.
inline std::uint32_t span_mask(int lo, int hi) {
    const std::uint32_t from = lo >= 32 ? 0 : ~0u >> lo;
    const std::uint32_t past = hi >= 32 ? 0 : ~0u >> hi;
    return from & ~past;
}

// Whether w bits from bit dx of `t`'s rows and from bit sx of `s`'s rows each lie within the four
// bytes from the byte holding their first bit, those bytes inside the row.
inline bool narrow(int dx, int w, const Surface& t, int sx, const Surface& s) {
    return (dx & 7) + w <= 32 && (sx & 7) + w <= 32 && (dx >> 3) + 4 <= t.stride && (sx >> 3) + 4 <= s.stride;
}

// A narrow block, one unaligned read-modify-write a row, the rows `t_step` and `s_step` bytes apart.
// Rotating the source word brings its bits sshift.. onto dshift..; what wraps around is masked off,
// and the target word is merged in memory order so that only the source needs its bytes swapped.
template <class Op>
void narrow_rows(std::uint8_t* target, std::ptrdiff_t t_step, const std::uint8_t* source, std::ptrdiff_t s_step,
                 int dshift, int sshift, int w, int h, Op op) {
    const std::uint32_t mask = __builtin_bswap32(span_mask(dshift, dshift + w));
    const int rotation = (sshift - dshift) & 31;
    // Four rows a turn of the loop: a stamp is twenty rows of a few instructions each, and the loop
    // counting was a third of them.
#pragma GCC unroll 4
    for (int r = 0; r < h; ++r, target += t_step, source += s_step) {
        const std::uint32_t bits = __builtin_bswap32(std::rotl(load_be32(source), rotation));
        const std::uint32_t d = load32(target);
        store32(target, d ^ ((op(bits, d) ^ d) & mask));
    }
}

// A narrow block of one value, 0 or 1, into w bits from bit `dshift` of each row.
inline void narrow_fill_rows(std::uint8_t* target, std::ptrdiff_t t_step, int dshift, int w, int h, int value) {
    const std::uint32_t mask = __builtin_bswap32(span_mask(dshift, dshift + w));
    // A loop for each value: a row is then one read-modify-write.
    if (value) {
#pragma GCC unroll 4
        for (int r = 0; r < h; ++r, target += t_step) store32(target, load32(target) | mask);
    } else {
#pragma GCC unroll 4
        for (int r = 0; r < h; ++r, target += t_step) store32(target, load32(target) & ~mask);
    }
}

}  // namespace platform::gdi
