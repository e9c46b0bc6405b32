"""Present latency of the stylus: from a pointer event delivered by the display backend to the end
of the present that shows its ink, under Xvfb, at 240 x 320 and 1920 x 1080. Both moments are read
from the backend's trace as its lines arrive, so the figure includes the program's drawing and the
present, not X or xdotool. Run by hand: /usr/bin/python3 bench/stylus_latency.py --scrivo build/scrivo
--scrivo-send build/scrivo-send"""

import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))

from harness import main  # noqa: E402

MOVES = 400


def measure(s):
    scrivo = s.start_scrivo(close_first_box=True)
    mark = scrivo.mark()
    s.xdotool("mousemove", "20", "40")
    s.xdotool("mousedown", "1")
    # One xdotool call with many moves, each a few pixels on: every move draws a short stroke.
    path = []
    for i in range(MOVES):
        x = 20 + (i * 3) % (s.width - 40)
        y = 40 + (i * 3) // (s.width - 40) * 12
        path += ["mousemove", str(x), str(y % (s.height - 20))]
    s.xdotool(*path)
    s.xdotool("mouseup", "1")
    scrivo.wait_for(r"pointer up .*", mark)
    scrivo.wait_settled(mark)
    latencies = []
    pending = None
    with scrivo._changed:
        lines = list(zip(scrivo.lines[mark:], scrivo.arrivals[mark:]))
    for line, when in lines:
        if line.startswith("pointer move") and pending is None:
            pending = when
        elif line.startswith("presented") and pending is not None:
            latencies.append((when - pending) * 1000)
            pending = None
    latencies.sort()
    median = statistics.median(latencies)
    p99 = latencies[int(len(latencies) * 0.99) - 1]
    print(f"{s.width}x{s.height}: {len(latencies)} strokes shown, median {median:.3f} ms, 99th percentile {p99:.3f} ms")


def run(session):
    for width, height in ((240, 320), (1920, 1080)):
        with session(width=width, height=height) as s:
            measure(s)


if __name__ == "__main__":
    main(run)
