"""Without a display Scrivo says so and ends with 1 at once; a display that is there but refuses is
tried for about a second, then named in the message."""

import os
import socket
import tempfile
import time

from harness import expect, run

NOT_THERE = "found no display"


def test(session):
    scrivo = session().scrivo_source
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    with tempfile.TemporaryDirectory() as folder, socket.socket(socket.AF_UNIX) as refusing:
        path = os.path.join(folder, "wayland-refusing")
        refusing.bind(path)  # there, but not listening
        # The display, what Scrivo says of it, and how long it may take to give up.
        for display, said, least, most in (({}, NOT_THERE, 0, 1.0), ({"DISPLAY": ":65000"}, NOT_THERE, 0, 1.0),
                                            ({"WAYLAND_DISPLAY": "/nonexistent/wayland-0"}, NOT_THERE, 0, 1.0),
                                            ({"WAYLAND_DISPLAY": path}, f"cannot open the display {path}", 0.5, 3.0)):
            began = time.monotonic()
            done = run([scrivo], env=dict(env, **display), check=False, timeout=5)
            took = time.monotonic() - began
            expect(done.returncode == 1 and said in done.stderr,
                   f"with {display or 'no display'}: {done.returncode} {done.stderr!r}")
            expect(least <= took < most, f"with {display or 'no display'} Scrivo took {took:.2f} s to give up")
