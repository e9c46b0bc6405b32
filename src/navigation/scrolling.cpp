#include "navigation/scrolling.h"

#include <cstdint>

#include "notepad/notepad.h"
#include "shared/globals.h"
#include "toolbutton/toolbutton.h"

int WheelNotchesOwed = 0;
unsigned PagesMoved = 0;

namespace {

LONG ClampView(LONG row) {
    if (row <= 0) row = 0;
    if (row >= NotepadHeight - PageHeight) row = NotepadHeight - PageHeight;
    return row;
}

bool AtLimit(int direction) {
    return (direction < 0 && ViewOffset == 0) || (direction > 0 && ViewOffset + PageHeight >= NotepadHeight);
}

void SignalLimit(DWORD pause) {
    ShowPageIndicator();
    MessageBeep(MB_OK);
    Sleep(pause);
}

// The difference is taken as signed so that a deadline past the tick count's wrap is still ahead.
void SleepUntil(DWORD deadline) {
    const auto remaining = static_cast<std::int32_t>(deadline - GetTickCount());
    if (remaining > 0) Sleep(static_cast<DWORD>(remaining));
}

}  // namespace

// The screen shows the image from ViewOffset on, so the rows that stay in view and the band that
// comes into view are both already in the image: one copy of the screen from the image puts them
// where the two-part move (the kept band moved on the screen, the new band from the image) would.
// On a large screen it costs a third of that move, since the image is a bit a pixel.
void ScrollViewBy(LONG rows) {
    const LONG old = ViewOffset;
    const LONG next = ClampView(old + rows);
    ViewOffset = next;
    if (next != old) BitBlt(ScreenContext, 0, 0, PageWidth, PageHeight, NotepadImage.Context, 0, next, SRCCOPY);
}

int ScrollPageAnimated(int direction, DWORD budget) {
    if (AtLimit(direction)) {
        SignalLimit(AnimatedLimitPause);
        return 0;
    }
    HideToolButton();
    ErasePageIndicator();
    const DWORD start = GetTickCount();
    const DWORD deadline = start + budget;
    LONG covered = 0;
    LONG step = 1;
    for (;;) {
        ScrollViewBy(direction * step);
        covered += step;
        if (covered >= PageHeight) break;
        // Elapsed time and distance as whole percentages; the tick products wrap with the clock.
        const DWORD now = GetTickCount();
        const DWORD timePct = (now * 100u - start * 100u) / budget;
        const LONG distPct = covered * 100 / PageHeight;
        // Behind the clock: take bigger steps.
        if (static_cast<DWORD>(distPct) < timePct) step *= 2;
        if (step >= PageHeight - covered) step = PageHeight - covered;
    }
    ShowPageIndicator();
    ShowToolButton();
    SleepUntil(deadline);
    return 1;
}

int FlipPage(int direction, DWORD budget) {
    if (AtLimit(direction)) {
        SignalLimit(FlipLimitPause);
        return 0;
    }
    HideToolButton();
    const DWORD deadline = GetTickCount() + budget;
    ViewOffset = ClampView(ViewOffset + direction * PageHeight);
    RepaintFromImage(0, 0, PageWidth, PageHeight);
    ShowToolButton();
    ShowPageIndicator();
    SleepUntil(deadline);
    return 1;
}

int WheelNotches(short delta) {
    const int notches = delta / WHEEL_DELTA;
    // A fine-grained wheel's part of a notch still turns one page.
    if (notches == 0) return delta > 0 ? 1 : (delta < 0 ? -1 : 0);
    return notches;
}

void WheelTurn(short delta) {
    WheelNotchesOwed = WheelNotches(delta);
    while (WheelNotchesOwed != 0) {
        const bool up = WheelNotchesOwed > 0;
        WheelNotchesOwed += up ? -1 : 1;
        const LONG before = ViewOffset;
        PageKeyDown(up ? VK_UP : VK_DOWN);
        // At the end of the notepad the rest is dropped: one beep is enough.
        if (ViewOffset == before) WheelNotchesOwed = 0;
    }
}

void PageKeyDown(int key) {
    // Page Up and Page Down turn pages exactly as the arrow keys do.
    int direction;
    if (key == VK_UP || key == VK_PRIOR)
        direction = -1;
    else if (key == VK_DOWN || key == VK_NEXT)
        direction = 1;
    else
        return;

    PagesMoved = 0;
    for (;;) {
        const int moved = PagesMoved < AnimatedPagesPerHold ? ScrollPageAnimated(direction, AnimatedPageBudget)
                                                            : FlipPage(direction, FlippedPageBudget);
        if (!moved) break;
        ++PagesMoved;
        if (!(GetAsyncKeyState(key) & 0x8000)) break;
    }
    // Wheel notches turned while the pages moved are pages still owed; the key repeats and stylus
    // input that piled up are thrown away. Commands and timers posted meanwhile are numbered
    // between the two ranges and stay.
    MSG discarded;
    while (PeekMessageW(&discarded, MainWindow, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE))
        WheelNotchesOwed += WheelNotches(GET_WHEEL_DELTA_WPARAM(discarded.wParam));
    while (PeekMessageW(&discarded, MainWindow, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&discarded, MainWindow, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    Sleep(EndOfHoldPause);
    ErasePageIndicator();
}
