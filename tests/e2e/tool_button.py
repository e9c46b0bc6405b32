"""The tool button in the top-right corner shows the pen face, at the device's size on a small screen
and twice as large on a 4K one. A click switches to the eraser, whose face then shows, and a drag
across a stroke removes its ink from the screen and from the saved notepad."""

import os

from PIL import Image

from harness import PAGE_BLUE, expect, main
from ink import drag

RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "resources")
WHITE = (255, 255, 255)


def face(name, scale):
    """The face as its file holds it, each pixel `scale` screen pixels square."""
    image = Image.open(os.path.join(RESOURCES, name)).convert("RGB")
    return image.resize((image.width * scale, image.height * scale), Image.NEAREST)


def expect_button(s, shot, name, scale):
    expected = face(name, scale)
    left = s.width - expected.width - 1
    shown = shot.crop((left, 1, left + expected.width, 1 + expected.height))
    expect(list(shown.getdata()) == list(expected.getdata()), f"the button does not show {name} at scale {scale}")
    for outside in [(left - 1, 10), (s.width - 1, 10), (left + 10, 0), (left + 10, expected.height + 1)]:
        expect(shot.getpixel(outside) == PAGE_BLUE, f"the button reaches {outside}")


def line(start, end, y):
    """Stylus points no farther apart than a stroke joins."""
    return [(x, y) for x in range(start, end + 1, 10)]


def erase_across_a_stroke(width, height, scale):
    def run(session):
        with session(width=width, height=height) as s:
            notepad = os.path.join(s.folder, "app", "Scrivo.bmp")
            scrivo = s.start_scrivo(close_first_box=True)
            expect_button(s, s.screenshot(), "tool_pen.bmp", scale)

            middle_x, middle_y = width // 2, height // 2
            mark = scrivo.mark()
            drag(s, line(middle_x - 60, middle_x + 60, middle_y))
            scrivo.wait_for(rf"pointer up {middle_x + 60} {middle_y}", mark)
            button_x, button_y = width - 1 - 15 * scale, 1 + 15 * scale
            s.xdotool("mousemove", str(button_x), str(button_y), "click", "1")
            scrivo.wait_for(rf"pointer up {button_x} {button_y}", mark)
            scrivo.wait_settled(mark)
            expect_button(s, s.screenshot(), "tool_eraser.bmp", scale)

            mark = scrivo.mark()
            drag(s, [(middle_x, y) for y in range(middle_y - 40, middle_y + 41, 10)])
            scrivo.wait_for(rf"pointer up {middle_x} {middle_y + 40}", mark)
            scrivo.wait_settled(mark)
            shot = s.screenshot()
            # The eraser is 10 pixels square, in device pixels at any scale.
            for x in range(middle_x - 5, middle_x + 5):
                expect(shot.getpixel((x, middle_y)) == PAGE_BLUE, f"ink left at {x} under the eraser")
            for x in (middle_x - 30, middle_x + 30):
                expect(shot.getpixel((x, middle_y)) == WHITE, f"the eraser took ink at {x} it never touched")

            expect(s.send("close").returncode == 0, "scrivo-send close failed")
            expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")
            stored = Image.open(notepad)
            expect(stored.getpixel((middle_x, middle_y)) == 255, "the notepad file still holds the erased ink")
            expect(stored.getpixel((middle_x - 30, middle_y)) == 0, "the notepad file lost ink the eraser missed")
    return run


def test(session):
    erase_across_a_stroke(240, 320, 1)(session)
    erase_across_a_stroke(3840, 2160, 2)(session)


if __name__ == "__main__":
    main(test)
