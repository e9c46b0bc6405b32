// Turning 1-bit rows into 32-bit pixels: the heart of every repaint of a 1-bit image onto a window
// and of every stamp drawn on one. The vector path is chosen at run time from what the processor
// offers; the plain one works on any.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::gdi {

// A `w` × `h` block from bit `sx` of 1-bit rows (most significant bit leftmost, rows padded to 32
// bits, the next row `step` bytes on from `row`) onto pixel rows `pitch` pixels apart: 0 bits
// become `ink`, 1 bits `paper`. Reads only the 32-bit words that hold those bits.
using ExpandBlock = void (*)(std::uint32_t* target, std::ptrdiff_t pitch, const std::uint8_t* row, std::ptrdiff_t step,
                             int sx, int w, int h, std::uint32_t ink, std::uint32_t paper);

void expand_block_plain(std::uint32_t* target, std::ptrdiff_t pitch, const std::uint8_t* row, std::ptrdiff_t step,
                        int sx, int w, int h, std::uint32_t ink, std::uint32_t paper);
// Null where the processor has no vector path.
ExpandBlock expand_block_vector();

// The fastest of the two this processor has.
void expand_block(std::uint32_t* target, std::ptrdiff_t pitch, const std::uint8_t* row, std::ptrdiff_t step, int sx,
                  int w, int h, std::uint32_t ink, std::uint32_t paper);

// What a block whose bits are all one value expands to: `value` in every pixel of a `w` × `h` block
// whose rows are `pitch` pixels apart. A pen stamp's rows of 8 to 32 pixels take whole vector stores
// where the processor has them.
void expand_one_value(std::uint32_t* target, std::ptrdiff_t pitch, int w, int h, std::uint32_t value);

}  // namespace platform::gdi
