"""nibscope-report --capture keeps reading while its window is dragged. In a prefix where
Wine draws the window frames itself (Managed N: a drag on the caption then runs user32's
own modal move loop, as Windows does), a mouse button is held on the capture window's
caption while the X pen hovers for three seconds at 200 reports a second: the pen moves
the pointer, so the window follows it all the way, and the program's own loop waits
until the button goes up. Before the window read its queue from a timer, the 128-packet
queue overflowed within a second; now the report counts every packet Wine made, none
lost, no queue error, and packet-loss passes.

usage: dragged_capture_test.py REPORT_EXE BUILD_DIR"""
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import desktop  # noqa: E402
import xorg_pen  # noqa: E402

REPORT, BUILD = sys.argv[1:3]
TITLE = "Nibscope report: hover and draw here"
RATE, SECONDS = 200, 3


def geometry():
    """The capture window's frame on the screen: x, y, width, height."""
    def found():
        text = desktop.xdotool("search", "--name", f"^{TITLE}$", "getwindowgeometry", "--shell")
        values = dict(line.split("=", 1) for line in text.split() if "=" in line)
        return values if "WIDTH" in values else None
    values = xorg_pen.wait_until(found, 60, f"window '{TITLE}'")
    return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))


def drag_with_hovering_pen(pen, x, y):
    """Holds the button on the caption at x, y while the pen hovers along a zigzag there,
    then lets go. Returns the packets Wine makes of it: one for each report and one for
    each proximity change."""
    desktop.xdotool("mousemove", "--sync", str(x), str(y), "mousedown", "1")
    pen.enter(x, y)
    moves = RATE * SECONDS
    for step in range(moves):
        zigzag = step % 200 if step % 400 < 200 else 200 - step % 200
        pen.move(x + zigzag, y + zigzag // 2, 0)
    pen.leave()
    moved = geometry()
    desktop.xdotool("mouseup", "1")
    return 1 + moves + 2, moved


def main():
    os.environ["TEVRIN_WINE_PREFIX"] = "managed-frames"
    with xorg_pen.PenDisplay(BUILD, rate=RATE) as pen:
        pen.use()
        subprocess.run([os.environ["TEVRIN_WINE"], "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                        "/t", "REG_SZ", "/d", "N", "/f"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True, timeout=60)
        progress = tempfile.TemporaryFile()
        program = subprocess.Popen([xorg_pen.harness.WINE_RUN, REPORT, "--check", "--capture", "600", "--json"],
                                   stdout=subprocess.PIPE, stderr=progress)
        before = geometry()
        shown = lambda: os.pread(progress.fileno(), 1 << 16, 0).decode().replace("\r\n", "\n").split("\r")[-1]
        xorg_pen.wait_until(lambda: "Capturing:" in shown(), 60, "capture")
        sent, during = drag_with_hovering_pen(pen, before[0] + before[2] // 2, before[1] + 10)
        xorg_pen.wait_until(lambda: shown().endswith(f" {sent} packets "), 60, f"count of {sent} packets")
        subprocess.run([os.environ["TEVRIN_WINE"], "taskkill", "/im", os.path.basename(REPORT)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        out, _ = program.communicate(timeout=120)
    report = json.loads(out)
    capture, checks = report["capture"], {c["id"]: c["outcome"] for c in report["checks"]}
    print(f"dragged capture: {capture['packets']} packets, {capture['lost_packets']} lost, "
          f"{capture['queue_errors']} queue errors; window from {before[:2]} to {during[:2]}")
    expected = {"the window followed the drag": (during[:2] != before[:2], True),
                "packets": (capture["packets"], sent), "lost packets": (capture["lost_packets"], 0),
                "queue errors": (capture["queue_errors"], 0), "packet-loss": (checks["packet-loss"], "PASS"),
                # A pen that only hovered delivered no pressure through either API.
                "failed checks": (sorted(name for name, outcome in checks.items() if outcome == "FAIL"), ["pen-apis"]),
                "exit status": (program.returncode, 1)}
    failures = [f"{name}: {actual!r}, expected {wanted!r}" for name, (actual, wanted) in expected.items()
                if actual != wanted]
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
