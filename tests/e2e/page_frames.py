"""One animated page on a real display: the trace shows the turn as at least six frames, each in a
refresh of its own and a whole refresh after the one before (the key's first frame too), at a
device's 240 x 320 and at 1920 x 1080."""

from PIL import Image, ImageDraw

from harness import expect


def turn_frame_times(s, width, height):
    """Turns to page 2 of a two-page notepad on session `s`; gives the display's refresh rate and the
    milliseconds of the presents that came within the turn's 500 ms budget."""
    # Two pages, the second with a bar across its middle, so no message box comes first.
    notepad = Image.new("1", (width, 2 * height), 1)
    ImageDraw.Draw(notepad).rectangle((20, height + height // 2, width - 40, height + height // 2 + 20), fill=0)
    notepad.save(s.notepad)
    scrivo = s.start_scrivo()
    rate = int(scrivo.wait_for(r"refresh (\d+) Hz").group(1))

    mark = scrivo.mark()
    s.xdotool("key", "Down")
    scrivo.wait_for(r"key up 40", mark)
    scrivo.wait_settled(mark)
    pressed = scrivo.times(r"key down 40", mark)[0]
    # The animated page and its indicator come within its 500 ms budget.
    frames = [t for t in scrivo.times(r"presented \d+ rects", mark) if pressed <= t < pressed + 500]
    expect(s.screenshot().getpixel((width // 2, height // 2 + 10)) == (255, 255, 255),
           f"{width} x {height}: page 2 is not on the screen")
    s.send("close")
    expect(scrivo.exit_code() == 0, "Scrivo did not end with 0")
    return rate, frames


def test(session):
    for width, height in ((240, 320), (1920, 1080)):
        with session(width=width, height=height) as s:
            rate, frames = turn_frame_times(s, width, height)
            refreshes = [t * rate // 1000 for t in frames]
            expect(len(frames) >= 6, f"{width} x {height}: the turn showed {len(frames)} frames: {frames}")
            expect(len(set(refreshes)) == len(refreshes),
                   f"{width} x {height}: two frames in one refresh of {rate} Hz: {frames}")
            expect(all(b - a >= 1000 // rate for a, b in zip(frames, frames[1:])),
                   f"{width} x {height}: two frames less than a refresh of {rate} Hz apart: {frames}")
