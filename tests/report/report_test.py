"""nibscope-report.exe under Wine against driver scenarios: the simulated driver (as it is and misbehaving on
request), Wine's builtin wintab32, no library and a file that is no library. Each row runs the real program; JSON
reports are parsed back and their fields compared, text reports held against the JSON of the same run's arguments;
capture rows also write the HTML page and compare the charts it holds.

usage: report_test.py REPORT_EXE SCENARIO_DIR NOT_A_LIBRARY"""
import concurrent.futures
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WINE_RUN = os.path.join(ROOT, "tools", "wine-run")
OWN, SCENARIO, NOT_A_LIBRARY = sys.argv[1:4]
BESIDE = os.path.join(SCENARIO, "nibscope-report.exe")  # finds the simulated wintab32.dll in its folder
SIMULATED = "Z:" + os.path.join(SCENARIO, "wintab32.dll").replace("/", "\\")
NATIVE = {"TEVRIN_DLL_OVERRIDES": "wintab32=n,b"}
STROKE = dict(NATIVE, TEVRIN_SIMULATED_STROKE="1")
CHECK = ["--check", "--json"]


def quirk(name, env=NATIVE):
    return dict(env, TEVRIN_SIMULATED_QUIRKS=name)


def under(prefix, **fields):  # expected fields by their path in the report
    return {f"{prefix}.{key}": value for key, value in fields.items()}


SIMULATED_REPORT = {
    **under("driver_library", loaded=True, machine="x64", file_version="1.0.0.7", missing_entries=[], wide_entries=[],
            company="The Tevrin Nibscope developers", description="Simulated WinTab driver"),
    **under("interface", answers=True, wintab_id="Simulated WinTab driver", specification_version="1.4",
            implementation_version="2.3", devices=1, cursors=3, extensions=1,
            context_options=["system", "pen", "messages", "margin"]),
    **under("devices.0", name="Simulated Tablet", packet_rate=200, z=None, pnp_id="SIM0001",
            hardware=["reports proximity", "identifies physical cursors"],
            x={"minimum": 0, "maximum": 15199, "units": "centimeters", "resolution": 1000}),
    "devices.0.normal_pressure.levels": 1024, "devices.0.orientation.tilt": True, "cursors.2.capabilities": ["inverted end"],
    **under("cursors.1", name="Pressure Stylus", active=True, button_names=["Tip", "Barrel"], physical_id="0x5101"),
    **under("contexts.default_system", packet_rate=133, name="Simulated system context", output_extent=[15200, 9500, 0]),
    # The manifest declares the program per-monitor aware.
    **under("system", ansi_code_page=1252, dpi_awareness="per-monitor aware",
            report_time_utc=lambda t: re.fullmatch(r"20\d\d-\d\d-\d\d \d\d:\d\d:\d\d UTC", t) is not None),
    # The private display is one screen of 1280 x 1024 at Wine's 96 DPI.
    **under("displays", virtual_screen=[0, 0, 1280, 1024], **{"monitors.0.primary": True, "monitors.0.dpi": 96}),
    "displays.default_context_area.output_extent": [15200, 9500, 0], "pointer_devices": [],
    # Wine's prefix, as 64-bit Windows, has a 32-bit system folder with Wine's own 32-bit library.
    **under("driver_library.wintab32_32bit", exists=True, machine="x86",
            path=lambda p: p.lower() == "c:\\windows\\syswow64\\wintab32.dll"),
    "contexts.default_digitizing.options": ["messages"], "extensions.0.name": "Simulated Touch Strip", "extensions.0.tag": 6,
}
ALL_PASS = dict.fromkeys("""library-loads library-machine entries-exported search-path-companies interface-answers
    interface-counts query-sizes record-sizes size-cap texts-terminated device-name-size cursors-answer pressure-range
    context-rate context-opens packet-count context-area""".split(), "PASS")
# The simulated tablet's 16:10 input area maps onto the private display's 1280 x 1024.
ALL_PASS["aspect"] = "WARN"
ALL_PASS["32-bit-library"] = "WARN"  # 32-bit programs find Wine's own wintab32.dll, not the simulated one
ALL_PASS["32-bit-tablet"] = "WARN"  # no x86 twin beside these reports: report_32bit_twin runs one
BESIDE_PASS = dict(ALL_PASS, **{"search-path-companies": "WARN"})  # Wine's own wintab32 lies further down the path


