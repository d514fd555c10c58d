"""The private X display of an end-to-end run: finding windows, real pointer and
keyboard input through xdotool, screenshots as grey pixels, and the clipboard."""
import os
import subprocess
import time


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout.strip()


def wait_for_window(name, timeout=60.0, process=None):
    """The X window whose name is exactly `name`."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = xdotool("search", "--name", f"^{name}$")
        if found:
            return found.splitlines()[0]
        if process is not None and process.poll() is not None:
            raise RuntimeError(f"the program ended (status {process.returncode}) before '{name}' appeared")
        time.sleep(0.2)
    raise RuntimeError(f"no window named '{name}' within {timeout} s")


def window_gone(name):
    return not xdotool("search", "--name", f"^{name}$")


def move(x, y):
    xdotool("mousemove", "--sync", x, y)


def drag(points, button=1, pause=0.05):
    """Presses at the first point, moves through the others with short pauses (so that
    the moves are not coalesced), and releases at the last."""
    move(*points[0])
    time.sleep(pause)
    xdotool("mousedown", button)
    for x, y in points[1:]:
        time.sleep(pause)
        move(x, y)
    time.sleep(pause)
    xdotool("mouseup", button)


def click(x, y, button=1):
    move(x, y)
    time.sleep(0.05)
    xdotool("click", button)


def key(*names):
    xdotool("key", *names)


class Screenshot:
    """The whole screen as 8-bit grey values (the surfaces are grey, so red = green = blue)."""

    def __init__(self, path):
        self.path = path
        subprocess.run(["import", "-window", "root", path], check=True)
        size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True,
                              check=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                                  check=True).stdout

    def pixel(self, x, y):
        offset = 3 * (y * self.width + x)
        return tuple(self.rgb[offset:offset + 3])

    def grey(self, x, y):
        r, g, b = self.pixel(x, y)
        return r if r == g == b else None

    def find_uniform_square(self, value, size):
        """Top-left corner of the first size x size run of one grey value, by its top row
        and left column."""
        row_run = bytes([value]) * (3 * size)
        for y in range(self.height - size):
            start = 3 * y * self.width
            found = self.rgb.find(row_run, start, start + 3 * self.width)
            while found != -1:
                if (found - start) % 3 == 0:
                    x = (found - start) // 3
                    if all(self.grey(x, y + dy) == value for dy in range(size)):
                        return x, y
                found = self.rgb.find(row_run, found + 3, start + 3 * self.width)
        return None

    def crop(self, path, x, y, width, height):
        subprocess.run(["convert", self.path, "-crop", f"{width}x{height}+{x}+{y}", "+repage", path], check=True)


def clipboard_text():
    result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True, timeout=10)
    return result.stdout.decode("utf-8", "replace")
