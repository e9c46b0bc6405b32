"""From exec to the first page on the screen, with a 100-page notepad, on an Xvfb at 1920 x 1080 and
3840 x 2160: the time from starting the program to the arrival of the trace line of its first
present, and the trace's own milliseconds (since the clock started) of what came before it. Run by
`make bench`: /usr/bin/python3 bench/start_time.py --scrivo build/scrivo --scrivo-send build/scrivo-send"""

import os
import re
import statistics
import sys
import time

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))

from harness import main  # noqa: E402

# Each size and the most its median start may take, in milliseconds.
SIZES = ((1920, 1080, 150), (3840, 2160, 250))
STARTS = 5
PAGES = 100
PRESENT = r"presented \d+ rects"


def write_notepad(s):
    notepad = Image.new("1", (s.width, PAGES * s.height), 1)
    draw = ImageDraw.Draw(notepad)
    for page in range(PAGES):
        top = page * s.height + s.height // 2
        draw.rectangle((40, top, s.width - 80, top + 10), fill=0)
    notepad.save(os.path.join(s.folder, "app", "Scrivo.bmp"))


def start_once(s):
    """Milliseconds from exec to the first present's trace line, and the trace's lines before it."""
    started = time.monotonic()
    scrivo = s.start([s.scrivo])
    scrivo.wait_for(PRESENT)
    # The wait wakes as the line comes.
    shown = time.monotonic()
    with scrivo._changed:
        first = next(i for i, line in enumerate(scrivo.lines) if re.fullmatch(PRESENT, line))
        before = [f"{t} {line}" for line, t in zip(scrivo.lines[:first + 1], scrivo.stamps[:first + 1])
                  if t is not None]
    scrivo.wait_settled()
    s.send("close")
    scrivo.exit_code()
    return (shown - started) * 1000, before


def run(session):
    for width, height, goal in SIZES:
        with session(width=width, height=height) as s:
            write_notepad(s)
            times, trace = [], []
            for _ in range(STARTS):
                took, trace = start_once(s)
                times.append(took)
            median = statistics.median(times)
            print(f"{width}x{height}, {PAGES} pages: exec to first page median {median:.0f} ms, "
                  f"fastest {min(times):.0f} ms, slowest {max(times):.0f} ms of {STARTS}, goal <= {goal} ms "
                  f"{'met' if median <= goal else 'MISSED'}; the last start's trace: {'; '.join(trace)}", flush=True)


if __name__ == "__main__":
    main(run)
