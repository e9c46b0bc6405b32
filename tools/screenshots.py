"""Makes the README's pictures from the real Scrivo under Xvfb: a written page, the command menu and
the Options dialog. Run it again after changing how Scrivo looks:

    /usr/bin/python3 tools/screenshots.py --scrivo build/scrivo --scrivo-send build/scrivo-send

A picture whose screen does not appear (a Scrivo without that screen) is left as it was, and the
script says so and ends with 1.
"""

import math
import os
import random
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from harness import Failure, drag, main  # noqa: E402

WIDTH, HEIGHT = 320, 480
PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "docs", "screenshots")
# Pen 2 × 2 with round-looking ends: a page that reads at README size.
SETTINGS = {"PenWidth": 2, "PenHeight": 2, "PenEnd": 3}


def handwriting(left, baseline, letters, size=9, seed=1):
    """Strokes of joined loops, word by word, the way a hand runs across a page."""
    shapes = random.Random(seed)
    strokes, stroke, x = [], [], left
    for n in range(letters):
        if n and shapes.random() < 0.18:  # the gap between two words
            strokes.append(stroke)
            stroke, x = [], x + size
        height = size * (1.7 if shapes.random() < 0.3 else 1.0)
        width = size * shapes.uniform(0.9, 1.3)
        for i in range(13):
            t = math.pi + i / 12 * 2 * math.pi
            stroke.append((round(x + width * (t - math.pi) / (2 * math.pi) - width * 0.4 * math.sin(t)),
                           round(baseline - height * (1 + math.cos(t)) / 2)))
        x += width
    return strokes + [stroke]


def smooth(stroke, step=5):
    """The stroke with points every few pixels, as a moving hand reports them: the program takes a
    far jump between two reports for a glitch and draws nothing across it."""
    points = [stroke[0]]
    for (x0, y0), (x1, y1) in zip(stroke, stroke[1:]):
        n = max(1, math.ceil(max(abs(x1 - x0), abs(y1 - y0)) / step))
        points += [(round(x0 + (x1 - x0) * k / n), round(y0 + (y1 - y0) * k / n)) for k in range(1, n + 1)]
    return points


def box(left, top, side):
    return [(left, top), (left + side, top), (left + side, top + side), (left, top + side), (left, top)]


def tick(left, top, side):
    return [(left + 2, top + side // 2), (left + side // 2, top + side - 2), (left + side + 3, top - 4)]


def star(cx, cy, r):
    return [(round(cx + r * (1 if k % 2 == 0 else 0.45) * math.sin(k * math.pi / 5)),
             round(cy - r * (1 if k % 2 == 0 else 0.45) * math.cos(k * math.pi / 5))) for k in range(11)]


def write_page(s):
    strokes = handwriting(24, 56, 14, 10) + [[(24, 66), (230, 66)]]
    for row, letters in enumerate((9, 12, 7)):
        top = 96 + row * 40
        strokes += [box(24, top, 16)] + handwriting(54, top + 15, letters, 7, seed=row + 2)
        if row < 2:
            strokes.append(tick(24, top, 16))
    strokes += handwriting(24, 262, 21, 8, seed=7) + handwriting(24, 294, 16, 8, seed=8)
    strokes.append(star(240, 390, 40))
    for stroke in strokes:
        drag(s, smooth(stroke))


def capture(s, scrivo, mark, name, before):
    """Saves the screen as `name` once it differs from `before`; False when it never did."""
    try:
        scrivo.wait_settled(mark, timeout=5)
    except Failure:
        pass  # nothing was presented: the screen is compared as it is
    shot = s.screenshot()
    if shot.tobytes() == before.tobytes():
        print(f"{name}: the screen did not change, the picture is left as it was", file=sys.stderr)
        return False
    shot.save(os.path.join(PICTURES, name))
    print(f"{name}: made")
    return True


def make_pictures(session):
    os.makedirs(PICTURES, exist_ok=True)
    with session(width=WIDTH, height=HEIGHT) as s:
        s.write_settings(**SETTINGS)
        scrivo = s.start_scrivo(close_first_box=True)
        blank = s.screenshot()
        mark = scrivo.mark()
        write_page(s)
        made = [capture(s, scrivo, mark, "page.png", blank)]

        page = s.screenshot()
        mark = scrivo.mark()
        s.send("app")
        made.append(capture(s, scrivo, mark, "menu.png", page))
        s.xdotool("key", "Escape")

        before = s.screenshot()
        mark = scrivo.mark()
        s.send("command", "40011")
        made.append(capture(s, scrivo, mark, "options.png", before))
        if not all(made):
            raise Failure("not every picture was made")


if __name__ == "__main__":
    main(make_pictures)
