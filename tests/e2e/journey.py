"""A person's first day with Scrivo, from the install on: installed for the user, started the way
its launcher says, the "New Pad Created" box, writing on a page, turning pages with the keys and
writing on another, installing again while it runs, closing with scrivo-send from the PATH,
starting again from the PATH and finding everything as it was left, and the notepad as Pillow reads
it."""

import os
import subprocess

from PIL import Image

from harness import PAGE_BLUE, drag, expect, main, not_page

WHITE = (255, 255, 255)
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
FIRST = [(30, 100), (50, 100), (70, 104), (90, 110), (110, 110)]   # on page 1
SECOND = [(60, 220), (70, 230), (80, 240), (90, 250), (100, 260)]  # on page 2


def install_for_the_user(s):
    """Installs the Scrivo under test as `make run` does; the launcher's command line."""
    prefix = os.path.join(s.folder, "home", ".local")
    env = dict(os.environ, PREFIX=prefix, BUILD=os.path.dirname(s.scrivo_source))
    done = subprocess.run(["sh", os.path.join(SOURCE, "tools", "install.sh"), "install", "user"], env=env,
                          capture_output=True, text=True, timeout=60)
    expect(done.returncode == 0, f"the install failed: {done.stderr}")
    with open(os.path.join(prefix, "share", "applications", "scrivo.desktop"), encoding="utf-8") as launcher:
        command = next(line.split("=", 1)[1].strip() for line in launcher if line.startswith("Exec="))
    return prefix, command


def turn_page(s, scrivo, key):
    mark = scrivo.mark()
    s.xdotool("key", key)
    scrivo.wait_settled(mark)


def write(s, scrivo, stroke):
    mark = scrivo.mark()
    drag(s, stroke)
    scrivo.wait_for(r"pointer up \d+ \d+", mark)
    scrivo.wait_settled(mark)


def shows_ink(shot, stroke):
    return all(shot.getpixel(point) == WHITE for point in stroke)


def test(session):
    with session(width=240, height=320) as s:
        prefix, command = install_for_the_user(s)
        s.env["PATH"] = os.path.join(prefix, "bin") + os.pathsep + os.environ.get("PATH", "")
        expect(command == os.path.join(prefix, "lib", "scrivo", "scrivo"), f"the launcher runs {command}")

        # First start: the box in the middle of the page, gone with Enter.
        s.scrivo = command
        scrivo = s.start_scrivo()
        s.answer_box(scrivo, "\"New Pad Created\" box on the first start")
        expect(not not_page(s.screenshot(), s.page_area()), "the first page is not blank and blue")

        write(s, scrivo, FIRST)
        expect(shows_ink(s.screenshot(), FIRST), "the first stroke does not show")

        turn_page(s, scrivo, "Down")
        shot = s.screenshot()
        expect(not shows_ink(shot, FIRST) and shot.getpixel((100, 104)) == PAGE_BLUE, "page 2 is not blank")
        write(s, scrivo, SECOND)
        turn_page(s, scrivo, "Up")
        shot = s.screenshot()
        expect(shows_ink(shot, FIRST) and not shows_ink(shot, SECOND), "page 1 is not as it was written")
        turn_page(s, scrivo, "Down")

        # `make run` again while Scrivo runs: the new install replaces the running program's file,
        # and the new start hands over to the running Scrivo, which still keeps its settings in its
        # own place when it closes.
        install_for_the_user(s)
        again = s.start([command])
        code = again.exit_code()
        expect(code == 0, f"the start after the new install did not hand over ({code})\n{again.output()}")

        sent = s.run(["scrivo-send", "close"], check=False)
        expect(sent.returncode == 0, f"scrivo-send from the PATH failed: {sent.stderr}")
        expect(scrivo.exit_code() == 0, f"Scrivo did not end with 0\n{scrivo.output()}")

        # Started again from the PATH: no box, on page 2 where it was left, with its ink.
        scrivo = s.start(["scrivo"])
        scrivo.wait_settled()
        shot = s.screenshot()
        expect(shows_ink(shot, SECOND), "the second start does not show page 2 with its stroke")
        expect(not not_page(shot, s.middle()), "something over the page on the second start: a message box?")
        turn_page(s, scrivo, "Up")
        expect(shows_ink(s.screenshot(), FIRST), "page 1 lost its stroke")
        expect(s.run(["scrivo-send", "close"]).returncode == 0, "the second close failed")
        expect(scrivo.exit_code() == 0, "Scrivo did not end with 0 the second time")

        notepad = Image.open(os.path.join(prefix, "lib", "scrivo", "Scrivo.bmp"))
        expect(notepad.size == (240, 5 * 320) and notepad.mode == "1", f"Scrivo.bmp is {notepad.size} {notepad.mode}")
        expect(all(notepad.getpixel(p) == 0 for p in FIRST), "Scrivo.bmp lacks the stroke of page 1")
        expect(all(notepad.getpixel((x, y + 320)) == 0 for x, y in SECOND), "Scrivo.bmp lacks the stroke of page 2")
        expect(notepad.getpixel((200, 500)) == 255, "Scrivo.bmp has ink where nobody wrote")


if __name__ == "__main__":
    main(test)
