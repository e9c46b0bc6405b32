"""The frames of one animated page turn on a real display (Xvfb), at 240 x 320, 1920 x 1080 and
3840 x 2160: how many were presented, whether two fell in one refresh or a refresh passed without
one, and the longest gap between two of them, read from the timestamped trace. Run by hand:
/usr/bin/python3 bench/page_turn_frames.py --scrivo build/scrivo --scrivo-send build/scrivo-send"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))

from harness import main  # noqa: E402
from page_frames import turn_frame_times  # noqa: E402


def run(session):
    for width, height in ((240, 320), (1920, 1080), (3840, 2160)):
        with session(width=width, height=height) as s:
            rate, frames = turn_frame_times(s, width, height)
            refreshes = [t * rate // 1000 for t in frames]
            gaps = [b - a for a, b in zip(frames, frames[1:])]
            skipped = sum(b - a - 1 for a, b in zip(refreshes, refreshes[1:]) if b - a > 1)
            print(f"{width}x{height} at {rate} Hz: {len(frames)} frames in {frames[-1] - frames[0]} ms, "
                  f"{len(refreshes) - len(set(refreshes))} in a refresh already shown, {skipped} refreshes "
                  f"skipped between them, longest gap {max(gaps, default=0)} ms; gaps {gaps}")

if __name__ == "__main__":
    main(run)
