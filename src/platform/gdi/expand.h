// Turning 1-bit rows into 32-bit pixels: the heart of every repaint of a 1-bit image onto a window.
// The vector path is chosen at run time from what the processor offers; the plain one works on any.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::gdi {

// `count` whole source bytes, eight pixels each with the most significant bit leftmost: 0 bits
// become `ink`, 1 bits `paper`.
using ExpandBytes = void (*)(std::uint32_t* target, const std::uint8_t* source, std::size_t count, std::uint32_t ink,
                             std::uint32_t paper);

void expand_bytes_plain(std::uint32_t* target, const std::uint8_t* source, std::size_t count, std::uint32_t ink,
                        std::uint32_t paper);
// Null where the processor has no vector path.
ExpandBytes expand_bytes_vector();

// `w` pixels of a 1-bit row from bit `sx` on, with the fastest path this processor has.
void expand_row(std::uint32_t* target, const std::uint8_t* source_row, int sx, int w, std::uint32_t ink,
                std::uint32_t paper);

}  // namespace platform::gdi
