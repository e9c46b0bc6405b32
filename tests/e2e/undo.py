"""Undo and redo: Ctrl+Z takes a stroke back on the screen and in the notepad the next save writes,
Ctrl+Y gives it back; another program's `command 40019` and `40020` do the same; a Clear Pad from the
menu is taken back by the menu's Undo, every page with it."""

import os
import time

from PIL import Image

from harness import PAGE_BLUE, expect, main, write

FIRST = [(40, 100), (60, 100), (80, 100)]
SECOND = [(40, 200), (60, 200), (80, 200)]


def settle(s, scrivo, action, quiet=0.4):
    mark = scrivo.mark()
    action()
    scrivo.wait_settled(mark, quiet=quiet)


def inked(s, point):
    return s.screenshot().getpixel(point) != PAGE_BLUE


def saved_rows(path, rows):
    """For each row, whether the saved notepad has ink between x 45 and 75 on it."""
    image = Image.open(path).convert("1")
    return [any(not image.getpixel((x, row)) for x in range(45, 75)) for row in rows]


def pick_from_menu(s, scrivo, downs):
    settle(s, scrivo, lambda: s.send("app"))
    settle(s, scrivo, lambda: s.xdotool("key", *["Down"] * downs, "Return"), quiet=1.0)


def test(session):
    with session(width=240, height=320) as s:
        # No autosave: the save on losing the focus writes what is shown then.
        s.write_settings(AutosaveSeconds=0)
        scrivo = s.start_scrivo(close_first_box=True)
        window = s.xdotool("getwindowfocus")
        notepad = os.path.join(s.folder, "app", "Scrivo.bmp")

        write(s, scrivo, FIRST)
        expect(inked(s, (60, 100)), "the stroke left no ink")
        settle(s, scrivo, lambda: s.xdotool("key", "ctrl+z"))
        expect(not inked(s, (60, 100)), "Ctrl+Z left the stroke on the screen")

        other = s.focus_elsewhere(scrivo)
        deadline = time.monotonic() + 10
        while not os.path.exists(notepad) and time.monotonic() < deadline:
            time.sleep(0.1)
        expect(os.path.exists(notepad), "losing the focus did not save the notepad")
        expect(saved_rows(notepad, [100]) == [False], "the saved notepad still has the undone stroke")
        other.stop()
        s.xdotool("windowfocus", "--sync", window)

        settle(s, scrivo, lambda: s.xdotool("key", "ctrl+y"))
        expect(inked(s, (60, 100)), "Ctrl+Y did not bring the stroke back")
        settle(s, scrivo, lambda: s.send("command", "40019"))
        expect(not inked(s, (60, 100)), "command 40019 did not undo the stroke")
        settle(s, scrivo, lambda: s.send("command", "40020"))
        expect(inked(s, (60, 100)), "command 40020 did not redo the stroke")

        # A second page written, then the whole pad cleared: "Clear Pad" is the ninth item.
        settle(s, scrivo, lambda: s.xdotool("key", "Next"), quiet=1.0)
        write(s, scrivo, SECOND)
        pick_from_menu(s, scrivo, 9)
        # The question starts on Cancel: Left moves to OK.
        expect(s.wait_for_box(), "no question before clearing the pad")
        settle(s, scrivo, lambda: s.xdotool("key", "Left", "Return"))
        expect(not inked(s, (60, 100)), "Clear Pad left the first page written")
        # "Undo" is the first item; it goes back to the second page, where the pad was cleared.
        pick_from_menu(s, scrivo, 1)
        expect(inked(s, (60, 200)), "Undo did not bring the second page back")
        settle(s, scrivo, lambda: s.xdotool("key", "Prior"), quiet=1.0)
        expect(inked(s, (60, 100)), "Undo did not bring the first page back")

        s.send("close")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")
        expect(saved_rows(notepad, [100, 320 + 200]) == [True, True], "the saved notepad lost a page")


if __name__ == "__main__":
    main(test)
