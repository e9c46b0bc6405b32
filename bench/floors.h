// The floors the drawing paths are measured against: the least work that puts the same pixels in
// place, written as plainly as the processor allows. Built into each benchmark executable beside
// what it measures.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bench {

// Stores `value` into a `width` × `height` block of 32-bit pixels whose rows are `pitch` pixels
// apart, with the widest vector stores the processor has.
void fill_pixels(std::uint32_t* first_row, int width, int height, std::ptrdiff_t pitch, std::uint32_t value);

// The least work of one 20 × 20 stamp: twenty masked 32-bit writes `step` bytes apart from `image`
// (into a 1-bit image, where `bits` replaces what `mask` selects) and `value` stored into a 20 × 20
// block of 32-bit pixels whose rows are `pitch` pixels apart, with whole vector stores.
void stamp_20(std::uint8_t* image, std::ptrdiff_t step, std::uint32_t mask, std::uint32_t bits, std::uint32_t* pixels,
              std::ptrdiff_t pitch, std::uint32_t value);

// `rows` masked 32-bit writes, `step` bytes apart from `first`: a narrow block into a 1-bit image,
// where `bits` replaces what `mask` selects.
void masked_rows(std::uint8_t* first, std::ptrdiff_t step, int rows, std::uint32_t mask, std::uint32_t bits);

}  // namespace bench
