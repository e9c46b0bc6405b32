#include "gdi/expand.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

std::uint32_t load_be32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return __builtin_bswap32(v);
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
// it and used only where the processor reports it (expand_block_vector asks). Four source bytes are
// spread over all lanes; each lane shifts its own bit into its sign and picks ink or paper by it,
// 32 pixels a round with no table.
struct Avx2Colours {
    __m256 ink, paper;
    // Pixel i of byte k of a little-endian word is bit 8k + 7 - i: shifted left by 24 - 8k + i it
    // becomes the lane's sign bit, which is what the blend looks at.
    __m256i shifts[4];
};

__attribute__((target("avx2"))) inline __m256i pick_avx2(__m256i word, int byte, const Avx2Colours& c) {
    const __m256 sign = _mm256_castsi256_ps(_mm256_sllv_epi32(word, c.shifts[byte]));
    return _mm256_castps_si256(_mm256_blendv_ps(c.ink, c.paper, sign));
}

__attribute__((target("avx2"))) inline void expand_row_avx2(std::uint32_t* target, const std::uint8_t* row, int sx,
                                                            int w, const Avx2Colours& c) {
    auto* out = reinterpret_cast<__m256i*>(target);
    int done = 0;
    if ((sx & 7) == 0) {
        // Whole bytes straight from the row, four at a time.
        for (const std::uint8_t* source = row + (sx >> 3); done + 32 <= w; done += 32, source += 4, out += 4) {
            std::int32_t four;
            std::memcpy(&four, source, 4);
            const __m256i word = _mm256_set1_epi32(four);
            for (int k = 0; k < 4; ++k) _mm256_storeu_si256(out + k, pick_avx2(word, k, c));
        }
    } else {
        // A ragged start: 32 bits gathered at a time.
        for (; done + 32 <= w; done += 32, out += 4) {
            const __m256i word = _mm256_set1_epi32(static_cast<int>(__builtin_bswap32(bits_at(row, sx + done, 32))));
            for (int k = 0; k < 4; ++k) _mm256_storeu_si256(out + k, pick_avx2(word, k, c));
        }
    }
    if (done == w) return;
    // The last few pixels, or a short row: whole groups of eight, then four, two and one pixels
    // of the last group (masked stores are slow on some processors).
    const int n = w - done;
    const __m256i word = _mm256_set1_epi32(static_cast<int>(__builtin_bswap32(bits_at(row, sx + done, n))));
    int k = 0;
    for (; 8 * k + 8 <= n; ++k) _mm256_storeu_si256(out + k, pick_avx2(word, k, c));
    const int rest = n - 8 * k;
    if (rest == 0) return;
    const __m256i group = pick_avx2(word, k, c);
    auto* tail = reinterpret_cast<std::uint32_t*>(out + k);
    __m128i part = _mm256_castsi256_si128(group);
    if (rest & 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(tail), part);
        part = _mm256_extracti128_si256(group, 1);
        tail += 4;
    }
    if (rest & 2) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(tail), part);
        part = _mm_srli_si128(part, 8);
        tail += 2;
    }
    if (rest & 1) *tail = static_cast<std::uint32_t>(_mm_cvtsi128_si32(part));
}

__attribute__((target("avx2"))) void expand_block_avx2(std::uint32_t* target, std::ptrdiff_t pitch,
                                                       const std::uint8_t* row, std::ptrdiff_t step, int sx, int w,
                                                       int h, std::uint32_t ink, std::uint32_t paper) {
    Avx2Colours c;
    c.ink = _mm256_castsi256_ps(_mm256_set1_epi32(static_cast<int>(ink)));
    c.paper = _mm256_castsi256_ps(_mm256_set1_epi32(static_cast<int>(paper)));
    const __m256i first = _mm256_setr_epi32(24, 25, 26, 27, 28, 29, 30, 31);
    for (int k = 0; k < 4; ++k) c.shifts[k] = _mm256_sub_epi32(first, _mm256_set1_epi32(8 * k));
    for (int r = 0; r < h; ++r, target += pitch, row += step) expand_row_avx2(target, row, sx, w, c);
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

void expand_block(std::uint32_t* target, std::ptrdiff_t pitch, const std::uint8_t* row, std::ptrdiff_t step, int sx,
                  int w, int h, std::uint32_t ink, std::uint32_t paper) {
    static const ExpandBlock fastest = fastest_expand_block();
    fastest(target, pitch, row, step, sx, w, h, ink, paper);
}

}  // namespace platform::gdi
