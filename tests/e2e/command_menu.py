"""The command menu opens when asked from outside; a tap beside it closes it without ink; "Clear
Page" chosen in it clears the page; and when another program's window takes the focus the notepad
is saved while Scrivo keeps running."""

import os
import time

from PIL import Image

from harness import PAGE_BLUE, drag, expect, main, not_page

MENU_FACE = (192, 192, 192)


def open_menu(s, scrivo):
    mark = scrivo.mark()
    sent = s.send("app")
    expect(sent.returncode == 0, f"scrivo-send app failed: {sent.stderr}")
    scrivo.wait_settled(mark)
    expect(s.screenshot().getpixel((s.width // 2, s.height // 2)) == MENU_FACE, "no menu in the middle")


def test(session):
    with session(width=240, height=320) as s:
        # No autosave: the save on losing the focus must be the first.
        s.write_settings(AutosaveSeconds=0)
        scrivo = s.start_scrivo(close_first_box=True)
        mark = scrivo.mark()
        drag(s, [(40, 100), (60, 100), (80, 100)])
        scrivo.wait_for(r"pointer up 80 100", mark)
        scrivo.wait_settled(mark)
        expect(s.screenshot().getpixel((60, 100)) != PAGE_BLUE, "the stroke left no ink")

        open_menu(s, scrivo)
        mark = scrivo.mark()
        s.xdotool("mousemove", "5", "300", "click", "1")
        scrivo.wait_for(r"pointer up 5 300", mark)
        scrivo.wait_settled(mark)
        shot = s.screenshot()
        expect(shot.getpixel((s.width // 2, s.height // 2)) == PAGE_BLUE, "the tap beside the menu left it open")
        expect(shot.getpixel((5, 300)) == PAGE_BLUE, "the tap beside the menu left ink")

        # "Clear Page" is the seventh item: Down seven times passes the first two separators.
        open_menu(s, scrivo)
        mark = scrivo.mark()
        for _ in range(7):
            s.xdotool("key", "Down")
        s.xdotool("key", "Return")
        scrivo.wait_settled(mark)
        left = not_page(s.screenshot(), s.page_area())
        expect(not left, f"the page was not cleared: {left[:5]}")

        notepad = os.path.join(s.folder, "app", "Scrivo.bmp")
        expect(not os.path.exists(notepad), "the notepad was saved before anything asked for it")
        other = s.focus_elsewhere(scrivo)
        deadline = time.monotonic() + 10
        while not os.path.exists(notepad) and time.monotonic() < deadline:
            time.sleep(0.1)
        expect(os.path.exists(notepad), "losing the focus did not save the notepad")
        saved = Image.open(notepad).convert("1")
        expect(saved.size == (240, 5 * 320), f"the saved notepad is {saved.size}")
        expect(all(saved.getpixel((x, 100)) for x in range(30, 90)), "the saved page still has the stroke")
        expect(scrivo.running(), "Scrivo ended when it lost the focus")
        other.stop()
        s.send("close")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")


if __name__ == "__main__":
    main(test)
