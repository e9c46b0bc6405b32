"""A second copy finds the first, brings it to the front and ends with 0; the first runs on."""

from harness import expect, main


def test(session):
    with session(width=240, height=320) as s:
        first = s.start_scrivo(close_first_box=True)
        scrivo_window = s.xdotool("getwindowfocus")
        alone = s.screenshot()

        # Another program comes to the front, over the page, with the keyboard.
        s.start(["xlogo", "-geometry", "100x100+40+60"])
        other_window = s.xdotool("search", "--sync", "--onlyvisible", "--class", "xlogo")
        s.xdotool("windowraise", other_window)
        s.xdotool("windowfocus", "--sync", other_window)
        expect(s.screenshot().tobytes() != alone.tobytes(), "the other program's window does not show")

        mark = first.mark()
        second = s.start([s.scrivo])
        expect(second.exit_code(timeout=10) == 0, f"the second copy did not end with 0\n{second.output()}")
        first.wait_for("raised", mark)
        first.wait_settled(mark)
        expect(s.screenshot().tobytes() == alone.tobytes(), "the first copy did not come to the front")
        expect(s.xdotool("getwindowfocus") == scrivo_window, "the first copy did not get the keyboard")
        expect(first.running(), "the first copy ended")
        expect(not second.matching(r"presented \d+ rects"), "the second copy showed something")


if __name__ == "__main__":
    main(test)
