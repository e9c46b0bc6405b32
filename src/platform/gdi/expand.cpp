#include "gdi/expand.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "gdi/bit_rows.h"

namespace platform::gdi {
namespace {

// One source byte to its eight pixels, for one pair of ink and paper colours.
struct ExpansionTable {
    std::uint32_t ink = 0;
    std::uint32_t paper = 0;
    bool ready = false;
    alignas(64) std::uint32_t pixels[256][8];
};

// Building a table costs about as much as drawing a small block, so the last few colour pairs are
// kept: a screen shows one pair, dialogs and buttons a few more.
const ExpansionTable& expansion_table(std::uint32_t ink, std::uint32_t paper) {
    static ExpansionTable cache[4];
    static int next = 0;
    for (const ExpansionTable& t : cache)
        if (t.ready && t.ink == ink && t.paper == paper) return t;
    ExpansionTable& t = cache[next];
    next = (next + 1) % 4;
    for (int byte = 0; byte < 256; ++byte)
        for (int bit = 0; bit < 8; ++bit) t.pixels[byte][bit] = (byte >> (7 - bit)) & 1 ? paper : ink;
    t.ink = ink;
    t.paper = paper;
    t.ready = true;
    return t;
}

// The `n` (1 to 32) bits from bit `p` of a row, leftmost in the most significant bit; the word
// after bit p's word is read only when the bits reach into it.
std::uint32_t bits_at(const std::uint8_t* row, int p, int n) {
    const std::uint8_t* word = row + 4 * (p >> 5);
    const int shift = p & 31;
    const std::uint32_t high = load_be32(word) << shift;
    return shift + n > 32 ? high | (load_be32(word + 4) >> (32 - shift)) : high;
}

#if defined(__x86_64__)
// AVX2 is not part of the baseline this program is built for, so these functions are compiled for
// it and used only where the processor reports it (expand_block_vector asks). A source word is
// spread over all lanes; each lane shifts its own bit into its sign and picks ink or paper by it,
// eight pixels a store with no table.
struct Avx2Colours {
    __m256 ink, paper;
};

__attribute__((target("avx2"))) inline __m256i pick_avx2(__m256i word, __m256i shifts, const Avx2Colours& c) {
    const __m256 sign = _mm256_castsi256_ps(_mm256_sllv_epi32(word, shifts));
    return _mm256_castps_si256(_mm256_blendv_ps(c.ink, c.paper, sign));
}

// A row shorter than eight pixels: four, two and one pixels (masked stores are slow on some
// processors).
__attribute__((target("avx2"))) inline void store_short_avx2(std::uint32_t* target, std::uint32_t bits, int n,
                                                             const Avx2Colours& c) {
    const __m256i group =
        pick_avx2(_mm256_set1_epi32(static_cast<int>(bits)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), c);
    __m128i part = _mm256_castsi256_si128(group);
    if (n & 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target), part);
        part = _mm256_extracti128_si256(group, 1);
        target += 4;
    }
    if (n & 2) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(target), part);
        part = _mm_srli_si128(part, 8);
        target += 2;
    }
    if (n & 1) *target = static_cast<std::uint32_t>(_mm_cvtsi128_si32(part));
}

// Asks for the source bits of the row two rows on to come into the cache: a whole screen's rows
// take so long to store that the processor's own prefetching falls behind on bottom-up source rows.
// A prefetch never faults, so it may look past the image's last row; the address is worked out as a
// number for that reason.
__attribute__((target("avx2"))) inline void prefetch_ahead_avx2(const std::uint8_t* row, std::ptrdiff_t step, int sx,
                                                                int w) {
    const std::uintptr_t ahead = reinterpret_cast<std::uintptr_t>(row) + static_cast<std::uintptr_t>(2 * step);
    for (int byte = sx >> 3; byte < (sx + w + 7) >> 3; byte += 64)
        _mm_prefetch(reinterpret_cast<const char*>(ahead + static_cast<std::uintptr_t>(byte)), _MM_HINT_T0);
}

