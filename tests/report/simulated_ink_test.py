"""The Windows Ink side of a capture end to end under Wine, which has no pointer input:
nibscope-report-simulated-ink.exe, the program with test pointer functions in place of
user32's, plays a known pen stroke into its real capture window as WM_POINTER messages
(tests/report/simulated_ink). Beside the simulated WinTab driver, with and without its
stroke and with and without pointer pressure, the verdicts come out as they should;
the points' statistics, clock and charts are the stroke's, and the live window draws
its orange trail and strip chart. The shipped program holds none of the test's code.

usage: simulated_ink_test.py SCENARIO_DIR BUILD_DIR"""
import json
import os
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import desktop  # noqa: E402
import harness  # noqa: E402

SCENARIO, BUILD = sys.argv[1:3]
INK = os.path.join(SCENARIO, "nibscope-report-simulated-ink.exe")
TITLE = "Nibscope report: hover and draw here"
NATIVE = {"TEVRIN_DLL_OVERRIDES": "wintab32=n,b"}
STROKE = dict(NATIVE, TEVRIN_SIMULATED_STROKE="1")
INK_CHART = (230, 120, 0)


def orange(pixel):  # the trail of a pointer pen in contact
    red, green, blue = pixel
    return red >= 200 and green <= 130 and blue <= 10


def live_window(path):
    """Orange trail pixels on the best row near the window's middle (the stroke runs 80
    pixels to the right of the client area's middle) and orange chart pixels."""
    text = desktop.xdotool("search", "--name", f"^{TITLE}$", "getwindowgeometry", "--shell")
    values = {k: int(v) for k, v in (line.split("=", 1) for line in text.split() if "=" in line) if k != "WINDOW"}
    x, y = values["X"] + values["WIDTH"] // 2, values["Y"] + values["HEIGHT"] // 2
    shot = desktop.Screenshot(path)
    trail = max(sum(orange(shot.pixel(px, py)) for px in range(x + 8, x + 77)) for py in range(y - 30, y + 30))
    bottom = values["Y"] + values["HEIGHT"]
    chart = sum(shot.pixel(px, py) == INK_CHART for px in range(values["X"], values["X"] + values["WIDTH"])
                for py in range(bottom - values["HEIGHT"] // 5, bottom))
    return trail, chart


def capture(environment, page=None, look=None):
    """A capture that the test ends by closing the window once the stroke was sent and the
    countdown has moved on since (the window has painted it by then). Returns the report."""
    debugger = tempfile.TemporaryFile()
    arguments = ["--check", "--json", "--capture", "600"] + (["--html", "Z:" + page] if page else [])
    program = subprocess.Popen([harness.WINE_RUN, INK, *arguments], stdout=subprocess.PIPE, stderr=debugger,
                               env=dict(os.environ, WINEDEBUG="-all,+debugstr,warn+seh", **environment))
    program.debugger_output = debugger
    try:
        sent = harness.wait_until(lambda: "simulated ink: stroke sent\n" in harness.debugger_texts(program), 60)
        shown = lambda: os.pread(debugger.fileno(), 1 << 20, 0).count(b"Capturing:")
        before = shown()
        harness.wait_until(lambda: shown() > before, 5)
        seen = look() if look and sent else None
    finally:
        subprocess.run([os.environ["TEVRIN_WINE"], "taskkill", "/im", os.path.basename(INK)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        out, _ = program.communicate(timeout=120)
    return json.loads(out or "{}"), seen


def main():
    harness.use_display(BUILD)
    checks = harness.Checks()
    page = os.path.join(SCENARIO, "simulated_ink.html")
    os.makedirs(os.path.join(BUILD, "screenshots"), exist_ok=True)
    shot = os.path.join(BUILD, "screenshots", "report_simulated_ink.png")
    report, (trail, chart) = capture(STROKE, page, lambda: live_window(shot))
    ink = report.get("capture", {}).get("pointer", {})
    checks(report["capture"]["pen_apis"] == "WinTab and Windows Ink", f"verdict with both: {report['capture']['pen_apis']}")
    checks((ink.get("packets"), ink.get("clock")) == (24, "performance counter"), f"points and clock: {ink}")
    checks(ink["in_contact"] == {"packets": 20, "packets_per_second": 250, "median_interval_ms": 4, "p99_interval_ms": 4},
           f"in contact from the counter's times: {ink['in_contact']}")
    checks(ink["pressure"] == {"minimum": 0, "maximum": 1000, "distinct_values": 21}, f"pressure: {ink['pressure']}")
    checks(ink["tilt"] == {"x_minimum": 10, "x_maximum": 10, "y_minimum": -20, "y_maximum": -20}, f"tilt: {ink['tilt']}")
    checks(trail >= 40, f"orange trail pixels on the stroke's row: {trail} of 69 ({shot})")
    checks(chart >= 20, f"orange strip chart pixels: {chart}")
    figures = {f.get("id") for f in ElementTree.parse(page).iter("{http://www.w3.org/1999/xhtml}figure")}
    checks({"ink-pressure", "ink-intervals"} <= figures, f"the page's Windows Ink charts: {sorted(figures)}")
    for name, environment, verdict, outcome in (
            ("Windows Ink alone", NATIVE, "Windows Ink only: WinTab programs get no pressure", "WARN"),
            ("no pressure anywhere", dict(NATIVE, TEVRIN_SIMULATED_INK="no-pressure"), "neither", "FAIL")):
        report, _ = capture(environment)
        outcomes = {c["id"]: c["outcome"] for c in report.get("checks", [])}
        checks((report.get("capture", {}).get("pen_apis"), outcomes.get("pen-apis")) == (verdict, outcome),
               f"{name}: {report.get('capture', {}).get('pen_apis')}, pen-apis {outcomes.get('pen-apis')}")
    for exe, holds in ((os.path.join(SCENARIO, "nibscope-report.exe"), False), (INK, True)):
        with open(exe, "rb") as image:
            checks((b"simulated ink: stroke sent" in image.read()) == holds,
                   f"{os.path.basename(exe)} {'holds' if holds else 'holds none of'} the test's pointer functions")
    return checks.summary()


if __name__ == "__main__":
    sys.exit(main())
