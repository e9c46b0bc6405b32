#include "notepad/autosave.h"

#include <cstring>

#include "notepad/notepad.h"
#include "notepad/notepad_file.h"
#include "shared/globals.h"

DWORD AutosaveRest = DefaultAutosaveSeconds * 1000;

namespace {

// How often the GUI thread looks whether the worker is done.
constexpr UINT AutosavePollPeriod = 100;

DWORD LastInkTick = 0;
bool TimerArmed = false;
HANDLE AutosaveThread = nullptr;
NotepadSave Autosave;
BYTE* Snapshot = nullptr;
DWORD SnapshotBytes = 0;

void ArmTimer(UINT period) {
    TimerArmed = SetTimer(MainWindow, AutosaveTimerId, period, nullptr) != 0;
}

void DisarmTimer() {
    KillTimer(MainWindow, AutosaveTimerId);
    TimerArmed = false;
}

bool AutosaveAllowed() { return AutosaveRest != 0 && NotepadFileRefused != REFUSED_NO_MEMORY && NotepadImage.Bitmap; }

// The pixels as they are now, into the buffer kept from the last autosave.
bool TakeSnapshot() {
    if (Snapshot && SnapshotBytes != Autosave.PixelBytes) {
        VirtualFree(Snapshot, 0, MEM_RELEASE);
        Snapshot = nullptr;
    }
    if (!Snapshot) {
        Snapshot = static_cast<BYTE*>(VirtualAlloc(nullptr, Autosave.PixelBytes, MEM_COMMIT, PAGE_READWRITE));
        if (!Snapshot) return false;
        SnapshotBytes = Autosave.PixelBytes;
    }
    std::memcpy(Snapshot, Autosave.Pixels, SnapshotBytes);
    Autosave.Pixels = Snapshot;
    return true;
}

}  // namespace

void NoteInk() {
    LastInkTick = GetTickCount();
    KeepAutosaveArmed();
}

void KeepAutosaveArmed() {
    if (DirtyFlag && !TimerArmed && AutosaveAllowed()) ArmTimer(AutosaveRest);
}

int AutosaveTimer() {
    if (AutosaveThread) {
        if (WaitForSingleObject(AutosaveThread, 0) != WAIT_OBJECT_0) return 0;
        FinishAutosave();
        // A write that failed is tried again after another rest, not at once and without end.
        if (LastSaveError != ERROR_SUCCESS) {
            ArmTimer(AutosaveRest);
            return 0;
        }
    }
    if (!DirtyFlag || !AutosaveAllowed()) {
        DisarmTimer();
        return 1;
    }
    const DWORD rested = GetTickCount() - LastInkTick;
    if (rested < AutosaveRest) {
        ArmTimer(AutosaveRest - rested);
        return 0;
    }
    if (StartAutosave())
        ArmTimer(AutosavePollPeriod);
    else
        ArmTimer(AutosaveRest);
    return 0;
}

int StartAutosave() {
    FinishAutosave();
    if (!DirtyFlag || !AutosaveAllowed() || !NotepadFilePath[0]) return 0;
    if (!PrepareNotepadSave(NotepadImage.Bitmap, NotepadFilePath, &Autosave) || !TakeSnapshot()) return 0;
    // Changes from here on are not in the snapshot and mark the notepad again; a failed write
    // marks it too.
    DirtyFlag = 0;
    AutosaveThread = CreateThread(nullptr, 0, WriteNotepadSaveOnWorker, &Autosave, 0, nullptr);
    // Without a thread the save is written here: slower to the pen, but nothing is left unsaved.
    if (!AutosaveThread && !NotepadSaveFinished(Autosave, WriteNotepadSave(Autosave, nullptr))) DirtyFlag = 1;
    return 1;
}

void FinishAutosave() {
    if (!AutosaveThread) return;
    WaitForSingleObject(AutosaveThread, INFINITE);
    DWORD error = ERROR_GEN_FAILURE;
    GetExitCodeThread(AutosaveThread, &error);
    CloseHandle(AutosaveThread);
    AutosaveThread = nullptr;
    if (!NotepadSaveFinished(Autosave, error)) DirtyFlag = 1;
    KeepAutosaveArmed();
}

void ReleaseAutosave() {
    FinishAutosave();
    if (Snapshot) VirtualFree(Snapshot, 0, MEM_RELEASE);
    Snapshot = nullptr;
    SnapshotBytes = 0;
}

int SaveNotepad() {
    FinishAutosave();
    if (!NotepadFilePath[0]) {
        LastSaveError = ERROR_FILENAME_EXCED_RANGE;
        return 0;
    }
    return SaveNotepadFile(NotepadImage.Bitmap, NotepadFilePath);
}
