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
    # Every move read before a present is shown by it.
    latencies = []
    waiting = []
    with scrivo._changed:
        lines = list(zip(scrivo.lines[mark:], scrivo.arrivals[mark:]))
    for line, when in lines:
        if line.startswith("pointer move"):
            waiting.append(when)
        elif line.startswith("presented") and waiting:
            latencies += [(when - moved) * 1000 for moved in waiting]
            waiting = []
    latencies.sort()
    median = statistics.median(latencies)
    p99 = latencies[min(len(latencies) - 1, int(len(latencies) * 0.99))]
    # A move read while the program is still busy with earlier ones is only drawn later: the last
    # frame of the stroke tells whether the program kept up.
    moves = [when for line, when in lines if line.startswith("pointer move")]
    frames = [when for line, when in lines if line.startswith("presented")]
    print(f"{s.width}x{s.height}: {len(latencies)} moves shown, from each move to the next frame: "
          f"median {median:.3f} ms, 99th percentile {p99:.3f} ms, longest {latencies[-1]:.3f} ms; "
          f"the stroke's last frame {(frames[-1] - moves[-1]) * 1000:.1f} ms after its last move")

def run(session):
    for width, height in ((240, 320), (1920, 1080)):
        with session(width=width, height=height) as s:
            measure(s)


if __name__ == "__main__":
    main(run)
