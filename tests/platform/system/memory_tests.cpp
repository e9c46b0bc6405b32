#include <gtest/gtest.h>

#include <cstdint>

#include "platform/system.h"

TEST(Memory, ABlockIsZeroFilledWritableAndReleasedOnce) {
    constexpr SIZE_T size = 3 * 4096 + 5;
    auto* block = static_cast<BYTE*>(VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    for (SIZE_T i = 0; i < size; ++i) ASSERT_EQ(block[i], 0);
    block[0] = 1;
    block[size - 1] = 2;
    EXPECT_TRUE(VirtualFree(block, 0, MEM_RELEASE));
    EXPECT_FALSE(VirtualFree(block, 0, MEM_RELEASE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
    EXPECT_NE(VirtualAlloc(nullptr, 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE), nullptr);
}

TEST(Memory, EmptyAbsurdAndUnsupportedRequestsGetNothing) {
    EXPECT_EQ(VirtualAlloc(nullptr, 0, MEM_COMMIT, PAGE_READWRITE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    for (const SIZE_T absurd : {~SIZE_T{0}, SIZE_T{1} << 62, SIZE_T{0xFFFFFFFF} * 4096}) {
        EXPECT_EQ(VirtualAlloc(nullptr, absurd, MEM_COMMIT, PAGE_READWRITE), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    }
    int somewhere = 0;
    EXPECT_EQ(VirtualAlloc(&somewhere, 4096, MEM_COMMIT, PAGE_READWRITE), nullptr);
    EXPECT_EQ(VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_READWRITE), nullptr);
    EXPECT_EQ(VirtualAlloc(nullptr, 4096, MEM_COMMIT, 0x40), nullptr);
}

TEST(Memory, ReleasingWhatWasNotHandedOutFailsAndLeavesBlocksAlone) {
    auto* block = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * 4096, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(block, nullptr);
    int on_stack = 0;
    for (void* bad : {static_cast<void*>(nullptr), static_cast<void*>(&on_stack), static_cast<void*>(block + 4096),
                      static_cast<void*>(block + 1)}) {
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
