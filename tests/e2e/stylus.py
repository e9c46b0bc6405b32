"""A drag with the mouse button down reaches the program as a stroke, every move of it; a mouse
moved without a button sends nothing and draws nothing."""

import time

from harness import expect, main


def test(session):
    with session(width=240, height=320) as s:
        scrivo = s.start_scrivo(close_first_box=True)

        before = s.screenshot()
        mark = scrivo.mark()
        s.xdotool("mousemove", "100", "200")
        s.xdotool("mousemove", "120", "220")
        # Nothing is expected, so there is nothing to wait for but a while.
        time.sleep(0.5)
        # It is a hover, which shows the mouse's pointer and never becomes a stylus message.
        expect(not scrivo.matching(r"pointer (down|move|up) .*", mark),
               f"a bare move reached the program as the stylus\n{scrivo.output()}")
        expect(s.screenshot().tobytes() == before.tobytes(), "a bare move drew")

        mark = scrivo.mark()
        s.xdotool("mousemove", "50", "100")
        s.xdotool("mousedown", "1")
        for x, y in ((60, 110), (70, 120), (80, 120)):
            s.xdotool("mousemove", str(x), str(y))
        s.xdotool("mouseup", "1")
        scrivo.wait_for(r"pointer up 80 120", mark)
        pointer = scrivo.matching(r"pointer (down|move|up) .*", mark)
        expect(pointer == ["pointer down 50 100", "pointer move 60 110", "pointer move 70 120",
                           "pointer move 80 120", "pointer up 80 120"], f"the stroke arrived as {pointer}")
        scrivo.wait_settled(mark)
        shot = s.screenshot()
        changed = [p for p in [(50, 100), (65, 115), (80, 120)] if shot.getpixel(p) != before.getpixel(p)]
        expect(len(changed) == 3, f"the stroke left no ink at {set([(50, 100), (65, 115), (80, 120)]) - set(changed)}")
        far = [(200, 300), (10, 300), (200, 60)]
        expect(all(shot.getpixel(p) == before.getpixel(p) for p in far), "ink where the stroke never went")


if __name__ == "__main__":
    main(test)
