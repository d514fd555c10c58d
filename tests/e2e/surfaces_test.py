"""The real program under Wine without a tablet driver, driven with real X input: its
start-up lines, mouse strokes on both surfaces (GDI from screenshots, OpenGL from the X
window Wine renders it into: the same bytes on both), both Clear buttons, the window
resized by its frame, the gamma slider, the log pane's Copy and Clear, and a polite
close with exit status 0.
    surfaces_test.py NIBSCOPE_EXE WINDOW_PROBE_EXE VERSION BUILD_FOLDER SCREENSHOT_FOLDER
"""
import os
import subprocess
import sys
import time

import desktop
import harness
from harness import wait_until

GAMMA_VALUE_LABEL, GDI_CLEAR_BUTTON, OPENGL_CLEAR_BUTTON, GAMMA_SLIDER = 6, 10, 11, 12
OPENGL_LEFT, SURFACE, BACKGROUND, LOG_BACKGROUND = 361, 360, 192, 64
MIN_CLIENT_WIDTH, MIN_CLIENT_HEIGHT = 721, 640
SLIDER_KEYS = [(["Home"], "0", "0.10"), (["End"], "100", "5.00"), (["Home"] + ["Next"] * 5, "50", "1.00")]
REPORT_LABELS = ["Operating system:", "CPU:", "CPU desc:", "Display:", "User:"]  # values from column 19
TEARDOWN = ["AppWindow::HandleDestroyEvent\n", "OpenGLRenderer::~OpenGLRenderer\n",
            "tevrin::OpenGLContext::~OpenGLContext\n", "tevrin::GpuTextures::Destroy\n"]
ROWS = [y for y in range(SURFACE) if y not in (10, 11)]  # rows 10 and 11 hold the focus bar of either surface
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
        return all(surface(x, y) == BACKGROUND for y in ROWS for x in range(SURFACE))

    def black_row(self, surface, y):
        return all(surface(x, y) == 0 for x in range(60, 300, 5))

    def focus_bar(self, surface):  # rows 10 and 11, x 10 to 349: "shown", "hidden", or the values they hold
        values = frozenset(surface(x, y) for y in (10, 11) for x in range(10, SURFACE - 10))
        return {frozenset({0}): "shown", frozenset({BACKGROUND}): "hidden"}.get(values, sorted(values)[:5])

    def check_same(self, what):  # no pixel differs between the two surfaces, focus bar rows aside
        differences = [(x, y) for y in ROWS for x in range(SURFACE) if self.gdi(x, y) != self.gl.grey(x, y)]
        return check(not differences, f"{what} ({differences[:5]})")

    def wait(self, what, condition):  # captures until condition(self) holds, checked as `what`
        name = "surfaces-" + "-".join(what.split()[:6]).replace("'", "")
        return check(wait_until(lambda: condition(self.capture(name)), timeout=20), what)


def main():
    program, probe_exe, version, build, shots = sys.argv[1:6]
    harness.use_display(build)
    os.makedirs(shots, exist_ok=True)
    status, texts = harness.run_then_close(program, lambda process: run_checks(harness.WindowProbe(probe_exe), shots, process))
    check(status == 0, f"the program ended with exit status 0 (got {status})")
    check_start_up_lines(texts, version)
    # The GDI surface also takes a double tap and two slow taps: four presses.
    for surface, strokes in (("GDI surface", 8), ("OpenGL surface", 3)):
        counts = [texts.count(f"Pointer {what} on {surface}\n") for what in ("DOWN", "UP")]
        check(counts == [strokes] * 2, f"{strokes} strokes pressed and released on the {surface} ({counts})")
    after = texts[texts.index("Pointer DOWN on OpenGL surface\n"):] if counts[0] else []
    check(next((t for t in after if t.startswith("Pressure: ")), None) == "Pressure: 13%\n",
          "a mouse move on the OpenGL surface logs the pressure 13%")
    teardown = [t for t in texts if t in TEARDOWN]
    check(teardown == TEARDOWN, f"closing destroys the main window, then the renderer, the context and its registry "
                                f"({teardown})")
    return check.summary()


