// Reading a whole .bmp file held in memory, as the resources are stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "gdi/objects.h"

namespace platform::gdi {

// 1-bit files give a monochrome bitmap in which the file's darker colour is 0 and the lighter 1,
// whatever the order of its colour table; 4-, 8-, 24- and 32-bit uncompressed files give 32-bit
// bitmaps. Null for anything else, and for any file whose sizes do not add up.
std::unique_ptr<Bitmap> decode_bmp(const std::uint8_t* data, std::size_t size);

}  // namespace platform::gdi
