"""A stroke survives a kill once the pen has rested long enough for the autosave: the real program's
own autosave, on the real clock, writes a whole notepad and leaves nothing beside it."""

import os
import time

from PIL import Image

from harness import expect, main, write


def has_ink(notepad, point):
    """Whether the notepad file is whole and has ink at the point."""
    try:
        image = Image.open(notepad)
        image.load()
    except (OSError, SyntaxError):
        return False
    return image.size == (240, 5 * 320) and image.getpixel(point) == 0


def test(session):
    with session(width=240, height=320) as s:
        notepad = os.path.join(s.folder, "app", "Scrivo.bmp")
        scrivo = s.start_scrivo(close_first_box=True)
        write(s, scrivo, [(150, 250), (170, 250), (190, 250)])
        deadline = time.monotonic() + 20
        while not has_ink(notepad, (170, 250)):
            expect(time.monotonic() < deadline, "the stroke never reached Scrivo.bmp on its own")
            time.sleep(0.2)
        scrivo.popen.kill()
        scrivo.exit_code()
        expect(has_ink(notepad, (170, 250)), "the killed Scrivo lost ink")
        leftovers = [name for name in os.listdir(os.path.join(s.folder, "app")) if name.startswith("Scrivo.~")]
        expect(not leftovers, f"files left beside the notepad: {leftovers}")


if __name__ == "__main__":
    main(test)