def run_checks(probe, shots, process):
    origin = probe.wait_for_start_up(process)
    gl_windows = wait_until(lambda: desktop.offscreen_windows(SURFACE, SURFACE))
    if not check(gl_windows and len(gl_windows) == 1, f"the OpenGL surface has one off-screen X window ({gl_windows})"):
        return
    surfaces = Surfaces(shots, origin, gl_windows[0])
    surfaces.wait("both surfaces start uniform 192", lambda s: s.clear(s.gdi) and s.clear(s.gl.grey))
    check_focus_bars(surfaces, "GDI", "at start the GDI surface has the focus")
    desktop.key("Tab")
    check_focus_bars(surfaces, "OpenGL", "Tab moves the focus to the OpenGL surface")

    # At gamma 3.0 the mouse's pressure 0.5 maps to 0.125: diameter 6, full strength, drawn
    # with the round mask one pixel wider.
    stroke_both(process, origin, 120)
    surfaces.wait("a stroke shows on both surfaces", lambda s: s.black_row(s.gdi, 120) and s.black_row(s.gl.grey, 120))
    rows = surfaces.shot.dark_rows(origin[0] + 180, origin[1] + 90, origin[1] + 150)
    check(rows == 7, f"the stroke is 7 rows wide ({rows})")
    check(surfaces.gdi(180, 200) == BACKGROUND, "a pixel below it stays 192")
    check(surfaces.gdi(30, 120) == BACKGROUND, "a pixel before its start stays 192")
    surfaces.check_same("the same stroke gives the same bytes on both surfaces")

    desktop.click(*probe.centre(OPENGL_CLEAR_BUTTON))
    surfaces.wait("the OpenGL surface's Clear clears only that surface",
                  lambda s: s.clear(s.gl.grey) and s.black_row(s.gdi, 120))
    desktop.click(*probe.centre(GDI_CLEAR_BUTTON))
    surfaces.wait("the GDI surface's Clear clears it", lambda s: s.clear(s.gdi))
    check_double_tap(process, origin, surfaces)
    desktop.click(*probe.centre(GDI_CLEAR_BUTTON))
    surfaces.wait("the GDI surface's Clear clears the taps", lambda s: s.clear(s.gdi))

    x0, y0 = origin
    # The client area starts at its minimum size; the sizing border lies just outside it.
    resize_then_stroke(probe, process, surfaces, "wider", (x0 + MIN_CLIENT_WIDTH + 1, y0 + 300), (120, 0),
                       (MIN_CLIENT_WIDTH + 60, 600), 200)
    resize_then_stroke(probe, process, surfaces, "taller", (x0 + 100, y0 + MIN_CLIENT_HEIGHT + 1), (0, 100),
                       (100, MIN_CLIENT_HEIGHT + 50), 250)
    surfaces.wait("both surfaces take strokes in the resized window and keep them",
                  lambda s: all(s.black_row(surface, y) for surface in (s.gdi, s.gl.grey) for y in (200, 250)))
    surfaces.check_same("after the resizes both surfaces still hold the same bytes")

    check_gamma_slider(probe)
    check_focus_bars(surfaces, None, "the slider has the focus")
    desktop.drag([(x0 + x, y0 + 320) for x in range(40, 321, 20)], harness.pointer_settle(process))
    surfaces.wait("a stroke at gamma 1.00 shows", lambda s: s.black_row(s.gdi, 320))
    rows = surfaces.shot.dark_rows(x0 + 180, y0 + 290, y0 + 350)
    check(rows == 22, f"it is 22 rows wide, a 21-pixel stamp ({rows})")
    surfaces.shot.crop(os.path.join(shots, "nibscope-window.png"), max(x0 - 8, 0), max(y0 - 30, 0), 860, 780)
    check_log_pane(probe, origin, shots)


def check_focus_bars(surfaces, focused, why):
    """Only the focused surface shows the focus bar in its own frame."""
    for name, surface in (("GDI", lambda s: s.gdi), ("OpenGL", lambda s: s.gl.grey)):
        state = "shown" if name == focused else "hidden"
        surfaces.wait(f"{why}: the {name} surface's focus bar is {state}",
                      lambda s: s.focus_bar(surface(s)) == state)


def check_double_tap(process, origin, surfaces):
    """A quick second tap at one spot arrives as a double click: it must paint and log as
    the press it is, the same as two taps far enough apart in time."""
    settle = harness.pointer_settle(process)
    desktop.move(origin[0] + 60, origin[1] + 60)
    desktop.xdotool("click", "--repeat", 2, "--delay", 100, 1)
    for _ in range(2):
        settle(), time.sleep(1), desktop.click(origin[0] + 120, origin[1] + 60)  # beyond the double-click time
    settle()
    same = lambda s: all(s.gdi(60 + dx, 60 + dy) == s.gdi(120 + dx, 60 + dy) for dx in range(-4, 5) for dy in range(-4, 5))
    surfaces.wait("a double tap paints both taps' stamps, as two slow taps do", lambda s: s.gdi(60, 60) < BACKGROUND and same(s))


def stroke_both(process, origin, y):
    for x0 in (origin[0], origin[0] + OPENGL_LEFT):
        desktop.drag([(x0 + x, origin[1] + y) for x in range(40, 321, 20)], harness.pointer_settle(process))


