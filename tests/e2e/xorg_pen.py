"""An X server with a pen tablet, for end-to-end tests with Wine's own wintab32.

Xorg runs with the dummy video driver and one evdev input device whose node is a FIFO:
pen_shim.c, preloaded into Xorg, answers evdev's ioctls on it as a pen's device node
would, and the pen's actions write the kernel's input_event records into it (no kernel
input device can be made on the test machines). Wine's X11 driver takes the device for
a stylus because a word of its name is "stylus", and reads its valuators 0, 1 and 2 as
X, Y and pressure. In `with PenDisplay(build_dir) as pen:`, after pen.use() and once the
program's top-level window is there, the pen enters, goes down, moves, goes up and
leaves at screen pixels, with raw pressures 0..PRESSURE_MAX.

What Wine 8 makes of it (seen with a probe and Wine's wintab32 trace): a packet for
each report (each action but leave), one more for each button change and one for each
proximity change, queued only for contexts of top-level windows. The stylus is cursor 1
and the tip is button bit 1 (value 2). Wine reads a packet's X, Y and pressure from the
first values the X event carries, whichever axes they are, so every report here carries
all the axes; and it reads the button state from the server when it handles the event,
so the pen reports at a tablet's rate, not faster.
"""
import os
import select
import struct
import subprocess
import time

import harness

NAME = "Nibscope test stylus"
SCREEN = (1280, 1024)
UNITS_PER_PIXEL = 16
PRESSURE_MAX = 2047
TILT_MAX = 64
XORG = "/usr/lib/xorg/Xorg"

EV_SYN, EV_KEY, EV_ABS = 0, 1, 3
BTN_TOOL_PEN, BTN_TOUCH = 0x140, 0x14a
ABS_X, ABS_Y, ABS_PRESSURE, ABS_TILT_X, ABS_TILT_Y = 0x00, 0x01, 0x18, 0x1a, 0x1b

# Only the configured pen: no hot-plugged devices. One dummy screen per head, several
# joined by Xinerama into a desk of monitors side by side; the pen covers the whole desk,
# at UNITS_PER_PIXEL along either axis.
CONFIG = """Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "Xinerama" "{xinerama}"
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
  Modeline "1280x1024" 108.00 1280 1328 1440 1688 1024 1025 1028 1066 +hsync +vsync
EndSection
{heads}Section "InputDevice"
  Identifier "{name}"
  Driver "evdev"
  Option "Device" "{fifo}"
EndSection
Section "ServerLayout"
  Identifier "layout"
{layout}  InputDevice "{name}" "CorePointer"
EndSection
"""
HEAD = """Section "Device"
  Identifier "video{index}"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Screen"
  Identifier "screen{index}"
  Device "video{index}"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Modes "{width}x{height}"
  EndSubSection
EndSection
"""


def config(heads, name, fifo):
    """The configuration of heads (width, height) placed left to right."""
    sections = "".join(HEAD.format(index=i, width=w, height=h) for i, (w, h) in enumerate(heads))
    layout = "".join(f'  Screen {i} "screen{i}" ' + ("0 0" if i == 0 else f'RightOf "screen{i - 1}"') + "\n"
                     for i in range(len(heads)))
    return CONFIG.format(xinerama="on" if len(heads) > 1 else "off", heads=sections, layout=layout, name=name,
                         fifo=fifo)


def wait_until(condition, timeout, what):
    result = harness.wait_until(condition, timeout)
    if not result:
        raise RuntimeError(f"no {what} within {timeout} s")
    return result