// 32 pixels from the four bytes of a little-endian word. Pixel i of byte k is bit 8k + 7 - i:
// shifted left by 24 - 8k + i it becomes the lane's sign bit, which is what the blend looks at.
__attribute__((target("avx2"))) inline void store_round_avx2(__m256i* out, __m256i word, const Avx2Colours& c) {
    _mm256_storeu_si256(out, pick_avx2(word, _mm256_setr_epi32(24, 25, 26, 27, 28, 29, 30, 31), c));
    _mm256_storeu_si256(out + 1, pick_avx2(word, _mm256_setr_epi32(16, 17, 18, 19, 20, 21, 22, 23), c));
    _mm256_storeu_si256(out + 2, pick_avx2(word, _mm256_setr_epi32(8, 9, 10, 11, 12, 13, 14, 15), c));
    _mm256_storeu_si256(out + 3, pick_avx2(word, _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), c));
}

// The first `w` pixels of a row (a multiple of 32), 32 at a time.
__attribute__((target("avx2"))) inline void expand_rounds_avx2(std::uint32_t* target, const std::uint8_t* row, int sx,
                                                               int w, const Avx2Colours& c) {
    auto* out = reinterpret_cast<__m256i*>(target);
    if ((sx & 7) == 0) {
        // Whole bytes straight from the row, four at a time.
        const std::uint8_t* source = row + (sx >> 3);
        for (int done = 0; done < w; done += 32, source += 4, out += 4) {
            std::int32_t four;
            std::memcpy(&four, source, 4);
            store_round_avx2(out, _mm256_set1_epi32(four), c);
        }
        return;
    }
    // A ragged start: 32 bits gathered at a time.
    for (int done = 0; done < w; done += 32, out += 4) {
        store_round_avx2(out, _mm256_set1_epi32(static_cast<int>(__builtin_bswap32(bits_at(row, sx + done, 32)))), c);
    }
}

// The last n (8 to 32) pixels of each row, read as one word of bits (two when they cross a word
// boundary), in `Groups` stores of eight, the last ending on the row's last pixel over part of the
// one before. Within one word the bit offset goes into the shift counts. A pen stamp's rows are all
// this; a longer row is whole rounds of 32 first, the last of which the groups may reach back into.
template <int Groups>
struct Avx2Groups {
    int at[Groups];
    __m256i shifts[Groups];
};

// Spelled out group by group, so that the shifts and places stay in registers.
template <int Groups, std::size_t... K>
__attribute__((target("avx2"))) inline void store_groups_avx2(std::uint32_t* target, std::uint32_t bits,
                                                              const Avx2Groups<Groups>& g, const Avx2Colours& c,
                                                              std::index_sequence<K...>) {
    const __m256i spread = _mm256_set1_epi32(static_cast<int>(bits));
    (_mm256_storeu_si256(reinterpret_cast<__m256i*>(target + g.at[K]), pick_avx2(spread, g.shifts[K], c)), ...);
}

template <int Groups, bool TwoWords>
__attribute__((target("avx2"))) void expand_groups_avx2(std::uint32_t* target, std::ptrdiff_t pitch,
                                                        const std::uint8_t* row, std::ptrdiff_t step, int sx, int w,
                                                        int h, int tail_from, const Avx2Colours& c) {
    const int rounds = w > 32 ? w - w % 32 : 0;
    const int first = sx + tail_from, n = w - tail_from, offset = first & 31;
    Avx2Groups<Groups> g;
    const __m256i lanes = _mm256_add_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7),
                                           _mm256_set1_epi32(TwoWords ? 0 : offset));
    for (int k = 0; k < Groups; ++k) {
        g.at[k] = std::min(8 * k, n - 8);
        g.shifts[k] = _mm256_add_epi32(lanes, _mm256_set1_epi32(g.at[k]));
    }
    const std::ptrdiff_t word = 4 * (first >> 5);
    for (int r = 0; r < h; ++r, target += pitch, row += step) {
        if (rounds) {
            prefetch_ahead_avx2(row, step, sx, w);
            expand_rounds_avx2(target, row, sx, rounds, c);
        }
        std::uint32_t bits = load_be32(row + word);
        if constexpr (TwoWords) bits = (bits << offset) | (load_be32(row + word + 4) >> (32 - offset));
        store_groups_avx2(target + tail_from, bits, g, c, std::make_index_sequence<Groups>{});
    }
}

