// Bitmaps from the built-in resources, and the .bmp reader under hostile input.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdi/bmp_decode.h"
#include "gdi/window_dc.h"
#include "grid.h"
#include "platform/resource_table.h"

using namespace gdi_test;

TEST(LoadBitmap, OneBitFilesGiveInkZeroWhateverTheirTableOrder) {
    HBITMAP bitmap = LoadBitmapW(nullptr, L"ink_white_first");
    EXPECT_EQ(shape_of(bitmap), (std::array<LONG, 3>{10, 3, 1}));
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    const MonoImage image = make_mono_image(10, 3);
    ASSERT_NE(BitBlt(image.dc, 0, 0, 10, 3, dc, 0, 0, SRCCOPY), 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool black = (y == 0 && (x == 0 || x == 9)) || (y == 1 && x == 5) || (y == 2 && (x < 2 || x == 9));
            EXPECT_EQ(image.bit(x, y), black ? 0 : 1) << x << "," << y;
        }
}

// Every truncation and every header field set to hostile values: the reader refuses or reads, and
// never reads outside the bytes it was given (the sanitizer build watches).
TEST(LoadBitmap, ReaderSurvivesHostileFiles) {
    const platform::ResourceEntry& file = platform::kResourceTable[0];
    const std::vector<std::uint8_t> good(file.data, file.data + file.size);
    ASSERT_NE(platform::gdi::decode_bmp(good.data(), good.size()), nullptr);
    for (std::size_t n = 0; n < good.size(); ++n) EXPECT_EQ(platform::gdi::decode_bmp(good.data(), n), nullptr) << "cut to " << n;
    for (std::size_t offset = 0; offset + 4 <= 62; offset += 2)
        for (std::uint32_t value : {0u, 1u, 2u, 4u, 8u, 12u, 39u, 41u, 0x7FFFu, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
            std::vector<std::uint8_t> bad = good;
            std::memcpy(bad.data() + offset, &value, 4);
            platform::gdi::decode_bmp(bad.data(), bad.size());
        }
    EXPECT_EQ(platform::gdi_live_objects(), 0u);
}
