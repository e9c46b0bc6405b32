"""A person's first day with Scrivo, from the install on: installed for the user and started the way
its launcher says; the "New Pad Created" box; writing, taking back with Ctrl+Z and giving again with
Ctrl+Y, and turning pages; installing again while it runs; closing with scrivo-send from the PATH;
starting again from the PATH and finding everything as it was left, with the notepad beside the
installed program."""

import os

from harness import TOOL_BUTTON, expect, keys, only_page, run, write

WHITE = (255, 255, 255)
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
FIRST = [(30, 100), (50, 100), (70, 104), (90, 110), (110, 110)]     # on page 1
SECOND = [(60, 220), (70, 230), (80, 240), (90, 250), (100, 260)]    # on page 2


def install_for_the_user(s):
    """Installs the Scrivo under test as `make run` does; the launcher's command line."""
    prefix = os.path.join(s.folder, "home", ".local")
    env = dict(os.environ, PREFIX=prefix, BUILD=os.path.dirname(s.scrivo_source))
    run(["sh", os.path.join(SOURCE, "tools", "install.sh"), "install", "user"], env=env, timeout=60)
    with open(os.path.join(prefix, "share", "applications", "scrivo.desktop"), encoding="utf-8") as launcher:
        command = next(line.split("=", 1)[1].strip() for line in launcher if line.startswith("Exec="))
    return prefix, command


def shows_ink(shot, stroke):
    return all(shot.getpixel(point) == WHITE for point in stroke)


def test(session):
    with session(width=240, height=320) as s:
        prefix, command = install_for_the_user(s)
        s.env["PATH"] = os.path.join(prefix, "bin") + os.pathsep + os.environ.get("PATH", "")

        # First start: the box in the middle of the page, gone with Enter.
        s.scrivo = command
        scrivo = s.start_scrivo()
        s.answer_box(scrivo, "\"New Pad Created\" box on the first start")
        shot, corner = s.screenshot(), s.width - TOOL_BUTTON
        # All but the tool button's corner.
        expect(only_page(shot, (0, 0, corner, s.height)) and only_page(shot, (corner, TOOL_BUTTON, s.width, s.height)),
               "the first page is not blank and blue")

        write(s, scrivo, FIRST)
        expect(shows_ink(s.screenshot(), FIRST), "the first stroke does not show")
        keys(s, scrivo, "ctrl+z")
        expect(not shows_ink(s.screenshot(), FIRST), "Ctrl+Z left the stroke on the screen")
        keys(s, scrivo, "ctrl+y")
        expect(shows_ink(s.screenshot(), FIRST), "Ctrl+Y did not bring the stroke back")

        keys(s, scrivo, "Down")
        write(s, scrivo, SECOND)
        expect(not shows_ink(s.screenshot(), FIRST), "Down did not turn to page 2")

        # `make run` again while Scrivo runs: the new install replaces the running program's file,
        # and the new start hands over to the running Scrivo, which still keeps its settings in its
        # own place when it closes.
        install_for_the_user(s)
        again = s.start([command])
        code = again.exit_code()
        expect(code == 0, f"the start after the new install did not hand over ({code})\n{again.output()}")

        s.scrivo_send = "scrivo-send"
        sent = s.send("close")
        expect(sent.returncode == 0, f"scrivo-send from the PATH failed: {sent.stderr}")
        expect(scrivo.exit_code() == 0, f"Scrivo did not end with 0\n{scrivo.output()}")

        # Started again from the PATH: no box, on page 2 where it was left, with its ink.
        scrivo = s.start(["scrivo"])
        scrivo.wait_settled()
        shot = s.screenshot()
        expect(shows_ink(shot, SECOND), "the second start does not show page 2 with its stroke")
        middle = (s.width // 6, s.height * 3 // 8, s.width * 5 // 6, s.height * 5 // 8)  # where message boxes show
        expect(only_page(shot, middle), "something over the page on the second start: a message box?")
        keys(s, scrivo, "Up")
        expect(shows_ink(s.screenshot(), FIRST), "page 1 is not as it was left")
        expect(s.send("close").returncode == 0, "the second close failed")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0 the second time")

        # Beside the program the PATH's link leads to.
        expect(os.path.isfile(os.path.join(prefix, "lib", "scrivo", "Scrivo.bmp")), "no Scrivo.bmp beside the program")
