"""The display goes away under a Scrivo with unsaved ink (its X server ends): Scrivo saves the
notepad and stores the page it was on, says so on stderr and ends with 1, without aborting. With
`failed-save` the notepad cannot be written: the ink goes to a rescue copy in the data folder, and
the reason and the copy's name, which no box can show any more, go to stderr; Scrivo still ends
with 1 at once."""

import os
import re

from PIL import Image

from harness import PAGE_BLUE, expect, keys, write


def test(session, how="saved"):
    failing = how == "failed-save"
    with session(width=240, height=320) as s:
        scrivo = s.start_scrivo(close_first_box=True)
        if failing:
            # A folder where the notepad file goes: no save can put the file there, not even as root.
            os.mkdir(s.notepad)
        else:
            # Past the page number's half second, or the stroke would come while the turn still runs
            # (and the turn's end sets aside the pointer input that came during it).
            keys(s, scrivo, "Down", quiet=1.0)
        write(s, scrivo, [(30, 200), (60, 200), (90, 200)])
        expect(s.screenshot().getpixel((60, 200)) != PAGE_BLUE, "the stroke is not on the screen")

        s.xvfb.kill()
        code = scrivo.exit_code(timeout=15)
        expect(code == 1, f"Scrivo ended with {code} when its display went away\n{scrivo.output()}")
        expect(scrivo.matching(r".*lost the display :\d+.*"), f"no word of the lost display\n{scrivo.output()}")
        expect(not scrivo.matching(r".*terminate called.*"), f"Scrivo aborted\n{scrivo.output()}")

        if failing:
            told = re.search(r"Scrivo: The notepad could not be saved.*What you wrote is kept in (\S+\.bmp)\.",
                             scrivo.output())
            expect(told, f"no word of the failed save and its rescue copy\n{scrivo.output()}")
            kept, top = told.group(1), 0
            expect(os.path.dirname(kept) == s.data_folder, f"the rescue copy {kept} is not in the data folder")
        else:
            kept, top = s.notepad, 320
            expect(os.path.exists(kept), f"no notepad saved\n{scrivo.output()}")
            expect(s.settings().get("PositionY") == 320, "the second page was not stored as the position")
        stored = Image.open(kept)
        expect(stored.getpixel((60, top + 200)) == 0 and stored.getpixel((60, top + 230)) == 255,
               f"{kept} does not hold the stroke")
