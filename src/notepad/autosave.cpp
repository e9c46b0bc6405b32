#include "notepad/autosave.h"

#include <cstring>
#include <vector>

#include "notepad/notepad.h"
#include "notepad/notepad_file.h"
#include "shared/globals.h"

DWORD AutosaveRest = DefaultAutosaveSeconds * 1000;
bool SnapshotUnderWay = false;

namespace {

// How often the GUI thread looks whether the worker is done.
constexpr UINT AutosavePollPeriod = 100;
// The snapshot is copied this much at a time, on timer turns, which come after all pending input:
// a pen move waits for at most one slice, under a millisecond even into memory not yet touched,
// whose first writes cost forty times a copy's.
constexpr DWORD SnapshotSliceBytes = 256 << 10;
constexpr UINT SnapshotSlicePeriod = 1;

DWORD LastInkTick = 0;
bool TimerArmed = false;
HANDLE AutosaveThread = nullptr;
NotepadSave Autosave;
BYTE* Snapshot = nullptr;
DWORD SnapshotBytes = 0;
// The notepad's pixels the snapshot is copied from, the bytes copied so far, and the rows (in the
// image's bottom-up order) a stamp already put in as they were at the snapshot's moment.
const BYTE* SnapshotSource = nullptr;
DWORD SnapshotCopied = 0;
std::vector<bool> SnapshotRowKept;

void ArmTimer(UINT period) {
    TimerArmed = SetTimer(MainWindow, AutosaveTimerId, period, nullptr) != 0;
}

void DisarmTimer() {
    KillTimer(MainWindow, AutosaveTimerId);
    TimerArmed = false;
}

bool AutosaveAllowed() { return AutosaveRest != 0 && NotepadFileRefused != REFUSED_NO_MEMORY && NotepadImage.Bitmap; }

// The buffer kept from the last autosave, fitted to the notepad's size.
bool ReadySnapshotBuffer() {
    if (Snapshot && SnapshotBytes != Autosave.PixelBytes) {
        VirtualFree(Snapshot, 0, MEM_RELEASE);
        Snapshot = nullptr;
    }
    if (!Snapshot) {
        Snapshot = static_cast<BYTE*>(VirtualAlloc(nullptr, Autosave.PixelBytes, MEM_COMMIT, PAGE_READWRITE));
        if (!Snapshot) return false;
        SnapshotBytes = Autosave.PixelBytes;
    }
    return true;
}

// Copies the snapshot on from where it stands, up to `end` bytes, leaving the rows kept already.
void CopySnapshotTo(DWORD end) {
    const DWORD stride = static_cast<DWORD>(NotepadStride);
    for (DWORD at = SnapshotCopied; at < end; at += stride)
        if (!SnapshotRowKept[at / stride]) std::memcpy(Snapshot + at, SnapshotSource + at, stride);
    SnapshotCopied = end;
}

// The snapshot is whole: the worker writes it.
void WriteSnapshot() {
    SnapshotUnderWay = false;
    Autosave.Pixels = Snapshot;
    AutosaveThread = CreateThread(nullptr, 0, WriteNotepadSaveOnWorker, &Autosave, 0, nullptr);
    // The pen goes first: on a machine of one or two cores the write must not hold back the ink.
    if (AutosaveThread) SetThreadPriority(AutosaveThread, THREAD_PRIORITY_LOWEST);
    // Without a thread the save is written here: slower to the pen, but nothing is left unsaved.
    if (!AutosaveThread && !NotepadSaveFinished(Autosave, WriteNotepadSave(Autosave, nullptr))) DirtyFlag = 1;
}

// One slice on a timer turn; the last starts the write.
void CopySnapshotSlice() {
    const DWORD stride = static_cast<DWORD>(NotepadStride);
    const DWORD slice = SnapshotSliceBytes / stride * stride + stride;
    CopySnapshotTo(SnapshotBytes - SnapshotCopied > slice ? SnapshotCopied + slice : SnapshotBytes);
    if (SnapshotCopied == SnapshotBytes) WriteSnapshot();
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
    if (SnapshotUnderWay) {
        CopySnapshotSlice();
        ArmTimer(SnapshotUnderWay ? SnapshotSlicePeriod : AutosavePollPeriod);
        return 0;
    }
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
        ArmTimer(SnapshotSlicePeriod);
    else
        ArmTimer(AutosaveRest);
    return 0;
}

int StartAutosave() {
    FinishAutosave();
    if (!DirtyFlag || !AutosaveAllowed() || !NotepadFilePath[0]) return 0;
    if (!PrepareNotepadSave(NotepadImage.Bitmap, NotepadFilePath, &Autosave) || !ReadySnapshotBuffer()) return 0;
    // The snapshot is of this moment. It is copied on timer turns; a stamp meanwhile keeps its rows
    // first and anything else completes the copy first, so the file is never half one moment and
    // half the next. Changes from here on are not in it and mark the notepad again; a failed write
    // marks it too.
    DirtyFlag = 0;
    SnapshotSource = Autosave.Pixels;
    SnapshotCopied = 0;
    SnapshotRowKept.assign(static_cast<std::size_t>(NotepadHeight), false);
    SnapshotUnderWay = true;
    return 1;
}

void KeepSnapshotRows(LONG top, LONG bottom) {
    const DWORD stride = static_cast<DWORD>(NotepadStride);
    for (LONG row = top; row < bottom; ++row) {
        const LONG stored = NotepadHeight - 1 - row;
        const DWORD at = static_cast<DWORD>(stored) * stride;
        if (at < SnapshotCopied || SnapshotRowKept[static_cast<std::size_t>(stored)]) continue;
        std::memcpy(Snapshot + at, SnapshotSource + at, stride);
        SnapshotRowKept[static_cast<std::size_t>(stored)] = true;
    }
}

void CompleteSnapshot() {
    if (!SnapshotUnderWay) return;
    CopySnapshotTo(SnapshotBytes);
    WriteSnapshot();
}

void FinishAutosave() {
    CompleteSnapshot();
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
    // The timer goes with the main window; the next window starts without one.
    DisarmTimer();
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
