// Device contexts and drawing objects: selection rules, deletion, handle checks and counts.
#include <gtest/gtest.h>

#include "backend/headless/headless.h"
#include "fake_windows.h"
#include "gdi/window_dc.h"
#include "mono_image.h"
#include "platform/platform.h"

using namespace gdi_test;

namespace {

LOGFONTW sans(LONG height) {
    LOGFONTW f{};
    f.lfHeight = height;
    f.lfWeight = FW_BOLD;
    return f;
}

}  // namespace

TEST(Selection, MemoryDcStartsWithOneByOneMonochromeBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 1);
    // Made while the DC still holds its default bitmap, so monochrome.
    HBITMAP mine = CreateCompatibleBitmap(dc, 8, 8);
    EXPECT_EQ(shape_of(mine), (Shape{8, 8, 1}));

    HGDIOBJ initial = SelectObject(dc, mine);
    EXPECT_EQ(shape_of(initial), (Shape{1, 1, 1}));
    EXPECT_EQ(SelectObject(dc, initial), mine);
    // The default bitmap is shared by every memory DC.
    HDC other = CreateCompatibleDC(dc);
    EXPECT_NE(SelectObject(other, initial), nullptr);
}

TEST(Selection, BitmapLivesInOneDcAtATime) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(first, 16, 16);
    ASSERT_NE(SelectObject(first, bitmap), nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    EXPECT_EQ(SelectObject(first, bitmap), bitmap) << "selecting again gives the same bitmap back";

    HBITMAP other = CreateCompatibleBitmap(first, 4, 4);
    EXPECT_EQ(SelectObject(first, other), bitmap);
    EXPECT_NE(SelectObject(second, bitmap), nullptr) << "free again once displaced";
}

TEST(Selection, SelectedBitmapCannotBeDeleted) {
    const MonoImage image = make_mono_image(32, 8);
    EXPECT_EQ(DeleteObject(image.bitmap), 0);
    image.bits[0] = 0x5A;  // still its memory
    BITMAP b{};
    GetObjectW(image.bitmap, sizeof b, &b);
    EXPECT_EQ(b.bmBits, image.bits);

    HBITMAP spare = CreateCompatibleBitmap(image.dc, 1, 1);
    EXPECT_EQ(SelectObject(image.dc, spare), image.bitmap);
    EXPECT_NE(DeleteObject(image.bitmap), 0);
    BITMAP gone{};
    EXPECT_EQ(GetObjectW(image.bitmap, sizeof gone, &gone), 0);
}

TEST(Selection, DeleteDcLeavesItsBitmapToTheCaller) {
    const MonoImage image = make_mono_image(8, 8);
    EXPECT_NE(DeleteDC(image.dc), 0);
    EXPECT_EQ(shape_of(image.bitmap), (Shape{8, 8, 1}));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(dc, image.bitmap), nullptr);
    EXPECT_EQ(DeleteDC(image.dc), 0) << "already gone";
}

