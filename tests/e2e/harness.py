"""The end-to-end harness: the real Scrivo on an Xvfb of its own, driven with xdotool, seen through
screenshots and through the trace its display backend writes on stderr (SCRIVO_TRACE=1).

Everything a test starts is stopped on the way out, also when the test fails, and every wait has a
limit: a test fails, it never hangs.
"""

import argparse
import contextlib
import glob
import importlib
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

from PIL import ImageGrab

PAGE_BLUE = (0, 0, 255)
BOX_CAPTION = (0, 0, 128)
# A trace line: the milliseconds since Scrivo's clock started, then what happened.
TRACE_LINE = re.compile(r"(\d+) (.*)")
# A frame the program drew, or the last one shown again where the window system exposed it.
SCREEN_UPDATE = r"presented \d+ rects|exposed, shown again"
# The tool button sits in the top-right corner; it is 30 pixels square.
TOOL_BUTTON = 32


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


def poll(condition, seconds, every=0.1):
    """Whether `condition()` holds within `seconds`, asked every `every` seconds."""
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() >= deadline:
            return False
        time.sleep(every)
    return True


def run(args, env=None, check=True, timeout=15.0):
    """Runs a command to its end; its completed process."""
    try:
        done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"{args[0]} did not finish in {timeout} s") from None
    if check and done.returncode != 0:
        raise Failure(f"{' '.join(args)} failed ({done.returncode}): {done.stdout}{done.stderr}")
    return done


def passes(test):
    """Runs `test()` as a test program: exit code 0 when it passes, 1 with the reason when not."""
    try:
        test()
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        sys.exit(1)
    print("passed")


def isolate():
    """Runs this script again in a network namespace of its own when the system allows it.

    Programs find Scrivo through abstract Unix sockets, which belong to a network namespace: in a
    namespace of its own the Scrivo under test never meets, raises or closes one that the person
    running the tests has open.
    """
    if os.environ.get("SCRIVO_E2E_ISOLATED"):
        return
    command = ["unshare", "--net", "--map-root-user"]
    try:
        probe = subprocess.run(command + ["true"], capture_output=True, timeout=10)
    except (OSError, subprocess.TimeoutExpired):
        return
    if probe.returncode == 0:
        env = dict(os.environ, SCRIVO_E2E_ISOLATED="1")
        os.execvpe(command[0], command + [sys.executable] + sys.argv, env)