def resize_then_stroke(probe, process, surfaces, how, edge, delta, uncovered, y):
    """Drags one frame edge (real input on the frame Wine draws), waits for the log pane
    to fill the new room, then strokes both surfaces."""
    gl_button = probe.numbers("control-rect", OPENGL_CLEAR_BUTTON)
    (x, y0), (dx, dy) = edge, delta
    desktop.drag([(x, y0), (x + dx // 2, y0 + dy // 2), (x + dx, y0 + dy)], settle=lambda: None)
    surfaces.wait(f"a {how} window's log pane fills the new room",
                  lambda s: s.gdi(*uncovered) == LOG_BACKGROUND)
    check(probe.numbers("control-rect", OPENGL_CLEAR_BUTTON) == gl_button, f"a {how} window keeps its buttons")
    stroke_both(process, surfaces.origin, y)


def check_gamma_slider(probe):
    """The slider takes the focus by Tab from the buttons; Home, End and Page Down move it
    (a mouse drag of the thumb reaches the program through the same notification)."""
    label = lambda: probe.ask("control-text", GAMMA_VALUE_LABEL)
    desktop.click(*probe.centre(GDI_CLEAR_BUTTON))
    focus = wait_until(lambda: probe.ask("focus-id") == str(GDI_CLEAR_BUTTON) and str(GDI_CLEAR_BUTTON))
    for _ in range(6):
        if focus == str(GAMMA_SLIDER):
            break
        desktop.key("Tab")
        focus = wait_until(lambda: probe.ask("focus-id") != focus and probe.ask("focus-id"))
    check(focus == str(GAMMA_SLIDER), "Tab reaches the slider")
    for keys, position, gamma in SLIDER_KEYS:
        desktop.key(*keys)
        check(wait_until(lambda: probe.ask("slider-position", GAMMA_SLIDER) == position and label() == gamma),
              f"{' '.join(keys)} on the slider moves it to {position}, gamma {gamma}")


def choose_from_log_menu(probe, pane, downs):
    """Marks the clipboard, then chooses the item `downs` down in the log pane's context menu."""
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"marker", stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=10)  # xclip stays to serve it: not our output
    # xclip's background half may take the selection only after the command returned.
    check(wait_until(lambda: desktop.clipboard_text() == "marker"), "the clipboard holds the marker")
    desktop.click(*pane, button=3)
    check(wait_until(lambda: probe.ask("menu-open") == "1"), "the log pane's context menu opens")
    desktop.key(*["Down"] * downs, "Return")


def check_log_pane(probe, origin, shots):
    x0, y0 = origin
    pane = (x0 + 200, y0 + 560)
    choose_from_log_menu(probe, pane, 1)
    copied = wait_until(lambda: desktop.clipboard_text() != "marker" and desktop.clipboard_text()) or ""
    # Wine hands the text to X with plain line feeds; the Windows clipboard keeps CR LF.
    lines = copied.rstrip("\n").split("\n")
    windows_text = probe.raw("clipboard") or ""
    check(windows_text.endswith("\r\n") and windows_text.replace("\r\n", "\n").rstrip("\n").split("\n") == lines,
          "Copy ends every line with CR LF on the Windows clipboard, and X sees the same lines")

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
        return all(shot.grey(x0 + x, y0 + y) == LOG_BACKGROUND for x in range(5, 600, 7) for y in range(450, 600, 3))
    check(wait_until(log_pane_empty, timeout=20), "Clear empties the log pane")
    # Both items are greyed now: Return leaves the menu open and the clipboard alone.
    choose_from_log_menu(probe, pane, 1)
    desktop.key("Escape")
    wait_until(lambda: probe.ask("menu-open") == "0")
    probe.ask("control-text", GAMMA_VALUE_LABEL)  # a message through the program's thread, after the menu's
    check(desktop.clipboard_text() == "marker", "Copy is greyed out on an empty log")


def check_start_up_lines(texts, version):
    check(texts[0].startswith("Current locale: ") and texts[1].startswith("               Current decimal point: ")
          and texts[2].startswith("         Current thousands separator: "),
          f"the locale set-up comes first ({texts[:3]})")
    about = f"{harness.TITLE} {version}, 64-bit\nCopyright (C) 2026 The Tevrin Nibscope developers\n"
    if not check(about in texts, f"the about text names the version of the build ({about!r})"):
        return
    about = texts.index(about)
    report = texts[about + 1:about + 8]
    check(report[:1] == report[6:7] == [harness.RULE],
          "the system report follows the about text between two rules of 80 underscores")
    check(all(line.startswith(label.ljust(18)) and line[18] != " " for label, line in zip(REPORT_LABELS, report[1:6])),
          f"the report names the system, the processor, its description, the display and the user: {report[1:6]}")
    first_rule = texts.index("_\n") if "_\n" in texts else 0
    driver = texts[first_rule:first_rule + 5]
    check([t[:18] for t in driver] == ["_\n", "OpenGL vendor:    ", "OpenGL renderer:  ", "OpenGL version:   ", "_\n"]
          and all(t[18] not in " \n" for t in driver[1:4]) and first_rule < about,
          f"the OpenGL vendor, renderer and version, valued from column 19, stand between two '_' rules {driver}")

if __name__ == "__main__":
    sys.exit(main())