def said(check, *sentences):  # the report's checks hold these lines of the check
    return {"checks": lambda checks: all({"outcome": "FAIL", "id": check, "sentence": s} in checks for s in sentences)}


def capped_in_one_line(checks):  # one FAIL line counts the queries and names each with its size
    lines = [c for c in checks if c["id"] == "size-cap"]
    found = len(lines) == 1 and re.fullmatch(r"(\d+) size queries announced more than the cap of 65536 bytes: (.*)\.",
                                             lines[0]["sentence"])
    named = re.findall(r"WTInfoA\(\d+, \d+\) 4294967295 bytes", found.group(2)) if found else []
    return bool(found) and lines[0]["outcome"] == "FAIL" and len(named) == int(found.group(1)) > 1 and \
        "WTInfoA(100, 1) 4294967295 bytes" in named


UNTIMED = {"packets": 10, "packets_per_second": None, "median_interval_ms": None, "p99_interval_ms": None}
CAPTURE = under("capture", packets=30, proximity_enters=1, proximity_leaves=1, cursors_seen=[1], buttons_seen=[0],
                hovering=dict(UNTIMED, packets_per_second=100, median_interval_ms=10, p99_interval_ms=10),
                pressure={"minimum": 0, "maximum": 1000, "distinct_values": 21, "share_of_range_percent": 97.75},
                tilt={"altitude_minimum": 450, "altitude_maximum": 740, "azimuth_minimum": 0, "azimuth_maximum": 2900},
                in_contact=dict(UNTIMED, packets=20, packets_per_second=200, median_interval_ms=5, p99_interval_ms=5),
                packet_age_ms=lambda age: isinstance(age, dict) and 0 <= age["median"] <= min(age["maximum"], 1000),
                queue_errors=0, lost_packets=0, ended_early=False)
CAPTURE["summary.2"] = lambda line: line.startswith("Capture: 30 packets in 1 s, ") and line.endswith(
    ", pen APIs: WinTab only: this system offers no pointer input")
UNAVAILABLE = dict.fromkeys([part + ".unavailable" for part in "interface devices cursors contexts extensions".split()],
                            lambda text: str(text).startswith("no driver library loaded: "))


CHARTS = ["pressure", "intervals", "pressure-values", "trail", "tilt"]


def capture(name, quirks, charts=CHARTS, **changes):  # the simulated stroke, captured for a second; its page's charts
    page = os.path.join(SCENARIO, (quirks or "stroke") + ".html")
    return (name, BESIDE, ["--capture", "1", "--json", "--html", "Z:" + page], quirk(quirks, STROKE), 0,
            dict(CAPTURE, **under("capture", **changes), charts=["displays"] + ["wintab-" + chart for chart in charts]), {})


