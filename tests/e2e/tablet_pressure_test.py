"""The real program with a pen: a copy of it beside the simulated WinTab driver, which
plays back a climbing pressure ramp (TEVRIN_SIMULATED_PEN_RAMP). One long horizontal
stroke with real X input on the GDI surface must widen as the pressure climbs, and the
log must report the simulated device, a context per surface and climbing percentages.
Then WM_QUIT posted to the program's thread ends the main loop without dispatching it:
the program tears down and exits with status 0 while its window still exists.

    tablet_pressure_test.py NIBSCOPE_EXE WINTAB_DLL WINDOW_PROBE_EXE BUILD_FOLDER SCREENSHOT_FOLDER SCENARIO_FOLDER
"""
import os
import re
import shutil
import struct
import sys

import desktop
import harness

# Raw pressures 300 to 1023 of a 0..1023 axis in 17 packets: the pointer press takes the
# first, each pointer move the next, so the stroke's second half is at full pressure.
RAMP_FIRST, RAMP_LAST, RAMP_STEPS = 300, 1023, 17
RAMP = f"{RAMP_FIRST},{RAMP_LAST},{RAMP_STEPS}"
STROKE_Y, COLUMNS = 180, [25, 60, 100, 140, 180, 230, 280, 330]
FULL_PRESSURE_ROWS = 41  # a 40-pixel stamp, drawn with the round mask one pixel wider
check = harness.Checks()


def logged_percent(step):
    """The "Pressure: N%" of packet `step` at gamma 3, in the program's single precision."""
    f32 = lambda value: struct.unpack("f", struct.pack("f", value))[0]
    intervals = RAMP_STEPS - 1
    raw = RAMP_FIRST + ((RAMP_LAST - RAMP_FIRST) * min(step, intervals) + intervals // 2) // intervals
    return int(f32(f32(f32(f32(f32(raw) / f32(1023)) ** 3.0) * 100) + 0.5))


def main():
    program, driver, probe_exe, build, shots, folder = sys.argv[1:7]
    harness.use_display(build)
    # The program beside the driver: LoadLibraryW looks in the program's folder first.
    for needed in (shots, folder):
        os.makedirs(needed, exist_ok=True)
    shutil.copy2(driver, os.path.join(folder, "wintab32.dll"))
    copy = shutil.copy2(program, os.path.join(folder, "nibscope.exe"))
    ramp = {"TEVRIN_DLL_OVERRIDES": "wintab32=n,b", "TEVRIN_SIMULATED_PEN_RAMP": RAMP}
    status, texts = harness.run_then_close(
        copy, lambda process: draw_then_quit(process, harness.WindowProbe(probe_exe), shots), cwd=folder, env=ramp)
    check(status == 0, f"the program exits 0 (got {status})")
    check("AppWindow::HandleDestroyEvent\n" not in texts, "WM_QUIT, not the window's destruction, ends the loop")
    check("tevrin::Application::~Application\n" in texts, "the program tears down")
    created = [t for t in texts if re.fullmatch(r"Tablet context created for window [0-9A-Fa-f]+\n", t)]
    check("Tablet device found, id = 'Simulated Tablet'\n" in texts, "the log names the simulated device")
    check(len(created) == 2, f"a context for each surface ({len(created)})")
    check(not any(t.startswith("ERROR for window ") for t in texts), "no error line")
    check(texts.count("Tablet proximity event, value: TRUE\n") == 2, "the pen enters both surfaces")
    # The press reads packet 0, so the n-th move logs packet n, however many moves came.
    logged = [int(m.group(1)) for m in (re.fullmatch(r"Pressure: (\d+)%\n", t) for t in texts) if m]
    check(len(logged) >= RAMP_STEPS and logged == [logged_percent(step) for step in range(1, len(logged) + 1)],
          f"every packet of the ramp reached a pointer move, and the logged pressures follow it: {logged}")
    check(logged[:1] != logged[-1:] == [100], "the logged pressures climb to 100%")
    check([t for t in texts if t.startswith("Pointer ")] == [f"Pointer {at} on GDI surface\n" for at in ("DOWN", "UP")],
          "the stroke is one press and one release on the GDI surface")
    return check.summary()


def draw_then_quit(process, probe, shots):
    draw_and_check_stroke(process, shots, *probe.wait_for_start_up(process))
    check(probe.raw("post-quit") is not None, "WM_QUIT is posted to the main window's thread")
    process.wait(timeout=60)


def draw_and_check_stroke(process, shots, x0, y0):
    desktop.drag([(x0 + x, y0 + STROKE_Y) for x in range(20, 341, 10)], harness.pointer_settle(process))

    def painted():
        shot = desktop.Screenshot(os.path.join(shots, "tablet-pressure-stroke.png"))
        widths = [shot.dark_rows(x0 + x, y0 + STROKE_Y - 40, y0 + STROKE_Y + 41) for x in COLUMNS]
        return widths[-1] == FULL_PRESSURE_ROWS and (shot, widths)
    painting = harness.wait_until(painted, timeout=20)
    if not check(painting, "the stroke's end is painted at full pressure"):
        return
    shot, widths = painting
    # The first packet, raw 300, maps to a 2-pixel stamp at gamma 3; neighbouring round
    # stamps of growing size may leave a one-row step back.
    check(0 < widths[0] <= 5 and all(b >= a - 1 for a, b in zip(widths, widths[1:])) and widths[4] > widths[2] >
          widths[0] and widths[-3:] == [FULL_PRESSURE_ROWS] * 3 and shot.grey(x0 + 120, y0 + STROKE_Y) == 0,
          f"the stroke starts thin, widens as the pressure climbs and ends 40 pixels wide, black inside: {widths}")
    shot.crop(os.path.join(shots, "nibscope-tablet-pressure.png"), max(x0 - 8, 0), max(y0 - 30, 0), 740, 680)


if __name__ == "__main__":
    sys.exit(main())
