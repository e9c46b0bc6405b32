#include "core/pixel_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {
namespace {

// Smaller blocks are not worth a huge page: the whole page would be faulted in for them.
constexpr std::size_t kHugePagesFrom = std::size_t{8} << 20;

// Advice on the whole pages within a block.
void advise_whole_pages(void* block, std::size_t bytes, int advice) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(page - 1);
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, advice);
}

}  // namespace

void FreePixels::operator()(std::uint8_t* p) const { std::free(p); }

PixelMemory allocate_pixels(std::size_t bytes) {
    PixelMemory block(static_cast<std::uint8_t*>(std::calloc(bytes, 1)));
    // Blocks this large come from calloc as a fresh mapping of their own, not yet touched, so advice
    // given now decides the pages their first writes fault in. It is only advice: a system without
    // huge pages keeps small ones.
    if (block && bytes >= kHugePagesFrom) advise_whole_pages(block.get(), bytes, MADV_HUGEPAGE);
    return block;
}

void prefault_pixels(void* block, std::size_t bytes) { advise_whole_pages(block, bytes, MADV_POPULATE_WRITE); }

}  // namespace platform
