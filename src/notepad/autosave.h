// Autosave: once the pen has rested for `AutosaveRest` with changes unsaved, the notepad is written
// from a snapshot on a worker thread, so that a crash or a kill loses only the last few seconds.
#pragma once

#include "platform/platform.h"

constexpr UINT_PTR AutosaveTimerId = 1;
// Stored as "AutosaveSeconds"; 0 turns autosave off.
constexpr LONG DefaultAutosaveSeconds = 3;

// The rest period in milliseconds, 0 when autosave is off.
extern DWORD AutosaveRest;

// Every stylus message, after it marked the notepad changed: the pen is not resting.
void NoteInk();
// After every message of the main loop (the commands change the notepad too): a changed notepad
// has the autosave timer running.
void KeepAutosaveArmed();
// WM_TIMER with AutosaveTimerId on the main window; 1 when the pen rests with everything saved.
int AutosaveTimer();
// Starts an autosave now, a snapshot of this moment copied a slice per timer turn and then written
// by a worker; 0 when there is nothing to save or it could not start.
int StartAutosave();
// While the snapshot is being copied, whatever changes the notepad first either keeps the image
// rows [top, bottom) it is about to change (a stamp, cheap) or completes the copy (all else).
extern bool SnapshotUnderWay;
void KeepSnapshotRows(LONG top, LONG bottom);
void CompleteSnapshot();
// Completes a snapshot under way, waits for the autosave's write to end and takes note of its outcome.
void FinishAutosave();
// The snapshot buffer, kept from one autosave to the next, goes at shutdown.
void ReleaseAutosave();
// Saves the notepad to its file at once, after an autosave in progress ends; 0 (with LastSaveError)
// when it could not.
int SaveNotepad();
