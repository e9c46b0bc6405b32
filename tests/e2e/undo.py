"""Undo and redo on the real keyboard: Ctrl+Z takes a stroke back on the screen and in the notepad
the next save writes, Ctrl+Y gives it back, and the save at the close writes it again."""

import os

from PIL import Image

from harness import PAGE_BLUE, expect, keys, wait_until, write

FIRST = [(40, 100), (60, 100), (80, 100)]


def inked(s, point):
    return s.screenshot().getpixel(point) != PAGE_BLUE


def saved_ink(path):
    """Whether the saved notepad has ink between x 45 and 75 on row 100."""
    image = Image.open(path).convert("1")
    return any(not image.getpixel((x, 100)) for x in range(45, 75))


def test(session):
    with session(width=240, height=320) as s:
        # No autosave: the save on losing the focus writes what is shown then.
        s.write_settings(AutosaveSeconds=0)
        scrivo = s.start_scrivo(close_first_box=True)
        window = s.xdotool("getwindowfocus")

        write(s, scrivo, FIRST)
        expect(inked(s, (60, 100)), "the stroke left no ink")
        keys(s, scrivo, "ctrl+z")
        expect(not inked(s, (60, 100)), "Ctrl+Z left the stroke on the screen")

        other = s.focus_elsewhere(scrivo)
        wait_until(lambda: os.path.exists(s.notepad), "losing the focus did not save the notepad")
        expect(not saved_ink(s.notepad), "the saved notepad still has the undone stroke")
        other.stop()
        s.xdotool("windowfocus", "--sync", window)

        keys(s, scrivo, "ctrl+y")
        expect(inked(s, (60, 100)), "Ctrl+Y did not bring the stroke back")

        s.send("close")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")
        expect(saved_ink(s.notepad), "the saved notepad lacks the redone stroke")
