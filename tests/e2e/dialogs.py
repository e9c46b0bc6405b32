"""The About dialog opened from outside shows the yellow frame with its title bar and closes with its
OK; the Options dialog chosen from the command menu makes the pen wider for the next stroke, and the
settings file then holds every option."""

import os

from harness import PAGE_BLUE, expect, main

YELLOW = (255, 255, 0)
NAVY = (0, 0, 128)
WHITE = (255, 255, 255)


def tap(s, scrivo, x, y):
    mark = scrivo.mark()
    s.xdotool("mousemove", str(x), str(y), "click", "1")
    scrivo.wait_for(rf"pointer up {x} {y}", mark)
    scrivo.wait_settled(mark)


def press_ok(s, scrivo):
    """Taps the OK at the right end of the navigation bar, just inside the right edge of its frame."""
    shot = s.screenshot()
    row = 12
    whites = [x for x in range(s.width // 2, s.width) if shot.getpixel((x, row)) == WHITE]
    expect(whites, "no OK in the navigation bar")
    tap(s, scrivo, whites[-1] - 4, row)


def vertical_stroke_width(s, scrivo, x):
    """Draws a stroke down the page at x and gives the width of the ink it left halfway."""
    mark = scrivo.mark()
    s.xdotool("mousemove", str(x), "150", "mousedown", "1")
    for y in range(155, 205, 5):
        s.xdotool("mousemove", str(x), str(y))
    s.xdotool("mouseup", "1")
    scrivo.wait_for(rf"pointer up {x} 200", mark)
    scrivo.wait_settled(mark)
    shot = s.screenshot()
    return sum(1 for dx in range(-15, 16) if shot.getpixel((x + dx, 175)) != PAGE_BLUE)


def test(session):
    with session(width=240, height=320) as s:
        scrivo = s.start_scrivo(close_first_box=True)

        mark = scrivo.mark()
        expect(s.send("command", "40005").returncode == 0, "scrivo-send could not reach Scrivo")
        scrivo.wait_settled(mark)
        shot = s.screenshot()
        expect(shot.getpixel((120, 200)) == YELLOW, f"no yellow frame: {shot.getpixel((120, 200))}")
        expect(shot.getpixel((2, 2)) == NAVY, "no navigation bar over the dialog")
        title = [x for x in range(4, 100) if shot.getpixel((x, 13)) == WHITE]
        expect(title, "the navigation bar shows no title")
        press_ok(s, scrivo)
        shot = s.screenshot()
        expect(shot.getpixel((120, 200)) == PAGE_BLUE, "OK left the About dialog open")
        expect(shot.getpixel((2, 2)) == PAGE_BLUE, "the navigation bar stayed after the dialog")

        thin = vertical_stroke_width(s, scrivo, 60)

        # "Options" is the twelfth item of the command menu.
        mark = scrivo.mark()
        s.send("app")
        scrivo.wait_settled(mark)
        mark = scrivo.mark()
        for _ in range(12):
            s.xdotool("key", "Down")
        s.xdotool("key", "Return")
        scrivo.wait_settled(mark)
        shot = s.screenshot()
        expect(shot.getpixel((120, 250)) == YELLOW, "the Options dialog did not open")
        # The pen width's spin control is the first navy block of the pen row, left of the middle.
        navy = [(x, y) for y in range(30, 70) for x in range(0, s.width // 2) if shot.getpixel((x, y)) == NAVY]
        expect(navy, "no spin control in the pen row")
        left = min(x for x, _ in navy)
        first = [(x, y) for x, y in navy if x < left + 20]
        top = min(y for _, y in first)
        for _ in range(4):
            tap(s, scrivo, left + 4, top + 2)
        press_ok(s, scrivo)
        expect(s.screenshot().getpixel((120, 250)) == PAGE_BLUE, "OK left the Options dialog open")

        wide = vertical_stroke_width(s, scrivo, 120)
        expect(thin == 1, f"the first stroke is {thin} pixels wide")
        expect(wide == 5, f"after four taps on the width's up arrow the stroke is {wide} pixels wide")

        mark = scrivo.mark()
        s.send("close")
        expect(scrivo.exit_code() == 0, "Scrivo did not close cleanly")
        with open(os.path.join(s.folder, "config", "scrivo", "registry.reg")) as stored:
            text = stored.read()
        for name in ("PenWidth", "PenHeight", "PenEnd", "EraserSize", "PenColour", "BakColour", "PositionY"):
            expect(f'"{name}"=dword:' in text, f"the settings file lacks {name}:\n{text}")
        expect('"PenWidth"=dword:00000005' in text, f"the stored pen width is not 5:\n{text}")


if __name__ == "__main__":
    main(test)
