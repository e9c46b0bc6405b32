"""The mouse as a mouse: no pointer until the mouse moves, then a cross-hair the pen's size over the
page (the X server is asked for the cursor it shows, through XFixes) and the arrow over the tool
button; a right click opens the menu at the pointer; three quick wheel notches turn three pages."""

import ctypes
import os

from PIL import Image, ImageDraw

from harness import PAGE_BLUE, expect, main, settled_after

WIDTH, HEIGHT = 1280, 1024
WHITE = (255, 255, 255)
MENU_FACE = (192, 192, 192)


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def shown_cursor(display_name):
    """The cursor the X server shows now: (width, height, hot spot, ARGB pixels row by row)."""
    x11 = ctypes.CDLL("libX11.so.6")
    xfixes = ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
    xfixes.XFixesQueryVersion.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(display_name.encode())
    expect(display, "cannot open the X display to ask for its cursor")
    try:
        a, b = ctypes.c_int(), ctypes.c_int()
        expect(xfixes.XFixesQueryExtension(display, ctypes.byref(a), ctypes.byref(b)), "the X server has no XFixes")
        a.value, b.value = 4, 0
        xfixes.XFixesQueryVersion(display, ctypes.byref(a), ctypes.byref(b))
        image = xfixes.XFixesGetCursorImage(display)
        expect(image, "the X server did not give its cursor image")
        c = image.contents
        pixels = [c.pixels[i] & 0xFFFFFFFF for i in range(c.width * c.height)]
        result = (c.width, c.height, (c.xhot, c.yhot), pixels)
        x11.XFree(image)
        return result
    finally:
        x11.XCloseDisplay(display)


def test(session):
    with session(width=WIDTH, height=HEIGHT) as s:
        # Five pages, each with a bar at its own height, so the page on the screen can be told.
        notepad = Image.new("1", (WIDTH, 5 * HEIGHT), 1)
        draw = ImageDraw.Draw(notepad)
        for page in range(5):
            top = page * HEIGHT + 100 + 100 * page
            draw.rectangle((100, top, 300, top + 20), fill=0)
        notepad.save(os.path.join(s.folder, "app", "Scrivo.bmp"))
        scrivo = s.start_scrivo()

        width, height, hot, pixels = shown_cursor(s.display)
        expect(all(p >> 24 == 0 for p in pixels),
               f"a {width} x {height} pointer shows before the mouse has moved: {scrivo.output()[-600:]}")

        mark = scrivo.mark()
        s.xdotool("mousemove", "600", "400")
        scrivo.wait_for(r".*pointer hover 600 400", mark)
        width, height, hot, pixels = shown_cursor(s.display)
        expect((width, height, hot) == (9, 9, (4, 4)),
               f"the cursor over the page is {width} x {height} with its hot spot at {hot}, not the 9-pixel cross-hair")
        black, white = 0xFF000000, 0xFFFFFFFF
        expect(pixels[4 * 9 + 4] == black and pixels[0 * 9 + 4] == black and pixels[4 * 9 + 0] == black,
               "the cross-hair has no black cross through its hot spot")
        expect(pixels[0 * 9 + 3] == white and pixels[0] >> 24 == 0, "the cross-hair has no white edge or no clear corners")

        mark = scrivo.mark()
        s.xdotool("mousemove", str(WIDTH - 15), "15")
        scrivo.wait_for(rf".*pointer hover {WIDTH - 15} 15", mark)
        width, height, _, pixels = shown_cursor(s.display)
        expect((width, height) != (9, 9) and any(p >> 24 for p in pixels),
               "the cursor over the tool button is not the arrow")

        def after(*action):
            return settled_after(s, scrivo, *action)

        s.xdotool("mousemove", "600", "400")
        shot = after("click", "3")
        expect(shot.getpixel((605, 405)) == MENU_FACE, "a right click at (600, 400) opened no menu there")
        expect(shot.getpixel((600, 400)) != PAGE_BLUE and shot.getpixel((599, 405)) == PAGE_BLUE
               and shot.getpixel((605, 399)) == PAGE_BLUE,
               "the menu of a right click at (600, 400) does not start at the pointer")
        shot = after("key", "Escape")
        expect(shot.getpixel((605, 405)) == PAGE_BLUE, "Escape did not close the menu")

        # Three notches at once: the two that come while the first page turns are pages too.
        shot = after("click", "--repeat", "3", "--delay", "40", "5")
        expect(shot.getpixel((200, 100 + 100 * 3 + 10)) == WHITE, "three quick wheel notches did not turn to page 4")
        expect(shot.getpixel((200, 100 + 100 * 2 + 10)) == PAGE_BLUE, "the wheel turned fewer than three pages")
        expect(shot.getpixel((200, 100 + 100 * 4 + 10)) == PAGE_BLUE, "the wheel turned more than three pages")

        s.xdotool("key", "ctrl+q")
        expect(scrivo.exit_code() == 0, "Ctrl+Q did not end Scrivo with 0")


if __name__ == "__main__":
    main(test)
