// Notes written on another machine and brought by a sync tool are shown as soon as nothing here is
// unsaved.
#pragma once

// With nothing unsaved, a notepad another program changed on disk takes the place of the one shown
// (the view stays on its page); 1 when it did.
int ReloadChangedNotepad();
