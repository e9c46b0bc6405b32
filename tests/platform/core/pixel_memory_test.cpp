// Pixel memory: zeroed, a block the size of a large notepad asks for huge pages, and a framebuffer
// is faulted in with one call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "core/pixel_memory.h"

namespace {

// The flags the kernel lists for the mapping that holds `p` (/proc/self/smaps), empty if none.
std::string mapping_flags(const void* p) {
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t from = 0, to = 0;
        char dash = 0;
        if (std::istringstream(line) >> std::hex >> from >> dash >> to && dash == '-') inside = from <= at && at < to;
        if (inside && line.starts_with("VmFlags:")) return line;
    }
    return {};
}

}  // namespace

// A kernel built without huge pages takes no advice about them.
TEST(PixelMemory, IsZeroedAndLargeBlocksAskForHugePages) {
    const bool kernel_has_them = std::filesystem::exists("/sys/kernel/mm/transparent_hugepage");
    for (const std::size_t bytes : {std::size_t{1}, std::size_t{4096 * 3 + 5}, std::size_t{100} << 20}) {
        const platform::PixelMemory block = platform::allocate_pixels(bytes);
        ASSERT_TRUE(block);
        EXPECT_TRUE(std::all_of(block.get(), block.get() + bytes, [](std::uint8_t b) { return b == 0; }));
        const bool huge = mapping_flags(block.get() + bytes / 2).find(" hg") != std::string::npos;
        EXPECT_EQ(huge, kernel_has_them && bytes >= (std::size_t{8} << 20)) << bytes << " bytes";
    }
}

TEST(PixelMemory, AFramebufferMappedElsewhereIsFaultedInAtOnce) {
    constexpr std::size_t kPages = 64;
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* block = mmap(nullptr, kPages * page, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(block, MAP_FAILED);
    platform::prefault_pixels(block, kPages * page);
    unsigned char resident[kPages] = {};
    ASSERT_EQ(mincore(block, kPages * page, resident), 0);
    EXPECT_EQ(std::count_if(resident, resident + kPages, [](unsigned char r) { return r & 1; }), kPages);
    munmap(block, kPages * page);
}
