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

void masked_rows(std::uint8_t* first, std::ptrdiff_t step, int rows, std::uint32_t mask, std::uint32_t bits) {
    for (int r = 0; r < rows; ++r, first += step) {
        std::uint32_t d;
        std::memcpy(&d, first, 4);
        d = (d & ~mask) | (bits & mask);
        std::memcpy(first, &d, 4);
    }
}

}  // namespace bench
