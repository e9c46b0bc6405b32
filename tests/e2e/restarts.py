"""Killed and started again, Scrivo comes back on the screen every time.

The X server here resets when its last client leaves, as one started by hand does, so each killed
Scrivo sets off a reset; a start that connects at that moment has its connection dropped. Scrivo
must then try the display again, not run on an invisible stand-in. The X server itself is asked
whether Scrivo's window is there (a screenshot would take longer and say less).
"""

import signal
import time

from harness import Failure, expect

RESTARTS = 150


def test(session):
    with session(width=240, height=320, resetting=True) as s:
        # A notepad to load, so that no start shows the first start's message box.
        first = s.start_scrivo(close_first_box=True)
        first.popen.send_signal(signal.SIGTERM)
        expect(first.exit_code() == 0, f"Scrivo did not end with 0\n{first.output()}")

        began = time.monotonic()
        retried = 0
        killed = first
        for restart in range(RESTARTS):
            scrivo = s.start([s.scrivo])
            killed.popen.wait()
            s.programs.remove(killed)
            try:
                scrivo.wait_for(r"presented \d+ rects")
            except Failure as failure:
                raise Failure(f"start {restart + 1} of {RESTARTS}: {failure}") from None
            shown = s.x_tool("xdotool", "search", "--onlyvisible", "--name", "^scrivo$", check=False)
            expect(shown.returncode == 0,
                   f"start {restart + 1} of {RESTARTS} runs without a window on the X server\n{scrivo.output()}")
            retried += bool(scrivo.matching(r"display \S+ did not open; trying again"))
            scrivo.popen.kill()
            killed = scrivo
        print(f"{RESTARTS} restarts in {time.monotonic() - began:.1f} s; {retried} opened the display only "
              "when tried again")
