"""Another program replaces the notepad while Scrivo runs, as a sync tool does. With nothing unsaved
Scrivo shows the new version when it comes back to the front; with unsaved ink both versions are
kept on disk, each with its own ink, and the person is told."""

import os
import time

from PIL import Image, ImageDraw

from harness import expect, main, not_page, write


def replace_notepad(notepad, line):
    """Writes a notepad with one line of ink across the first page and renames it into place."""
    image = Image.new("1", (240, 5 * 320), 1)
    ImageDraw.Draw(image).line([(20, line), (220, line)], fill=0, width=3)
    other = notepad + ".other.bmp"
    image.save(other)
    os.rename(other, notepad)


def test(session):
    with session(width=240, height=320) as s:
        # No autosave: only the focus changes and the quit save.
        s.write_settings(AutosaveSeconds=0)
        notepad = os.path.join(s.folder, "app", "Scrivo.bmp")
        scrivo = s.start_scrivo(close_first_box=True)
        write(s, scrivo, [(30, 60), (60, 60), (90, 60)])
        other = s.focus_elsewhere(scrivo)
        deadline = time.monotonic() + 10
        while not os.path.exists(notepad):
            expect(time.monotonic() < deadline, "losing the focus did not save the notepad")
            time.sleep(0.1)
        # Scrivo notes the file's identity just after its rename: replace it only after that.
        time.sleep(0.5)

        # Replaced while everything is saved: shown once Scrivo is in front again.
        replace_notepad(notepad, 250)
        mark = scrivo.mark()
        s.xdotool("windowfocus", "--sync", s.xdotool("search", "--onlyvisible", "--class", "^Scrivo$"))
        scrivo.wait_for(r"focus gained", mark)
        scrivo.wait_settled(mark)
        shot = s.screenshot()
        expect(not_page(shot, [(100, 250)]) and not not_page(shot, [(80, 60)]),
               f"the version from disk is not what the page shows\n{scrivo.output()}")

        # Replaced under unsaved ink: the save keeps the other version beside the notepad and says so.
        write(s, scrivo, [(30, 100), (60, 100), (90, 100)])
        replace_notepad(notepad, 280)
        s.xdotool("key", "ctrl+q")
        expect(s.wait_for_box(), f"no box naming where the other version is kept\n{scrivo.output()}")
        s.xdotool("key", "Return")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")
        other.stop()

        mine = Image.open(notepad)
        expect(mine.getpixel((60, 100)) == 0 and mine.getpixel((100, 250)) == 0 and mine.getpixel((100, 280)),
               "Scrivo.bmp does not hold the ink written in Scrivo")
        kept = [name for name in os.listdir(os.path.dirname(notepad)) if name.startswith("Scrivo.c")]
        expect(kept == ["Scrivo.c01"], f"the other version is not kept as Scrivo.c01: {kept}")
        theirs = Image.open(os.path.join(os.path.dirname(notepad), "Scrivo.c01"))
        expect(theirs.getpixel((100, 280)) == 0 and theirs.getpixel((60, 100)),
               "Scrivo.c01 does not hold the other program's version")


if __name__ == "__main__":
    main(test)
