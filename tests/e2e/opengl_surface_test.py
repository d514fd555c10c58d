"""The real program under Wine with its OpenGL surface: the driver lines and the system
report in the log, real mouse strokes on both surfaces, both Clear buttons, and the
window resized by its frame only in width and then only in height, after which both
surfaces still take strokes. Ends with a polite close and exit status 0.

    opengl_surface_test.py NIBSCOPE_EXE WINDOW_PROBE_EXE BUILD_FOLDER SCREENSHOT_FOLDER

The OpenGL surface's pixels come from the X window that Wine renders it into (see
desktop.OffscreenFrame: under Wine 8 the frame never reaches the screen); the GDI
surface's come from screenshots. The same stroke must give the same bytes on both.
"""
import os
import sys
import time

import desktop
import harness
import wine_debug

TITLE = "Tevrin Nibscope"
GDI_CLEAR_BUTTON, OPENGL_CLEAR_BUTTON = 10, 11
OPENGL_LEFT, SURFACE = 361, 360
BACKGROUND, LOG_BACKGROUND = 192, 64
MIN_CLIENT_WIDTH, MIN_CLIENT_HEIGHT = 721, 640
WIDER, TALLER = 120, 100
VALUE_COLUMN = 19
REPORT_LABELS = ["Operating system: ", "CPU:              ", "CPU desc:         ", "Display:          ",
                 "User:             "]
RULE = "_" * 80
FOCUS_BAR_ROWS = (10, 11)  # drawn on whichever surface has the keyboard focus
check = harness.Checks()


def stroke(origin, left, y, start_x, end_x):
    x0, y0 = origin
    desktop.drag([(x0 + left + x, y0 + y) for x in range(start_x, end_x + 1, 20)])
    time.sleep(0.5)


def surface_rows():
    return [y for y in range(SURFACE) if y not in FOCUS_BAR_ROWS]


def is_clear(grey):
    return all(grey(x, y) == BACKGROUND for y in surface_rows() for x in range(SURFACE))


def row_is_black(grey, y):
    return all(grey(x, y) == 0 for x in range(60, 300, 5))


class Surfaces:
    """Both surfaces as the user would see them: the GDI surface from a screenshot, the
    OpenGL surface from its presented frame, both saved under the same name."""

    def __init__(self, shots, origin, gl_window):
        self.shots, self.origin, self.gl_window = shots, origin, gl_window

    def capture(self, name):
        self.gdi = desktop.Screenshot(os.path.join(self.shots, f"{name}.png"))
        self.gl = desktop.OffscreenFrame(self.gl_window, SURFACE, SURFACE, os.path.join(self.shots, f"{name}-gl.png"))
        return self

    def gdi_grey(self, x, y):
        return self.gdi.grey(self.origin[0] + x, self.origin[1] + y)

    def gdi_is_clear(self):
        return is_clear(self.gdi_grey)

    def gl_is_clear(self):
        return is_clear(self.gl.grey)

    def gdi_row_is_black(self, y):
        return row_is_black(self.gdi_grey, y)

    def gl_row_is_black(self, y):
        return row_is_black(self.gl.grey, y)

    def differences(self):
        """Pixels (x, y) where the two surfaces differ, focus bar rows aside."""
        x0, y0 = self.origin
        return [(x, y) for y in surface_rows() for x in range(SURFACE)
                if self.gdi.pixel(x0 + x, y0 + y) != self.gl.pixel(x, y)]


def main():
    program, probe_exe, build, shots = sys.argv[1:5]
    wine_debug.use_display(build)
    os.makedirs(shots, exist_ok=True)
    probe = harness.WindowProbe(probe_exe)
    status, texts = harness.run_then_close(program, lambda process: run_checks(probe, shots, process))
    check(status == 0, f"the program ended with exit status 0 (got {status})")
    check_driver_lines(texts)
    check_system_report(texts)
    check_pointer_lines(texts)
    check_teardown(texts)
    return check.summary()


def run_checks(probe, shots, process):
    desktop.wait_for_window(TITLE, process=process)
    time.sleep(2)
    origin = tuple(probe.numbers("client-origin"))
    gl_windows = desktop.offscreen_windows(SURFACE, SURFACE)
    if not check(len(gl_windows) == 1, f"Wine renders the OpenGL surface into one off-screen X window ({gl_windows})"):
        return
    surfaces = Surfaces(shots, origin, gl_windows[0])
    surfaces.capture("opengl-start")
    check(surfaces.gdi_is_clear(), "the GDI surface starts uniform 192")
    check(surfaces.gl_is_clear(), "the OpenGL surface starts uniform 192")

    stroke(origin, 0, 150, 40, 320)
    stroke(origin, OPENGL_LEFT, 150, 40, 320)
    surfaces.capture("opengl-strokes")
    check(surfaces.gdi_row_is_black(150) and surfaces.gl_row_is_black(150), "the stroke shows on both surfaces")
    differences = surfaces.differences()
    check(not differences, f"the same stroke gives the same pixels on both surfaces ({len(differences)} differ, "
                           f"first {differences[:5]})")

    desktop.click(*probe.centre(OPENGL_CLEAR_BUTTON))
    time.sleep(0.5)
    surfaces.capture("opengl-cleared")
    check(surfaces.gl_is_clear(), "the OpenGL surface's Clear makes it uniform 192 again")
    check(surfaces.gdi_row_is_black(150), "the OpenGL surface's Clear leaves the GDI surface alone")
    desktop.click(*probe.centre(GDI_CLEAR_BUTTON))
    time.sleep(0.5)
    surfaces.capture("opengl-both-cleared")
    check(surfaces.gdi_is_clear(), "the GDI surface's Clear makes it uniform 192 again")

    check_resizing(probe, surfaces)
    check(process.poll() is None, "the program is still running after the resizes")


