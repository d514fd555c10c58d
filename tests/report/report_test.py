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
import sys
import tempfile
import time

from report_harness import HEAD, NATIVE, STROKE, field, figures, mismatches, run, start, verdict, windows

OWN, SCENARIO, NOT_A_LIBRARY = sys.argv[1:4]
BESIDE = os.path.join(SCENARIO, "nibscope-report.exe")  # finds the simulated wintab32.dll in its folder
SIMULATED = windows(os.path.join(SCENARIO, "wintab32.dll"))
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


with open(os.path.join(os.path.dirname(__file__), "..", "..", "docs", "report.md"), encoding="utf-8") as docs:
    DOCS = docs.read()


def check_scenario(scenario):
    name, program, arguments, environment, status, fields, outcomes = scenario
    code, out, err = run(program, arguments, environment)
    failures = [] if code == status else [f"{name}: exit status {code}, expected {status}; stderr: {err[-400:]}"]
    try:
        report = json.loads(out)
    except ValueError:
        return [f"{name}: output is no JSON: {out[:400]}"] + failures
    if "--html" in arguments:  # the charts that what the driver granted allows
        report["charts"] = [f.get("id") for f in figures(arguments[arguments.index("--html") + 1][2:])]
    found = {c["id"]: c["outcome"] for c in report.get("checks", [])}
    table = {**{path: (field(report, path), expected) for path, expected in fields.items()},
             **{f"check {c}": (found.get(c), o) for c, o in outcomes.items()}}
    if "checks" in report:  # one finding per check and outcome other than PASS, with the remedy docs/report.md documents
        table["findings"] = ([(f["check"], f["outcome"]) for f in report["findings"]],
                             list(dict.fromkeys((c["id"], c["outcome"]) for c in report["checks"] if c["outcome"] != "PASS")))
        table["findings whose remedy is not in docs/report.md"] = ([f["check"] for f in report["findings"] if (
            f"| `{f['check']}` | {f['outcome']} | {f['who']} | {f['cause']} | {f['remedy']} |" not in DOCS)], [])
    if "--check" in arguments:
        # The text report of the same run says the same: the summary first, then the findings, every check line,
        # every section a heading, every key with a declared label (an undeclared one shows as the key itself).
        text_code, text, _ = run(program, [a for a in arguments if a != "--json"], environment)
        lines, length = text.split("\n"), len(report["summary"])
        summary, shown = report["summary"] + [""], lines[:length + 1]
        if callable(fields.get("capture.packets")):  # a count that differs between the two runs
            summary, shown = ([re.sub(r"[0-9.]+", "#", line) if line.startswith("Capture:") else line for line in part]
                              for part in (summary, shown))
        sections = len([key for key in report if key not in HEAD]) + (1 if report["findings"] else 0) + 1
        table.update({
            "the text run's exit status": (text_code, status), "the text's start": (shown, summary),
            "the line after the text's summary": (lines[length + 1], "Findings:" if report["findings"] else "No problems found"),
            "checks without their line in the text": ([c["id"] for c in report["checks"] if (
                f"{c['outcome']} {c['id']}: {c['sentence']}\n" not in text)], []),
            "the text's headings": ([line for line in lines[length + 1:lines.index("Checks:") + 1] if re.match(
                r"\S[^:]*:( |$)", line)], lambda headings: len(headings) == sections),
            "keys the text shows without a label": (re.findall(r"^\s*([a-z][a-z0-9_]*):", text, re.M), [])})
    return failures + mismatches(table, name)


def check_recording_playback():
    """A capture recorded with --record and played back through the simulated driver gives the same
    WinTab statistics; the packets' ages differ, being measured when they are read."""
    with tempfile.TemporaryDirectory() as folder:
        reports = []
        for environment, extra in ((quirk("serial-gaps,queue-errors", STROKE), ["--record", windows(folder + "/stroke.csv")]),
                                   (dict(NATIVE, TEVRIN_SIMULATED_RECORDING=windows(folder + "/stroke.csv")), [])):
            code, out, err = run(BESIDE, ["--capture", "1", "--json"] + extra, environment)
            if code != 0:
                return [f"recording playback: exit status {code}; stderr: {err[-400:]}"]
            reports.append({k: v for k, v in json.loads(out)["capture"].items() if k not in ("packet_age_ms", "mapping")})
        with open(os.path.join(folder, "stroke.csv"), encoding="ascii") as written:
            header = written.readline().strip()
    return mismatches({"the played back capture": (reports[1], reports[0]),
                       "lost packets and queue errors": ((reports[0]["lost_packets"], reports[0]["queue_errors"]), (4, 2)),
                       "the header": (header, lambda line: line.startswith("source,arrival_ms,time_ms,"))},
                      "recording playback")


def check_internal_failure():
    """A failure of the report itself (here: a page it cannot write) exits 4, a status of its own, after
    the report it had written, with one sentence on stderr."""
    page = "Z:\\no such folder\\page.html"
    code, out, err = run(OWN, ["--driver", SIMULATED, "--json", "--html", page], NATIVE)
    sentence = f"nibscope-report: the report failed (cannot write {page}); what it wrote is incomplete."
    return mismatches({"exit status": (code, 4), "the whole report's device": (field(json.loads(out or "{}"), "devices.0.name"),
                                                                            "Simulated Tablet"),
                       "stderr": (err.strip()[-300:], lambda text: text.endswith(sentence))}, "internal failure")


def check_interrupted_capture():
    """Ctrl+C during a capture of 600 s ends the capture, not the program: the report of the stroke is
    written, says why the capture ended early, and the exit status is the usual one. Wine turns the
    SIGINT of the program's process into the console's CTRL_C_EVENT."""
    program = start(BESIDE, ["--capture", "600", "--json"], STROKE)
    deadline = time.monotonic() + 60
    while "30 packets" not in program.written() and time.monotonic() < deadline:
        time.sleep(0.1)
    program.send_signal(signal.SIGINT)
    out, _ = program.communicate(timeout=60)
    err = program.written()
    capture = json.loads(out or "{}").get("capture", {})
    return mismatches({"exit status": (program.returncode, 0),
                       "packets and seconds": ((capture.get("packets"), capture.get("seconds")), (30, 600)),
                       "ended early": (capture.get("ended_early"), "Ctrl+C was pressed"),
                       "stderr": (err[-200:], lambda text: text.endswith("Captured 30 packets.                    \n"))},
                      "Ctrl+C during a capture")


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
    return verdict([failure for result in results for failure in result],
                   f"{len(SCENARIOS)} scenarios, {len(USAGE_ERRORS)} usage errors")


if __name__ == "__main__":
    sys.exit(main())
