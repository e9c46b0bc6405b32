#include "notepad/notepad.h"

#include "app/app.h"
#include "ink/pen_cursor.h"
#include "notepad/notepad_file.h"
#include "notepad/undo.h"
#include "settings/settings.h"
#include "toolbutton/toolbutton.h"

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
    // The steps of another image would write nonsense over this one.
    ClearHistory();
    BITMAP record{};
    GetObjectW(bitmap, sizeof record, &record);
    NotepadImage.Bitmap = bitmap;
    NotepadImage.Bits = static_cast<BYTE*>(record.bmBits);
    NotepadHeight = record.bmHeight;
    NotepadWidth = record.bmWidth;
    NotepadStride = record.bmWidthBytes;
}

namespace {

HDC CreateStamp(LPCWSTR bitmapName, HINSTANCE instance, HBITMAP* bitmap) {
    HDC stamp = CreateCompatibleDC(nullptr);
    *bitmap = LoadBitmapW(instance, bitmapName);
    SelectObject(stamp, *bitmap);
    return stamp;
}

// The factor the display gives through its logical density, 96 at scale 1.
int ReadDisplayScale(HDC context) {
    const int scale = GetDeviceCaps(context, LOGPIXELSY) / 96;
    return scale > 1 ? scale : 1;
}

}  // namespace

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

void ShowToolButton() {
    ShowWindow(ToolButton, SW_SHOW);
    UpdateWindow(ToolButton);
}

void HideToolButton() {
    RECT area{};
    GetWindowRect(ToolButton, &area);
    ShowWindow(ToolButton, SW_HIDE);
    RepaintFromImage(area.left, area.top, area.right, area.bottom);
}

void ClearNotepad() {
    PatBlt(NotepadImage.Context, 0, 0, NotepadWidth, NotepadHeight, WHITENESS);
    ViewOffset = 0;
}

int InitNotepad(HWND mainWindow, HINSTANCE instance) {
    LOGFONTW font = {};
    font.lfHeight = PageIndicatorFontHeight;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    const WCHAR face[] = L"Swiss";
    for (int i = 0; face[i]; ++i) font.lfFaceName[i] = face[i];

    PenStamp = CreateStamp(L"BLACK20X20", instance, &PenStampBitmap);
    EraserStamp = CreateStamp(L"WHITE20X20", instance, &EraserStampBitmap);
    NotepadImage.Context = CreateCompatibleDC(nullptr);

    HBITMAP loaded = nullptr;
    WCHAR newPadMessage[RefusalNoteLength + 32] = {};
    if (ChooseNotepadFilePath()) {
        RemoveLeftoverSaves(NotepadFilePath);
        loaded = LoadNotepadFile(NotepadImage.Context, NotepadFilePath);
    }
    if (loaded) {
        AdoptNotepadBitmap(loaded);
    } else {
        HBITMAP fresh = CreateMonoImage(NotepadImage.Context, PageWidth, NewNotepadPages * PageHeight);
        if (!fresh) {
            MessageBoxW(mainWindow, L"There is not enough memory for a notepad. Scrivo has to close.", L"Scrivo",
                        MB_OK | MB_ICONHAND);
            return 0;
        }
        AdoptNotepadBitmap(fresh);
        ClearNotepad();
        WCHAR note[RefusalNoteLength];
        FormatRefusalNote(note, ARRAYSIZE(note));
        wnsprintfW(newPadMessage, ARRAYSIZE(newPadMessage), note[0] ? L"New Pad Created\n%s" : L"New Pad Created",
                   note);
    }

    ScreenContext = GetDC(mainWindow);
    DisplayScale = ReadDisplayScale(ScreenContext);
    font.lfHeight *= DisplayScale;
    PageIndicatorFont = CreateFontIndirectW(&font);
    SelectObject(ScreenContext, PageIndicatorFont);

    CreateToolButton(mainWindow, instance);

    const LONG storedPosition = LoadSettings();
    UpdatePenCursor();
    const LONG lastPageTop = NotepadHeight - PageHeight;
    ViewOffset = storedPosition < lastPageTop ? storedPosition : lastPageTop;
    // A stored position can be negative (edited by hand), and a notepad lower than the screen has
    // no last page top above row 0: the view never starts above the first row.
    if (ViewOffset < 0) ViewOffset = 0;

    DirtyFlag = 0;
    PageCount = NotepadHeight / PageHeight;
    DrawMode = DRAW_PEN;
    if (newPadMessage[0]) {
        // The box stands over the new page and its button, not over an empty screen.
        UpdateWindow(mainWindow);
        MessageBoxW(mainWindow, newPadMessage, L"Scrivo", MB_OK);
    }
    return 1;
}
