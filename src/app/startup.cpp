#include "app/app.h"
#include "ink/pen_cursor.h"
#include "notepad/notepad.h"
#include "notepad/notepad_file.h"
#include "notepad/undo.h"
#include "settings/settings.h"
#include "toolbutton/toolbutton.h"

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

    // The steps of an image from an earlier start would write nonsense over this one.
    ClearHistory();
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
