"""The private X display of an end-to-end run: real pointer and keyboard input through
xdotool, screenshots, the frames of Wine's off-screen OpenGL windows, the clipboard."""
import ctypes
import ctypes.util
import subprocess


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout.strip()


def move(x, y):
    xdotool("mousemove", "--sync", x, y)


def drag(points, settle, button=1):
    """Presses at the first point, moves through the others and releases at the last, each
    step followed by settle(), which waits for the program to take it: moves sent faster
    than the program reads them would be coalesced into fewer pointer moves."""
    move(*points[0])
    xdotool("mousedown", button)
    settle()
    for x, y in points[1:]:
        move(x, y)
        settle()
    xdotool("mouseup", button)
    settle()


def click(x, y, button=1):
    move(x, y)
    xdotool("click", button)


def key(*names):
    xdotool("key", *names)


class RgbImage:
    """Pixels as 8-bit RGB rows; grey values where red = green = blue (the surfaces are grey)."""

    def pixel(self, x, y):
        offset = 3 * (y * self.width + x)
        return tuple(self.rgb[offset:offset + 3])

    def grey(self, x, y):
        r, g, b = self.pixel(x, y)
        return r if r == g == b else None

    def dark_rows(self, x, top, bottom, background=192):  # in column x, from top to bottom
        return len([y for y in range(top, bottom) if (self.grey(x, y) or 0) < background])


class Screenshot(RgbImage):  # the whole screen
    def __init__(self, path):
        self.path = path
        subprocess.run(["import", "-window", "root", path], check=True)
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], capture_output=True, check=True).stdout
        self.width, self.height = map(int, ppm.split(maxsplit=3)[1:3])  # after "P6", before "255"
        self.rgb = ppm[-3 * self.width * self.height:]

    def crop(self, path, x, y, width, height):
        subprocess.run(["convert", self.path, "-crop", f"{width}x{height}+{x}+{y}", "+repage", path], check=True)


class _XImage(ctypes.Structure):  # the fields up to bits_per_pixel, in Xlib's order
    _fields_ = [(name, ctypes.c_int) for name in ("width", "height", "xoffset", "format")] + [("data", ctypes.c_void_p)] + [
        (name, ctypes.c_int) for name in ("byte_order", "bitmap_unit", "bitmap_bit_order", "bitmap_pad", "depth",
                                          "bytes_per_line", "bits_per_pixel")]


def _xlib():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    composite = ctypes.CDLL(ctypes.util.find_library("Xcomposite"))
    p, xid, i, u = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint
    for function, result, arguments in ((x11.XOpenDisplay, p, [ctypes.c_char_p]), (x11.XCloseDisplay, i, [p]),
                                        (x11.XFreePixmap, i, [p, xid]), (x11.XFree, i, [p]),
                                        (x11.XGetImage, ctypes.POINTER(_XImage), [p, xid, i, i, u, u, xid, i]),
                                        (composite.XCompositeNameWindowPixmap, xid, [p, xid])):
        function.restype, function.argtypes = result, arguments
    return x11, composite


def offscreen_windows(width, height):
    """Wine's off-screen X windows of the given size: Wine parks the X window of a child
    window's OpenGL drawable in a 1 x 1 holder at (-1, -1), outside the screen."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True, check=True).stdout
    return [int(line.split()[0], 16) for line in tree.splitlines()
            if line.rstrip().endswith(f" {width}x{height}+0+0  +-1+-1")]


class OffscreenFrame(RgbImage):
    """The last frame presented into one of Wine's off-screen OpenGL windows, read through
    the Composite extension. A screenshot cannot show it: Wine 8 copies each frame to the
    X drawable of the window's device context, which it leaves unset for child windows."""

    ZPIXMAP, LSB_FIRST = 2, 0

    def __init__(self, window, width, height, path=None):
        self.width, self.height = width, height
        x11, composite = _xlib()
        display = x11.XOpenDisplay(None)
        if not display:
            raise RuntimeError("cannot open the X display")
        try:
            pixmap = composite.XCompositeNameWindowPixmap(display, window)
            image = x11.XGetImage(display, pixmap, 0, 0, width, height, 0xFFFFFFFF, self.ZPIXMAP)
            if not image:
                raise RuntimeError(f"cannot read X window {window:#x}")
            self.rgb = self._rgb_of(image.contents)
            x11.XFree(image.contents.data)
            x11.XFree(image)
            x11.XFreePixmap(display, pixmap)
        finally:
            x11.XCloseDisplay(display)
        if path:
            subprocess.run(["convert", "-size", f"{width}x{height}", "-depth", "8", "rgb:-", path],
                           input=self.rgb, check=True)

    def _rgb_of(self, image):
        layout = (image.bits_per_pixel, image.byte_order, image.bytes_per_line)
        if layout != (32, self.LSB_FIRST, 4 * self.width):
            raise RuntimeError(f"unexpected X image layout (bits, byte order, row bytes): {layout}")
        raw, rgb = ctypes.string_at(image.data, 4 * self.width * self.height), bytearray(3 * self.width * self.height)
        rgb[0::3], rgb[1::3], rgb[2::3] = raw[2::4], raw[1::4], raw[0::4]  # pixels are B, G, R, unused
        return bytes(rgb)


def clipboard_text():
    result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True, timeout=10)
    return result.stdout.decode("utf-8", "replace")
