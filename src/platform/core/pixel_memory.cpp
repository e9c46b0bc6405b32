#include "core/pixel_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {
namespace {

// Smaller blocks are not worth a huge page: the whole page would be faulted in for them.
constexpr std::size_t kHugePagesFrom = std::size_t{8} << 20;

// Blocks this large come from calloc as a fresh mapping of their own, not yet touched, so advice
// given now decides the pages their first writes fault in. It is only advice: a system without
// huge pages keeps small ones.
void ask_for_huge_pages(std::uint8_t* block, std::size_t bytes) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(page - 1);
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

}  // namespace

void FreePixels::operator()(std::uint8_t* p) const { std::free(p); }

PixelMemory allocate_pixels(std::size_t bytes) {
    PixelMemory block(static_cast<std::uint8_t*>(std::calloc(bytes, 1)));
    if (block && bytes >= kHugePagesFrom) ask_for_huge_pages(block.get(), bytes);
    return block;
}

}  // namespace platform
