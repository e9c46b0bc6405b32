"""The down key turns to page 2: what was drawn there beforehand comes onto the screen, and the
page number box shows while the key is held at the last page."""

import os
import time

from PIL import Image, ImageDraw

from harness import PAGE_BLUE, expect, main

WHITE = (255, 255, 255)


def test(session):
    with session(width=240, height=320) as s:
        # A two-page notepad with a bar across the middle of page 2.
        notepad = Image.new("1", (240, 640), 1)
        ImageDraw.Draw(notepad).rectangle((20, 320 + 150, 200, 320 + 170), fill=0)
        notepad.save(os.path.join(s.folder, "app", "Scrivo.bmp"))

        scrivo = s.start_scrivo()
        expect(s.screenshot().getpixel((100, 160)) == PAGE_BLUE, "page 1 is not blank")

        mark = scrivo.mark()
        s.xdotool("keydown", "Down")
        # Page 2 takes half a second; then the held key meets the end of the notepad, and the
        # number stays up for another half second: look for it until it shows.
        deadline = time.monotonic() + 5
        held = s.screenshot()
        while held.getpixel((15, 0)) != WHITE and time.monotonic() < deadline:
            held = s.screenshot()
        s.xdotool("keyup", "Down")
        scrivo.wait_settled(mark)
        after = s.screenshot()

        expect(after.getpixel((100, 160)) == WHITE, "the bar of page 2 is not on the screen")
        expect(after.getpixel((100, 140)) == PAGE_BLUE, "page 2 shows ink above its bar")
        expect(all(held.getpixel((x, 0)) == WHITE for x in range(30)), "no page number box at the top left")
        digits = [(x, y) for y in range(2, 15) for x in range(2, 28) if held.getpixel((x, y)) != PAGE_BLUE]
        expect(len(digits) > 10, "the page number box is empty")
        expect(after.getpixel((5, 5)) == PAGE_BLUE, "the page number box stayed")
        s.send("close")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")


if __name__ == "__main__":
    main(test)
