"""The pen at full speed, measured from outside as a user feels it: the real program
under Wine on the build folder's private display, driven with real X input, through the
end-to-end tests' harness. For each program named (an earlier build beside the current
one prints both in one run):
- a burst of 2,004 proximity messages posted to its GDI surface, as a driver may send
  them: the longest time its main window then leaves a message sent to it unanswered;
- fast strokes on the GDI surface: 200 pointer positions sent with xdotool within about
  a second; the share of them that reached the program as pointer moves (each logs a
  "Pressure: " line). Wine merges the moves that wait in the queue, so a busy program
  draws a coarser stroke through fewer positions.

    pen_speed_benchmark.py BUILD_FOLDER WINDOW_PROBE_EXE PROXIMITY_BURST_EXE LABEL=NIBSCOPE_EXE [...]
"""
import math
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
import desktop  # noqa: E402
import harness  # noqa: E402

BURST, POSITIONS, STROKES, STROKE_SECONDS = 2004, 200, 3, 1.0


def pressure_lines(process):
    return sum(t.startswith("Pressure: ") for t in harness.debugger_texts(process))


def releases(process):
    return sum(t.startswith("Pointer UP on ") for t in harness.debugger_texts(process))


def proximity_burst(burst_exe):
    """Longest unanswered wait, and when the last slow answer came after the burst, in ms."""
    result = subprocess.run([harness.WINE_RUN, burst_exe, harness.TITLE, str(BURST)], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, timeout=400, text=True)
    if result.returncode != 0:
        raise RuntimeError(f"proximity_burst failed: {result.stdout.strip()}")
    return [float(value) for value in result.stdout.split()]


def fast_stroke(process, x0, y0):
    """Two turns of a circle across the GDI surface through POSITIONS positions; returns
    the moves the program took and the seconds xdotool took to send them."""
    points = [(x0 + 180 + round(150 * math.cos(4 * math.pi * i / POSITIONS)),
               y0 + 180 + round(150 * math.sin(4 * math.pi * i / POSITIONS))) for i in range(POSITIONS + 1)]
    moves, released = pressure_lines(process), releases(process)
    args = ["mousemove", *points[0], "mousedown", 1]
    for x, y in points[1:]:
        args += ["sleep", f"{STROKE_SECONDS / POSITIONS:.4f}", "mousemove", x, y]
    start = time.monotonic()
    desktop.xdotool(*args, "mouseup", 1)
    sent = time.monotonic() - start
    if not harness.wait_until(lambda: releases(process) > released, timeout=120):
        raise RuntimeError("the stroke's release did not arrive within 2 minutes")
    return pressure_lines(process) - moves, sent


def measure(label, program, probe_exe, burst_exe):
    probe = harness.WindowProbe(probe_exe)

    def action(process):
        x0, y0 = probe.wait_for_start_up(process)
        time.sleep(2)  # start-up's own lines drained and painted
        longest, settled = proximity_burst(burst_exe)
        print(f"{label}: burst of {BURST} proximity messages: longest unanswered {longest:.0f} ms, "
              f"answers quick again {settled / 1000:.1f} s after the burst", flush=True)
        for stroke in range(STROKES):
            moves, sent = fast_stroke(process, x0, y0)
            print(f"{label}: fast stroke {stroke + 1}: {POSITIONS} positions sent in {sent:.2f} s, "
                  f"{moves} pointer moves taken ({100 * moves / POSITIONS:.0f} %)", flush=True)
            time.sleep(1)
    status, _ = harness.run_then_close(program, action)
    if status != 0:
        raise RuntimeError(f"{label}: the program exited with status {status}")


def main():
    build, probe_exe, burst_exe, programs = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    harness.use_display(build)
    for labelled in programs:
        label, _, program = labelled.partition("=")
        measure(label, program, probe_exe, burst_exe)
    return 0


if __name__ == "__main__":
    sys.exit(main())
