#include "notepad/page_operations.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "shared/globals.h"

namespace {

constexpr BYTE PaperByte = 0xFF;
constexpr std::uint64_t PaperWord = ~std::uint64_t{0};

// True when the row's whole bytes are paper and the bits of its last, partly used byte that are
// under `lastMask` are too. Whole bytes are read eight at a time: a blank page costs one pass.
bool RowIsPaper(const BYTE* row, LONG wholeBytes, BYTE lastMask) {
    LONG k = 0;
    for (; k + 8 <= wholeBytes; k += 8) {
        std::uint64_t word;
        std::memcpy(&word, row + k, sizeof word);
        if (word != PaperWord) return false;
    }
    for (; k < wholeBytes; ++k)
        if (row[k] != PaperByte) return false;
    return lastMask == 0 || (row[wholeBytes] & lastMask) == lastMask;
}

// The first page at or after *y that is blank (or written), whole pages only.
bool FindPage(LONG* y, bool blank) {
    LONG top = *y;
    while (IsPageBlank(top) != blank) {
        top += PageHeight;
        if (PageHeight <= 0 || top + PageHeight > NotepadHeight) return false;
    }
    *y = top;
    return true;
}

}  // namespace

// A page is written if it holds ink anywhere in its stored rows: a notepad loaded from a wider
// screen keeps ink beyond PageWidth, and a page that shows blank here may not be blank there. A
// notepad narrower or lower than a page is read only as far as it is stored.
bool IsPageBlank(LONG y) {
    const LONG first = std::max<LONG>(y, 0);
    const LONG end = std::min<LONG>(y + PageHeight, NotepadHeight);
    if (!NotepadImage.Bits || NotepadWidth <= 0) return true;
    const LONG wholeBytes = NotepadWidth / 8;
    const int usedBits = NotepadWidth % 8;
    const BYTE lastMask = static_cast<BYTE>(usedBits ? PaperByte << (8 - usedBits) : 0);
    for (LONG row = first; row < end; ++row) {
        const BYTE* stored = NotepadImage.Bits + static_cast<std::ptrdiff_t>(NotepadHeight - 1 - row) * NotepadStride;
        if (!RowIsPaper(stored, wholeBytes, lastMask)) return false;
    }
    return true;
}

bool FindBlankPage(LONG* y) { return FindPage(y, true); }

bool FindWrittenPage(LONG* y) { return FindPage(y, false); }

// Squeezes out one run of blank pages per pass; the written pages keep their order and the freed
// rows become blank pages at the end.
int CompressNotepad() {
    LONG y0 = 0;
    for (;;) {
        Sleep(CompressPause);
        if (!FindBlankPage(&y0)) break;
        LONG y1 = y0;
        if (!FindWrittenPage(&y1)) break;
        Sleep(CompressPause);
        // One copy moves everything below the run up over it; a copy within one image reads its
        // whole source before writing, so the overlap is safe.
        BitBlt(NotepadImage.Context, 0, y0, NotepadWidth, NotepadHeight - y1, NotepadImage.Context, 0, y1, SRCCOPY);
        PatBlt(NotepadImage.Context, 0, NotepadHeight - y1 + y0, NotepadWidth, y1 - y0, WHITENESS);
    }
    LONG y = 0;
    return FindBlankPage(&y) ? y / PageHeight : NotepadHeight / PageHeight;
}

int ClearPage() { return PatBlt(NotepadImage.Context, 0, ViewOffset, PageWidth, PageHeight, WHITENESS); }

int CopyPage() {
    HDC clipboard = CreateCompatibleDC(nullptr);
    if (!clipboard) {
        MessageBeep(MB_OK);
        return 0;
    }
    if (PageClipboard) {
        SelectObject(clipboard, PageClipboard);
    } else {
        PageClipboard = CreateMonoImage(clipboard, PageWidth, PageHeight);
        if (!PageClipboard) {
            MessageBeep(MB_OK);
            DeleteDC(clipboard);
            return 0;
        }
    }
    BitBlt(clipboard, 0, 0, PageWidth, PageHeight, NotepadImage.Context, 0, ViewOffset, SRCCOPY);
    DeleteDC(clipboard);
    return 1;
}

int PastePage() {
    if (!PageClipboard) {
        MessageBeep(MB_OK);
        return 0;
    }
    HDC clipboard = CreateCompatibleDC(NotepadImage.Context);
    SelectObject(clipboard, PageClipboard);
    BitBlt(NotepadImage.Context, 0, ViewOffset, PageWidth, PageHeight, clipboard, 0, 0, SRCCOPY);
    DeleteDC(clipboard);
    return 1;
}

// The notepad keeps its stored width: a notepad from a wider screen keeps the ink beyond
// PageWidth, and one from a narrower screen grows to the page's width.
int ResizeNotepad(int width, int height) {
    SaveNotepad();
    HDC context = CreateCompatibleDC(nullptr);
    HBITMAP image = context ? CreateMonoImage(context, std::max<LONG>(width, NotepadWidth), height) : nullptr;
    if (!image) {
        MessageBeep(MB_OK);
        DeleteDC(context);
        return 0;
    }
    BITMAP record{};
    GetObjectW(image, sizeof record, &record);
    PatBlt(context, 0, 0, record.bmWidth, record.bmHeight, WHITENESS);
    BitBlt(context, 0, 0, std::min(NotepadWidth, record.bmWidth), std::min(NotepadHeight, record.bmHeight),
           NotepadImage.Context, 0, 0, SRCCOPY);
    DeleteDC(NotepadImage.Context);
    DeleteObject(NotepadImage.Bitmap);

    NotepadHeight = record.bmHeight;
    NotepadImage.Context = context;
    NotepadImage.Bitmap = image;
    NotepadImage.Bits = static_cast<BYTE*>(record.bmBits);
    NotepadStride = record.bmWidthBytes;
    NotepadWidth = record.bmWidth;
    PageCount = NotepadHeight / PageHeight;
    ViewOffset = 0;
    // A new page count is a change like any other: it is saved at exit instead of reverting.
    DirtyFlag = 1;
    return 1;
}