TEST(Selection, FontsAndBrushesStayWhileSelected) {
    HDC dc = CreateCompatibleDC(nullptr);
    const LOGFONTW record = sans(16);
    HFONT font = CreateFontIndirectW(&record);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ default_font = SelectObject(dc, font);
    HGDIOBJ default_brush = SelectObject(dc, brush);
    ASSERT_NE(default_font, nullptr);
    ASSERT_NE(default_brush, nullptr);
    EXPECT_EQ(DeleteObject(font), 0);
    EXPECT_EQ(DeleteObject(brush), 0);

    LOGFONTW back{};
    EXPECT_EQ(GetObjectW(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(back.lfHeight, 16);
    EXPECT_EQ(back.lfWeight, FW_BOLD);

    EXPECT_EQ(SelectObject(dc, default_font), font);
    EXPECT_NE(DeleteObject(font), 0);
    DeleteDC(dc);
    EXPECT_NE(DeleteObject(brush), 0) << "a deleted DC holds nothing";
}

TEST(Selection, WindowDcTakesNoBitmap) {
    HWND window = fake_window(10, 10);
    HDC dc = platform::dc_open_window(window, nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
    EXPECT_EQ(shape_of(bitmap), (Shape{4, 4, 32}));
    EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
    EXPECT_EQ(DeleteDC(dc), 0) << "a window's DC goes back through its window";
    EXPECT_TRUE(platform::dc_is_window_dc(dc, window));
    EXPECT_FALSE(platform::dc_is_window_dc(dc, fake_window(1, 1)));
    EXPECT_TRUE(platform::dc_close_window(dc));
    EXPECT_FALSE(platform::dc_close_window(dc));
    EXPECT_FALSE(platform::dc_is_window_dc(dc, window));
}

TEST(Handles, BadDeviceContextsFailWithoutEffect) {
    const MonoImage image = make_mono_image(16, 4);
    std::fill(image.bits, image.bits + image.stride * image.height, std::uint8_t{0xFF});
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    HBRUSH brush = CreateSolidBrush(0);
    const std::size_t live = platform::gdi_live_objects();

    const HDC bad[] = {nullptr, stale, reinterpret_cast<HDC>(image.bitmap), reinterpret_cast<HDC>(brush),
                       reinterpret_cast<HDC>(0x12345678), reinterpret_cast<HDC>(~std::uintptr_t{0})};
    RECT r{0, 0, 16, 4};
    for (HDC dc : bad) {
        SCOPED_TRACE(testing::Message() << "handle " << dc);
        EXPECT_EQ(BitBlt(dc, 0, 0, 16, 4, image.dc, 0, 0, SRCCOPY), 0);
        EXPECT_EQ(BitBlt(image.dc, 0, 0, 16, 4, dc, 0, 0, SRCCOPY), 0);
        EXPECT_EQ(StretchBlt(image.dc, 0, 0, 16, 4, dc, 0, 0, 1, 1, SRCCOPY), 0);
        EXPECT_EQ(PatBlt(dc, 0, 0, 16, 4, BLACKNESS), 0);
        EXPECT_EQ(FillRect(dc, &r, brush), 0);
        EXPECT_EQ(TransparentImage(dc, 0, 0, 4, 4, image.bitmap, 0, 0, 4, 4, 0), 0);
        EXPECT_EQ(TransparentImage(image.dc, 0, 0, 4, 4, dc, 0, 0, 4, 4, 0xFFFFFF), 0);
        EXPECT_EQ(DrawTextW(dc, L"x", -1, &r, 0), 0);
        EXPECT_EQ(SelectObject(dc, brush), nullptr);
        EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
        EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
        EXPECT_EQ(SetBkMode(dc, TRANSPARENT), 0);
        EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
        EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 0);
        EXPECT_EQ(DeleteDC(dc), 0);
        EXPECT_EQ(CreateCompatibleDC(dc == nullptr ? stale : dc), nullptr);
        EXPECT_EQ(CreateCompatibleBitmap(dc, 4, 4), nullptr);
    }
    for (int i = 0; i < image.stride * image.height; ++i) ASSERT_EQ(image.bits[i], 0xFF) << "byte " << i;
    EXPECT_EQ(platform::gdi_live_objects(), live);
}

TEST(Handles, BadObjectsFailWithoutEffect) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP stale = CreateCompatibleBitmap(dc, 2, 2);
    DeleteObject(stale);
    HBRUSH stale_brush = CreateSolidBrush(0);
    DeleteObject(stale_brush);
    const HGDIOBJ bad[] = {nullptr, stale, stale_brush, reinterpret_cast<HGDIOBJ>(dc),
                           reinterpret_cast<HGDIOBJ>(0x7FFF0000)};
    RECT r{0, 0, 1, 1};
    for (HGDIOBJ object : bad) {
        SCOPED_TRACE(testing::Message() << "handle " << object);
        BITMAP b{};
        EXPECT_EQ(GetObjectW(object, sizeof b, &b), 0);
        EXPECT_EQ(DeleteObject(object), 0);
        EXPECT_EQ(SelectObject(dc, object), nullptr);
        EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(object)), 0);
    }
    EXPECT_EQ(DeleteObject(stale), 0) << "twice";
    EXPECT_EQ(LoadBitmapW(nullptr, L"NO SUCH BITMAP"), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

TEST(Handles, LiveObjectsCountEverythingButStockObjects) {
    EXPECT_EQ(platform::gdi_live_objects(), 0u);
    EXPECT_NE(GetStockObject(WHITE_BRUSH), nullptr);
    EXPECT_NE(GetStockObject(NULL_BRUSH), nullptr);
    EXPECT_EQ(GetStockObject(99), nullptr);
    EXPECT_EQ(platform::gdi_live_objects(), 0u);

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 3);
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    const LOGFONTW record = sans(-12);
    HFONT font = CreateFontIndirectW(&record);
    HDC window_dc = platform::dc_open_window(fake_window(4, 4), nullptr);
    EXPECT_EQ(platform::gdi_live_objects(), 5u);

    EXPECT_NE(DeleteObject(GetStockObject(BLACK_BRUSH)), 0) << "deleting a stock object is harmless";
    RECT r{0, 0, 1, 1};
    EXPECT_NE(FillRect(window_dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_EQ(platform::gdi_live_objects(), 5u);

    DeleteObject(bitmap);
    DeleteObject(brush);
    DeleteObject(font);
    DeleteDC(dc);
    platform::dc_close_window(window_dc);
    EXPECT_EQ(platform::gdi_live_objects(), 0u);
}

TEST(DeviceCaps, ScreenSizeComesFromTheBackendAndDepthFromTheBitmap) {
    platform::use_headless_backend(320, 240);
    HDC screen = platform::dc_open_window(nullptr, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 320);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 240);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(PatBlt(screen, 0, 0, 1, 1, BLACKNESS), 0) << "the screen's DC draws nothing";

    HDC memory = CreateCompatibleDC(screen);
    SelectObject(memory, CreateCompatibleBitmap(screen, 2, 2));
    EXPECT_EQ(GetDeviceCaps(memory, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(make_mono_image(8, 8).dc, BITSPIXEL), 1);
}
