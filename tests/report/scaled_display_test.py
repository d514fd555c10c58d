"""nibscope-report on a display scaled to 150 % (a prefix of its own with LogPixels 144):
declared per-monitor DPI aware by its manifest, it reports the monitor's real DPI and
its physical rectangle. Wine 8 treats a program without a manifest as per-monitor aware
too (Windows would scale its coordinates and say 96), so the manifest is also looked for
in the file itself.

usage: scaled_display_test.py REPORT_EXE BUILD_DIR"""
import json
import os
import subprocess
import sys

REPORT, BUILD = sys.argv[1:3]
WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "wine-run")


def main():
    environment = dict(os.environ, TEVRIN_WINE_DPI="144")
    try:
        out = subprocess.run([WINE_RUN, REPORT, "--json"], env=environment, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=120).stdout
    finally:
        subprocess.run([WINE_RUN, "--stop", BUILD], env=environment, timeout=60)
    report = json.loads(out)
    monitor = report["displays"]["monitors"][0]
    with open(REPORT, "rb") as exe:
        image = exe.read()
    expected = {"monitor DPI": (monitor["dpi"], 144), "physical rectangle": (monitor["rectangle"], [0, 0, 1280, 1024]),
                "awareness": (report["system"]["dpi_awareness"], "per-monitor aware"),
                "manifest": (b"<dpiAwareness" in image and b"PerMonitorV2, PerMonitor</dpiAwareness>" in image, True)}
    failures = [f"{name}: {actual!r}, expected {wanted!r}" for name, (actual, wanted) in expected.items()
                if actual != wanted]
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
