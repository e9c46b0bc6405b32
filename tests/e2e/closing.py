"""Scrivo ends with 0 when told from outside: scrivo-send close, SIGTERM, SIGINT; and scrivo-send
says so when no Scrivo runs."""

import signal
import sys

from harness import expect, main

HOW = sys.argv.pop(1) if len(sys.argv) > 1 and not sys.argv[1].startswith("--") else "scrivo-send"


def running_scrivo(s, dismiss_box=True):
    scrivo = s.start_scrivo()
    scrivo.wait_settled()
    if dismiss_box:
        mark = scrivo.mark()
        s.xdotool("key", "Return")
        scrivo.wait_settled(mark)
    return scrivo


def test(session):
    with session(width=240, height=320) as s:
        if HOW == "scrivo-send":
            scrivo = running_scrivo(s)
            sent = s.send("close")
            expect(sent.returncode == 0, f"scrivo-send close failed ({sent.returncode}): {sent.stderr}")
        elif HOW == "sigterm":
            # Even while the first start's message box is still open.
            scrivo = running_scrivo(s, dismiss_box=False)
            scrivo.popen.send_signal(signal.SIGTERM)
        elif HOW == "sigint":
            scrivo = running_scrivo(s)
            scrivo.popen.send_signal(signal.SIGINT)
        elif HOW == "nothing-running":
            sent = s.send("close")
            expect(sent.returncode == 1, f"scrivo-send found a Scrivo that does not run ({sent.returncode})")
            expect("not running" in sent.stderr, f"scrivo-send did not say why: {sent.stderr!r}")
            usage = s.send("open")
            expect(usage.returncode == 2 and "usage" in usage.stderr, "no usage for a wrong request")
            # The look for a Scrivo left nothing behind that keeps one from starting now.
            scrivo = running_scrivo(s, dismiss_box=False)
            expect(scrivo.running(), "Scrivo did not start after scrivo-send")
            return
        else:
            raise SystemExit(f"no such way to close: {HOW}")
        code = scrivo.exit_code(timeout=10)
        expect(code == 0, f"Scrivo ended with {code}\n{scrivo.output()}")


if __name__ == "__main__":
    main(test)
