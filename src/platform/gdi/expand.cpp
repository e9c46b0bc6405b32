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

// Pixels first .. last-1 of one source byte, for the ragged ends of a row.
std::uint32_t* expand_part(std::uint32_t* target, std::uint8_t byte, int first, int last, std::uint32_t ink,
                           std::uint32_t paper) {
    for (int bit = first; bit < last; ++bit) *target++ = (byte >> (7 - bit)) & 1 ? paper : ink;
    return target;
}

#if defined(__x86_64__)
// AVX2 is not part of the baseline this program is built for, so these functions are compiled for
// it and used only where the processor reports it (expand_bytes_vector asks). Four source bytes are
// spread over all lanes; each lane tests its own bit and picks ink or paper, 32 pixels per round
// with no table.
__attribute__((target("avx2"))) inline __m256i pick_avx2(__m256i word, __m256i bits, __m256i ink, __m256i paper) {
    const __m256i set = _mm256_cmpeq_epi32(_mm256_and_si256(word, bits), bits);
    return _mm256_blendv_epi8(ink, paper, set);
}

__attribute__((target("avx2"))) void expand_bytes_avx2(std::uint32_t* target, const std::uint8_t* source,
                                                       std::size_t count, std::uint32_t ink, std::uint32_t paper) {
    const __m256i ink_v = _mm256_set1_epi32(static_cast<int>(ink));
    const __m256i paper_v = _mm256_set1_epi32(static_cast<int>(paper));
    // The bit of pixel i of byte k of a little-endian word is (0x80 >> i) << 8k.
    const __m256i bits0 = _mm256_setr_epi32(0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01);
    const __m256i bits1 = _mm256_slli_epi32(bits0, 8);
    const __m256i bits2 = _mm256_slli_epi32(bits0, 16);
    const __m256i bits3 = _mm256_slli_epi32(bits0, 24);
    auto* out = reinterpret_cast<__m256i*>(target);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4, out += 4) {
        std::int32_t four;
        std::memcpy(&four, source + i, 4);
        const __m256i word = _mm256_set1_epi32(four);
        _mm256_storeu_si256(out, pick_avx2(word, bits0, ink_v, paper_v));
        _mm256_storeu_si256(out + 1, pick_avx2(word, bits1, ink_v, paper_v));
        _mm256_storeu_si256(out + 2, pick_avx2(word, bits2, ink_v, paper_v));
        _mm256_storeu_si256(out + 3, pick_avx2(word, bits3, ink_v, paper_v));
    }
    for (; i < count; ++i, ++out) _mm256_storeu_si256(out, pick_avx2(_mm256_set1_epi32(source[i]), bits0, ink_v, paper_v));
}
#endif

ExpandBytes fastest_expand_bytes() {
    const ExpandBytes vector = expand_bytes_vector();
    return vector ? vector : expand_bytes_plain;
}

}  // namespace

void expand_bytes_plain(std::uint32_t* target, const std::uint8_t* source, std::size_t count, std::uint32_t ink,
                        std::uint32_t paper) {
    const ExpansionTable& table = expansion_table(ink, paper);
    for (std::size_t i = 0; i < count; ++i, target += 8) std::memcpy(target, table.pixels[source[i]], 32);
}

ExpandBytes expand_bytes_vector() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return expand_bytes_avx2;
#endif
    return nullptr;
}

void expand_row(std::uint32_t* target, const std::uint8_t* source_row, int sx, int w, std::uint32_t ink,
                std::uint32_t paper) {
    static const ExpandBytes expand_bytes = fastest_expand_bytes();
    const std::uint8_t* s = source_row + (sx >> 3);
    if (const int lead = sx & 7; lead != 0) {
        const int last = std::min(8, lead + w);
        target = expand_part(target, *s++, lead, last, ink, paper);
        w -= last - lead;
    }
    const int whole = w / 8;
    expand_bytes(target, s, static_cast<std::size_t>(whole), ink, paper);
    if (const int tail = w % 8; tail > 0) expand_part(target + 8 * whole, s[whole], 0, tail, ink, paper);
}

}  // namespace platform::gdi
