"""Scrivo ends with 0 when told from outside: scrivo-send hibernate, SIGTERM, SIGINT (scrivo-send
close is the displays test's and the journey's); and scrivo-send says so when no Scrivo runs."""

import signal

from harness import expect


def test(session, how):
    with session(width=240, height=320) as s:
        if how == "hibernate":
            scrivo = s.start_scrivo(close_first_box=True)
            sent = s.send(how)
            expect(sent.returncode == 0, f"scrivo-send {how} failed ({sent.returncode}): {sent.stderr}")
        elif how in ("sigterm", "sigint"):
            # SIGTERM even while the first start's message box is still open.
            scrivo = s.start_scrivo(close_first_box=how == "sigint")
            scrivo.popen.send_signal(signal.SIGTERM if how == "sigterm" else signal.SIGINT)
        elif how == "nothing-running":
            sent = s.send("close")
            expect(sent.returncode == 1, f"scrivo-send found a Scrivo that does not run ({sent.returncode})")
            expect("not running" in sent.stderr, f"scrivo-send did not say why: {sent.stderr!r}")
            usage = s.send("open")
            expect(usage.returncode == 2 and "usage" in usage.stderr, "no usage for a wrong request")
            # The look for a Scrivo left nothing behind that keeps one from starting now.
            scrivo = s.start_scrivo()
            expect(scrivo.running(), "Scrivo did not start after scrivo-send")
            return
        else:
            raise SystemExit(f"no such way to close: {how}")
        code = scrivo.exit_code()
        expect(code == 0, f"Scrivo ended with {code}\n{scrivo.output()}")
