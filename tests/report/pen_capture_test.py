"""nibscope-report --capture against Wine's own wintab32 and a real X pen: the counts and
pressures the report gives back are the ones the pen sent, also in the charts of its
HTML page, the live window shows the trail where the pen went and a strip chart of its
pressure, the positions land where the cursor is, the verdict names WinTab alone on a
system without pointer input, and the checks of a driver that answers. Then a mouse
button is held on the window's caption while the pen hovers there for three seconds at
200 reports a second: in the test's own prefix Wine draws the window frames itself
(Managed N) and so runs user32's modal move loop, as Windows does, the window follows
the pointer the pen moves, and the program's own loop waits until the button goes up;
the window's timer reads the queue meanwhile, so no packet is lost. The capture runs
for the longest time allowed and ends when the test closes its window, once the program
has counted every packet: a busy machine only makes the test slower. With
TEVRIN_WINE_DPI set it also checks the monitor's DPI and the manifest that declares the
program per-monitor aware (Wine 8 treats a program without one as aware too).
With --x86 the report is the 32-bit twin against Wine's own 32-bit wintab32: it finds the
tablet, its checks of the interface and the contexts pass, and a short capture counts the
packets and pressures the pen sent.

usage: pen_capture_test.py [--x86] REPORT_EXE BUILD_DIR"""
import json
import os
import re
import subprocess
import sys

from report_harness import SVG, figures, mismatches, start, verdict

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import desktop  # noqa: E402
import xorg_pen  # noqa: E402

X86 = sys.argv[1] == "--x86"
REPORT, BUILD = sys.argv[1 + X86:3 + X86]
X86_SECONDS = 8  # enough to start the window and draw, whatever the machine's load
TITLE = "Nibscope report: hover and draw here"
PRESSURES = [0, 300, 700, 1200, 2047, 900, 5]  # raw values along the stroke
CHART_BLUE = (0, 90, 200)  # WinTab's line in the strip chart
RATE, DRAG_SECONDS = 200, 3


def window_centre():
    """The capture window's middle on the screen, once the window is there."""
    def geometry():
        found = desktop.xdotool("search", "--name", f"^{TITLE}$", "getwindowgeometry", "--shell")
        values = dict(line.split("=", 1) for line in found.split() if "=" in line)
        return values if "WIDTH" in values else None
    values = xorg_pen.wait_until(geometry, 60, f"window '{TITLE}'")
    return int(values["X"]) + int(values["WIDTH"]) // 2, int(values["Y"]) + int(values["HEIGHT"]) // 2, values


