"""What a desktop sees of Scrivo: its window is named "Scrivo" and of the class "Scrivo" that the
launcher names; a SCRIVO_SCREEN larger than the display says so in one line and gives the whole
display (the sizes that are no sizes at all are the backend's unit test)."""

from harness import expect


def test(session):
    with session(width=240, height=320) as s:
        s.env["SCRIVO_SCREEN"] = "1000x200"
        scrivo = s.start_scrivo(close_first_box=True)
        said = scrivo.matching(r".*SCRIVO_SCREEN.*")
        expect(len(said) == 1 and said[0].startswith("scrivo: SCRIVO_SCREEN=1000x200 is larger than the display"),
               f"SCRIVO_SCREEN=1000x200: said {said}")

        window = s.xdotool("search", "--sync", "--onlyvisible", "--class", "^Scrivo$")
        expect(s.xdotool("getwindowname", window) == "Scrivo", "the window is not named Scrivo")
        wm_class = s.x_tool("xprop", "-id", window, "WM_CLASS").stdout.strip()
        expect(wm_class == 'WM_CLASS(STRING) = "Scrivo", "Scrivo"', f"the window's class: {wm_class}")
        geometry = s.xdotool("getwindowgeometry", window)
        expect("Geometry: 240x320" in geometry, f"not the whole display for 1000x200: {geometry}")

        expect(s.send("close").returncode == 0, "scrivo-send close failed")
        expect(scrivo.exit_code() == 0, f"Scrivo ended badly\n{scrivo.output()}")
