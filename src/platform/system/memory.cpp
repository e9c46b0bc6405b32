// Virtual memory: whole zero-filled blocks of pages, each released whole.
#include <map>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/system.h"

namespace {

// The blocks handed out and not yet released, by address, with their mapped lengths. Only these
// may be released, so a stray pointer or a second release fails instead of unmapping another's
// memory.
std::map<std::uintptr_t, std::size_t>& live_blocks() {
    static std::map<std::uintptr_t, std::size_t> blocks;
    return blocks;
}

// No block may be larger than the machine's memory: a size read from a damaged file must not
// become an allocation that only fails when it is touched.
std::size_t largest_block() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page <= 0) return std::size_t{1} << 30;
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(page);
}

}  // namespace

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD allocationType, DWORD protect) {
    // Committed read-write memory anywhere is all that is offered: what the program asks for.
    if (address || allocationType != MEM_COMMIT || protect != PAGE_READWRITE || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (size > largest_block()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    live_blocks()[reinterpret_cast<std::uintptr_t>(block)] = size;
    return block;
}

BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD freeType) {
    if (freeType != MEM_RELEASE || size != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto block = live_blocks().find(reinterpret_cast<std::uintptr_t>(address));
    if (block == live_blocks().end()) {
        SetLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    munmap(address, block->second);
    live_blocks().erase(block);
    return TRUE;
}
