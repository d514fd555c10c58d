"""The real program under Wine, driven with real X input: a mouse stroke on the GDI
surface, its Clear button, the pressure-gamma slider by keyboard and mouse, the log
pane's Copy and Clear, and a clean close with exit status 0.

    gdi_surface_test.py NIBSCOPE_EXE WINDOW_PROBE_EXE BUILD_FOLDER SCREENSHOT_FOLDER
"""
import os
import subprocess
import sys
import time

import desktop
import harness
import wine_debug

TITLE = "Tevrin Nibscope"
GAMMA_VALUE_LABEL, GDI_CLEAR_BUTTON, GAMMA_SLIDER = 6, 10, 12
BACKGROUND, LOG_BACKGROUND = 192, 64
check = harness.Checks()




def dark_band(shot, x, top, bottom):
    """Rows in column x between top and bottom whose grey is below the background."""
    return [y for y in range(top, bottom) if (shot.grey(x, y) or 0) < BACKGROUND]


def surface_is_clear(shot, left, top):
    # Rows 10 and 11 carry the focus bar while the surface has the keyboard focus.
    return all(shot.grey(left + x, top + y) == BACKGROUND for y in range(360) if y not in (10, 11)
               for x in range(0, 360, 3))


def stroke(origin, y, start_x, end_x):
    x0, y0 = origin
    points = [(x0 + x, y0 + y) for x in range(start_x, end_x + 1, 20)]
    desktop.drag(points)
    time.sleep(0.5)


def main():
    program, probe_exe, build, shots = sys.argv[1:5]
    wine_debug.use_display(build)
    os.makedirs(shots, exist_ok=True)
    probe = harness.WindowProbe(probe_exe)
    status, texts = harness.run_then_close(program, lambda process: run_checks(process, probe, shots))
    check(status == 0, f"the program ended with exit status 0 (got {status})")
    check("AppWindow::HandleDestroyEvent\n" in texts, "the main window was destroyed")
    return check.summary()


def run_checks(process, probe, shots):
    desktop.wait_for_window(TITLE, process=process)
    time.sleep(2)
    origin = tuple(probe.numbers("client-origin"))
    shot = desktop.Screenshot(os.path.join(shots, "gdi-start.png"))
    check(surface_is_clear(shot, *origin), "a new GDI surface is uniform light grey (192)")
    check(probe.ask("control-text", GAMMA_VALUE_LABEL) == "3.00", "the gamma label starts at 3.00")

    # A mouse stroke at gamma 3.0: pressure 0.5 maps to 0.125, diameter 6, full strength.
    stroke(origin, 120, 40, 320)
    shot = desktop.Screenshot(os.path.join(shots, "gdi-stroke.png"))
    x0, y0 = origin
    check(all(shot.grey(x0 + x, y0 + 120) == 0 for x in range(50, 310)),
          "the centre line of a full-strength stroke is black (0)")
    # A stamp of diameter d is drawn with the round mask one pixel wider.
    band = dark_band(shot, x0 + 180, y0 + 90, y0 + 150)
    check(len(band) == 7, f"the stroke is as wide as a 6-pixel stamp (dark rows {len(band)}, expected 7)")
    check(shot.grey(x0 + 180, y0 + 200) == BACKGROUND and shot.grey(x0 + 30, y0 + 120) == BACKGROUND,
          "pixels away from the stroke stay 192")

    desktop.click(*probe.centre(GDI_CLEAR_BUTTON))
    time.sleep(0.5)
    shot = desktop.Screenshot(os.path.join(shots, "gdi-cleared.png"))
    check(surface_is_clear(shot, *origin), "Clear makes the surface uniform 192 again")

    check_gamma_slider(probe, shots)
    stroke(origin, 240, 40, 320)
    shot = desktop.Screenshot(os.path.join(shots, "gdi-gamma-1.png"))
    band = dark_band(shot, x0 + 180, y0 + 200, y0 + 280)
    check(len(band) == 22, f"at gamma 1.00 the stroke is as wide as a 21-pixel stamp (dark rows {len(band)}, expected 22)")

    check_log_pane(probe, origin, shots)
    desktop.Screenshot(os.path.join(shots, "gdi-window.png")).crop(
        os.path.join(shots, "nibscope-window.png"), max(x0 - 8, 0), max(y0 - 30, 0), 740, 680)


def slider_columns_changed(before, after, rect):
    """Columns of the slider's middle row that differ between two screenshots."""
    left, top, right, bottom = rect
    middle = (top + bottom) // 2
    return [x for x in range(left, right) if before.pixel(x, middle) != after.pixel(x, middle)]


