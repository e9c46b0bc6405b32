"""A drag with the mouse button down reaches the program as a stroke, every move of it; a mouse
moved without a button sends nothing and draws nothing."""

import time

from harness import expect, main, not_page


def test(session):
    with session(width=240, height=320) as s:
        scrivo = s.start_scrivo(close_first_box=True)

        mark = scrivo.mark()
        s.xdotool("mousemove", "100", "200")
        s.xdotool("mousemove", "120", "220")
        # Nothing is expected, so there is nothing to wait for but a while.
        time.sleep(0.5)
        expect(not scrivo.matching(r"pointer .*", mark), f"a bare move reached the program\n{scrivo.output()}")
        expect(not not_page(s.screenshot(), s.page_area()), "a bare move drew")

        mark = scrivo.mark()
        s.xdotool("mousemove", "50", "100")
        s.xdotool("mousedown", "1")
        for x, y in ((60, 110), (70, 120), (80, 120)):
            s.xdotool("mousemove", str(x), str(y))
        s.xdotool("mouseup", "1")
        scrivo.wait_for(r"pointer up 80 120", mark)
        pointer = scrivo.matching(r"pointer .*", mark)
        expect(pointer == ["pointer down 50 100", "pointer move 60 110", "pointer move 70 120",
                           "pointer move 80 120", "pointer up 80 120"], f"the stroke arrived as {pointer}")
        scrivo.wait_settled(mark)
        shot = s.screenshot()
        expect(not_page(shot, [(50, 100), (65, 115), (80, 120)]), "the stroke left no ink")
        expect(not not_page(shot, [(200, 300), (10, 300), (200, 60)]), "ink where the stroke never went")


if __name__ == "__main__":
    main(test)