# name, program, arguments, environment, exit status, expected fields, expected check outcomes
SCENARIOS = [
    ("simulated driver by path", OWN, ["--driver", SIMULATED] + CHECK, NATIVE, 0,
     dict(SIMULATED_REPORT, **{"driver_library.requested": SIMULATED, "driver_library.search_path.0.loaded": False,
                               "summary.1": "Tablet: Simulated Tablet, 1024 pressure levels, 200 packets per second "
                               "claimed", "summary.2": "Checks: 17 PASS, 3 WARN, 0 FAIL", "summary.3": "32-bit "
                               "programs: The 32-bit report x86\\nibscope-report.exe is missing beside this program."}),
     ALL_PASS),
    ("simulated driver found in the program's folder beside Wine's", BESIDE, CHECK, NATIVE, 0,
     {"driver_library.requested": "wintab32.dll", "driver_library.search_path.0.loaded": True,
      "driver_library.search_path.0.company": "The Tevrin Nibscope developers",
      "driver_library.search_path.1.loaded": False, "devices.0.name": "Simulated Tablet"},
     BESIDE_PASS),
    ("size query of the device name answers 0", BESIDE, CHECK, quirk("name-size-zero"), 0,
     {"devices.0.name": "Simulated Tablet"}, {"device-name-size": "WARN", "query-sizes": "PASS"}),
    ("WinTab id unterminated", BESIDE, CHECK, quirk("unterminated"), 1,
     {"interface.wintab_id": "Simulated WinTab driver"}, {"texts-terminated": "FAIL", "query-sizes": "PASS"}),
    ("pressure axis without range", BESIDE, CHECK, quirk("zero-pressure"), 1,
     {"devices.0.normal_pressure.levels": 1}, {"pressure-range": "FAIL", "context-opens": "PASS"}),
    # Lies: each named in its check, the report whole, what the lie leaves right still read.
    ("more packets answered than asked for", BESIDE, ["--capture", "1"] + CHECK, quirk("count-over", STROKE), 1,
     {"capture.packets": lambda n: isinstance(n, int) and n >= 30,
      **said("packet-count", "WTPacketsGet answered more packets than asked for on the checked context.")},
     {"packet-count": "FAIL", "context-opens": "PASS"}),
    ("a whole queue of filler written past the packets asked for", BESIDE, ["--capture", "1"] + CHECK,
     quirk("write-over", STROKE), 0, {"capture.packets": lambda n: isinstance(n, int) and n >= 30},
     {"packet-count": "PASS", "context-opens": "PASS"}),
    ("size queries announce 0xFFFFFFFF bytes", BESIDE, CHECK, quirk("size-huge"), 1,
     {"devices.0.name": "Simulated Tablet", "interface.wintab_id": "Simulated WinTab driver", "interface.devices": 1,
      "devices.0.normal_pressure.levels": 1024, "contexts.default_system.packet_rate": 133,
      "checks": capped_in_one_line},
     {"size-cap": "FAIL", "query-sizes": "PASS", "record-sizes": "PASS"}),
    # The guard catches a record written one byte long as it catches eight.
    ("pressure axis written one byte past its size", BESIDE, CHECK, quirk("long-axis-byte"), 1,
     {"devices.0.normal_pressure.levels": 1024, **said("record-sizes", "WTInfoA(100, 15) wrote 17 bytes into its record of 16 bytes.")},
     {"record-sizes": "FAIL", "query-sizes": "PASS", "size-cap": "PASS"}),
    ("context records written longer", BESIDE, CHECK, quirk("long-context"), 1,
     {"contexts.default_system.packet_rate": 133, "contexts.default_digitizing.options": ["messages"],
      **said("record-sizes", "WTInfoA(4, 0) wrote 204 bytes into its record of 172 bytes.",
             "WTGetA wrote 204 bytes into its context record of 172 bytes.")},
     {"record-sizes": "FAIL", "query-sizes": "PASS", "context-opens": "PASS"}),
    ("button marks written past their size", BESIDE, CHECK, quirk("long-marks"), 1,
     {"cursors.1.pressure_button_marks": {"release": 0, "press": 0}}, {"record-sizes": "FAIL", "query-sizes": "FAIL"}),
    ("context names in the ANSI code page", BESIDE, CHECK, quirk("ansi-context-name"), 0,
     {"contexts.default_system.name": "Simulated syst\u00e8me context",
      "contexts.default_digitizing.name": "Simulated \u00e9tude context"}, BESIDE_PASS),
    ("no interface counts", BESIDE, CHECK, quirk("no-counts"), 0,
     {"interface.devices": None, "interface.cursors": None, "devices.0.name": "Simulated Tablet",
      "cursors.1.name": "Pressure Stylus", "cursors.2.name": "Eraser", "devices.0.normal_pressure.levels": 1024},
     dict(BESIDE_PASS, **{"interface-counts": "WARN"})),
    capture("capture of the known stroke", ""),
    capture("capture with serial-number gaps", "serial-gaps", lost_packets=4),
    capture("capture with queue errors", "queue-errors", queue_errors=2),
    capture("capture with refused packet items", "refuse-fields", CHARTS[:4], lost_packets=None, tilt=None),
    capture("capture where the driver rejects extra packet items", "reject-fields", CHARTS[2:4], lost_packets=None,
            tilt=None, packet_age_ms=None, hovering=UNTIMED, in_contact=dict(UNTIMED, packets=20)),
    ("Wine's builtin wintab32 without a tablet", OWN, CHECK, {"TEVRIN_DLL_OVERRIDES": "wintab32=b"}, 1,
     {"driver_library.loaded": True, "driver_library.machine": "x64", "interface.answers": False, "devices": [],
      "driver_library.path": lambda p: p.lower().endswith("\\system32\\wintab32.dll")},
     {"library-loads": "PASS", "library-machine": "PASS", "entries-exported": "PASS", "interface-answers": "FAIL",
      "32-bit-library": "PASS"}),  # Wine's own library on both sides
    ("no library", OWN, CHECK, {"TEVRIN_DLL_OVERRIDES": "wintab32="}, 3,
     {**UNAVAILABLE, **under("driver_library", loaded=False, load_error='Requested DLL file "wintab32.dll" non-existant.'),
      "summary.0": 'Driver: none loaded (Requested DLL file "wintab32.dll" non-existant.)'},
     {"library-loads": "FAIL", "search-path-companies": "PASS"}),
    ("a file that is no library", OWN, ["--driver", "Z:" + NOT_A_LIBRARY] + CHECK, {"TEVRIN_DLL_OVERRIDES": "wintab32=n"}, 3,
     {**UNAVAILABLE, **under("driver_library", loaded=False, machine="not a PE file", load_error="LoadLibrary call "
                             "failed, error code 193, DLL considered unexecutable (not Win32 format)")},
     {"library-loads": "FAIL", "library-machine": "FAIL"}),
]