def drag_frame_edge(start, delta):
    """Real input on the frame that Wine draws itself: press on the edge, move, release."""
    x, y = start
    dx, dy = delta
    desktop.drag([(x, y), (x + dx // 2, y + dy // 2), (x + dx, y + dy)], pause=0.3)
    time.sleep(1)


def check_resizing(probe, surfaces):
    x0, y0 = surfaces.origin
    # The client area starts at its minimum, 721 x 640; the sizing border lies just outside.
    resize_then_stroke(probe, surfaces, "wider", (x0 + MIN_CLIENT_WIDTH + 1, y0 + 300), (WIDER, 0),
                       (x0 + MIN_CLIENT_WIDTH + WIDER // 2, y0 + 600), 200)
    resize_then_stroke(probe, surfaces, "taller", (x0 + 100, y0 + MIN_CLIENT_HEIGHT + 1), (0, TALLER),
                       (x0 + 100, y0 + MIN_CLIENT_HEIGHT + TALLER // 2), 250)
    check(surfaces.gdi_row_is_black(200) and surfaces.gl_row_is_black(200),
          "resizing the main window leaves the surfaces' drawings alone")
    differences = surfaces.differences()
    check(not differences, f"after the resizes both surfaces still hold the same pixels ({len(differences)} differ)")


def resize_then_stroke(probe, surfaces, how, edge, delta, newly_uncovered, stroke_y):
    """Drags one frame edge, checks that the log pane fills the new room and the buttons
    stay, then draws the same stroke on both surfaces."""
    gl_button = probe.numbers("control-rect", OPENGL_CLEAR_BUTTON)
    drag_frame_edge(edge, delta)
    surfaces.capture(f"opengl-{how}")
    check(surfaces.gdi.grey(*newly_uncovered) == LOG_BACKGROUND,
          f"dragging a frame edge makes the window {how}: the log pane fills the new room")
    check(probe.numbers("control-rect", OPENGL_CLEAR_BUTTON) == gl_button,
          f"a {how} window keeps the OpenGL Clear button in place")
    stroke(surfaces.origin, 0, stroke_y, 40, 320)
    stroke(surfaces.origin, OPENGL_LEFT, stroke_y, 40, 320)
    surfaces.capture(f"opengl-{how}-strokes")
    check(surfaces.gdi_row_is_black(stroke_y) and surfaces.gl_row_is_black(stroke_y),
          f"in the {how} window both surfaces take a stroke")


def check_driver_lines(texts):
    rules = [i for i, text in enumerate(texts) if text == "_\n"]
    found = any(i + 4 < len(texts) and texts[i + 4] == "_\n" and texts[i + 1].startswith("OpenGL vendor:    ")
                and texts[i + 2].startswith("OpenGL renderer:  ") and texts[i + 3].startswith("OpenGL version:   ")
                for i in rules)
    check(found, "the log holds the OpenGL vendor, renderer and version lines between two '_' rules")
    values = [t for t in texts if t.startswith("OpenGL ")]
    check(all(len(t.rstrip("\n")) > 18 and t[18] != " " for t in values[:3]),
          f"each OpenGL line has a value in column 19 ({values[:3]})")
    created = next((i for i, t in enumerate(texts) if t.startswith("Created OpenGL tablet view ")), None)
    check(created is not None and rules and created > rules[0],
          "'Created OpenGL tablet view' follows the driver lines")


def check_system_report(texts):
    about = next((i for i, t in enumerate(texts) if t.startswith(TITLE + " ")), None)
    if not check(about is not None, "the about text is in the log"):
        return
    report = texts[about + 1:about + 8]
    check(len(report) == 7 and report[0] == RULE + "\n" and report[6] == RULE + "\n",
          "the system report follows the about text between two rules of 80 underscores")
    for label, line in zip(REPORT_LABELS, report[1:6]):
        line = line.rstrip("\n")
        check(line.startswith(label) and len(line) >= VALUE_COLUMN and line[VALUE_COLUMN - 1] != " ",
              f"'{label.strip()}' has its value starting in column {VALUE_COLUMN}: {line!r}")


def check_pointer_lines(texts):
    for surface in ("GDI surface", "OpenGL surface"):
        downs = texts.count(f"Pointer DOWN on {surface}\n")
        ups = texts.count(f"Pointer UP on {surface}\n")
        check(downs == 3 and ups == 3, f"three strokes pressed and released on the {surface} ({downs}, {ups})")
    down = "Pointer DOWN on OpenGL surface\n"
    after = texts[texts.index(down):] if down in texts else []
    pressure = next((t for t in after if t.startswith("Pressure: ")), None)
    check(pressure == "Pressure: 13%\n",
          "a mouse move on the OpenGL surface logs the fixed mouse pressure at gamma 3.0 (13%)")


def check_teardown(texts):
    order = [t for t in texts if t in ("OpenGLRenderer::~OpenGLRenderer\n", "tevrin::OpenGLContext::~OpenGLContext\n",
                                       "tevrin::GpuTextures::Destroy\n")]
    check(order == ["OpenGLRenderer::~OpenGLRenderer\n", "tevrin::OpenGLContext::~OpenGLContext\n",
                    "tevrin::GpuTextures::Destroy\n"],
          f"closing the window deletes the renderer, then the context and its registry ({order})")


if __name__ == "__main__":
    sys.exit(main())
