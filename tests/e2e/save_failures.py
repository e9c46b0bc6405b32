"""A notepad that cannot be saved: the first failed autosave shows a box at once and only once, the
ink stays on the page, and a quit leaves a rescue copy in the data folder that holds every stroke
while the write-protected notepad is left as it was."""

import os

from PIL import Image

from harness import PAGE_BLUE, blank_notepad, expect, write


def test(session):
    with session(width=240, height=320) as s:
        s.write_settings(AutosaveSeconds=1)
        blank_notepad(s)
        os.chmod(s.notepad, 0o444)
        with open(s.notepad, "rb") as kept:
            old = kept.read()

        scrivo = s.start_scrivo()
        write(s, scrivo, [(30, 50), (60, 50), (90, 50)])
        s.answer_box(scrivo, "box after the first autosave failed")

        # Later autosaves fail as well, without a word.
        write(s, scrivo, [(30, 260), (60, 260), (90, 260)])
        expect(not s.wait_for_box(4), "the failed save was told again")
        shot = s.screenshot()
        expect(all(shot.getpixel(p) != PAGE_BLUE for p in ((60, 50), (60, 260))), "ink went from the page")

        s.xdotool("key", "ctrl+q")
        expect(s.wait_for_box(), "no box at the quit that could not save")
        s.xdotool("key", "Return")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")

        with open(s.notepad, "rb") as kept:
            expect(kept.read() == old, "the write-protected notepad was changed")
        copies = [name for name in os.listdir(s.data_folder) if name.startswith("Scrivo-") and name.endswith(".bmp")]
        expect(len(copies) == 1, f"not one rescue copy in the data folder: {copies}")
        rescue = Image.open(os.path.join(s.data_folder, copies[0]))
        expect(rescue.getpixel((60, 50)) == 0 and rescue.getpixel((60, 260)) == 0 and rescue.getpixel((60, 150)),
               "the rescue copy does not hold both strokes")