# Windows Ink, which Wine lacks, from the test build whose pointer functions play a known stroke into the
# capture window (tests/report/simulated_ink): 24 points 4 ms apart on the performance counter, 20 in contact
# with pressures 50 to 1000, beside the simulated driver's stroke or alone, with or without pointer pressure.
INK = os.path.join(SCENARIO, "nibscope-report-simulated-ink.exe")
INK_PAGE = os.path.join(SCENARIO, "simulated_ink.html")
INK_POINTS = under("capture.pointer", packets=24, clock="performance counter", tilt={
    "x_minimum": 10, "x_maximum": 10, "y_minimum": -20, "y_maximum": -20},
    in_contact={"packets": 20, "packets_per_second": 250, "median_interval_ms": 4, "p99_interval_ms": 4})
SCENARIOS += [
    ("Windows Ink beside WinTab", INK, ["--capture", "2", "--json", "--html", "Z:" + INK_PAGE], STROKE, 0,
     dict(INK_POINTS, **{"capture.pen_apis": "WinTab and Windows Ink", "capture.pointer.pressure.maximum": 1000,
                         "charts": ["displays"] + ["wintab-" + chart for chart in CHARTS] + ["ink-pressure", "ink-intervals"]}), {}),
    ("Windows Ink alone", INK, ["--capture", "2"] + CHECK, NATIVE, 0,
     dict(INK_POINTS, **{"capture.pen_apis": "Windows Ink only: WinTab programs get no pressure"}), {"pen-apis": "WARN"}),
    ("no pen pressure through either API", INK, ["--capture", "2"] + CHECK, dict(NATIVE, TEVRIN_SIMULATED_INK="no-pressure"),
     1, {"capture.pen_apis": "neither", "capture.pointer.pressure.maximum": 0}, {"pen-apis": "FAIL"}),
]

# The report's guard after an answer: its first and its last byte (the 64th).
# The summary names each failed check once, however many lines it failed.
SCENARIOS += [(f"cursor names written {how} past their size", BESIDE, CHECK, quirk(name), 1,
               dict({"cursors.1.name": "Pressure Stylus"}, **summary), {"query-sizes": "FAIL", "texts-terminated": "PASS"})
              for name, how, summary in (
                  ("overrun", "4 bytes", {"summary.2": lambda line: line.endswith(" 3 FAIL; FAIL: query-sizes")}),
                  ("overrun-first", "the first byte", {}), ("overrun-last", "the 64th byte", {}))]

USAGE_ERRORS = [(["--driver"], "--driver needs a value"), (["--json", "--capture"], "--capture needs a value"),
                (["--check", "--html"], "--html needs a value")]
USAGE_ERRORS += [([word], f"unknown argument '{word}'") for word in ("--verbose", "report.txt")]
USAGE_ERRORS += [(["--capture", ""], "--capture needs a value")]
USAGE_ERRORS += [(["--capture", v], f"--capture needs a whole number of seconds, not '{v}'") for v in ("ten", "-5", "1000", "+5")]
USAGE_ERRORS += [(["--capture", v], f"--capture takes 1 to 600 seconds, not {v}") for v in ("0", "601")]
USAGE_ERRORS += [(["--compare", "a.json"], "--compare needs two files"),
                 (["--compare", "a.json", "b.json", "--check"], "--compare takes no other option than --html")]
USAGE_ERRORS += [(["--record", "a.csv"], "--record needs --capture"), (["--capture", "1", "--record"], "--record needs a value")]


def run(program, arguments, environment=None):
    result = subprocess.run([WINE_RUN, program] + arguments, capture_output=True, timeout=120,
                            env=dict(os.environ, **(environment or {})))
    return result.returncode, result.stdout.decode("utf-8").replace("\r\n", "\n"), result.stderr.decode("utf-8", "replace")


