"""The real program under Wine without a tablet driver, driven with real X input: its
start-up lines, mouse strokes on both surfaces (the same bytes on both), both Clear
buttons, the window resized by its frame, the pressure-gamma slider by keyboard and
mouse, the log pane's Copy and Clear, and a polite close with exit status 0.

    surfaces_test.py NIBSCOPE_EXE WINDOW_PROBE_EXE VERSION BUILD_FOLDER SCREENSHOT_FOLDER

The GDI surface's pixels come from screenshots; the OpenGL surface's from the X window
that Wine renders it into (see desktop.OffscreenFrame: under Wine 8 the frame never
reaches the screen).
"""
import os
import subprocess
import sys

import desktop
import harness
import wine_debug
from harness import wait_until

GAMMA_VALUE_LABEL, GDI_CLEAR_BUTTON, OPENGL_CLEAR_BUTTON, GAMMA_SLIDER = 6, 10, 11, 12
OPENGL_LEFT, SURFACE, BACKGROUND, LOG_BACKGROUND = 361, 360, 192, 64
MIN_CLIENT_WIDTH, MIN_CLIENT_HEIGHT = 721, 640
REPORT_LABELS = ["Operating system: ", "CPU:              ", "CPU desc:         ", "Display:          ",
                 "User:             "]
FOCUS_BAR_ROWS = (10, 11)  # drawn on whichever surface has the keyboard focus
check = harness.Checks()


class Surfaces:
    """Both surfaces as the user sees them, captured together under one name."""

    def __init__(self, shots, origin, gl_window):
        self.shots, self.origin, self.gl_window = shots, origin, gl_window

    def capture(self, name):
        self.shot = desktop.Screenshot(os.path.join(self.shots, f"{name}.png"))
        self.gl = desktop.OffscreenFrame(self.gl_window, SURFACE, SURFACE, os.path.join(self.shots, f"{name}-gl.png"))
        return self

    def gdi(self, x, y):
        return self.shot.grey(self.origin[0] + x, self.origin[1] + y)

    def clear(self, surface):
        return all(surface(x, y) == BACKGROUND for y in range(SURFACE) if y not in FOCUS_BAR_ROWS
                   for x in range(SURFACE))

    def black_row(self, surface, y):
        return all(surface(x, y) == 0 for x in range(60, 300, 5))

    def dark_rows(self, x, top, bottom):
        return len([y for y in range(top, bottom) if (self.gdi(x, y) or 0) < BACKGROUND])

    def differences(self):
        """Pixels (x, y) where the two surfaces differ, focus bar rows aside."""
        return [(x, y) for y in range(SURFACE) if y not in FOCUS_BAR_ROWS for x in range(SURFACE)
                if self.gdi(x, y) != self.gl.grey(x, y)]

    def wait(self, what, condition):
        """Captures until condition(self) holds, which it checks as `what`."""
        name = "surfaces-" + "-".join(what.split()[:6]).replace("'", "")
        return check(wait_until(lambda: condition(self.capture(name)), timeout=20), what)


def main():
    program, probe_exe, version, build, shots = sys.argv[1:6]
    wine_debug.use_display(build)
    os.makedirs(shots, exist_ok=True)
    probe = harness.WindowProbe(probe_exe)
    status, texts = harness.run_then_close(program, lambda process: run_checks(probe, shots, process))
    check(status == 0, f"the program ended with exit status 0 (got {status})")
    check_start_up_lines(texts, version)
    for surface, strokes in (("GDI surface", 4), ("OpenGL surface", 3)):
        counts = [texts.count(f"Pointer {what} on {surface}\n") for what in ("DOWN", "UP")]
        check(counts == [strokes] * 2, f"{strokes} strokes pressed and released on the {surface} ({counts})")
    gl_down = texts.index("Pointer DOWN on OpenGL surface\n") if "Pointer DOWN on OpenGL surface\n" in texts else 0
    check(next((t for t in texts[gl_down:] if t.startswith("Pressure: ")), None) == "Pressure: 13%\n",
          "a mouse move on the OpenGL surface logs the mouse's pressure at gamma 3.0 (13%)")
    teardown = [t for t in texts if t in ("OpenGLRenderer::~OpenGLRenderer\n", "tevrin::OpenGLContext::~OpenGLContext\n",
                                          "tevrin::GpuTextures::Destroy\n", "AppWindow::HandleDestroyEvent\n")]
    check(teardown == ["AppWindow::HandleDestroyEvent\n", "OpenGLRenderer::~OpenGLRenderer\n",
                       "tevrin::OpenGLContext::~OpenGLContext\n", "tevrin::GpuTextures::Destroy\n"],
          f"closing destroys the main window, then the renderer, the context and its registry ({teardown})")
    return check.summary()


