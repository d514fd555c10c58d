"""The real program with a pen: a copy of it beside the simulated WinTab driver, which
plays back a climbing pressure ramp (TEVRIN_SIMULATED_PEN_RAMP). One long horizontal
stroke with real X input on the GDI surface must widen as the pressure climbs, and the
log must report the simulated device, a context per surface and climbing percentages.
Then WM_QUIT posted to the program's thread ends the main loop without dispatching it:
the program tears down and exits with status 0 while its window still exists.
Then the same with drivers that lie (LIES), each in a run of its own with a short
stroke, closed as a user closes it: the program logs its usual lines, reads what the
lie leaves right and exits 0, and no run leaves Wine a heap complaint.

Given the x86 program and driver, the lies make way for the x86 program on 64-bit
Windows, in a prefix of its own: the x86 driver installed as the 32-bit system folder's
wintab32.dll (SysWOW64), the program started from a folder of its own. It must find the
tablet, open a context for each surface and draw the stroke pixel for pixel as the x64
program beside the x64 driver drew it, logging the same pressures.

    tablet_pressure_test.py NIBSCOPE_EXE WINTAB_DLL WINDOW_PROBE_EXE BUILD_FOLDER SCREENSHOT_FOLDER SCENARIO_FOLDER
                            [NIBSCOPE_X86_EXE WINTAB_X86_DLL]
"""
import os
import re
import shutil
import struct
import subprocess
import sys

import desktop
import harness

# Raw pressures 300 to 1023 of a 0..1023 axis in 17 packets: the pointer press takes the
# first, each pointer move the next, so the stroke's second half is at full pressure.
RAMP_FIRST, RAMP_LAST, RAMP_STEPS = 300, 1023, 17
RAMP = f"{RAMP_FIRST},{RAMP_LAST},{RAMP_STEPS}"
STROKE_Y, COLUMNS = 180, [25, 60, 100, 140, 180, 230, 280, 330]
SURFACE = 360  # the GDI surface's width
FULL_PRESSURE_ROWS = 41  # a 40-pixel stamp, drawn with the round mask one pixel wider
# Wine's heap channel, on from warn level, prints "warn:heap:" or "err:heap:" lines when
# a heap call meets a pointer that is no block of the heap or a damaged block, even when
# the program goes on. A few bytes written into a block's slack go unseen there.
WINEDEBUG = "-all,+debugstr,warn+seh,warn+heap"
# TEVRIN_SIMULATED_QUIRKS (simulated_wintab.cpp says what each does), and the packets each
# read finds: the one the ramp queued, or for count-over the count clamped to the program's
# queue, whose newest slot is empty (pressure 0): the scan stops at the queue's end. The
# device name is read whole whatever its size query answers; write-over's filler past the
# packets asked for lands in the packet buffer's guard room, never in another heap block.
LIES = [("count-over", 128), ("write-over", 1), ("size-huge", 1), ("long-axis", 1), ("long-context", 1),
        ("long-marks", 1), ("ansi-context-name", 1), ("no-counts", 1), ("name-size-zero", 1), ("name-size-short", 1)]
check = harness.Checks()


