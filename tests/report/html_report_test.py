"""nibscope-report.exe --html under Wine for the simulated driver's known stroke: the page parsed as XML with each
chart's data held against the stroke, then rendered by headless Chromium (charts drawn, no horizontal overflow at
1280 pixels). The runs put a copy of the driver in a folder named after the user and the computer on the search path:
no output holds those names unless --keep-names is given. A driver whose device and context names, and a folder whose
name, hold characters markup must escape still give a well-formed page that shows them as they are.

usage: html_report_test.py SCENARIO_DIR OUTPUT_DIR"""
import concurrent.futures
import getpass
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

import report_harness
from report_harness import HEAD, STROKE, SVG as S, XHTML as X, mismatches, verdict, windows

SCENARIO, OUT = sys.argv[1:3]
PROGRAM = os.path.join(SCENARIO, "nibscope-report.exe")
NAMES = [getpass.getuser(), socket.gethostname().split(".")[0]]  # as Wine reports them from the host
NAMED = os.path.join(OUT, "folders", *NAMES)
ENV = dict(STROKE, WINEPATH=windows(NAMED))
CHROMIUM = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync", "--hide-scrollbars"]
WIDTH = 1280
FIRST_SCREEN = 800  # a laptop's browser window
# Written into a copy of the page only: where Chromium laid out each chart, and the page's width.
GEOMETRY = """<script>var g = {width: document.documentElement.scrollWidth, charts: {}};
document.querySelectorAll('figure.chart svg').forEach(function (svg) { var b = svg.getBoundingClientRect();
  g.charts[svg.parentNode.id] = [b.left, b.top + window.scrollY, b.width, b.height]; });
g.findings = document.getElementById('findings').getBoundingClientRect().bottom;
document.body.setAttribute('data-geometry', JSON.stringify(g));</script></body>"""


# Windows allows & and ' in a folder's name; the names the driver answers hold every character markup escapes.
MARKUP_FOLDER = os.path.join(OUT, "folders", "Tom & Jerry's")
MARKUP_ENV = dict(ENV, TEVRIN_SIMULATED_QUIRKS="markup-names", WINEPATH=windows(MARKUP_FOLDER))
MARKUP_NAMES = ["Tab & <Pen> \"Pro\" 'X'\ufffd", "Ctx & <Sys> \"1\" 'a'", MARKUP_FOLDER.replace("/", "\\")]


def run(name, arguments, env=ENV):
    page = os.path.join(OUT, name + ".html")
    code, out, _ = report_harness.run(PROGRAM, ["--capture", "1", "--check", "--html", windows(page)] + arguments, env)
    with open(page, encoding="utf-8") as file:
        return code, out, file.read()


def points(element):
    return [tuple(map(float, pair.split(","))) for pair in element.get("points").split()]


def titles(chart, kind):  # "5 ms: 19 in contact" -> {"5 ms": 19}
    return {t.split(": ")[0]: int(t.split(": ")[1].split()[0]) for t in
            (rect.find(S + "title").text for rect in chart.iter(S + "rect") if rect.get("class") == kind)}


def page_failures(page, report):
    root = ElementTree.fromstring(page)
    sections = {s.get("id"): s for s in root.iter(X + "section")}
    charts = {figure.get("id"): figure for figure in sections["charts"].iter(X + "figure")}
    hover, contact = report["capture"]["hovering"]["packets"], report["capture"]["in_contact"]["packets"]
    findings = ["".join(li.itertext()) for li in sections["findings"].iter(X + "li")]
    check_lines = {(li.get("class"), "".join(li.itertext())) for li in sections["checks"].iter(X + "li")}
    lines = {p.get("class"): points(p) for p in charts["wintab-pressure"].iter(S + "polyline")}
    axis_maximum = [float(l.get("y1")) for l in charts["wintab-pressure"].iter(S + "line") if l.get("class") == "axis-maximum"]
    bars = charts["wintab-intervals"]
    # The stroke moves by (20, 5) a packet, several pixels on the chart: the trail keeps every packet, each on the
    # stroke's line, forwards and downwards, one scale for both axes. (Long paths: LongCapturesStaySmallAndKeepSpikes.)
    trail = [points(p) for p in charts["wintab-trail"].iter(S + "polyline")][0]
    (x0, y0), (x1, y1) = trail[0], trail[-1]
    return mismatches({
        "sections with an id of their own": (len(sections), len(list(root.iter(X + "section")))),
        "sections missing": ([key for key in report if key not in sections], []),
        "sections headed by nothing or their key": ([key for key, s in sections.items() if key in report and (
            "".join(next(s.iter(X + "h2")).itertext()) in ("", key))], []),
        "sections shown": ([s.get("id") for s in root.iter(X + "section") if s.get("class") != "detail"],
                           ["summary", "findings", "charts"]),
        "sections folded": ([s.get("id") for s in root.iter(X + "section") if s.find(X + "details") is not None],
                            [key for key in report if key not in HEAD] + ["checks"]),
        "findings not shown": ([f["check"] for f in report["findings"] if not any(line.startswith(
            f"{f['outcome']} {f['check']}, for the {f['who']}: {f['cause']}Remedy: {f['remedy']}") for line in findings)], []),
        "the summary": (sections["summary"].find(X + "div").text.splitlines(), report["summary"]),
        "checks without their line": ([c["id"] for c in report["checks"] if (
            c["outcome"].lower(), f"{c['outcome']} {c['id']}: {c['sentence']}") not in check_lines], []),
        "points of the hovering and in-contact pressure lines": ((len(lines["hovering"]), len(lines["in-contact"])),
                                                                 (hover, contact)),
        # Pressure 0 where the hover starts, the axis maximum 1023 and the stroke's last pressure 1000 at the top.
        "the pressure line's reach of the axis maximum": (
            (lines["hovering"][0][1] - lines["in-contact"][-1][1]) / (lines["hovering"][0][1] - axis_maximum[0]),
            lambda reached: abs(reached - 1000 / 1023) <= 0.005),
        "interval bars": ((titles(bars, "hovering"), titles(bars, "in-contact")), ({"10 ms": hover - 1}, {"5 ms": contact - 1})),
        "the claimed rate marked": (any(l.get("class") == "claimed-rate" for l in bars.iter(S + "line")), True),
        "pressure values": (titles(charts["wintab-pressure-values"], "pressure-value"),
                            {f"pressure {50 * i}": 1 for i in range(1, 21)}),
        "trail points": (len(trail), hover + contact), "the trail's descent": (y1 > y0, True),
        "trail points off the stroke's line": ([(x, y) for x, y in trail if abs(x - x0 - 4 * (y - y0)) > 0.5], []),
        "trail steps backwards": ([(a, b) for a, b in zip(trail, trail[1:]) if b[0] <= a[0] or b[1] <= a[1]], []),
        "tilt lines": ({p.get("class"): len(points(p)) for p in charts["wintab-tilt"].iter(S + "polyline")},
                       {"azimuth": hover + contact, "altitude": hover + contact}),
        "charts without a caption": ([key for key, c in charts.items() if not c.find(X + "figcaption").text], [])})


