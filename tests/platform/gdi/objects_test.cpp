// Device contexts and drawing objects: selection rules, deletion, handle checks and counts.
#include <gtest/gtest.h>

#include "testing.h"
#include "mono_image.h"

using namespace gdi_test;
using Shape = std::array<LONG, 3>;

// A bitmap lives in one DC at a time and is not deleted from under it; neither is a font or a
// brush; a deleted DC holds nothing; stock objects are never deleted nor counted.
TEST(Selection, ObjectsBelongToOneDcAtATimeAndStayWhileSelected) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(first, 16, 16);
    EXPECT_EQ(shape_of(bitmap), (Shape{16, 16, 1})) << "compatible with the DC's default 1-bit bitmap";
    HGDIOBJ initial = SelectObject(first, bitmap);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    EXPECT_EQ(DeleteObject(bitmap), 0);
    EXPECT_EQ(SelectObject(first, initial), bitmap);
    EXPECT_NE(SelectObject(second, bitmap), nullptr) << "free again once displaced";

    LOGFONTW record{};
    HFONT font = CreateFontIndirectW(&record);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    SelectObject(second, font);
    SelectObject(second, brush);
    EXPECT_EQ(DeleteObject(font), 0);
    EXPECT_EQ(DeleteObject(brush), 0);
    EXPECT_NE(DeleteDC(second), 0);
    EXPECT_NE(DeleteObject(font), 0);
    EXPECT_NE(DeleteObject(brush), 0);
    EXPECT_NE(DeleteObject(bitmap), 0);
    EXPECT_NE(DeleteObject(GetStockObject(WHITE_BRUSH)), 0);
    EXPECT_NE(SelectObject(first, GetStockObject(WHITE_BRUSH)), nullptr);
    EXPECT_EQ(platform::gdi_live_objects(), 1u);
}

TEST(Handles, NullStaleAndWrongKindHandlesFailWithoutEffect) {
    const MonoImage image = make_mono_image(16, 4);
    std::fill(image.bits, image.bits + image.stride * image.height, std::uint8_t{0xFF});
    HDC stale_dc = CreateCompatibleDC(nullptr);
    DeleteDC(stale_dc);
    HBITMAP stale_bitmap = CreateCompatibleBitmap(image.dc, 2, 2);
    DeleteObject(stale_bitmap);
    HBRUSH stale_brush = CreateSolidBrush(0);
    DeleteObject(stale_brush);
    HBRUSH brush = CreateSolidBrush(0);
    const std::size_t live = platform::gdi_live_objects();
    const HDC bad_dcs[] = {nullptr, stale_dc, reinterpret_cast<HDC>(image.bitmap), reinterpret_cast<HDC>(brush),
                           reinterpret_cast<HDC>(0x12345678), reinterpret_cast<HDC>(~std::uintptr_t{0})};
    RECT r{0, 0, 16, 4};
    for (HDC dc : bad_dcs) {
        SCOPED_TRACE(testing::Message() << "DC " << dc);
        // Each call in a list fails; a failing one is named by its place in it.
        const int refused[] = {BitBlt(dc, 0, 0, 16, 4, image.dc, 0, 0, SRCCOPY), BitBlt(image.dc, 0, 0, 16, 4, dc, 0, 0, SRCCOPY),
                               StretchBlt(image.dc, 0, 0, 16, 4, dc, 0, 0, 1, 1, SRCCOPY), PatBlt(dc, 0, 0, 16, 4, BLACKNESS),
                               FillRect(dc, &r, brush), TransparentImage(image.dc, 0, 0, 4, 4, dc, 0, 0, 4, 4, 0xFFFFFF),
                               DrawTextW(dc, L"x", -1, &r, 0), SetBkMode(dc, TRANSPARENT), GetDeviceCaps(dc, LOGPIXELSY),
                               DeleteDC(dc)};
        for (std::size_t i = 0; i < std::size(refused); ++i) EXPECT_EQ(refused[i], 0) << "call " << i;
        const COLORREF invalid[] = {SetTextColor(dc, 0), SetBkColor(dc, 0), GetPixel(dc, 0, 0)};
        for (std::size_t i = 0; i < std::size(invalid); ++i) EXPECT_EQ(invalid[i], CLR_INVALID) << "call " << i;
        const void* none[] = {SelectObject(dc, brush), CreateCompatibleDC(dc == nullptr ? stale_dc : dc),
                              CreateCompatibleBitmap(dc, 4, 4)};
        for (std::size_t i = 0; i < std::size(none); ++i) EXPECT_EQ(none[i], nullptr) << "call " << i;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    for (HGDIOBJ object : {HGDIOBJ{}, HGDIOBJ{stale_bitmap}, HGDIOBJ{stale_brush}, reinterpret_cast<HGDIOBJ>(dc),
                           reinterpret_cast<HGDIOBJ>(0x7FFF0000)}) {
        SCOPED_TRACE(testing::Message() << "object " << object);
        BITMAP b{};
        EXPECT_EQ(GetObjectW(object, sizeof b, &b), 0);
        EXPECT_EQ(DeleteObject(object), 0);
        EXPECT_EQ(SelectObject(dc, object), nullptr);
        EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(object)), 0);
    }
    EXPECT_EQ(LoadBitmapW(nullptr, L"NO SUCH BITMAP"), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
    EXPECT_EQ(GetStockObject(99), nullptr);
    DeleteDC(dc);
    for (int i = 0; i < image.stride * image.height; ++i) ASSERT_EQ(image.bits[i], 0xFF) << "byte " << i;
    EXPECT_EQ(platform::gdi_live_objects(), live);
}
