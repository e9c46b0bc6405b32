"""The mouse as a mouse: no pointer until the mouse moves, then a cross-hair the pen's size over the
page (the X server is asked for the cursor it shows, through XFixes) and the arrow over the tool
button. Then a pen and its eraser end as the X server knows them, by their devices' names: two more master
pointers, "Tablet Pen" and "Tablet Eraser", whose test devices are named after them."""

import ctypes

from PIL import Image

from harness import expect, only_page, poll

WIDTH, HEIGHT = 1280, 1024
WHITE = (255, 255, 255)


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


class AddMaster(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("name", ctypes.c_char_p), ("send_core", ctypes.c_int),
                ("enable", ctypes.c_int)]


class DeviceInfo(ctypes.Structure):
    _fields_ = [("deviceid", ctypes.c_int), ("name", ctypes.c_char_p), ("use", ctypes.c_int),
                ("attachment", ctypes.c_int), ("enabled", ctypes.c_int), ("num_classes", ctypes.c_int),
                ("classes", ctypes.c_void_p)]


def declare(function, restype, *argtypes):
    function.restype, function.argtypes = restype, list(argtypes)


INT_P, VOID_P = ctypes.POINTER(ctypes.c_int), ctypes.c_void_p
X11, XFIXES = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXfixes.so.3")
XI, XTST = ctypes.CDLL("libXi.so.6"), ctypes.CDLL("libXtst.so.6")
declare(X11.XOpenDisplay, VOID_P, ctypes.c_char_p)
declare(X11.XCloseDisplay, ctypes.c_int, VOID_P)
declare(X11.XSync, ctypes.c_int, VOID_P, ctypes.c_int)
declare(X11.XFree, None, VOID_P)
declare(XFIXES.XFixesGetCursorImage, ctypes.POINTER(CursorImage), VOID_P)
declare(XI.XIChangeHierarchy, ctypes.c_int, VOID_P, VOID_P, ctypes.c_int)
declare(XI.XIQueryDevice, ctypes.POINTER(DeviceInfo), VOID_P, ctypes.c_int, INT_P)
declare(XI.XOpenDevice, VOID_P, VOID_P, ctypes.c_ulong)
for fake in (XTST.XTestFakeDeviceMotionEvent, XTST.XTestFakeDeviceButtonEvent):
    declare(fake, ctypes.c_int, VOID_P, VOID_P, ctypes.c_uint, ctypes.c_int, INT_P, ctypes.c_int, ctypes.c_ulong)


class XServer:
    """The test's own connection to the X server: the cursor it shows, and input from devices of given
    names through its test extension."""

    def __init__(self, display_name):
        self.display = X11.XOpenDisplay(display_name.encode())
        expect(self.display, "cannot open the X display")
        self.devices = {}

    def add_pointers(self, names):
        """Each name becomes a master pointer whose test device is "<name> XTEST pointer"."""
        for name in names:
            change = AddMaster(1, name.encode(), 1, 1)  # XIAddMaster, sending core events, enabled
            XI.XIChangeHierarchy(self.display, ctypes.byref(change), 1)
        X11.XSync(self.display, 0)
        count = ctypes.c_int()
        info = XI.XIQueryDevice(self.display, 0, ctypes.byref(count))  # XIAllDevices
        found = {info[i].name.decode(): info[i].deviceid for i in range(count.value)}
        for name in names:
            device_id = found.get(f"{name} XTEST pointer")
            expect(device_id is not None, f"the X server made no test device for {name}: {sorted(found)}")
            self.devices[name] = XI.XOpenDevice(self.display, device_id)
            expect(self.devices[name], f"cannot open the test device of {name}")

    def cursor(self):
        """The cursor the X server shows now: (width, height, hot spot, ARGB pixels row by row)."""
        image = XFIXES.XFixesGetCursorImage(self.display)
        # Empty too where the X server has no XFixes, whose version the library agrees on by itself.
        expect(image, "the X server did not give its cursor image")
        c = image.contents
        shown = (c.width, c.height, (c.xhot, c.yhot), [c.pixels[i] & 0xFFFFFFFF for i in range(c.width * c.height)])
        X11.XFree(image)
        return shown

    def stroke(self, name, points):
        device = self.devices[name]

        def at(x, y):
            axes = (ctypes.c_int * 2)(x, y)
            XTST.XTestFakeDeviceMotionEvent(self.display, device, 0, 0, axes, 2, 0)
            return axes

        axes = at(*points[0])
        XTST.XTestFakeDeviceButtonEvent(self.display, device, 1, 1, axes, 2, 0)
        for point in points[1:]:
            axes = at(*point)
        XTST.XTestFakeDeviceButtonEvent(self.display, device, 1, 0, axes, 2, 0)
        X11.XSync(self.display, 0)

    def close(self):
        X11.XCloseDisplay(self.display)


def test(session):
    with session(width=WIDTH, height=HEIGHT) as s:
        # Blank pages to load, so that no "New Pad Created" box comes.
        Image.new("1", (WIDTH, 5 * HEIGHT), 1).save(s.notepad)
        scrivo = s.start_scrivo()
        server = XServer(s.display)

        def cursor_at(x, y, wanted, unwanted):
            """Moves the mouse to (x, y), where the cursor `wanted` shows soon after."""
            s.xdotool("mousemove", str(x), str(y))
            shown = poll(lambda: wanted(*server.cursor()), 5)
            width, height, hot, _ = server.cursor()
            expect(shown, f"{unwanted}: {width} x {height} with its hot spot at {hot}")

        def stroke(device, points, end):
            mark = scrivo.mark()
            server.stroke(device, points)
            scrivo.wait_for(rf"pointer up {points[-1][0]} {points[-1][1]} {end}", mark)
            scrivo.wait_settled(mark)
            return s.screenshot()

        width, height, hot, pixels = server.cursor()
        expect(all(p >> 24 == 0 for p in pixels),
               f"a {width} x {height} pointer shows before the mouse has moved: {scrivo.output()[-600:]}")
        cursor_at(600, 400, lambda width, height, hot, pixels: (width, height, hot) == (9, 9, (4, 4))
                  and pixels[4 * 9 + 4] == 0xFF000000, "the cursor over the page is not the 9-pixel cross-hair")
        cursor_at(WIDTH - 15, 15, lambda width, height, hot, pixels: (width, height) != (9, 9)
                  and any(p >> 24 for p in pixels), "the cursor over the tool button is not the arrow")
        s.xdotool("mousemove", "600", "400")

        # The pen writes and its eraser end erases, told from the mouse by their devices' names.
        server.add_pointers(["Tablet Pen", "Tablet Eraser"])
        line = [(x, 700) for x in range(500, 620, 10)]
        shot = stroke("Tablet Pen", line, "pen")
        expect(all(shot.getpixel(p) == WHITE for p in line[:-1]), "the tablet's pen left no ink")
        shot = stroke("Tablet Eraser", [(x, 700) for x in range(520, 580, 10)], "eraser")
        expect(only_page(shot, (520, 697, 571, 704)),
               "the tablet's eraser end did not erase along its stroke")
        server.close()

        s.xdotool("key", "ctrl+q")
        expect(scrivo.exit_code() == 0, "Ctrl+Q did not end Scrivo with 0")