template <bool TwoWords>
__attribute__((target("avx2"))) void expand_groups_avx2(std::uint32_t* target, std::ptrdiff_t pitch,
                                                        const std::uint8_t* row, std::ptrdiff_t step, int sx, int w,
                                                        int h, int tail_from, const Avx2Colours& c) {
    switch ((w - tail_from + 7) / 8) {
    case 1: return expand_groups_avx2<1, TwoWords>(target, pitch, row, step, sx, w, h, tail_from, c);
    case 2: return expand_groups_avx2<2, TwoWords>(target, pitch, row, step, sx, w, h, tail_from, c);
    case 3: return expand_groups_avx2<3, TwoWords>(target, pitch, row, step, sx, w, h, tail_from, c);
    default: return expand_groups_avx2<4, TwoWords>(target, pitch, row, step, sx, w, h, tail_from, c);
    }
}

// The shift counts of eight pixels from bit `start` of a little-endian word.
__attribute__((target("avx2"))) inline __m256i little_endian_shifts_avx2(int start) {
    const __m256i p = _mm256_add_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_set1_epi32(start));
    const __m256i whole_bytes = _mm256_and_si256(p, _mm256_set1_epi32(~7));
    const __m256i bit = _mm256_and_si256(p, _mm256_set1_epi32(7));
    return _mm256_add_epi32(_mm256_sub_epi32(_mm256_set1_epi32(24), whole_bytes), bit);
}

// A narrow row whose pixels all lie in the four bytes from the byte holding its first: the four
// bytes are broadcast to every lane as memory holds them, with no byte swap, and each lane's shift
// count finds its own pixel in that order (pixel bit p is bit 8 * (p / 8) + 7 - p % 8 of the word,
// so it reaches the sign at 24 - 8 * (p / 8) + p % 8). A pen stamp's 20-pixel rows are one load and
// three stores each, the last store over part of the one before.
template <int Groups, std::size_t... K>
__attribute__((target("avx2"))) void expand_narrow_avx2(std::uint32_t* target, std::ptrdiff_t pitch,
                                                        const std::uint8_t* row, std::ptrdiff_t step, int sx, int w,
                                                        int h, const Avx2Colours& c, std::index_sequence<K...>) {
    const std::uint8_t* source = row + (sx >> 3);
    const int at[Groups] = {std::min(8 * static_cast<int>(K), w - 8)...};
    const __m256i shifts[Groups] = {little_endian_shifts_avx2((sx & 7) + at[K])...};
    // Four rows a turn: a stamp row is only a load and three stores, and the loop counting added a
    // third to it.
#pragma GCC unroll 4
    for (int r = 0; r < h; ++r, target += pitch, source += step) {
        std::int32_t four;
        std::memcpy(&four, source, 4);
        const __m256i spread = _mm256_set1_epi32(four);
        (_mm256_storeu_si256(reinterpret_cast<__m256i*>(target + at[K]), pick_avx2(spread, shifts[K], c)), ...);
    }
}

// Rows of 8 to 32 pixels within four bytes from their first, those bytes inside the 32-bit words
// that hold the row's bits.
bool narrow_row(int sx, int w) {
    return w >= 8 && w <= 32 && (sx & 7) + w <= 32 && (sx >> 3) + 4 <= 4 * (((sx + w - 1) >> 5) + 1);
}

__attribute__((target("avx2"))) void expand_block_avx2(std::uint32_t* target, std::ptrdiff_t pitch,
                                                       const std::uint8_t* row, std::ptrdiff_t step, int sx, int w,
                                                       int h, std::uint32_t ink, std::uint32_t paper) {
    Avx2Colours c;
    c.ink = _mm256_castsi256_ps(_mm256_set1_epi32(static_cast<int>(ink)));
    c.paper = _mm256_castsi256_ps(_mm256_set1_epi32(static_cast<int>(paper)));
    if (w < 8) {
        for (int r = 0; r < h; ++r, target += pitch, row += step) store_short_avx2(target, bits_at(row, sx, w), w, c);
        return;
    }
    if (narrow_row(sx, w)) {
        switch ((w + 7) / 8) {
        case 1: return expand_narrow_avx2<1>(target, pitch, row, step, sx, w, h, c, std::make_index_sequence<1>{});
        case 2: return expand_narrow_avx2<2>(target, pitch, row, step, sx, w, h, c, std::make_index_sequence<2>{});
        case 3: return expand_narrow_avx2<3>(target, pitch, row, step, sx, w, h, c, std::make_index_sequence<3>{});
        default: return expand_narrow_avx2<4>(target, pitch, row, step, sx, w, h, c, std::make_index_sequence<4>{});
        }
    }
    if (w > 32 && w % 32 == 0) {
        for (int r = 0; r < h; ++r, target += pitch, row += step) {
            prefetch_ahead_avx2(row, step, sx, w);
            expand_rounds_avx2(target, row, sx, w, c);
        }
        return;
    }
    // Whole rounds of 32 pixels (none for a row of 32 or fewer), then the last 8 to 32 pixels, which
    // reach back into the last round when fewer than eight are left after it.
    const int tail_from = w > 32 ? std::min(w - w % 32, w - 8) : 0;
    if (((sx + tail_from) & 31) + (w - tail_from) > 32)
        return expand_groups_avx2<true>(target, pitch, row, step, sx, w, h, tail_from, c);
    expand_groups_avx2<false>(target, pitch, row, step, sx, w, h, tail_from, c);
}