def run_checks(probe, shots, process):
    origin = probe.wait_for_start_up(process)
    gl_windows = wait_until(lambda: desktop.offscreen_windows(SURFACE, SURFACE))
    if not check(gl_windows and len(gl_windows) == 1, f"the OpenGL surface has one off-screen X window ({gl_windows})"):
        return
    surfaces = Surfaces(shots, origin, gl_windows[0])
    surfaces.wait("both surfaces start uniform 192", lambda s: s.clear(s.gdi) and s.clear(s.gl.grey))
    check(probe.ask("control-text", GAMMA_VALUE_LABEL) == "3.00", "the gamma label starts at 3.00")

    # At gamma 3.0 the mouse's pressure 0.5 maps to 0.125: diameter 6, full strength, drawn
    # with the round mask one pixel wider.
    stroke_both(process, origin, 120)
    surfaces.wait("a stroke shows on both surfaces", lambda s: s.black_row(s.gdi, 120) and s.black_row(s.gl.grey, 120))
    check(surfaces.dark_rows(180, 90, 150) == 7, f"the stroke is 7 rows wide ({surfaces.dark_rows(180, 90, 150)})")
    check(surfaces.gdi(180, 200) == BACKGROUND and surfaces.gdi(30, 120) == BACKGROUND, "pixels away from it stay 192")
    differences = surfaces.differences()
    check(not differences, f"the same stroke gives the same bytes on both surfaces ({differences[:5]})")

    desktop.click(*probe.centre(OPENGL_CLEAR_BUTTON))
    surfaces.wait("the OpenGL surface's Clear clears only that surface",
                  lambda s: s.clear(s.gl.grey) and s.black_row(s.gdi, 120))
    desktop.click(*probe.centre(GDI_CLEAR_BUTTON))
    surfaces.wait("the GDI surface's Clear clears it", lambda s: s.clear(s.gdi))

    x0, y0 = origin
    # The client area starts at its minimum size; the sizing border lies just outside it.
    resize_then_stroke(probe, process, surfaces, "wider", (x0 + MIN_CLIENT_WIDTH + 1, y0 + 300), (120, 0),
                       (MIN_CLIENT_WIDTH + 60, 600), 200)
    resize_then_stroke(probe, process, surfaces, "taller", (x0 + 100, y0 + MIN_CLIENT_HEIGHT + 1), (0, 100),
                       (100, MIN_CLIENT_HEIGHT + 50), 250)
    check(surfaces.black_row(surfaces.gdi, 200) and surfaces.black_row(surfaces.gl.grey, 200),
          "resizing the main window keeps the surfaces' drawings")
    differences = surfaces.differences()
    check(not differences, f"after the resizes both surfaces still hold the same bytes ({differences[:5]})")

    check_gamma_slider(probe, shots)
    desktop.drag([(x0 + x, y0 + 320) for x in range(40, 321, 20)], harness.pointer_settle(process))
    surfaces.wait("a stroke at gamma 1.00 shows", lambda s: s.black_row(s.gdi, 320))
    check(surfaces.dark_rows(180, 290, 350) == 22, f"it is 22 rows wide, a 21-pixel stamp "
                                                   f"({surfaces.dark_rows(180, 290, 350)})")
    surfaces.shot.crop(os.path.join(shots, "nibscope-window.png"), max(x0 - 8, 0), max(y0 - 30, 0), 860, 780)
    check_log_pane(probe, origin, shots)


def stroke_both(process, origin, y):
    for left in (0, OPENGL_LEFT):
        desktop.drag([(origin[0] + left + x, origin[1] + y) for x in range(40, 321, 20)], harness.pointer_settle(process))