def ramp_percents(moves):
    """The "Pressure: N%" the moves log at gamma 3, in the program's single precision: the
    press reads packet 0, so the n-th move logs packet n, however many moves came."""
    f32 = lambda value: struct.unpack("f", struct.pack("f", value))[0]
    intervals = RAMP_STEPS - 1
    raws = [RAMP_FIRST + ((RAMP_LAST - RAMP_FIRST) * min(step, intervals) + intervals // 2) // intervals
            for step in range(1, moves + 1)]
    return [int(f32(f32(f32(f32(f32(raw) / f32(1023)) ** 3.0) * 100) + 0.5)) for raw in raws]


def main():
    x86 = sys.argv[7:9]
    if x86:
        os.environ["TEVRIN_WINE_PREFIX"] = "x86"  # its system folder is changed
    try:
        check_programs(*sys.argv[1:7], x86)
    finally:
        if x86:
            subprocess.run([harness.WINE_RUN, "--stop", sys.argv[4]], check=False)
    return check.summary()


def check_programs(program, driver, probe_exe, build, shots, folder, x86):
    harness.use_display(build)
    # The program beside the driver: LoadLibraryW looks in the program's folder first.
    for needed in (shots, folder):
        os.makedirs(needed, exist_ok=True)
    shutil.copy2(driver, os.path.join(folder, "wintab32.dll"))
    copy = shutil.copy2(program, os.path.join(folder, "nibscope.exe"))
    probe = harness.WindowProbe(probe_exe)
    stroke = []
    status, texts = run(copy, folder, "", lambda process: draw_then_quit(process, probe, shots, stroke))
    check(status == 0, f"the program exits 0 (got {status})")
    check("AppWindow::HandleDestroyEvent\n" not in texts, "WM_QUIT, not the window's destruction, ends the loop")
    check("tevrin::Application::~Application\n" in texts, "the program tears down")
    check_ramp("honest driver", texts)
    if x86:
        return check_x86_program(*x86, folder, probe, shots, stroke[0])
    for lie, found in LIES:
        status, texts = run(copy, folder, lie, lambda process: draw_short_stroke(process, probe))
        check(status == 0, f"{lie}: closed, the program exits 0 (got {status})")
        check(texts[-1:] == ["tevrin::Application::~Application\n"], f"{lie}: the program tears down last")
        logged = check_usual_lines(lie, texts)
        reads = {t for t in texts if t.endswith(" packets found\n")}
        check(reads == {f"{found} packets found\n"}, f"{lie}: every read finds {found} packets: {sorted(reads)}")
        expected = ramp_percents(len(logged)) if found == 1 else [0] * len(logged)
        check(len(logged) >= 3 and logged == expected, f"{lie}: the logged pressures are as expected: {logged}")


def check_x86_program(program, driver, folder, probe, shots, x64_stroke):
    system32bit = os.path.join(os.environ["WINEPREFIX"], "drive_c", "windows", "syswow64")
    check(os.path.isdir(system32bit), "the prefix has a 32-bit system folder")
    shutil.copy2(driver, os.path.join(system32bit, "wintab32.dll"))
    x86 = os.path.join(folder, "x86")
    os.makedirs(x86, exist_ok=True)
    copy = shutil.copy2(program, os.path.join(x86, "nibscope.exe"))
    stroke = []
    # Native only: the x86 program must take the 32-bit system folder's library, nothing of Wine's.
    draw = lambda process: stroke.append(draw_and_check_stroke(process, probe, shots, "x86"))
    status, texts = run(copy, x86, "", draw, overrides="wintab32=n")
    check(status == 0, f"x86: closed, the program exits 0 (got {status})")
    check_ramp("x86", texts)
    check(x64_stroke is not None and stroke == [x64_stroke],
          "the x86 program draws the stroke pixel for pixel as the x64 one")


def check_ramp(what, texts):
    logged = check_usual_lines(what, texts)
    check(len(logged) >= RAMP_STEPS and logged == ramp_percents(len(logged)),
          f"{what}: every packet of the ramp reached a pointer move, and the logged pressures follow it: {logged}")
    check(logged[:1] != logged[-1:] == [100], f"{what}: the logged pressures climb to 100%")


def run(copy, folder, lie, action, overrides="wintab32=n,b"):
    """Runs the program with the driver playing the ramp with the lie; returns its exit
    status and debugger texts, with a check that Wine's heap channel said nothing."""
    started = []
    status, texts = harness.run_then_close(copy, lambda process: action(started.append(process) or process), cwd=folder,
                                           env={"TEVRIN_DLL_OVERRIDES": overrides, "TEVRIN_SIMULATED_PEN_RAMP": RAMP,
                                                "TEVRIN_SIMULATED_QUIRKS": lie, "WINEDEBUG": WINEDEBUG})
    started[0].debugger_output.seek(0)
    complaints = [line for line in started[0].debugger_output if ":heap:" in line]
    check(not complaints, f"{lie or os.path.basename(folder)}: no heap complaint from Wine: {complaints[:3]}")
    return status, texts


def check_usual_lines(what, texts):
    """Checks the lines every run logs: the device's name, a context for each surface, the
    pen entering both and one press and release on the GDI surface. Returns the pressures
    the moves logged."""
    created = [t for t in texts if re.fullmatch(r"Tablet context created for window [0-9A-Fa-f]+\n", t)]
    check("Tablet device found, id = 'Simulated Tablet'\n" in texts, f"{what}: the log names the simulated device")
    check(len(created) == 2, f"{what}: a context for each surface ({len(created)})")
    check(not any(t.startswith("ERROR for window ") for t in texts), f"{what}: no error line")
    check(texts.count("Tablet proximity event, value: TRUE\n") == 2, f"{what}: the pen enters both surfaces")
    check([t for t in texts if t.startswith("Pointer ")] == [f"Pointer {at} on GDI surface\n" for at in ("DOWN", "UP")],
          f"{what}: the stroke is one press and one release on the GDI surface")
    return [int(m.group(1)) for m in (re.fullmatch(r"Pressure: (\d+)%\n", t) for t in texts) if m]


def draw_then_quit(process, probe, shots, stroke):
    stroke.append(draw_and_check_stroke(process, probe, shots, "honest driver"))
    check(probe.raw("post-quit") is not None, "WM_QUIT is posted to the main window's thread")
    process.wait(timeout=60)


def draw_short_stroke(process, probe):
    x0, y0 = probe.wait_for_start_up(process)
    desktop.drag([(x0 + x, y0 + STROKE_Y) for x in range(20, 101, 10)], harness.pointer_settle(process))
    harness.wait_until(lambda: "Pointer UP on GDI surface\n" in harness.debugger_texts(process), timeout=10)


def draw_and_check_stroke(process, probe, shots, what):
    """Draws the long stroke on the GDI surface and checks its widths; returns the
    surface's rows around it as screen pixels, or None when its end was not painted."""
    x0, y0 = probe.wait_for_start_up(process)
    desktop.drag([(x0 + x, y0 + STROKE_Y) for x in range(20, 341, 10)], harness.pointer_settle(process))

    def painted():
        shot = desktop.Screenshot(os.path.join(shots, "tablet-pressure-stroke.png"))
        widths = [shot.dark_rows(x0 + x, y0 + STROKE_Y - 40, y0 + STROKE_Y + 41) for x in COLUMNS]
        return widths[-1] == FULL_PRESSURE_ROWS and (shot, widths)
    painting = harness.wait_until(painted, timeout=20)
    if not check(painting, f"{what}: the stroke's end is painted at full pressure"):
        return None
    shot, widths = painting
    # The first packet, raw 300, maps to a 2-pixel stamp at gamma 3; neighbouring round
    # stamps of growing size may leave a one-row step back.
    check(0 < widths[0] <= 5 and all(b >= a - 1 for a, b in zip(widths, widths[1:])) and widths[4] > widths[2] >
          widths[0] and widths[-3:] == [FULL_PRESSURE_ROWS] * 3 and shot.grey(x0 + 120, y0 + STROKE_Y) == 0,
          f"{what}: the stroke starts thin, widens as the pressure climbs and ends 40 pixels wide, black inside: {widths}")
    shot.crop(os.path.join(shots, "nibscope-tablet-pressure.png"), max(x0 - 8, 0), max(y0 - 30, 0), 740, 680)
    row = 3 * shot.width
    rows = range(y0 + STROKE_Y - 45, y0 + STROKE_Y + 46)
    return [shot.rgb[y * row + 3 * x0:y * row + 3 * (x0 + SURFACE)] for y in rows]


if __name__ == "__main__":
    sys.exit(main())
