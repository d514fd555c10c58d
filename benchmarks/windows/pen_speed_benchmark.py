"""The pen at full speed, measured from outside as a user feels it: the real program
under Wine on the build folder's private display, driven with real X input, through the
end-to-end tests' harness. For each program named (an earlier build beside the current
one prints both in one run):
- a burst of 2,004 proximity messages posted to its GDI surface, as a driver may send
  them: the longest time its main window then leaves a message sent to it unanswered;
- fast strokes on the GDI surface: 200 pointer positions sent with xdotool within about
  a second; the share of them that reached the program as pointer moves (each logs a
  "Pressure: " line). Wine merges the moves that wait in the queue, so a busy program
  draws a coarser stroke through fewer positions;
- idle: the processor time the program and the prefix's wineserver take while the
  program sits idle for IDLE_SECONDS after start-up, and how often the program's threads
  woke (voluntary context switches, from Linux's /proc).

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

BURST, POSITIONS, STROKES, STROKE_SECONDS, IDLE_SECONDS = 2004, 200, 3, 1.0, 10.0
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def children(pid):
    """The Linux processes started, directly or not, by pid (tools/wine-run becomes the
    program itself)."""
    parents = {}
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/stat") as stat:
                parents[int(entry)] = int(stat.read().rpartition(")")[2].split()[1])
        except (OSError, ValueError):
            continue
    found, todo = [], [pid]
    while todo:
        parent = todo.pop()
        for child, its_parent in parents.items():
            if its_parent == parent:
                found.append(child)
                todo.append(child)
    return found


def wineservers():
    """The wineserver of this run's prefix (it serves every Wine call of the program)."""
    prefix = os.environ.get("WINEPREFIX", "").encode()
    found = []
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as cmdline, open(f"/proc/{entry}/environ", "rb") as environ:
                if b"wineserver" in cmdline.read().split(b"\0")[0] and b"WINEPREFIX=" + prefix + b"\0" in environ.read():
                    found.append(int(entry))
        except OSError:
            continue
    return found


def processor_seconds_and_wakes(pids):
    seconds = wakes = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rpartition(")")[2].split()
            seconds += (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime, stime
            for task in os.listdir(f"/proc/{pid}/task"):
                with open(f"/proc/{pid}/task/{task}/status") as status:
                    wakes += sum(int(line.split()[1]) for line in status if line.startswith("voluntary_ctxt"))
        except OSError:
            continue
    return seconds, wakes


def idle_usage(process):
    """Processor milliseconds of the program and of the wineserver over IDLE_SECONDS of
    idling, and the program's wakes per second."""
    program, servers = [process.pid, *children(process.pid)], wineservers()
    program_before, wakes_before = processor_seconds_and_wakes(program)
    server_before, _ = processor_seconds_and_wakes(servers)
    time.sleep(IDLE_SECONDS)
    program_after, wakes_after = processor_seconds_and_wakes(program)
    server_after, _ = processor_seconds_and_wakes(servers)
    return (1000 * (program_after - program_before), 1000 * (server_after - server_before),
            (wakes_after - wakes_before) / IDLE_SECONDS)


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
        program_ms, server_ms, wakes = idle_usage(process)
        print(f"{label}: idle {IDLE_SECONDS:.0f} s: program {program_ms:.0f} ms of processor time "
              f"({program_ms / IDLE_SECONDS / 10:.1f} %), wineserver {server_ms:.0f} ms, "
              f"{wakes:.0f} wakes a second", flush=True)
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
