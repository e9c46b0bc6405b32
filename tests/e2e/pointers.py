"""The mouse as a mouse: no pointer until the mouse moves, then a cross-hair the pen's size over the
page (the X server is asked for the cursor it shows, through XFixes) and the arrow over the tool
button. Then a pen and its eraser end as the X server knows them, by their devices' names: two more master
pointers, "Tablet Pen" and "Tablet Eraser", whose test devices are named after them."""

import ctypes
import os

from PIL import Image

from harness import PAGE_BLUE, expect, main

WIDTH, HEIGHT = 1280, 1024
WHITE = (255, 255, 255)


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def declare(function, restype, *argtypes):
    function.restype, function.argtypes = restype, list(argtypes)


def shown_cursor(display_name):
    """The cursor the X server shows now: (width, height, hot spot, ARGB pixels row by row)."""
    x11, xfixes = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXfixes.so.3")
    int_p = ctypes.POINTER(ctypes.c_int)
    declare(x11.XOpenDisplay, ctypes.c_void_p, ctypes.c_char_p)
    declare(x11.XCloseDisplay, None, ctypes.c_void_p)
    declare(x11.XFree, None, ctypes.c_void_p)
    declare(xfixes.XFixesQueryExtension, ctypes.c_int, ctypes.c_void_p, int_p, int_p)
    declare(xfixes.XFixesQueryVersion, ctypes.c_int, ctypes.c_void_p, int_p, int_p)
    declare(xfixes.XFixesGetCursorImage, ctypes.POINTER(CursorImage), ctypes.c_void_p)
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


class AddMaster(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("name", ctypes.c_char_p), ("send_core", ctypes.c_int),
                ("enable", ctypes.c_int)]


class DeviceInfo(ctypes.Structure):
    _fields_ = [("deviceid", ctypes.c_int), ("name", ctypes.c_char_p), ("use", ctypes.c_int),
                ("attachment", ctypes.c_int), ("enabled", ctypes.c_int), ("num_classes", ctypes.c_int),
                ("classes", ctypes.c_void_p)]


class FakeDevices:
    """Input from devices of given names, through the X server's test extension: each name becomes
    a master pointer whose test device is "<name> XTEST pointer"."""

    def __init__(self, display_name, names):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xi = ctypes.CDLL("libXi.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        int_p, void_p = ctypes.POINTER(ctypes.c_int), ctypes.c_void_p
        declare(self.x11.XOpenDisplay, void_p, ctypes.c_char_p)
        for f in (self.x11.XFlush, self.x11.XCloseDisplay):
            declare(f, ctypes.c_int, void_p)
        declare(self.x11.XSync, ctypes.c_int, void_p, ctypes.c_int)
        declare(self.xi.XIChangeHierarchy, ctypes.c_int, void_p, void_p, ctypes.c_int)
        declare(self.xi.XIQueryDevice, ctypes.POINTER(DeviceInfo), void_p, ctypes.c_int, int_p)
        declare(self.xi.XOpenDevice, void_p, void_p, ctypes.c_ulong)
        for f in (self.xtst.XTestFakeDeviceMotionEvent, self.xtst.XTestFakeDeviceButtonEvent):
            declare(f, ctypes.c_int, void_p, void_p, ctypes.c_uint, ctypes.c_int, int_p, ctypes.c_int, ctypes.c_ulong)
        self.display = self.x11.XOpenDisplay(display_name.encode())
        expect(self.display, "cannot open the X display for the test devices")
        for name in names:
            change = AddMaster(1, name.encode(), 1, 1)  # XIAddMaster, sending core events, enabled
            self.xi.XIChangeHierarchy(self.display, ctypes.byref(change), 1)
        self.x11.XSync(self.display, 0)
        count = ctypes.c_int()
        info = self.xi.XIQueryDevice(self.display, 0, ctypes.byref(count))  # XIAllDevices
        found = {info[i].name.decode(): info[i].deviceid for i in range(count.value)}
        self.devices = {}
        for name in names:
            device_id = found.get(f"{name} XTEST pointer")
            expect(device_id is not None, f"the X server made no test device for {name}: {sorted(found)}")
            self.devices[name] = self.xi.XOpenDevice(self.display, device_id)
            expect(self.devices[name], f"cannot open the test device of {name}")

    def stroke(self, name, points):
        device = self.devices[name]

        def at(x, y):
            axes = (ctypes.c_int * 2)(x, y)
            self.xtst.XTestFakeDeviceMotionEvent(self.display, device, 0, 0, axes, 2, 0)
            return axes

        axes = at(*points[0])
        self.xtst.XTestFakeDeviceButtonEvent(self.display, device, 1, 1, axes, 2, 0)
        for point in points[1:]:
            axes = at(*point)
        self.xtst.XTestFakeDeviceButtonEvent(self.display, device, 1, 0, axes, 2, 0)
        self.x11.XFlush(self.display)

    def close(self):
        self.x11.XCloseDisplay(self.display)


def test(session):
    with session(width=WIDTH, height=HEIGHT) as s:
        # A notepad to load, so that no message box comes.
        Image.new("1", (WIDTH, 5 * HEIGHT), 1).save(s.notepad)
        scrivo = s.start_scrivo()

        width, height, hot, pixels = shown_cursor(s.display)
        expect(all(p >> 24 == 0 for p in pixels),
               f"a {width} x {height} pointer shows before the mouse has moved: {scrivo.output()[-600:]}")

        mark = scrivo.mark()
        s.xdotool("mousemove", "600", "400")
        scrivo.wait_for(r".*pointer hover 600 400", mark)
        width, height, hot, pixels = shown_cursor(s.display)
        expect((width, height, hot) == (9, 9, (4, 4)) and pixels[4 * 9 + 4] == 0xFF000000,
               f"the cursor over the page is {width} x {height} with its hot spot at {hot}, not the 9-pixel cross-hair")

        mark = scrivo.mark()
        s.xdotool("mousemove", str(WIDTH - 15), "15")
        scrivo.wait_for(rf".*pointer hover {WIDTH - 15} 15", mark)
        width, height, _, pixels = shown_cursor(s.display)
        expect((width, height) != (9, 9) and any(p >> 24 for p in pixels),
               "the cursor over the tool button is not the arrow")

        s.xdotool("mousemove", "600", "400")

        # The pen writes and its eraser end erases, told from the mouse by their devices' names.
        devices = FakeDevices(s.display, ["Tablet Pen", "Tablet Eraser"])
        line = [(x, 700) for x in range(500, 620, 10)]
        mark = scrivo.mark()
        devices.stroke("Tablet Pen", line)
        scrivo.wait_for(r"pointer up 610 700 pen", mark)
        scrivo.wait_settled(mark)
        shot = s.screenshot()
        expect(all(shot.getpixel(p) == WHITE for p in line[:-1]), "the tablet's pen left no ink")
        mark = scrivo.mark()
        devices.stroke("Tablet Eraser", [(x, 700) for x in range(520, 580, 10)])
        scrivo.wait_for(r"pointer up 570 700 eraser", mark)
        scrivo.wait_settled(mark)
        shot = s.screenshot()
        expect(all(shot.getpixel((x, y)) == PAGE_BLUE for x in range(520, 571) for y in range(697, 704)),
               "the tablet's eraser end did not erase along its stroke")
        devices.close()

        s.xdotool("key", "ctrl+q")
        expect(scrivo.exit_code() == 0, "Ctrl+Q did not end Scrivo with 0")


if __name__ == "__main__":
    main(test)
