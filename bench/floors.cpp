#include "floors.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace bench {
namespace {

#if defined(__x86_64__)
// Compiled for AVX2 so that the floor stores as wide as the drawing path it is compared with; used
// only where the processor reports it.
__attribute__((target("avx2"))) void fill_avx2(std::uint32_t* row, int width, int height, std::ptrdiff_t pitch,
                                               std::uint32_t value) {
    const __m256i v = _mm256_set1_epi32(static_cast<int>(value));
    for (int y = 0; y < height; ++y, row += pitch) {
        int x = 0;
        for (; x + 8 <= width; x += 8) _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + x), v);
        for (; x < width; ++x) row[x] = value;
    }
}

// Two 8-pixel stores and one of 4 a row: no scalar tail.
__attribute__((target("avx2"))) void stamp_20_avx2(std::uint8_t* image, std::ptrdiff_t step, std::uint32_t mask,
                                                   std::uint32_t bits, std::uint32_t* pixels, std::ptrdiff_t pitch,
                                                   std::uint32_t value) {
    const __m256i v = _mm256_set1_epi32(static_cast<int>(value));
    for (int r = 0; r < 20; ++r, image += step, pixels += pitch) {
        std::uint32_t d;
        std::memcpy(&d, image, 4);
        d = (d & ~mask) | (bits & mask);
        std::memcpy(image, &d, 4);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), v);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + 8), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + 16), _mm256_castsi256_si128(v));
    }
}

bool has_avx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
#endif

void fill_plain(std::uint32_t* row, int width, int height, std::ptrdiff_t pitch, std::uint32_t value) {
    for (int y = 0; y < height; ++y, row += pitch)
        for (int x = 0; x < width; ++x) row[x] = value;
}

}  // namespace

void fill_pixels(std::uint32_t* first_row, int width, int height, std::ptrdiff_t pitch, std::uint32_t value) {
#if defined(__x86_64__)
    static const bool avx2 = has_avx2();
    if (avx2) return fill_avx2(first_row, width, height, pitch, value);
#endif
    fill_plain(first_row, width, height, pitch, value);
}

void stamp_20(std::uint8_t* image, std::ptrdiff_t step, std::uint32_t mask, std::uint32_t bits, std::uint32_t* pixels,
              std::ptrdiff_t pitch, std::uint32_t value) {
#if defined(__x86_64__)
    static const bool avx2 = has_avx2();
    if (avx2) return stamp_20_avx2(image, step, mask, bits, pixels, pitch, value);
#endif
    masked_rows(image, step, 20, mask, bits);
    fill_plain(pixels, 20, 20, pitch, value);
}

void masked_rows(std::uint8_t* first, std::ptrdiff_t step, int rows, std::uint32_t mask, std::uint32_t bits) {
    for (int r = 0; r < rows; ++r, first += step) {
        std::uint32_t d;
        std::memcpy(&d, first, 4);
        d = (d & ~mask) | (bits & mask);
        std::memcpy(first, &d, 4);
    }
}

}  // namespace bench
