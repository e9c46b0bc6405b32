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
// Starts an autosave now; 0 when there is nothing to save or it could not start.
int StartAutosave();
// Waits for an autosave in progress to end and takes note of its outcome.
void FinishAutosave();
// The snapshot buffer, kept from one autosave to the next, goes at shutdown.
void ReleaseAutosave();
// Saves the notepad to its file at once, after an autosave in progress ends; 0 (with LastSaveError)
// when it could not.
int SaveNotepad();