class Program:
    """A started program; its stderr is collected line by line as it comes."""

    def __init__(self, args, env, cwd=None):
        self.args = args
        self.lines = []     # what happened: trace lines without their time
        self.stamps = []    # the trace's milliseconds since Scrivo's clock started, None for other lines
        self._changed = threading.Condition()
        self.popen = subprocess.Popen(args, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                                      errors="replace")
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for line in self.popen.stderr:
            trace = TRACE_LINE.fullmatch(line.rstrip("\n"))
            with self._changed:
                self.lines.append(trace.group(2) if trace else line.rstrip("\n"))
                self.stamps.append(int(trace.group(1)) if trace else None)
                self._changed.notify_all()
        with self._changed:
            self._changed.notify_all()

    def mark(self):
        """The position in the output from which later waits look."""
        with self._changed:
            return len(self.lines)

    def matching(self, pattern, start=0):
        with self._changed:
            return [line for line in self.lines[start:] if re.fullmatch(pattern, line)]

    def times(self, pattern, start=0):
        """The trace's times (ms since Scrivo's clock started) of the lines that match `pattern`."""
        with self._changed:
            return [t for line, t in zip(self.lines[start:], self.stamps[start:])
                    if t is not None and re.fullmatch(pattern, line)]

    def wait_for(self, pattern, start=0, timeout=15.0):
        """The match of the first line at or after `start` that matches `pattern`."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                for line in self.lines[start:]:
                    if match := re.fullmatch(pattern, line):
                        return match
                left = deadline - time.monotonic()
                if left <= 0:
                    raise Failure(f"{self.args[0]} never printed /{pattern}/\n{self.output()}")
                if self.popen.poll() is not None and not self._reader.is_alive():
                    raise Failure(f"{self.args[0]} ended ({self.popen.returncode}) before printing "
                                  f"/{pattern}/\n{self.output()}")
                self._changed.wait(min(left, 0.1))

    def wait_settled(self, start=0, quiet=0.4, timeout=15.0):
        """Waits for the screen to be updated after `start` (a frame presented, or shown again after
        the window system exposed it), and then until updates stop for a while."""
        self.wait_for(SCREEN_UPDATE, start, timeout)
        counts = []

        def stopped():
            counts.append(len(self.matching(SCREEN_UPDATE, start)))
            return counts[-2:-1] == counts[-1:]

        expect(poll(stopped, timeout, every=quiet), f"{self.args[0]} never stopped presenting")

    def running(self):
        return self.popen.poll() is None

    def exit_code(self, timeout=10.0):
        try:
            code = self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"{self.args[0]} still runs after {timeout} s\n{self.output()}") from None
        self._reader.join(2)
        return code

    def output(self):
        with self._changed:
            return "\n".join("    " + line for line in self.lines[-40:])


class Session:
    """An Xvfb of the given size, a Scrivo copied into a folder of its own (the notepad file lands
    beside the program) with its own home and configuration, and the tools to drive them.

    With `resetting` the X server resets whenever its last client leaves, as one started by hand or
    by startx does; otherwise it keeps its state between clients. With `wayland`, Scrivo runs on a
    Wayland compositor instead: weston, shown in a window on the Xvfb, whose seat takes the X input
    that xdotool makes and hands it to its Wayland clients."""

    def __init__(self, scrivo, scrivo_send, width=240, height=320, resetting=False, wayland=False):
        self.scrivo_source, self.scrivo_send = os.path.abspath(scrivo), os.path.abspath(scrivo_send)
        self.width, self.height, self.resetting, self.wayland = width, height, resetting, wayland
        self.programs = []
        self.xvfb = self.weston = self.folder = None

    def __enter__(self):
        self.folder = tempfile.mkdtemp(prefix="scrivo-e2e-")
        for sub in ("app", "config", "home", "run"):
            os.mkdir(os.path.join(self.folder, sub), 0o700)
        self.scrivo = os.path.join(self.folder, "app", "scrivo")
        self.notepad = os.path.join(self.folder, "app", "Scrivo.bmp")
        self.data_folder = os.path.join(self.folder, "home", ".local", "share", "scrivo")
        self.settings_file = os.path.join(self.folder, "config", "scrivo", "registry.reg")
        shutil.copy2(self.scrivo_source, self.scrivo)
        # The sounds the build puts beside the program go with it.
        for sound in glob.glob(os.path.join(os.path.dirname(self.scrivo_source), "*.wav")):
            shutil.copy2(sound, os.path.join(self.folder, "app"))
        try:
            self._start_xvfb()
            self.env = dict(os.environ, DISPLAY=self.display, SDL_AUDIODRIVER="dummy", SCRIVO_TRACE="1",
                            DBUS_SESSION_BUS_ADDRESS="disabled:", XDG_CONFIG_HOME=os.path.join(self.folder, "config"),
                            XDG_RUNTIME_DIR=os.path.join(self.folder, "run"), HOME=os.path.join(self.folder, "home"))
            for name in ("SCRIVO_SCREEN", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"):
                self.env.pop(name, None)
            # The X tools always work on the X server; the programs under test on the display given.
            self.x_env = dict(self.env)
            if self.wayland:
                self._start_weston()
            self.x_tool("xset", "r", "off")
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        for popen in [program.popen for program in reversed(self.programs)] + [self.weston, self.xvfb]:
            if popen is not None:
                popen.kill()
                with contextlib.suppress(subprocess.TimeoutExpired):
                    popen.wait(5)
        if self.folder:
            shutil.rmtree(self.folder, ignore_errors=True)
        return False

    def _start_xvfb(self):
        # Xvfb picks a free display itself and tells its number on its standard output.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", "1", "-screen", "0", f"{self.width}x{self.height}x24", "-nolisten", "tcp"]
            + ([] if self.resetting else ["-noreset"]), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        told, _, _ = select.select([self.xvfb.stdout], [], [], 15)
        number = self.xvfb.stdout.readline().decode().strip() if told else ""
        expect(number, "Xvfb did not start")
        self.display = ":" + number

    def _start_weston(self):
        socket = "scrivo-wayland"
        self.weston = subprocess.Popen(
            ["weston", "--backend=x11-backend.so", "--shell=kiosk-shell.so", "--use-pixman", "--idle-time=0",
             f"--width={self.width}", f"--height={self.height}", f"--socket={socket}"],
            env=self.x_env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        path = os.path.join(self.env["XDG_RUNTIME_DIR"], socket)
        expect(poll(lambda: os.path.exists(path) or self.weston.poll() is not None, 15), "weston did not start")
        expect(self.weston.poll() is None, f"weston ended ({self.weston.returncode}) before it started")
        del self.env["DISPLAY"]
        self.env.update(WAYLAND_DISPLAY=socket, SDL_VIDEODRIVER="wayland")

    def start(self, args):
        program = Program(args, self.env, cwd=self.folder)
        self.programs.append(program)
        return program

    def write_settings(self, **values):
        """Writes the settings file before Scrivo starts: each value a DWORD, by name."""
        os.makedirs(os.path.dirname(self.settings_file), mode=0o700, exist_ok=True)
        lines = "".join(f'"{name}"=dword:{value:08x}\n' for name, value in values.items())
        with open(self.settings_file, "w") as settings:
            settings.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Corvane\\Scrivo]\n" + lines)

    def settings(self):
        """The DWORD values of the settings file, by name; none before Scrivo has stored one."""
        if not os.path.exists(self.settings_file):
            return {}
        with open(self.settings_file) as settings:
            return {name: int(value, 16) for name, value in re.findall(r'"(\w+)"=dword:([0-9a-f]+)', settings.read())}

    def start_scrivo(self, close_first_box=False):
        """Starts Scrivo and waits for its first frame to settle. On a first start it shows the
        "New Pad Created" box; with `close_first_box` Enter closes it and the page settles."""
        scrivo = self.start([self.scrivo])
        scrivo.wait_settled()
        if close_first_box:
            keys(self, scrivo, "Return")
        return scrivo

    def send(self, *args):
        """Runs scrivo-send on the display under test to its end; its completed process."""
        return run([self.scrivo_send, *args], self.env, check=False)

    def x_tool(self, *args, check=True):
        """Runs an X tool on the X server, whichever display Scrivo is on."""
        return run(args, env=self.x_env, check=check)

    def xdotool(self, *args):
        return self.x_tool("xdotool", *args).stdout.strip()

    def screenshot(self):
        return ImageGrab.grab(xdisplay=self.display).convert("RGB")

    def answer_box(self, scrivo, what):
        """Expects a message box, seen by its caption's navy, which nothing else shows, and closes it
        with Enter."""
        def caption():
            return sum(count for count, colour in self.screenshot().getcolors(1 << 24) if colour == BOX_CAPTION) > 200

        expect(poll(caption, 10, every=0.2), f"no {what}")
        keys(self, scrivo, "Return")


def keys(s, scrivo, *names, quiet=0.4):
    """Presses the keys and waits until what Scrivo shows after them has settled."""
    mark = scrivo.mark()
    s.xdotool("key", "--delay", "30", *names)
    scrivo.wait_settled(mark, quiet=quiet)


def drag(s, points):
    """Presses at the first point, moves through the others and lets go at the last."""
    moves = [word for x, y in points[1:] for word in ("mousemove", str(x), str(y))]
    s.xdotool("mousemove", str(points[0][0]), str(points[0][1]), "mousedown", "1", *moves, "mouseup", "1")


def write(s, scrivo, stroke):
    """Draws the stroke with `drag`, then waits until Scrivo has shown it. Once Scrivo has read the
    stroke's end the pointer goes to the top-right corner, off the page and beside the tool button: a
    compositor shows it in its picture of the screen."""
    mark = scrivo.mark()
    drag(s, stroke)
    scrivo.wait_for(r"pointer up \d+ \d+", mark)
    s.xdotool("mousemove", str(s.width - 1), "0")
    scrivo.wait_settled(mark)


def only_page(image, box):
    """Whether the box (left, top, and right and bottom just outside it) shows nothing but the page."""
    return set(image.crop(box).getdata()) == {PAGE_BLUE}


def main(test, limit_seconds=120):
    """Runs `test(session_factory)` as a test program: exit code 0 when it passes, within
    `limit_seconds`. With --wayland every session runs Scrivo on a Wayland compositor."""
    isolate()
    parser = argparse.ArgumentParser()
    parser.add_argument("--scrivo", required=True)
    parser.add_argument("--scrivo-send", required=True)
    parser.add_argument("--wayland", action="store_true")
    # What comes before the options (the script to run, its variant) is read where the script is
    # started: it must survive the run again in the namespace, so it is not taken out of the arguments.
    arguments, _ = parser.parse_known_args()

    def on_alarm(*_):
        raise Failure(f"the test took longer than {limit_seconds} s")

    def session(**options):
        return Session(arguments.scrivo, arguments.scrivo_send, wayland=arguments.wayland, **options)

    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(limit_seconds)
    passes(lambda: test(session))


if __name__ == "__main__":
    # harness.py SCRIPT [VARIANT] --scrivo PATH --scrivo-send PATH [--wayland] runs the test of SCRIPT.py.
    # The script imports this file as `harness`: that one runs it, so that there is one Failure.
    test = importlib.import_module(sys.argv[1]).test
    variant = [word for word in sys.argv[2:3] if not word.startswith("--")]
    importlib.import_module("harness").main(lambda session: test(session, *variant))
