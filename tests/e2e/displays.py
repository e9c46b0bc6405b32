"""Each X display has its own Scrivo, whose window the desktop sees named "Scrivo" and of the class
"Scrivo" that the launcher names. A second start on the same display brings the first one to the
front with the keyboard, shows nothing and ends with 0; scrivo-send reaches the Scrivo of its own
display, or of the display it names. A SCRIVO_SCREEN larger than the display says so in one line and
gives the whole display (the sizes that are no sizes at all are the backend's unit test)."""

from harness import expect


def test(session):
    with session(width=240, height=320) as a, session(width=240, height=320) as b:
        a.env["SCRIVO_SCREEN"] = "1000x200"
        on_a = a.start_scrivo(close_first_box=True)
        on_b = b.start_scrivo(close_first_box=True)
        expect(on_a.running(), "the Scrivo on the first display ended when one started on the second")
        said = on_a.matching(r".*SCRIVO_SCREEN.*")
        expect(len(said) == 1 and said[0].startswith("scrivo: SCRIVO_SCREEN=1000x200 is larger than the display"),
               f"SCRIVO_SCREEN=1000x200: said {said}")

        scrivo_window, alone = a.xdotool("search", "--sync", "--onlyvisible", "--class", "^Scrivo$"), a.screenshot()
        expect(a.xdotool("getwindowname", scrivo_window) == "Scrivo", "the window is not named Scrivo")
        wm_class = a.x_tool("xprop", "-id", scrivo_window, "WM_CLASS").stdout.strip()
        expect(wm_class == 'WM_CLASS(STRING) = "Scrivo", "Scrivo"', f"the window's class: {wm_class}")
        geometry = a.xdotool("getwindowgeometry", scrivo_window)
        expect("Geometry: 240x320" in geometry, f"not the whole display for 1000x200: {geometry}")

        # Another program comes to the front, over the page, with the keyboard.
        a.start(["xlogo", "-geometry", "100x100+40+60"])
        other_window = a.xdotool("search", "--sync", "--onlyvisible", "--class", "xlogo")
        a.xdotool("windowraise", other_window)
        a.xdotool("windowfocus", "--sync", other_window)
        expect(a.screenshot().tobytes() != alone.tobytes(), "the other program's window does not show")

        mark_a, mark_b = on_a.mark(), on_b.mark()
        again = a.start([a.scrivo])
        expect(again.exit_code() == 0, f"a second start on the first display did not end with 0\n{again.output()}")
        on_a.wait_for("raised", mark_a)
        on_a.wait_settled(mark_a)
        expect(a.screenshot().tobytes() == alone.tobytes(), "the first copy did not come to the front")
        expect(a.xdotool("getwindowfocus") == scrivo_window, "the first copy did not get the keyboard")
        expect(not again.matching(r"presented \d+ rects"), "the second copy showed something")
        expect(not on_b.matching("raised", mark_b), "the start on the first display raised the second's Scrivo")

        named = a.send("--display", b.display, "close")
        expect(named.returncode == 0, f"scrivo-send --display {b.display} failed: {named.stderr}")
        expect(on_b.exit_code() == 0, "the Scrivo on the named display did not close")
        expect(on_a.running(), "scrivo-send --display closed the Scrivo of its own display")

        nobody = b.send("close")
        expect(nobody.returncode == 1 and b.display in nobody.stderr,
               f"scrivo-send found a Scrivo on a display without one: {nobody.returncode} {nobody.stderr}")
        expect(a.send("close").returncode == 0, "scrivo-send did not reach the Scrivo of its own display")
        expect(on_a.exit_code() == 0, "the Scrivo on the first display did not close")
