"""A desktop's ways to the same commands: the mouse wheel and Page Down/Page Up turn pages, a right
click and the Menu key open the command menu and leave no ink, Ctrl+Q quits."""

import os

from PIL import Image, ImageDraw

from harness import PAGE_BLUE, expect, main, settled_after

WHITE = (255, 255, 255)
MENU_FACE = (192, 192, 192)


def test(session):
    with session(width=240, height=320) as s:
        # Two pages with a bar across the middle of page 2.
        notepad = Image.new("1", (240, 640), 1)
        ImageDraw.Draw(notepad).rectangle((20, 320 + 150, 200, 320 + 170), fill=0)
        notepad.save(os.path.join(s.folder, "app", "Scrivo.bmp"))
        scrivo = s.start_scrivo()

        def after(*action):
            return settled_after(s, scrivo, *action)

        s.xdotool("mousemove", "100", "100")
        expect(after("click", "5").getpixel((100, 160)) == WHITE, "the wheel did not turn to page 2")
        expect(after("click", "4").getpixel((100, 160)) == PAGE_BLUE, "the wheel did not turn back to page 1")
        expect(after("key", "Next").getpixel((100, 160)) == WHITE, "Page Down did not turn to page 2")
        expect(after("key", "Prior").getpixel((100, 160)) == PAGE_BLUE, "Page Up did not turn back")

        shot = after("click", "3")
        expect(shot.getpixel((120, 160)) == MENU_FACE, "a right click did not open the menu")
        expect(after("key", "Escape").getpixel((100, 100)) == PAGE_BLUE, "the right click left ink")
        expect(after("key", "Menu").getpixel((120, 160)) == MENU_FACE, "the Menu key did not open the menu")
        after("key", "Escape")

        s.xdotool("key", "ctrl+q")
        expect(scrivo.exit_code() == 0, "Ctrl+Q did not end Scrivo with 0")


if __name__ == "__main__":
    main(test)