// Rows of 8 to 32 pixels in `Groups` stores of eight, the last ending on the row's last pixel over
// part of the one before.
template <int Groups, std::size_t... K>
__attribute__((target("avx2"))) void fill_narrow_avx2(std::uint32_t* target, std::ptrdiff_t pitch, int w, int h,
                                                      std::uint32_t value, std::index_sequence<K...>) {
    const __m256i spread = _mm256_set1_epi32(static_cast<int>(value));
    const int at[Groups] = {std::min(8 * static_cast<int>(K), w - 8)...};
#pragma GCC unroll 4
    for (int r = 0; r < h; ++r, target += pitch)
        (_mm256_storeu_si256(reinterpret_cast<__m256i*>(target + at[K]), spread), ...);
}
#endif

ExpandBlock fastest_expand_block() {
    const ExpandBlock vector = expand_block_vector();
    return vector ? vector : expand_block_plain;
}

}  // namespace

void expand_block_plain(std::uint32_t* target, std::ptrdiff_t pitch, const std::uint8_t* row, std::ptrdiff_t step,
                        int sx, int w, int h, std::uint32_t ink, std::uint32_t paper) {
    const ExpansionTable& table = expansion_table(ink, paper);
    for (int r = 0; r < h; ++r, target += pitch, row += step) {
        int done = 0;
        if ((sx & 7) == 0) {
            const std::uint8_t* source = row + (sx >> 3);
            for (; done + 8 <= w; done += 8) std::memcpy(target + done, table.pixels[*source++], 32);
        }
        for (; done < w; done += 32) {
            const int n = std::min(32, w - done);
            const std::uint32_t bits = bits_at(row, sx + done, n);
            for (int i = 0; i < n; ++i) target[done + i] = bits & (0x80000000u >> i) ? paper : ink;
        }
    }
}

ExpandBlock expand_block_vector() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return expand_block_avx2;
#endif
    return nullptr;
}

// Chosen once, before the program draws anything.
const ExpandBlock fastest = fastest_expand_block();
// A block of one value has the vector path where the expansion has one.
const bool fills_with_vectors = expand_block_vector() != nullptr;

void expand_block(std::uint32_t* target, std::ptrdiff_t pitch, const std::uint8_t* row, std::ptrdiff_t step, int sx,
                  int w, int h, std::uint32_t ink, std::uint32_t paper) {
    fastest(target, pitch, row, step, sx, w, h, ink, paper);
}

void expand_one_value(std::uint32_t* target, std::ptrdiff_t pitch, int w, int h, std::uint32_t value) {
#if defined(__x86_64__)
    if (fills_with_vectors && w >= 8 && w <= 32) {
        switch ((w + 7) / 8) {
        case 1: return fill_narrow_avx2<1>(target, pitch, w, h, value, std::make_index_sequence<1>{});
        case 2: return fill_narrow_avx2<2>(target, pitch, w, h, value, std::make_index_sequence<2>{});
        case 3: return fill_narrow_avx2<3>(target, pitch, w, h, value, std::make_index_sequence<3>{});
        default: return fill_narrow_avx2<4>(target, pitch, w, h, value, std::make_index_sequence<4>{});
        }
    }
#endif
    for (int r = 0; r < h; ++r, target += pitch) std::fill_n(target, w, value);
}

}  // namespace platform::gdi
