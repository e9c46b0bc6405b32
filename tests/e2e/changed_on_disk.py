"""Another program replaces the notepad under unsaved ink, as a sync tool does: both versions are
kept on disk, each with its own ink, and the person is told."""

import os

from PIL import Image, ImageDraw

from harness import blank_notepad, expect, write


def test(session):
    with session(width=240, height=320) as s:
        # No autosave: only the quit saves.
        s.write_settings(AutosaveSeconds=0)
        blank_notepad(s)
        scrivo = s.start_scrivo()
        write(s, scrivo, [(30, 100), (60, 100), (90, 100)])
        theirs = Image.new("1", (240, 5 * 320), 1)
        ImageDraw.Draw(theirs).line([(20, 280), (220, 280)], fill=0, width=3)
        theirs.save(s.notepad + ".other.bmp")
        os.rename(s.notepad + ".other.bmp", s.notepad)
        s.xdotool("key", "ctrl+q")
        expect(s.wait_for_box(), f"no box naming where the other version is kept\n{scrivo.output()}")
        s.xdotool("key", "Return")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")

        mine = Image.open(s.notepad)
        expect(mine.getpixel((60, 100)) == 0 and mine.getpixel((100, 280)),
               "Scrivo.bmp does not hold the ink written in Scrivo")
        kept = [name for name in os.listdir(os.path.dirname(s.notepad)) if name.startswith("Scrivo.c")]
        expect(kept == ["Scrivo.c01"], f"the other version is not kept as Scrivo.c01: {kept}")
        theirs = Image.open(os.path.join(os.path.dirname(s.notepad), "Scrivo.c01"))
        expect(theirs.getpixel((100, 280)) == 0 and theirs.getpixel((60, 100)),
               "Scrivo.c01 does not hold the other program's version")