def resize_then_stroke(probe, process, surfaces, how, edge, delta, uncovered, y):
    """Drags one frame edge (real input on the frame Wine draws), waits for the log pane
    to fill the new room, then draws the same stroke on both surfaces."""
    gl_button = probe.numbers("control-rect", OPENGL_CLEAR_BUTTON)
    (x, y0), (dx, dy) = edge, delta
    desktop.drag([(x, y0), (x + dx // 2, y0 + dy // 2), (x + dx, y0 + dy)], settle=lambda: None)
    surfaces.wait(f"a {how} window's log pane fills the new room",
                  lambda s: s.gdi(*uncovered) == LOG_BACKGROUND)
    check(probe.numbers("control-rect", OPENGL_CLEAR_BUTTON) == gl_button, f"a {how} window keeps its buttons")
    stroke_both(process, surfaces.origin, y)
    surfaces.wait(f"in the {how} window both surfaces take a stroke",
                  lambda s: s.black_row(s.gdi, y) and s.black_row(s.gl.grey, y))


def check_gamma_slider(probe, shots):
    label = lambda: probe.ask("control-text", GAMMA_VALUE_LABEL)
    # Keyboard: the slider takes the focus by Tab from the buttons; Home and End jump.
    desktop.click(*probe.centre(GDI_CLEAR_BUTTON))
    focus = wait_until(lambda: probe.ask("focus-id") == str(GDI_CLEAR_BUTTON) and str(GDI_CLEAR_BUTTON))
    for _ in range(6):
        if focus == str(GAMMA_SLIDER):
            break
        desktop.key("Tab")
        focus = wait_until(lambda: probe.ask("focus-id") != focus and probe.ask("focus-id"))
    check(focus == str(GAMMA_SLIDER), "Tab reaches the slider")
    left, top, right, bottom = probe.numbers("control-rect", GAMMA_SLIDER)
    row = (top + bottom) // 2
    desktop.key("Home")
    check(wait_until(lambda: label() == "0.10"), "Home on the slider sets gamma 0.10")
    at_start = desktop.Screenshot(os.path.join(shots, "slider-0.png"))
    desktop.key("End")
    check(wait_until(lambda: label() == "5.00"), "End on the slider sets gamma 5.00")
    at_end = desktop.Screenshot(os.path.join(shots, "slider-100.png"))
    # Mouse: drag the thumb from the right end to the middle of its travel. The thumb
    # shows where the two screenshots differ, at both ends.
    changed = [x for x in range(left, right) if at_start.pixel(x, row) != at_end.pixel(x, row)]
    if not check(len(changed) > 4, "the thumb moves between the two ends"):
        return
    split = max(range(1, len(changed)), key=lambda i: changed[i] - changed[i - 1])
    start, thumb = sum(changed[:split]) // split, sum(changed[split:]) // (len(changed) - split)
    middle = (start + thumb) // 2
    desktop.drag([(thumb, row), (middle + 4, row), (middle, row)], settle=lambda: None)
    position = wait_until(lambda: (lambda p: 40 <= p <= 60 and p)(int(probe.ask("slider-position", GAMMA_SLIDER))))
    check(position, f"dragging the thumb to the middle puts the slider near 50 (at {position})")
    value = (position or 0) / 100
    gamma = 2 * value * 0.9 + 0.1 if value < 0.5 else 2 * (value - 0.5) * 4.0 + 1.0
    check(label() == f"{gamma:.2f}", f"the label follows the dragged slider ({label()} for position {position})")
    desktop.key("Home", *["Next"] * 5)
    check(wait_until(lambda: probe.ask("slider-position", GAMMA_SLIDER) == "50" and label() == "1.00"),
          "five page steps from 0 reach the middle, gamma 1.00")


def choose_from_log_menu(probe, pane, downs):
    """Opens the log pane's context menu and presses Return on its item `downs` down."""
    desktop.click(*pane, button=3)
    check(wait_until(lambda: probe.ask("menu-open") == "1"), "the log pane's context menu opens")
    desktop.key(*["Down"] * downs, "Return")


def check_log_pane(probe, origin, shots):
    x0, y0 = origin
    pane = (x0 + 200, y0 + 560)
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"marker", stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=10)  # xclip stays to serve it: not our output
    choose_from_log_menu(probe, pane, 1)
    copied = wait_until(lambda: desktop.clipboard_text() != "marker" and desktop.clipboard_text()) or ""
    # Wine hands the text to X with plain line feeds; the Windows clipboard keeps CR LF.
    lines = copied.rstrip("\n").split("\n")
    windows_text = probe.raw("clipboard") or ""
    check(windows_text.endswith("\r\n") and windows_text.count("\r\n") == windows_text.count("\n"),
          "Copy ends every line with CR LF on the Windows clipboard")
    check(windows_text.replace("\r\n", "\n").rstrip("\n").split("\n") == lines, "X sees the same lines as Windows")

    first = lambda prefix: next((i for i, line in enumerate(lines) if line.startswith(prefix)), None)
    order = [first(p) for p in ("ERROR for window ", "Created GDI tablet view ", "Created OpenGL tablet view ",
                                harness.TITLE + " ", "Pointer DOWN on GDI surface", "Pressure: 13%",
                                "Pointer UP on GDI surface")]
    check(None not in order and order == sorted(order), f"the log lines come in start-up order ({order})")
    # Without a driver both views log why they have no tablet context, each by its address.
    errors = [line.split(": ", 1) for line in lines if line.startswith("ERROR for window ")]
    views = [line.split()[-1] for line in lines if line.startswith("Created ") and " tablet view " in line]
    check([text for _, text in errors] == ["WTInfoA returned FALSE", "graphics tablet context error"]
          and [head.split()[-1] for head, _ in errors] == views, f"both views log their error line ({errors}, {views})")

    choose_from_log_menu(probe, pane, 2)

    def log_pane_empty():
        shot = desktop.Screenshot(os.path.join(shots, "log-cleared.png"))
        return all(shot.grey(x0 + x, y0 + 450 + y) == LOG_BACKGROUND for x in range(5, 600, 7) for y in range(0, 150, 3))
    check(wait_until(log_pane_empty, timeout=20), "Clear empties the log pane")
    # Both items are greyed now: Return leaves the menu open and the clipboard alone.
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"marker", stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=10)
    choose_from_log_menu(probe, pane, 1)
    desktop.key("Escape")
    check(wait_until(lambda: probe.ask("menu-open") == "0"), "Escape closes the menu")
    probe.ask("control-text", GAMMA_VALUE_LABEL)  # a message through the program's thread, after the menu's
    check(desktop.clipboard_text() == "marker", "Copy is greyed out on an empty log")


def check_start_up_lines(texts, version):
    check(texts[0].startswith("Current locale: ") and texts[1].startswith("               Current decimal point: ")
          and texts[2].startswith("         Current thousands separator: "),
          f"the locale set-up comes first ({texts[:3]})")
    about = next((i for i, t in enumerate(texts) if t.startswith(harness.TITLE + " ")), None)
    if not check(about is not None, "the about text is in the log"):
        return
    expected = f"{harness.TITLE} {version}, 64-bit\nCopyright (C) 2026 The Tevrin Nibscope developers\n"
    check(texts[about] == expected, f"the about text names the version of the build ({texts[about]!r})")
    report = texts[about + 1:about + 8]
    check(len(report) == 7 and report[0] == report[6] == harness.RULE,
          "the system report follows the about text between two rules of 80 underscores")
    for label, line in zip(REPORT_LABELS, report[1:6]):
        check(line.startswith(label) and len(line) > 19 and line[18] != " ", f"'{label.strip()}' has a value: {line!r}")
    rules = [i for i, t in enumerate(texts[:about]) if t == "_\n"]
    check(len(rules) == 2 and rules[1] == rules[0] + 4 and all(
        texts[rules[0] + n].startswith(f"OpenGL {name}:") and len(texts[rules[0] + n]) > 19
        and texts[rules[0] + n][18] != " " for n, name in ((1, "vendor"), (2, "renderer"), (3, "version"))),
          "the OpenGL vendor, renderer and version, valued from column 19, stand between two '_' rules")


if __name__ == "__main__":
    sys.exit(main())