def field(tree, path):
    try:
        for part in path.split("."):
            tree = tree[int(part)] if isinstance(tree, list) else tree[part]
        return tree
    except (KeyError, IndexError, TypeError):
        return "<missing>"


HEAD = ("summary", "findings", "checks")


def text_label_failures(report, text):
    """Every section of the JSON is a heading of the text, every key carries a declared label (an undeclared one
    shows as the key itself), and the findings follow the summary."""
    lines = text.split("\n")
    body = lines[len(report["summary"]) + 1:lines.index("Checks:") + 1]
    headings = [line for line in body if re.match(r"\S[^:]*:( |$)", line)]
    expected = len([s for s in report if s not in HEAD]) + (1 if report["findings"] else 0) + 1
    failures = [] if len(headings) == expected else [f"text headings {headings} for sections {list(report)}"]
    failures += [f"text shows key {key!r} without a label" for key in re.findall(r"^\s*([a-z][a-z0-9_]*):", text, re.M)]
    after = text.split("\n")[len(report["summary"]) + 1]
    if after != ("Findings:" if report["findings"] else "No problems found"):
        failures.append(f"the summary is followed by {after!r}")
    return failures


with open(os.path.join(ROOT, "docs", "report.md"), encoding="utf-8") as docs:
    DOCS = docs.read()


def finding_failures(report):
    """One finding per check and outcome other than PASS, each with the remedy docs/report.md documents."""
    wanted = list(dict.fromkeys((c["id"], c["outcome"]) for c in report["checks"] if c["outcome"] != "PASS"))
    found = [(f["check"], f["outcome"]) for f in report["findings"]]
    failures = [] if found == wanted else [f"findings {found}, checks say {wanted}"]
    return failures + [f"the remedy of {f['check']} {f['outcome']} is not in docs/report.md" for f in report["findings"]
                       if f"| `{f['check']}` | {f['outcome']} | {f['who']} | {f['cause']} | {f['remedy']} |" not in DOCS]


def check_scenario(scenario):
    name, program, arguments, environment, status, fields, outcomes = scenario
    failures = []
    code, out, err = run(program, arguments, environment)
    if code != status:
        failures.append(f"exit status {code}, expected {status}; stderr: {err[-400:]}")
    try:
        report = json.loads(out)
    except ValueError:
        return [f"{name}: output is no JSON: {out[:400]}"] + failures
    if "--html" in arguments:  # the charts that what the driver granted allows
        page = ElementTree.parse(arguments[arguments.index("--html") + 1][2:])
        report["charts"] = [figure.get("id") for figure in page.iter("{http://www.w3.org/1999/xhtml}figure")]
    failures += [f"{path} is {actual!r}, expected {expected!r}" for path, expected in fields.items()
                 if not ((actual := field(report, path)) == expected or callable(expected) and expected(actual))]
    failures += finding_failures(report) if "checks" in report else []
    found = {c["id"]: c["outcome"] for c in report.get("checks", [])}
    failures += [f"check {c} is {found.get(c)}, expected {o}" for c, o in outcomes.items() if found.get(c) != o]
    if "--check" in arguments:
        # The text report of the same run says the same: every check line and every section.
        code, text, _ = run(program, [a for a in arguments if a != "--json"], environment)
        failures += [f"text report lacks the line of check {c['id']}" for c in report["checks"]
                     if f"{c['outcome']} {c['id']}: {c['sentence']}\n" not in text]
        failures += text_label_failures(report, text)
        summary, shown = report["summary"], text.split("\n")[:len(report["summary"]) + 1]
        if callable(fields.get("capture.packets")):  # a count that differs between the two runs
            summary, shown = ([re.sub(r"[0-9.]+", "#", line) if line.startswith("Capture:") else line for line in lines]
                              for lines in (summary, shown))
        if shown != summary + [""]:
            failures.append(f"text report does not start with the summary {report['summary']}: {shown}")
        if code != status:
            failures.append(f"text run exit status {code}, expected {status}")
    return [f"{name}: {failure}" for failure in failures]