class PenDisplay:
    """Xorg with the pen on a free display. Leaving stops it, and the Wine server that
    tools/wine-run keeps for programs on that display."""

    def __init__(self, build_dir, timeout=30, rate=100, heads=(SCREEN,)):
        self.build_dir = os.path.abspath(build_dir)
        self.folder = os.path.join(self.build_dir, "xorg-pen")
        self.heads = heads  # (width, height) of each monitor, left to right
        self.size = (sum(w for w, _ in heads), max(h for _, h in heads))
        self.timeout, self.interval, self.last_report = timeout, 1 / rate, 0
        self.server = self.pipe = self.display = None

    def __enter__(self):
        os.makedirs(self.folder, exist_ok=True)
        fifo = os.path.join(self.folder, "pen.fifo")
        if not os.path.exists(fifo):
            os.mkfifo(fifo)
        try:
            self._start_server(fifo)
            wait_until(self._device_listed, self.timeout, f"XInput device '{NAME}'")
            self.pipe = os.open(fifo, os.O_WRONLY)  # Xorg holds it open, so this does not wait
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exception):
        if self.pipe is not None:
            os.close(self.pipe)
        if self.display:
            subprocess.run([harness.WINE_RUN, "--stop", self.build_dir], timeout=60,
                           env=dict(os.environ, TEVRIN_WINE_DISPLAY=self.display))
        if self.server:
            self.server.terminate()
            harness.wait_or_kill(self.server, self.timeout)

    def use(self):
        """This display (and its Wine prefix) for this process and what it runs with tools/wine-run."""
        os.environ["TEVRIN_WINE_DISPLAY"] = self.display
        harness.use_display(self.build_dir)

    def _start_server(self, fifo):
        """Xorg on the first free display, which it writes to -displayfd once it is ready;
        it shares the console's terminal and never switches it."""
        path, log = os.path.join(self.folder, "xorg.conf"), os.path.join(self.folder, "xorg.log")
        with open(path, "w") as file:
            file.write(config(self.heads, NAME, fifo))
        ready, ready_writer = os.pipe()
        self.server = subprocess.Popen(
            [XORG, "-config", path, "-logfile", log, "-displayfd", str(ready_writer), "-nolisten", "tcp",
             "-noreset", "-novtswitch", "-sharevts"], env=dict(os.environ, LD_PRELOAD=self._build_shim()),
            pass_fds=[ready_writer], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(ready_writer)
        with os.fdopen(ready) as reader:
            number = reader.readline().strip() if select.select([reader], [], [], self.timeout)[0] else ""
        if not number.isdigit():
            raise RuntimeError(f"Xorg did not start (status {self.server.poll()}); see {log}")
        self.display = f":{number}"

    def _build_shim(self):
        shim = os.path.join(self.folder, "pen_shim.so")
        pen = dict(PEN_NAME=f'"{NAME}"', PEN_X_MAX=self.size[0] * UNITS_PER_PIXEL - 1,
                   PEN_Y_MAX=self.size[1] * UNITS_PER_PIXEL - 1, PEN_PRESSURE_MAX=PRESSURE_MAX,
                   PEN_TILT_MAX=TILT_MAX, PEN_RESOLUTION=100)
        subprocess.run(["gcc", "-shared", "-fPIC", "-O1", "-Wall", "-o", shim,
                        os.path.join(os.path.dirname(os.path.abspath(__file__)), "pen_shim.c"), "-ldl",
                        *(f"-D{name}={value}" for name, value in pen.items())], check=True)
        return shim

    def _device_listed(self):
        return subprocess.run(["xinput", "list", "--id-only", NAME], capture_output=True,
                              env=dict(os.environ, DISPLAY=self.display)).returncode == 0

    def _report(self, *events):
        """The events and SYN_REPORT, stamped now, at most as often as the pen's rate."""
        time.sleep(max(0.0, self.last_report + self.interval - time.monotonic()))
        self.last_report = time.monotonic()
        now = time.time()
        stamp = (int(now), int(now % 1 * 1e6))
        os.write(self.pipe, b"".join(struct.pack("@llHHi", *stamp, *event) for event in (*events, (EV_SYN, 0, 0))))

    def _axes(self, x, y, pressure):  # at the middle of the pixel; the tilt axes stay upright
        x, y = (UNITS_PER_PIXEL * pixel + UNITS_PER_PIXEL // 2 for pixel in (x, y))
        return ((EV_ABS, ABS_X, x), (EV_ABS, ABS_Y, y), (EV_ABS, ABS_PRESSURE, pressure), (EV_ABS, ABS_TILT_X, 0),
                (EV_ABS, ABS_TILT_Y, 0))

    def enter(self, x, y):
        # X sends the proximity event to the window under the pointer: bring it to the pen.
        subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)], env=dict(os.environ, DISPLAY=self.display),
                       check=True)
        self._report((EV_KEY, BTN_TOOL_PEN, 1), *self._axes(x, y, 0))

    def move(self, x, y, pressure):
        self._report(*self._axes(x, y, pressure))

    def down(self, x, y, pressure):
        self._report((EV_KEY, BTN_TOUCH, 1), *self._axes(x, y, pressure))

    def up(self, x, y):
        self._report((EV_KEY, BTN_TOUCH, 0), *self._axes(x, y, 0))

    def leave(self):
        self._report((EV_KEY, BTN_TOOL_PEN, 0))
