#include "notepad/notepad.h"

#include "shared/globals.h"

NotepadImageRecord NotepadImage = {nullptr, nullptr, nullptr};
LONG NotepadWidth = 0;
LONG NotepadHeight = 0;
LONG NotepadStride = 0;
HDC ScreenContext = nullptr;
LONG ViewOffset = 0;
LONG PageCount = 0;
int DirtyFlag = 0;
DrawModeKind DrawMode = DRAW_PEN;
HDC PenStamp = nullptr;
HDC EraserStamp = nullptr;
HBITMAP PenStampBitmap = nullptr;
HBITMAP EraserStampBitmap = nullptr;
HFONT PageIndicatorFont = nullptr;
HBITMAP PageClipboard = nullptr;
int DisplayScale = 1;

void AdoptNotepadBitmap(HBITMAP bitmap) {
    BITMAP record{};
    GetObjectW(bitmap, sizeof record, &record);
    NotepadImage.Bitmap = bitmap;
    NotepadImage.Bits = static_cast<BYTE*>(record.bmBits);
    NotepadHeight = record.bmHeight;
    NotepadWidth = record.bmWidth;
    NotepadStride = record.bmWidthBytes;
}

RECT ScaledRect(const RECT& rect) {
    return {rect.left * DisplayScale, rect.top * DisplayScale, rect.right * DisplayScale, rect.bottom * DisplayScale};
}

HBITMAP CreateMonoBitmap(HDC context, int width, int height, LONG xPelsPerMeter, LONG yPelsPerMeter) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 2;
    info.header.biXPelsPerMeter = xPelsPerMeter;
    info.header.biYPelsPerMeter = yPelsPerMeter;
    info.header.biClrImportant = 2;
    info.colours[1] = {255, 255, 255, 0};

    void* bits = nullptr;
    return CreateDIBSection(context, reinterpret_cast<const BITMAPINFO*>(&info), DIB_PAL_COLORS, &bits, nullptr, 0);
}

HBITMAP CreateMonoImage(HDC context, int width, int height) {
    HBITMAP bitmap = CreateMonoBitmap(context, width, height, 0, 0);
    if (!SelectObject(context, bitmap)) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

void RepaintFromImage(LONG left, LONG top, LONG right, LONG bottom) {
    BitBlt(ScreenContext, left, top, right - left, bottom - top, NotepadImage.Context, left, top + ViewOffset,
           SRCCOPY);
}

void ShowPageIndicator() {
    const RECT outer = ScaledRect(PageIndicatorOuter);
    const RECT inner = ScaledRect(PageIndicatorInner);
    StretchBlt(ScreenContext, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top, PenStamp, 0,
               0, 1, 1, SRCCOPY);
    StretchBlt(ScreenContext, inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top, EraserStamp,
               0, 0, 1, 1, SRCCOPY);
    WCHAR number[16];
    wnsprintfW(number, ARRAYSIZE(number), L"%d", ViewOffset / PageHeight + 1);
    RECT text = ScaledRect(PageIndicatorText);
    DrawTextW(ScreenContext, number, -1, &text, DT_CENTER | DT_VCENTER);
}

void ErasePageIndicator() {
    const RECT outer = ScaledRect(PageIndicatorOuter);
    RepaintFromImage(outer.left, outer.top, outer.right, outer.bottom);
}

void ClearNotepad() {
    PatBlt(NotepadImage.Context, 0, 0, NotepadWidth, NotepadHeight, WHITENESS);
    ViewOffset = 0;
}
