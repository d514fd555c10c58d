"""nibscope-report --capture against Wine's own wintab32 and a real X pen: the counts and
pressures the report gives back are the ones the pen sent, and its checks of a driver
that answers. The capture runs for the longest time allowed and ends when the test
closes its window, once the program has counted every packet: a busy machine only
makes the test slower.

usage: pen_capture_test.py REPORT_EXE BUILD_DIR"""
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import xorg_pen  # noqa: E402

REPORT, BUILD = sys.argv[1:3]
TITLE = "Nibscope report: hover and draw here"
PRESSURES = [0, 300, 700, 1200, 2047, 900, 5]  # raw values along the stroke


def window_centre():
    """The capture window's middle on the screen, once the window is there."""
    def geometry():
        found = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$", "getwindowgeometry", "--shell"],
                               capture_output=True, text=True).stdout
        values = dict(line.split("=", 1) for line in found.split() if "=" in line)
        return values if "WIDTH" in values else None
    values = xorg_pen.wait_until(geometry, 60, f"window '{TITLE}'")
    return int(values["X"]) + int(values["WIDTH"]) // 2, int(values["Y"]) + int(values["HEIGHT"]) // 2


def draw(pen, x, y):
    """A stroke: hover in, touch, the pressures along a line, lift, leave. Returns the
    packets Wine makes of it: one for each report and each proximity or button change."""
    pen.enter(x, y)
    pen.down(x, y, PRESSURES[0])
    for step, pressure in enumerate(PRESSURES[1:], 1):
        pen.move(x + 4 * step, y, pressure)
    pen.up(x + 4 * len(PRESSURES), y)
    pen.leave()
    reports = 1 + len(PRESSURES) + 1
    return reports + 2 + 2


def main():
    with xorg_pen.PenDisplay(BUILD) as pen:
        pen.use()
        progress = tempfile.TemporaryFile()
        program = subprocess.Popen([xorg_pen.harness.WINE_RUN, REPORT, "--check", "--capture", "600", "--json"],
                                  stdout=subprocess.PIPE, stderr=progress)
        centre = window_centre()
        shown = lambda: os.pread(progress.fileno(), 1 << 16, 0).decode().replace("\r\n", "\n").split("\r")[-1]
        # The countdown starts once the context is open: packets before it would be lost.
        xorg_pen.wait_until(lambda: "Capturing:" in shown(), 60, "capture")
        sent = draw(pen, *centre)
        # The countdown line shows the packets read so far, once a second.
        xorg_pen.wait_until(lambda: shown().endswith(f" {sent} packets "), 60, f"count of {sent} packets")
        subprocess.run([os.environ["TEVRIN_WINE"], "taskkill", "/im", os.path.basename(REPORT)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        out, _ = program.communicate(timeout=120)
    report = json.loads(out)
    capture, checks = report["capture"], {c["id"]: c["outcome"] for c in report["checks"]}
    print(json.dumps(capture, indent=1))
    pressure = capture["pressure"] or {}
    expected = {"exit status": (program.returncode, 0), "packets": (capture["packets"], sent),
                "seconds asked for": (capture["seconds"], 600),
                "the close ended the capture": (shown(), f"Captured {sent} packets.                    \n"),
                "proximity enters": (capture["proximity_enters"], 1),
                "proximity leaves": (capture["proximity_leaves"], 1),
                "pressure minimum": (pressure.get("minimum"), min(PRESSURES)),
                "pressure maximum": (pressure.get("maximum"), max(PRESSURES)),
                "distinct pressures": (pressure.get("distinct_values"), len(set(PRESSURES))),
                "queue errors": (capture["queue_errors"], 0),
                "pressure axis": (report["devices"][0]["normal_pressure"]["maximum"], xorg_pen.PRESSURE_MAX),
                "checks": ((checks["interface-answers"], checks["pressure-range"], checks["context-opens"]),
                           ("PASS", "PASS", "PASS")),
                # Wine 8 counts one cursor but serves the stylus as cursor 1: cursor 0 answers nothing.
                "cursor check": (checks["cursors-answer"], "WARN")}
    failures = [f"{name}: {actual!r}, expected {wanted!r}" for name, (actual, wanted) in expected.items()
                if actual != wanted]
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
