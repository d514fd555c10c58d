"""The x86 program on 64-bit Windows: the x86 simulated WinTab driver installed as the
32-bit system folder's wintab32.dll (SysWOW64), the x86 program started from a folder
of its own. It must find the tablet, open a context for each surface and draw the known
pressure stroke pixel for pixel as the x64 program beside the x64 driver draws it, with
the same logged pressures. The prefix is one of its own, since its system folder is
changed.

    x86_pressure_test.py NIBSCOPE_EXE WINTAB_DLL NIBSCOPE_X86_EXE WINTAB_X86_DLL WINDOW_PROBE_EXE BUILD_FOLDER
                         SCREENSHOT_FOLDER SCENARIO_FOLDER
"""
import os
import shutil
import subprocess
import sys

import desktop
import harness
import tablet_pressure_test as pressure

check = pressure.check
SURFACE = 360


def stroke(program, folder, environment, probe, shot_path):
    """Runs the program, draws the ramp's stroke on the GDI surface and returns the logged
    pressures and the surface's rows around the stroke as screen pixels."""
    result = {}

    def draw(process):
        x0, y0 = probe.wait_for_start_up(process)
        desktop.drag([(x0 + x, y0 + pressure.STROKE_Y) for x in range(20, 341, 10)], harness.pointer_settle(process))
        top, bottom = y0 + pressure.STROKE_Y - 45, y0 + pressure.STROKE_Y + 46

        def painted():
            shot = desktop.Screenshot(shot_path)
            return shot.dark_rows(x0 + 330, top, bottom) == pressure.FULL_PRESSURE_ROWS and shot
        shot = harness.wait_until(painted, timeout=20)
        result["pixels"] = shot and [shot.pixel(x, y) for y in range(top, bottom) for x in range(x0, x0 + SURFACE)]
    environment = dict(environment, TEVRIN_SIMULATED_PEN_RAMP=pressure.RAMP, WINEDEBUG=pressure.WINEDEBUG)
    status, texts = harness.run_then_close(program, draw, cwd=folder, env=environment)
    check(status == 0, f"{os.path.basename(folder)}: the program exits 0 (got {status})")
    return pressure.check_usual_lines(os.path.basename(folder), texts), result.get("pixels")


def main():
    program, driver, program_x86, driver_x86, probe_exe, build, shots, folder = sys.argv[1:9]
    os.environ["TEVRIN_WINE_PREFIX"] = "x86"
    harness.use_display(build)
    try:
        system32bit = os.path.join(os.environ["WINEPREFIX"], "drive_c", "windows", "syswow64")
        check(os.path.isdir(system32bit), "the prefix has a 32-bit system folder")
        shutil.copy2(driver_x86, os.path.join(system32bit, "wintab32.dll"))
        x64, x86 = os.path.join(folder, "x64"), os.path.join(folder, "x86")
        for needed in (shots, x64, x86):
            os.makedirs(needed, exist_ok=True)
        shutil.copy2(driver, os.path.join(x64, "wintab32.dll"))
        probe = harness.WindowProbe(probe_exe)
        wide = stroke(shutil.copy2(program, x64), x64, {"TEVRIN_DLL_OVERRIDES": "wintab32=n,b"}, probe,
                      os.path.join(shots, "x64-pressure-stroke.png"))
        # Native only: the x86 program must take the 32-bit system folder's library, nothing of Wine's.
        narrow = stroke(shutil.copy2(program_x86, os.path.join(x86, "nibscope.exe")), x86,
                        {"TEVRIN_DLL_OVERRIDES": "wintab32=n"}, probe, os.path.join(shots, "x86-pressure-stroke.png"))
        check(len(narrow[0]) >= pressure.RAMP_STEPS and narrow[0] == wide[0],
              f"the x86 program logs the pressures the x64 one logs: {narrow[0]} and {wide[0]}")
        check(wide[1] is not None and narrow[1] == wide[1], "the x86 program draws the stroke pixel for pixel as the x64 one")
    finally:
        subprocess.run([harness.WINE_RUN, "--stop", build], check=False)
    return check.summary()


if __name__ == "__main__":
    sys.exit(main())
