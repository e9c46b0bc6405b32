"""Each X display has its own Scrivo. A second start on the same display still raises the first one,
and scrivo-send reaches the Scrivo of its own display, or of the display it names."""

from harness import expect, main


def test(session):
    with session(width=240, height=320) as a, session(width=240, height=320) as b:
        on_a = a.start_scrivo(close_first_box=True)
        on_b = b.start_scrivo(close_first_box=True)
        expect(on_a.running(), "the Scrivo on the first display ended when one started on the second")

        mark_a, mark_b = on_a.mark(), on_b.mark()
        again = a.start([a.scrivo])
        expect(again.exit_code() == 0, f"a second start on the first display did not end with 0\n{again.output()}")
        on_a.wait_for("raised", mark_a)
        expect(not on_b.matching("raised", mark_b), "the start on the first display raised the second's Scrivo")

        named = a.send("--display", b.display, "close")
        expect(named.returncode == 0, f"scrivo-send --display {b.display} failed: {named.stderr}")
        expect(on_b.exit_code() == 0, "the Scrivo on the named display did not close")
        expect(on_a.running(), "scrivo-send --display closed the Scrivo of its own display")

        nobody = b.send("close")
        expect(nobody.returncode == 1 and b.display in nobody.stderr,
               f"scrivo-send found a Scrivo on a display without one: {nobody.returncode} {nobody.stderr}")
        expect(a.send("close").returncode == 0, "scrivo-send did not reach the Scrivo of its own display")
        expect(on_a.exit_code() == 0, "the Scrivo on the first display did not close")


if __name__ == "__main__":
    main(test)
