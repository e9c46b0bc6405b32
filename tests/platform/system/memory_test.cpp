#include <gtest/gtest.h>

#include "platform/system.h"

TEST(Memory, ReleasingWhatWasNotHandedOutFailsAndLeavesBlocksAlone) {
    auto* block = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * 4096, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    auto* released = static_cast<BYTE*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_TRUE(VirtualFree(released, 0, MEM_RELEASE));
    int on_stack = 0;
    for (void* bad : {static_cast<void*>(nullptr), static_cast<void*>(&on_stack), static_cast<void*>(block + 4096),
                      static_cast<void*>(block + 1), static_cast<void*>(released)}) {
        EXPECT_FALSE(VirtualFree(bad, 0, MEM_RELEASE));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
    }
    EXPECT_FALSE(VirtualFree(block, 4096, MEM_RELEASE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // Still mapped: touching both pages must not fault.
    block[0] = 7;
    block[2 * 4096 - 1] = 7;
    EXPECT_TRUE(VirtualFree(block, 0, MEM_RELEASE));
}
