"""The first start at 240 x 320: the "New Pad Created" box over the page, and after Enter the blue
page over the whole screen (but the tool button's corner)."""

from harness import expect, main, not_page


def test(session):
    with session(width=240, height=320) as s:
        scrivo = s.start_scrivo()
        s.answer_box(scrivo, "message box in the middle of the screen")
        wrong = not_page(s.screenshot(), s.page_area())
        expect(not wrong, f"{len(wrong)} points are not the page's blue, the first at {wrong[:1]}")
        expect(scrivo.running(), "Scrivo ended")


if __name__ == "__main__":
    main(test)
