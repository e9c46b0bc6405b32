"""Without a display Scrivo says so and ends with 1 at once; a display that is there but refuses is
tried for about a second, then named in the message."""

import os
import socket
import tempfile
import time

from harness import expect, run


def start(scrivo, **display):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    env.update(display)
    return run([scrivo], env=env, check=False, timeout=5)


def test(session):
    scrivo = session().scrivo_source
    for display in ({}, {"DISPLAY": ":65000"}, {"WAYLAND_DISPLAY": "/nonexistent/wayland-0"}):
        began = time.monotonic()
        done = start(scrivo, **display)
        took = time.monotonic() - began
        expect(done.returncode == 1 and "found no display" in done.stderr,
               f"with {display or 'no display'}: {done.returncode} {done.stderr!r}")
        expect(took < 1.0, f"with {display or 'no display'} Scrivo took {took:.2f} s to give up")

    with tempfile.TemporaryDirectory() as folder:
        refusing = os.path.join(folder, "wayland-refusing")
        with socket.socket(socket.AF_UNIX) as bound:
            bound.bind(refusing)  # there, but not listening
            began = time.monotonic()
            done = start(scrivo, WAYLAND_DISPLAY=refusing)
            took = time.monotonic() - began
        expect(done.returncode == 1 and f"cannot open the display {refusing}" in done.stderr,
               f"a refusing display: {done.returncode} {done.stderr!r}")
        expect(0.5 <= took < 3.0, f"a refusing display was tried for {took:.2f} s")