def check_recording_playback():
    """A capture recorded with --record and played back through the simulated driver gives the same
    WinTab statistics; the packets' ages differ, being measured when they are read."""
    with tempfile.TemporaryDirectory() as folder:
        recording = "Z:" + os.path.join(folder, "stroke.csv").replace("/", "\\")
        reports = []
        for environment, extra in ((quirk("serial-gaps,queue-errors", STROKE), ["--record", recording]),
                                   (dict(NATIVE, TEVRIN_SIMULATED_RECORDING=recording), [])):
            code, out, err = run(BESIDE, ["--capture", "1", "--json"] + extra, environment)
            if code != 0:
                return [f"recording playback: exit status {code}; stderr: {err[-400:]}"]
            reports.append({k: v for k, v in json.loads(out)["capture"].items() if k not in ("packet_age_ms", "mapping")})
        with open(os.path.join(folder, "stroke.csv"), encoding="ascii") as written:
            header = written.readline().strip()
    failures = [] if reports[0] == reports[1] else [f"played back {reports[1]}, recorded {reports[0]}"]
    failures += [] if reports[0]["lost_packets"] == 4 and reports[0]["queue_errors"] == 2 else ["the quirks did not show"]
    failures += [] if header.startswith("source,arrival_ms,time_ms,") else [f"header {header!r}"]
    return [f"recording playback: {failure}" for failure in failures]


def check_internal_failure():
    """A failure of the report itself (here: a page it cannot write) exits 4, a status of its own, after
    the report it had written, with one sentence on stderr."""
    page = "Z:\\no such folder\\page.html"
    code, out, err = run(OWN, ["--driver", SIMULATED, "--json", "--html", page], NATIVE)
    failures = [] if code == 4 else [f"exit status {code}, expected 4"]
    failures += [] if field(json.loads(out or "{}"), "devices.0.name") == "Simulated Tablet" else ["no whole report"]
    sentence = f"nibscope-report: the report failed (cannot write {page}); what it wrote is incomplete."
    failures += [] if err.strip().endswith(sentence) else [f"stderr {err[-300:]!r}"]
    return [f"internal failure: {failure}" for failure in failures]


def check_interrupted_capture():
    """Ctrl+C during a capture of 600 s ends the capture, not the program: the report of the stroke is
    written, says why the capture ended early, and the exit status is the usual one. Wine turns the
    SIGINT of the program's process into the console's CTRL_C_EVENT."""
    with tempfile.TemporaryFile() as progress:
        program = subprocess.Popen([WINE_RUN, BESIDE, "--capture", "600", "--json"], stdout=subprocess.PIPE,
                                   stderr=progress, env=dict(os.environ, **STROKE))
        deadline = time.monotonic() + 60
        while b"30 packets" not in os.pread(progress.fileno(), 1 << 16, 0) and time.monotonic() < deadline:
            time.sleep(0.1)
        program.send_signal(signal.SIGINT)
        out, _ = program.communicate(timeout=60)
        err = os.pread(progress.fileno(), 1 << 16, 0).decode("utf-8", "replace").replace("\r\n", "\n")
    capture = json.loads(out or "{}").get("capture", {})
    failures = [] if program.returncode == 0 else [f"exit status {program.returncode}"]
    failures += [] if (capture.get("packets"), capture.get("seconds")) == (30, 600) else [f"capture {capture}"]
    failures += [] if capture.get("ended_early") == "Ctrl+C was pressed" else [f"ended early: {capture.get('ended_early')}"]
    failures += [] if err.endswith("Captured 30 packets.                    \n") else [f"stderr {err[-200:]!r}"]
    return [f"Ctrl+C during a capture: {failure}" for failure in failures]


def check_usage(case):
    arguments, message = case
    code, out, err = run(OWN, arguments)
    lines = err.replace("\r\n", "\n").split("\n")
    if code != 2 or lines[0] != "nibscope-report: " + message or not lines[1].startswith("usage: nibscope-report") or out:
        return [f"usage error {arguments}: exit {code}, stderr {err!r}, stdout {out[:300]!r}"]
    return []


def main():
    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        playback = pool.submit(check_recording_playback)
        results = list(pool.map(check_scenario, SCENARIOS)) + list(pool.map(check_usage, USAGE_ERRORS))
        results.append(playback.result())
        results.append(check_internal_failure())
        results.append(check_interrupted_capture())
    with open(OWN, "rb") as shipped:
        results.append(["the program holds the test build's pointer functions"]
                       if b"simulated ink: stroke sent" in shipped.read() else [])
    code, out, err = run(OWN, ["--help"])
    results.append([] if code == 0 and out.startswith("usage: nibscope-report") and not err else [f"--help: {code} {out!r}"])
    failures = [failure for result in results for failure in result]
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(SCENARIOS)} scenarios, {len(USAGE_ERRORS)} usage errors, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
