"""The notepad survives a close: drawn, closed, started again, the ink is back on the screen and in
Scrivo.bmp as other programs read it. A damaged notepad file gives a new notepad and is kept aside.
A stroke survives a kill once the pen has rested long enough for the autosave."""

import os
import time

from PIL import Image

from harness import drag, expect, main, not_page

WHITE = (255, 255, 255)


def test(session):
    with session(width=240, height=320) as s:
        notepad = os.path.join(s.folder, "app", "Scrivo.bmp")
        scrivo = s.start_scrivo(close_first_box=True)
        mark = scrivo.mark()
        drag(s, [(30, 200), (60, 200), (90, 200)])
        scrivo.wait_for(r"pointer up 90 200", mark)
        scrivo.wait_settled(mark)
        expect(s.send("close").returncode == 0, "scrivo-send close failed")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")

        stored = Image.open(notepad)
        expect(stored.size == (240, 5 * 320) and stored.mode == "1", f"Scrivo.bmp is {stored.size} {stored.mode}")
        expect(stored.getpixel((60, 200)) == 0 and stored.getpixel((60, 230)) == 255,
               "Scrivo.bmp does not hold the ink where it was drawn")

        # Started again: no new notepad, the ink is on the page.
        scrivo = s.start_scrivo()
        shot = s.screenshot()
        expect(shot.getpixel((60, 200)) == WHITE, "the stroke did not come back")
        expect(not not_page(shot, [(x, y) for y in range(100, 180) for x in range(40, 200)]),
               "something over the page: a message box?")
        s.send("close")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")

        # A damaged file: "New Pad Created", and the file kept aside when the new notepad is saved.
        with open(notepad, "wb") as damaged:
            damaged.write(b"BM this is no bitmap")
        scrivo = s.start_scrivo()
        s.answer_box(scrivo, "message box for the damaged file")
        mark = scrivo.mark()
        drag(s, [(100, 100), (110, 110)])
        scrivo.wait_for(r"pointer up 110 110", mark)
        s.send("close")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")
        with open(os.path.join(s.folder, "app", "Scrivo.bad"), "rb") as aside:
            expect(aside.read() == b"BM this is no bitmap", "the damaged file was not kept aside")
        expect(Image.open(notepad).getpixel((105, 105)) == 0, "the new notepad was not saved")

        # Killed a while after the pen rested: the autosave has the stroke in the file.
        scrivo = s.start_scrivo()
        mark = scrivo.mark()
        drag(s, [(150, 250), (170, 250), (190, 250)])
        scrivo.wait_for(r"pointer up 190 250", mark)
        deadline = time.monotonic() + 20
        while not has_ink(notepad, (170, 250)):
            expect(time.monotonic() < deadline, "the stroke never reached Scrivo.bmp on its own")
            time.sleep(0.2)
        scrivo.popen.kill()
        scrivo.exit_code()
        expect(has_ink(notepad, (170, 250)) and has_ink(notepad, (105, 105)), "the killed Scrivo lost ink")
        leftovers = [name for name in os.listdir(os.path.join(s.folder, "app")) if name.startswith("Scrivo.~")]
        expect(not leftovers, f"files left beside the notepad: {leftovers}")


def has_ink(notepad, point):
    """Whether the notepad file is whole and has ink at the point."""
    try:
        image = Image.open(notepad)
        image.load()
    except (OSError, SyntaxError):
        return False
    return image.size == (240, 5 * 320) and image.getpixel(point) == 0


if __name__ == "__main__":
    main(test)
