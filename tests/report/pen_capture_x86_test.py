"""The x86 report (nibscope-report's 32-bit twin) against Wine's own 32-bit wintab32 and a real X pen: it
finds the tablet, its checks of the interface and the contexts pass, and a short capture counts the packets
and pressures the pen sent, as the x64 report's capture test has them.

usage: pen_capture_x86_test.py REPORT_X86_EXE BUILD_DIR"""
import json
import os
import subprocess
import sys
import tempfile

import pen_capture_test as x64  # the stroke, the window and the pen's pressures are the same
from pen_capture_test import xorg_pen

SECONDS = 8  # enough to start the window and draw, whatever the machine's load


def main():
    report_exe, build = sys.argv[1:3]
    with xorg_pen.PenDisplay(build) as pen:
        pen.use()
        progress = tempfile.TemporaryFile()
        program = subprocess.Popen([xorg_pen.harness.WINE_RUN, report_exe, "--check", "--capture", str(SECONDS), "--json"],
                                   stdout=subprocess.PIPE, stderr=progress)
        *centre, _ = x64.window_centre()
        # The window comes before its context: the pen draws once the countdown says packets are read.
        xorg_pen.wait_until(lambda: b"Capturing:" in os.pread(progress.fileno(), 1 << 16, 0), 60, "capture")
        sent = x64.draw(pen, *centre)
        out, _ = program.communicate(timeout=120)
    report = json.loads(out)
    capture, checks = report["capture"], {c["id"]: c["outcome"] for c in report["checks"]}
    pressure = capture["pressure"] or {}
    expected = {"exit status": (program.returncode, 0), "machine": (report["driver_library"]["machine"], "x86"),
                "device": (report["devices"][0]["name"], "Wine Tablet Device"),
                "pressure axis": (report["devices"][0]["normal_pressure"]["maximum"], xorg_pen.PRESSURE_MAX),
                "default context's device": (report["contexts"]["default_system"]["device"], 0),
                "packets": (capture["packets"], sent), "pressure minimum": (pressure.get("minimum"), min(x64.PRESSURES)),
                "pressure maximum": (pressure.get("maximum"), max(x64.PRESSURES)),
                "proximity enters and leaves": ((capture["proximity_enters"], capture["proximity_leaves"]), (1, 1)),
                "checks": (tuple(checks[c] for c in ("library-machine", "interface-answers", "pressure-range",
                                                     "context-opens", "pressure-reach", "packet-loss")), ("PASS",) * 6)}
    failures = [f"{name}: {actual!r}, expected {wanted!r}" for name, (actual, wanted) in expected.items() if actual != wanted]
    for failure in failures:
        print("FAIL:", failure)
    print(report["summary"])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
