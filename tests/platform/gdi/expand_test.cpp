// Both ways of turning 1-bit rows into pixels give every pixel its colour, whatever the row's
// length and starting bit: the vector path where the processor has one, and the plain path that
// processors without it use.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gdi/expand.h"

using platform::gdi::ExpandBytes;

namespace {

constexpr std::uint32_t kInk = 0x102030;
constexpr std::uint32_t kPaper = 0xF0E0D0;

std::vector<std::uint8_t> pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 151 + 7);
    return bytes;
}

std::uint32_t expected(const std::vector<std::uint8_t>& bytes, int bit) {
    return (bytes[bit / 8] >> (7 - bit % 8)) & 1 ? kPaper : kInk;
}

void expect_whole_bytes(ExpandBytes expand) {
    // Lengths around the four-byte rounds of the vector path, and a long row.
    for (std::size_t count : {0u, 1u, 3u, 4u, 5u, 8u, 13u, 480u}) {
        const std::vector<std::uint8_t> bytes = pattern(count + 1);
        std::vector<std::uint32_t> pixels(8 * count + 1, 0xDEADBEEF);
        expand(pixels.data(), bytes.data(), count, kInk, kPaper);
        for (std::size_t i = 0; i < 8 * count; ++i) ASSERT_EQ(pixels[i], expected(bytes, static_cast<int>(i))) << count << " " << i;
        EXPECT_EQ(pixels[8 * count], 0xDEADBEEF) << "wrote past the row, " << count << " bytes";
    }
}

}  // namespace

TEST(Expand, PlainPathColoursEveryBit) { expect_whole_bytes(platform::gdi::expand_bytes_plain); }

TEST(Expand, VectorPathColoursEveryBit) {
    const ExpandBytes vector = platform::gdi::expand_bytes_vector();
    if (!vector) GTEST_SKIP() << "this processor has no vector path";
    expect_whole_bytes(vector);
}

TEST(Expand, RowsStartAndEndInsideBytes) {
    const std::vector<std::uint8_t> bytes = pattern(16);
    for (int sx = 0; sx < 9; ++sx) {
        for (int w : {1, 2, 7, 8, 9, 40, 100}) {
            std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) + 1, 0xDEADBEEF);
            platform::gdi::expand_row(pixels.data(), bytes.data(), sx, w, kInk, kPaper);
            for (int i = 0; i < w; ++i) ASSERT_EQ(pixels[i], expected(bytes, sx + i)) << sx << " " << w << " " << i;
            EXPECT_EQ(pixels[w], 0xDEADBEEF) << sx << " " << w;
        }
    }
}
