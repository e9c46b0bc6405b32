#include "notepad/notepad_reload.h"

#include "notepad/autosave.h"
#include "notepad/notepad.h"
#include "notepad/notepad_file.h"
#include "notepad/undo.h"
#include "shared/globals.h"

int ReloadChangedNotepad() {
    FinishAutosave();
    if (DirtyFlag || !NotepadImage.Bitmap || !NotepadFilePath[0] || NotepadFileRefused == REFUSED_NO_MEMORY) return 0;
    HBITMAP shown = NotepadImage.Bitmap;
    HBITMAP loaded = LoadChangedNotepadFile();
    if (!loaded) return 0;
    DeleteObject(shown);
    // The steps of the image shown would write nonsense over the one loaded.
    ClearHistory();
    AdoptNotepadBitmap(loaded);
    PageCount = NotepadHeight / PageHeight;
    if (ViewOffset > NotepadHeight - PageHeight) ViewOffset = NotepadHeight - PageHeight;
    if (ViewOffset < 0) ViewOffset = 0;
    InvalidateRect(MainWindow, nullptr, FALSE);
    return 1;
}
