// Both ways of turning 1-bit rows into pixels give every pixel its colour and nothing past the row,
// whatever the row's length and starting bit: the vector path where the processor has one, and the
// plain path that processors without it use.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "gdi/expand.h"

using platform::gdi::ExpandBlock;

namespace {

constexpr std::uint32_t kInk = 0x102030;
constexpr std::uint32_t kPaper = 0xF0E0D0;
constexpr std::uint32_t kUntouched = 0xDEADBEEF;

void expect_every_row(ExpandBlock expand) {
    // A row of 25 words: lengths around the 8- and 32-pixel rounds (a row's last eight pixels may be
    // stored over the ones before them) and a long row, from starts inside and on byte and word
    // boundaries.
    std::vector<std::uint8_t> row(100);
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(i * 151 + 7);
    for (int sx : {0, 1, 7, 8, 9, 31, 32, 33, 40}) {
        for (int w : {1, 4, 7, 8, 9, 12, 17, 20, 31, 32, 33, 36, 39, 40, 63, 64, 65, 300, 800 - 40}) {
            std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) + 2, kUntouched);
            expand(pixels.data() + 1, 0, row.data(), 0, sx, w, 1, kInk, kPaper);
            for (int i = 0; i < w; ++i) {
                const int bit = sx + i;
                ASSERT_EQ(pixels[i + 1], (row[bit / 8] >> (7 - bit % 8)) & 1 ? kPaper : kInk)
                    << sx << " " << w << " " << i;
            }
            ASSERT_EQ(pixels[0], kUntouched) << "wrote before the row from " << sx << ", " << w << " pixels";
            ASSERT_EQ(pixels[w + 1], kUntouched) << "wrote past the row from " << sx << ", " << w << " pixels";
        }
    }
}

}  // namespace

// Rows of a block are read `step` bytes apart, bottom-up as 1-bit images store them: blocks
// narrower than a byte, a byte and as wide as a pen stamp, from starts on and off byte boundaries.
TEST(Expand, BlockTakesEachRowFromItsOwnPlace) {
    const std::uint8_t rows[3][8] = {{0xFF, 0x12, 0x34, 0x56, 0x78, 0, 0, 0},
                                     {0x0F, 0x9A, 0xBC, 0xDE, 0xF0, 0, 0, 0},
                                     {0xF0, 0x5A, 0xA5, 0x3C, 0xC3, 0, 0, 0}};
    for (const auto& [sx, w] :
         {std::pair{3, 5}, std::pair{2, 8}, std::pair{0, 20}, std::pair{5, 20}, std::pair{7, 25}}) {
        std::uint32_t pixels[3][40];
        platform::gdi::expand_block(&pixels[0][0], 40, rows[2], -8, sx, w, 3, kInk, kPaper);
        for (int r = 0; r < 3; ++r)
            for (int i = 0; i < w; ++i) {
                const int bit = sx + i;
                ASSERT_EQ(pixels[r][i], (rows[2 - r][bit / 8] >> (7 - bit % 8)) & 1 ? kPaper : kInk)
                    << sx << " " << w << " " << r << " " << i;
            }
    }
}

TEST(Expand, PlainPathColoursEveryBit) { expect_every_row(platform::gdi::expand_block_plain); }

TEST(Expand, VectorPathColoursEveryBit) {
    const ExpandBlock vector = platform::gdi::expand_block_vector();
    if (!vector) GTEST_SKIP() << "this processor has no vector path";
    expect_every_row(vector);
}
