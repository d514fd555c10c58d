"""The real program with a pen: a copy of it beside the simulated WinTab driver, which
plays back a climbing pressure ramp (TEVRIN_SIMULATED_PEN_RAMP). One long horizontal
stroke with real X input on the GDI surface must widen as the pressure climbs, the log
must report the simulated device, a context per surface and climbing percentages, and
the program must close with exit status 0.

    tablet_pressure_test.py NIBSCOPE_EXE WINTAB_DLL WINDOW_PROBE_EXE BUILD_FOLDER SCREENSHOT_FOLDER SCENARIO_FOLDER
"""
import os
import re
import shutil
import struct
import sys

import desktop
import harness
import wine_debug

DEVICE_NAME = "Simulated Tablet"
# Raw pressures 300 to 1023 of a 0..1023 axis in 17 packets: the pointer press takes the
# first, each pointer move the next, so the stroke's second half is at full pressure.
RAMP_FIRST, RAMP_LAST, RAMP_STEPS = 300, 1023, 17
GAMMA = 3.0
STROKE_Y, STROKE_START, STROKE_END, STROKE_STEP = 180, 20, 340, 10
FULL_PRESSURE_BAND = 41  # a 40-pixel stamp, drawn with the round mask one pixel wider
BACKGROUND = 192
check = harness.Checks()


def dark_band(shot, x, top, bottom):
    """Rows in column x between top and bottom whose grey is below the background."""
    return [y for y in range(top, bottom) if (shot.grey(x, y) or 0) < BACKGROUND]


def f32(value):
    return struct.unpack("f", struct.pack("f", value))[0]


def ramp_pressure(step):
    """The driver's raw pressure of packet `step`: nearest on the line, then the last value."""
    if step >= RAMP_STEPS - 1:
        return RAMP_LAST
    intervals = RAMP_STEPS - 1
    return RAMP_FIRST + ((RAMP_LAST - RAMP_FIRST) * step + intervals // 2) // intervals


def logged_percent(raw):
    """The "Pressure: N%" value of a packet, in the program's single precision."""
    pressure = f32(f32(raw) / f32(1023))
    mapped = f32(pressure ** GAMMA)
    return int(f32(f32(mapped * 100) + 0.5))


def prepare_scenario(program, driver, folder):
    """The program beside the driver: LoadLibraryW looks in the program's folder first."""
    os.makedirs(folder, exist_ok=True)
    copy = os.path.join(folder, "nibscope.exe")
    shutil.copy2(program, copy)
    shutil.copy2(driver, os.path.join(folder, "wintab32.dll"))
    return copy


def main():
    program, driver, probe_exe, build, shots, folder = sys.argv[1:7]
    wine_debug.use_display(build)
    os.makedirs(shots, exist_ok=True)
    copy = prepare_scenario(program, driver, folder)
    ramp = f"{RAMP_FIRST},{RAMP_LAST},{RAMP_STEPS}"
    status, texts = harness.run_then_close(
        copy, lambda process: draw_and_check_stroke(process, harness.WindowProbe(probe_exe), shots), cwd=folder,
        env={"TEVRIN_DLL_OVERRIDES": "wintab32=n,b", "TEVRIN_SIMULATED_PEN_RAMP": ramp})
    check(status == 0, f"the program ended with exit status 0 (got {status})")
    check_log(texts)
    return check.summary()


def draw_and_check_stroke(process, probe, shots):
    x0, y0 = probe.wait_for_start_up(process)
    # Every move waits for its pointer line, so each arrives as a pointer move of its own.
    desktop.drag([(x0 + x, y0 + STROKE_Y) for x in range(STROKE_START, STROKE_END + 1, STROKE_STEP)],
                 harness.pointer_settle(process))
    columns = [25, 60, 100, 140, 180, 230, 280, 330]

    def painted():
        shot = desktop.Screenshot(os.path.join(shots, "tablet-pressure-stroke.png"))
        widths = [len(dark_band(shot, x0 + x, y0 + STROKE_Y - 40, y0 + STROKE_Y + 41)) for x in columns]
        return widths[-1] == FULL_PRESSURE_BAND and (shot, widths)
    painting = harness.wait_until(painted, timeout=20)
    if not check(painting, "the stroke's end is painted at full pressure"):
        return
    shot, widths = painting
    print("dark rows by column:", dict(zip(columns, widths)))
    # The first packet, raw 300, maps to a 2-pixel stamp at gamma 3.
    check(0 < widths[0] <= 5, f"the stroke starts thin ({widths[0]} dark rows at x = {columns[0]})")
    # Neighbouring round stamps of growing size may leave a one-row step back.
    check(all(b >= a - 1 for a, b in zip(widths, widths[1:])), f"the stroke never narrows along its length {widths}")
    check(widths[4] > widths[2] > widths[0], f"the stroke widens as the pressure climbs {widths}")
    check(widths[-3:] == [FULL_PRESSURE_BAND] * 3,
          f"once the ramp is at its last value the stroke is as wide as a 40-pixel stamp {widths[-3:]}")
    check(shot.grey(x0 + STROKE_START + 100, y0 + STROKE_Y) == 0, "the stroke's centre line is black")
    check(shot.grey(x0 + 180, y0 + 60) == BACKGROUND and shot.grey(x0 + 180, y0 + 300) == BACKGROUND,
          "pixels away from the stroke stay 192")
    shot.crop(os.path.join(shots, "nibscope-tablet-pressure.png"), max(x0 - 8, 0), max(y0 - 30, 0), 740, 680)


def check_log(texts):
    check(f"Tablet device found, id = '{DEVICE_NAME}'\n" in texts, f"the log names the device '{DEVICE_NAME}'")
    created = [t for t in texts if re.fullmatch(r"Tablet context created for window [0-9A-Fa-f]+\n", t)]
    check(len(created) == 2, f"a tablet context is created for each surface ({len(created)} lines)")
    check(not any(t.startswith("ERROR for window ") for t in texts), "no tablet error is logged")
    check(texts.count("Tablet proximity event, value: TRUE\n") == 2, "the pen enters both contexts")

    logged = [int(m.group(1)) for m in (re.fullmatch(r"Pressure: (\d+)%\n", t) for t in texts) if m]
    # The press reads packet 0, so the n-th move logs packet n; the sequence is exact
    # however many moves the display delivered.
    expected = [logged_percent(ramp_pressure(step)) for step in range(1, len(logged) + 1)]
    print("logged pressures:", logged)
    check(len(logged) >= RAMP_STEPS, f"every packet of the ramp reached a pointer move ({len(logged)} moves)")
    check(logged == expected, f"the logged pressures follow the ramp (expected {expected})")
    check(logged[:1] != logged[-1:] and logged == sorted(logged), "the logged pressures climb")
    check(logged[-1:] == [100], "the stroke ends at 100%")
    order = [texts.index(t) if t in texts else None for t in
             ("Pointer DOWN on GDI surface\n", "Pointer UP on GDI surface\n")]
    check(None not in order and order == sorted(order), "the stroke is one press and one release on the GDI surface")


if __name__ == "__main__":
    sys.exit(main())