def chromium(page, *arguments):
    profile = tempfile.mkdtemp(prefix="chromium-", dir=OUT)
    try:
        return subprocess.run(CHROMIUM + [f"--user-data-dir={profile}"] + list(arguments) + ["file://" + page],
                              capture_output=True, timeout=120, text=True).stdout
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def coloured_pixels(shot, box):  # pixels of more than faint colour: the charts' data, not their grey frames
    left, top, width, height = (round(v) for v in box)
    out = subprocess.run(["convert", shot, "-crop", f"{width}x{height}+{left}+{top}", "+repage", "-colorspace", "HSL",
                          "-channel", "G", "-separate", "-threshold", "40%", "-format", "%[fx:mean*w*h]", "info:"],
                         capture_output=True, text=True, check=True).stdout
    return float(out)


def browser_failures(page):
    probe = os.path.join(OUT, "geometry.html")
    with open(page, encoding="utf-8") as source, open(probe, "w", encoding="utf-8") as copy:
        copy.write(source.read().replace("</body>", GEOMETRY))
    found = re.search(r'data-geometry="([^"]*)"', chromium(probe, f"--window-size={WIDTH},1000", "--dump-dom"))
    if not found:
        return ["Chromium laid out no page"]
    geometry = json.loads(found.group(1).replace("&quot;", '"'))
    height = max(top + h for _, top, _, h in geometry["charts"].values()) + 20
    shot = os.path.join(OUT, "page.png")
    chromium(page, f"--window-size={WIDTH},{height:.0f}", f"--screenshot={shot}")
    first = os.path.join(OUT, "first_screen.png")
    chromium(page, f"--window-size={WIDTH},{FIRST_SCREEN}", f"--screenshot={first}")
    print("first screen:", first)
    drawn = {chart: coloured_pixels(shot, box) for chart, box in geometry["charts"].items()}
    print("coloured pixels per chart:", drawn, "screenshot:", shot)
    return mismatches({"the page's width": (geometry["width"], lambda width: width <= WIDTH),
                       "the findings' bottom, beyond the first screen": (geometry["findings"], lambda y: y <= FIRST_SCREEN),
                       "charts of fewer than 50 coloured pixels": ([c for c, count in drawn.items() if count < 50], [])})


def markup_failures(page):
    try:
        shown = "".join(ElementTree.fromstring(page).itertext())
    except ElementTree.ParseError as error:
        return [f"the page of names with markup characters is not well-formed: {error}"]
    return [f"the page does not show {name!r}" for name in MARKUP_NAMES if name not in shown]


def main():
    for folder in (NAMED, MARKUP_FOLDER):
        os.makedirs(folder, exist_ok=True)
        shutil.copy(os.path.join(SCENARIO, "wintab32.dll"), folder)
    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        left_out, text, kept, markup = pool.map(lambda args: run(*args), [
            ("page", ["--json"]), ("text", []), ("kept", ["--keep-names"]), ("markup", ["--keep-names"], MARKUP_ENV)])
    report = json.loads(left_out[1])
    failures = [f"{name} run exit status {status[0]}" for name, status in
                [("JSON", left_out), ("text", text), ("kept", kept)] if status[0] != 0]
    redacted = "\\folders\\<user>\\<computer>\\wintab32.dll"
    for name, output in [("JSON", left_out[1]), ("page", left_out[2]), ("text", text[1]), ("text's page", text[2])]:
        failures += [f"the {name} holds {n!r}" for n in NAMES
                     if re.search(r"(?<![^\W_])" + re.escape(n) + r"(?![^\W_])", output, re.I)]
        if redacted not in output.replace("&lt;", "<").replace("&gt;", ">").replace("\\\\", "\\"):
            failures.append(f"the {name} lacks {redacted}")
    failures += [f"--keep-names lost the names from the {name}" for name, output in [("text", kept[1]), ("page", kept[2])]
                 if NAMED.replace("/", "\\") not in output]
    failures += markup_failures(markup[2])
    failures += page_failures(left_out[2], report) + browser_failures(os.path.join(OUT, "page.html"))
    print(f"summary: {report['summary']}")
    return verdict(failures)


if __name__ == "__main__":
    sys.exit(main())