def check_gamma_slider(probe, shots):
    rect = probe.numbers("control-rect", GAMMA_SLIDER)
    # Keyboard: the slider takes the focus by Tab from the buttons; Home and End jump.
    left, top, right, bottom = rect
    focus_slider(probe)
    desktop.key("Home")
    time.sleep(0.3)
    check(probe.ask("control-text", GAMMA_VALUE_LABEL) == "0.10", "Home on the slider sets gamma 0.10")
    at_start = desktop.Screenshot(os.path.join(shots, "slider-0.png"))
    desktop.key("End")
    time.sleep(0.3)
    check(probe.ask("control-text", GAMMA_VALUE_LABEL) == "5.00", "End on the slider sets gamma 5.00")
    at_end = desktop.Screenshot(os.path.join(shots, "slider-100.png"))

    # Mouse: drag the thumb from the right end to the middle of its travel.
    changed = slider_columns_changed(at_start, at_end, rect)
    if not check(len(changed) > 4, "the thumb moves between the two ends"):
        return
    middle_of = lambda xs: sum(xs) // len(xs)
    split = max(range(1, len(changed)), key=lambda i: changed[i] - changed[i - 1])
    start_x, end_x = middle_of(changed[:split]), middle_of(changed[split:])
    row = (top + bottom) // 2
    desktop.drag([(end_x, row), ((start_x + end_x) // 2 + 4, row), ((start_x + end_x) // 2, row)], pause=0.2)
    time.sleep(0.3)
    position = int(probe.ask("slider-position", GAMMA_SLIDER))
    check(45 <= position <= 55, f"dragging the thumb to the middle puts the slider near 50 (at {position})")
    label = probe.ask("control-text", GAMMA_VALUE_LABEL)
    value = position / 100
    gamma = 2 * value * 0.9 + 0.1 if value < 0.5 else 2 * (value - 0.5) * 4.0 + 1.0
    check(label == f"{gamma:.2f}", f"the label follows the dragged slider ({label} for position {position})")

    desktop.key("Home", *["Next"] * 5)
    time.sleep(0.3)
    check(probe.ask("slider-position", GAMMA_SLIDER) == "50", "five page steps from 0 reach 50")
    check(probe.ask("control-text", GAMMA_VALUE_LABEL) == "1.00", "the middle of the slider shows gamma 1.00")


def focus_slider(probe):
    desktop.click(*probe.centre(GDI_CLEAR_BUTTON))
    for _ in range(6):
        if probe.ask("focus-id") == str(GAMMA_SLIDER):
            return
        desktop.key("Tab")
        time.sleep(0.2)
    check(False, "Tab reaches the slider")


def check_log_pane(probe, origin, shots):
    x0, y0 = origin
    pane = (x0 + 200, y0 + 560)
    desktop.click(*pane, button=3)
    time.sleep(0.5)
    desktop.key("Down", "Return")
    time.sleep(1)
    # Wine hands the text to X with plain line feeds; the Windows clipboard keeps CR LF.
    lines = desktop.clipboard_text().split("\n")
    windows_text = probe.raw("clipboard")
    check(windows_text.endswith("\r\n") and windows_text.count("\r\n") == windows_text.count("\n"),
          "every copied line ends with CR LF on the Windows clipboard")
    windows_lines = windows_text.replace("\r\n", "\n").rstrip("\n").split("\n")
    x_lines = "\n".join(lines).rstrip("\n").split("\n")
    difference = next((f"{w!r} / {x!r}" for w, x in zip(windows_lines, x_lines) if w != x), "")
    check(windows_lines == x_lines, f"X sees the same lines as Windows {difference}")

    def first(prefix):
        return next((i for i, line in enumerate(lines) if line.startswith(prefix)), None)

    order = [first("ERROR for window "), first("Created GDI tablet view "), first("Tevrin Nibscope "),
             first("Pointer DOWN on GDI surface"), first("Pressure: 13%"), first("Pointer UP on GDI surface")]
    check(None not in order and order == sorted(order), f"the log lines come in start-up order ({order})")
    check(any(line.endswith(": WTInfoA returned FALSE") for line in lines),
          "the missing tablet is reported as 'WTInfoA returned FALSE'")

    desktop.click(*pane, button=3)
    time.sleep(0.5)
    desktop.key("Down", "Down", "Return")
    time.sleep(0.5)
    shot = desktop.Screenshot(os.path.join(shots, "log-cleared.png"))
    check(all(shot.grey(x0 + x, y0 + 450 + y) == LOG_BACKGROUND for x in range(5, 600, 7) for y in range(0, 150, 3)),
          "Clear empties the log pane")

    # With the pane empty both items are greyed: choosing Copy leaves the clipboard alone.
    # xclip stays behind to serve the selection: it must not hold our output open.
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"marker", stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=10)
    desktop.click(*pane, button=3)
    time.sleep(0.5)
    desktop.key("Down", "Return")
    time.sleep(0.5)
    desktop.key("Escape")
    check(desktop.clipboard_text() == "marker", "Copy is greyed out on an empty log")


if __name__ == "__main__":
    sys.exit(main())
