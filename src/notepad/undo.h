// The undo history: what each stroke or command changed in the notepad image, kept as it was
// before, so that the step can be taken back and given again. It lives for the run only.
#pragma once

#include <cstddef>
#include <limits>

#include "platform/platform.h"

// The history's memory; the oldest steps go first when a new one needs room.
constexpr std::size_t DefaultUndoBudget = std::size_t{64} << 20;
extern std::size_t UndoBudget;

// A stroke is one step from the stylus going down to it coming up. Each stamp announces the
// rectangle of the image it is about to write, so the parts it touches are kept first.
void BeginStrokeStep();
void EndStrokeStep();
// The open stroke was no stroke (a finger of a several-finger tap): the image gets back what it
// covered, and no step is kept. Returns 0 when nothing was kept to give back; else *changed is the
// rectangle of the image given back.
int CancelStrokeStep(RECT* changed);
// Image pixels a stamp need not keep: those whose parts the open stroke has kept already, or all of
// them while no stroke is recorded. Each pen move stamps dozens of times, mostly within it, so that
// test is all most stamps cost.
constexpr RECT NothingKept = {0, 0, 0, 0};
constexpr RECT NothingToKeep = {std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::min(),
                                 std::numeric_limits<LONG>::max(), std::numeric_limits<LONG>::max()};
extern RECT KeptStrokeArea;
void KeepStrokeArea(LONG left, LONG top, LONG right, LONG bottom);
inline void NoteStampArea(LONG left, LONG top, LONG right, LONG bottom) {
    if (left >= KeptStrokeArea.left && right <= KeptStrokeArea.right && top >= KeptStrokeArea.top &&
        bottom <= KeptStrokeArea.bottom)
        return;
    KeepStrokeArea(left, top, right, bottom);
}

// A command keeps rows [top, top + height) as they are before it changes them. Without the memory
// for them it beeps and the command goes ahead without a step: nothing written is ever held back.
void RecordRowsStep(LONG top, LONG height);
// An Options OK that changes the number of pages: the notepad takes the new height, and the pages
// it drops are kept. Returns 0 when the notepad could not be resized.
int ReshapeNotepad(int width, int height);

// Where a step was made and what it changed: the view's top row then, and the rectangle of the
// image it changed.
struct StepPlace {
    LONG viewRow;
    RECT changed;
};

// Take back the newest step, or give back the last one taken back. Each returns 0 when there is
// none, or when it could not be done for want of memory (the image is then as it was).
int UndoStep(StepPlace* place);
int RedoStep(StepPlace* place);

// A notepad read from disk starts a history of its own; shutdown releases it.
void ClearHistory();
// For tests: the history's next `count` requests for memory fail as if none were left.
void FailHistoryMemory(int count);
// The memory the history holds, for the budget and its tests.
std::size_t HistoryBytes();
std::size_t HistorySteps();