def live_window(shot, x, y, values):
    """What the capture window showed after the stroke: dark trail pixels on the stroke's row (it
    runs from x to x + 28, widest where the pressure peaks) and chart pixels in the window's bottom fifth."""
    trail = [shot.pixel(px, y) for px in range(x + 4, x + 25)]
    left, bottom = int(values["X"]), int(values["Y"]) + int(values["HEIGHT"])
    chart = sum(shot.pixel(px, py) == CHART_BLUE for px in range(left, left + int(values["WIDTH"]))
                for py in range(bottom - int(values["HEIGHT"]) // 5, bottom))
    return sum(max(pixel) < 100 for pixel in trail), chart


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


def close(program):
    """Closes the capture window, as its user would; the report the program then prints."""
    subprocess.run([os.environ["TEVRIN_WINE"], "taskkill", "/im", os.path.basename(REPORT)],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    return json.loads(program.communicate(timeout=120)[0])


def stroke_table(report, program):
    """What every capture of the stroke holds: the pen's pressures on the tablet's axis, and a clean exit."""
    pressure = report["capture"]["pressure"] or {}
    return {"exit status": (program.returncode, 0), "pressure minimum": (pressure.get("minimum"), min(PRESSURES)),
            "pressure maximum": (pressure.get("maximum"), max(PRESSURES)),
            "pressure axis": (report["devices"][0]["normal_pressure"]["maximum"], xorg_pen.PRESSURE_MAX)}


def drag_with_hovering_pen(pen, x, y):
    """Holds the button on the caption at x, y while the pen hovers along a zigzag, then
    lets go. Returns the packets Wine makes of it and the window's corner before the button went up."""
    desktop.xdotool("mousemove", "--sync", x, y, "mousedown", 1)
    pen.enter(x, y)
    for step in range(RATE * DRAG_SECONDS):
        zigzag = step % 200 if step % 400 < 200 else 200 - step % 200
        pen.move(x + zigzag, y + zigzag // 2, 0)
    pen.leave()
    moved = window_centre()[2]
    desktop.xdotool("mouseup", 1)
    return 1 + RATE * DRAG_SECONDS + 2, (moved["X"], moved["Y"])


def main():
    os.environ.setdefault("TEVRIN_WINE_PREFIX", "pen-capture")
    with xorg_pen.PenDisplay(BUILD, rate=RATE) as pen:
        pen.use()
        subprocess.run([os.environ["TEVRIN_WINE"], "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                        "/t", "REG_SZ", "/d", "N", "/f"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True, timeout=60)
        page = os.path.join(BUILD, "tests", "report", "pen_capture.html")
        recording = os.path.join(BUILD, "tests", "report", "pen_capture.csv")
        program = start(REPORT, ["--check", "--capture", "600", "--json", "--html", "Z:" + page, "--record", "Z:" + recording])
        *centre, geometry = window_centre()
        shown = program.shown
        # The countdown starts once the context is open: packets before it would be lost.
        xorg_pen.wait_until(lambda: "Capturing:" in shown(), 60, "capture")
        sent = draw(pen, *centre)
        # The countdown line shows the packets read so far, once a second; the window has
        # painted them by then.
        xorg_pen.wait_until(lambda: shown().endswith(f" {sent} packets "), 60, f"count of {sent} packets")
        os.makedirs(os.path.join(BUILD, "screenshots"), exist_ok=True)
        shot = desktop.Screenshot(os.path.join(BUILD, "screenshots", "report_capture_window.png"))
        print("screenshot:", shot.path)
        trail, chart = live_window(shot, *centre, geometry)
        with open(recording, encoding="ascii") as rows:  # written as they came, while the capture still runs
            recorded = sum(1 for row in rows if row.startswith("wintab,"))
        dragged, moved = drag_with_hovering_pen(pen, centre[0], int(geometry["Y"]) + 10)
        # Once the pen has been near, Wine also reports the pointer's move onto the caption
        # as a packet of its own: at least these packets, and no serial number missing.
        counted = lambda: int(re.search(r"(\d+) packets $", shown()).group(1))
        xorg_pen.wait_until(lambda: counted() >= sent + dragged, 60, f"count of {sent + dragged} packets")
        report = close(program)
    capture, checks = report["capture"], {c["id"]: c["outcome"] for c in report["checks"]}
    print(json.dumps(capture, indent=1))
    charts = {f.get("id"): f for f in figures(page)}
    drawn = sum(len(line.get("points").split()) for line in charts["wintab-pressure"].iter(SVG + "polyline"))
    values = {rect.find(SVG + "title").text.split(":")[0] for rect in charts["wintab-pressure-values"].iter(SVG + "rect")
              if rect.get("class") == "pressure-value"}
    with open(REPORT, "rb") as image:
        manifest = b"PerMonitorV2, PerMonitor</dpiAwareness>" in image.read()
    print(f"dragged capture: {capture['packets']} packets, {capture['lost_packets']} lost, "
          f"{capture['queue_errors']} queue errors; the window moved from {geometry['X']},{geometry['Y']} to {moved}")
    expected = {**stroke_table(report, program), "packets": (capture["packets"] - sent - dragged in (0, 1), True),
                "seconds asked for": (capture["seconds"], 600),
                "the close ended the capture": (shown(), f"Captured {capture['packets']} packets.                    \n"),
                "the window followed the drag": (moved != (geometry["X"], geometry["Y"]), True),
                "proximity enters and leaves": ((capture["proximity_enters"], capture["proximity_leaves"]), (2, 2)),
                "lost packets and queue errors": ((capture["lost_packets"], capture["queue_errors"]), (0, 0)),
                "distinct pressures": ((capture["pressure"] or {}).get("distinct_values"), len(set(PRESSURES))),
                "rows recorded before the capture ended": (recorded, sent),
                "dark trail pixels on the stroke (of 21)": (trail >= 15, True),
                "strip chart pixels": (chart >= 20, True),
                # The X pen moves the cursor too: WinTab's positions mapped onto the screen meet it.
                "mapping offset": ((capture["mapping"]["packets_compared"] > 0, capture["mapping"]["median_offset_px"] <= 2),
                                   (True, True)),
                "verdict": (capture["pen_apis"], "WinTab only: this system offers no pointer input"),
                "pointer side": (capture["pointer"].get("unavailable", "")[:35], "this system offers no pointer input"),
                "pressure in the air": (capture["pressure_while_tip_up"], 0),
                # Every packet of the stroke, then the drag's hovering thinned to a few points per pixel column.
                "points of the pressure chart": (sent <= drawn <= capture["packets"], True),
                "bars of the pressure values chart": (values, {f"pressure {p}" for p in PRESSURES if p}),
                "monitor DPI and manifest": ((report["displays"]["monitors"][0]["dpi"], manifest),
                                             (int(os.environ.get("TEVRIN_WINE_DPI", "96")), True)),
                "checks": ((checks["interface-answers"], checks["pressure-range"], checks["context-opens"],
                            checks["pen-apis"], checks["mapping"], checks["pressure-reach"], checks["packet-loss"]),
                           ("PASS", "PASS", "PASS", "WARN", "PASS", "PASS", "PASS")),
                # Wine 8 counts one cursor but serves the stylus as cursor 1: cursor 0 answers nothing.
                "cursor check": (checks["cursors-answer"], "WARN")}
    return verdict(mismatches(expected))


def x86_capture():
    with xorg_pen.PenDisplay(BUILD) as pen:
        pen.use()
        program = start(REPORT, ["--check", "--capture", str(X86_SECONDS), "--json"])
        *centre, _ = window_centre()
        # The window comes before its context: the pen draws once the countdown says packets are read.
        xorg_pen.wait_until(lambda: "Capturing:" in program.written(), 60, "capture")
        sent = draw(pen, *centre)
        report = json.loads(program.communicate(timeout=120)[0])
    capture, checks = report["capture"], {c["id"]: c["outcome"] for c in report["checks"]}
    print(report["summary"])
    return verdict(mismatches({
        **stroke_table(report, program), "machine": (report["driver_library"]["machine"], "x86"),
        "device": (report["devices"][0]["name"], "Wine Tablet Device"), "packets": (capture["packets"], sent),
        "default context's device": (report["contexts"]["default_system"]["device"], 0),
        "proximity enters and leaves": ((capture["proximity_enters"], capture["proximity_leaves"]), (1, 1)),
        "checks": (tuple(checks[c] for c in ("library-machine", "interface-answers", "pressure-range", "context-opens",
                                             "pressure-reach", "packet-loss")), ("PASS",) * 6)}))


if __name__ == "__main__":
    sys.exit(x86_capture() if X86 else main())
