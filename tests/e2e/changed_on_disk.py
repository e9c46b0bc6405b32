"""Another program replaces the notepad while Scrivo runs, as a sync tool does: the window system's
focus changes save the notepad when Scrivo goes to the back, and show the new version when it comes
to the front again."""

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
        s.focus_elsewhere(scrivo)
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


if __name__ == "__main__":
    main(test)
