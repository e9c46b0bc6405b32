// Zeroed memory for the pixels of images and windows. A 4K notepad of 100 pages is 100 MB, and
// taking it from the system 4 KB at a time, a fault each, was most of the program's start: large
// blocks ask for huge pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

struct FreePixels {
    void operator()(std::uint8_t* p) const;
};

using PixelMemory = std::unique_ptr<std::uint8_t, FreePixels>;

// `bytes` of zeroes, or null when memory is short.
PixelMemory allocate_pixels(std::size_t bytes);

// Faults in the whole pages of a block another library mapped (a display's framebuffer) with one
// call, rather than a fault a page at its first compose. Only advice: an older system leaves them.
void prefault_pixels(void* block, std::size_t bytes);

}  // namespace platform
