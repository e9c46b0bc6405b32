"""Dialogs on three screens, with the keyboard alone: the window's icon, About laid out at the fitted
factor and centred, and numbers typed into Options and stepped with Up."""

import re

from harness import PAGE_BLUE, expect, keys

YELLOW = (255, 255, 0)
SCREENS = ((240, 320, 1, 1), (1920, 1080, 3, 1), (3840, 2160, 6, 2))  # width, height, fitted, chrome


def command(s, scrivo, number):
    mark = scrivo.mark()
    expect(s.send("command", str(number)).returncode == 0, "scrivo-send could not reach Scrivo")
    scrivo.wait_settled(mark)
    return s.screenshot()


def test(session):
    for width, height, fitted, chrome in SCREENS:
        with session(width=width, height=height) as s:
            area = ((width - 240 * fitted) // 2, (height - 320 * fitted) // 2)
            scrivo = s.start_scrivo(close_first_box=True)

            window = s.xdotool("search", "--name", "^Scrivo$").split()[0]
            icon = s.x_tool("xprop", "-id", window, "_NET_WM_ICON").stdout
            size = re.search(r"_NET_WM_ICON\(CARDINAL\) =\s+Icon \((\d+) x (\d+)\)", icon)
            expect(size and int(size.group(1)) == 32 * chrome, f"the window has no icon of its own: {icon[:80]}")

            shot = command(s, scrivo, 40005)
            ground = (area[0] + 4 * fitted, area[1] + 250 * fitted)
            expect(shot.getpixel(ground) == YELLOW, "About did not open in yellow")
            keys(s, scrivo, "Return")
            expect(s.screenshot().getpixel((width // 2, height // 2)) == PAGE_BLUE, "Return left About open")

            command(s, scrivo, 40011)
            # Focus starts in the pen width; Tab goes on to the pen height, the pen colour, the end dot,
            # the page colour and the eraser.
            keys(s, scrivo, "BackSpace", "BackSpace", "1", "5", "Tab", "BackSpace", "BackSpace", "2", "0",
                 "Tab", "Tab", "Tab", "Tab", "BackSpace", "BackSpace", "9", "Up")
            keys(s, scrivo, "Return")
            values = s.settings()
            expect(values.get("PenWidth") == 15 and values.get("PenHeight") == 20, f"stored {values}")
            expect(values.get("EraserSize") == 10, f"Up from 9 gave an eraser of {values.get('EraserSize')}")

            s.send("close")
            expect(scrivo.exit_code() == 0, "Scrivo did not close cleanly")

