"""Writing with the mouse leaves ink in the pen colour that the settings file gives, and the
eraser's colour is the page's."""

from harness import drag, expect, main

RED = (255, 0, 0)
GREEN = (0, 255, 0)


def test(session):
    with session(width=240, height=320) as s:
        # A person's settings, written by hand before the first start: red ink on a green page.
        s.write_settings(PenColour=0x0000FF, BakColour=0x00FF00, PenEnd=4)
        scrivo = s.start_scrivo(close_first_box=True)
        expect(s.screenshot().getpixel((120, 160)) == GREEN, "the page is not in the stored page colour")

        mark = scrivo.mark()
        drag(s, [(40, 100), (50, 100), (60, 105), (70, 110)])
        scrivo.wait_for(r"pointer up 70 110", mark)
        scrivo.wait_settled(mark)
        shot = s.screenshot()
        for point in [(40, 100), (45, 100), (55, 102), (65, 107), (70, 110)]:
            expect(shot.getpixel(point) == RED, f"no red ink at {point}: {shot.getpixel(point)}")
        expect(shot.getpixel((40, 140)) == GREEN, "ink where the stroke never went")


if __name__ == "__main__":
    main(test)
