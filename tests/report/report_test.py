"""nibscope-report.exe under Wine against driver scenarios: the simulated driver (as it
is and misbehaving on request), Wine's builtin wintab32, no library and a file that is
no library. Each row runs the real program; JSON reports are parsed back and their
fields compared, text reports held against the JSON of the same run's arguments.

usage: report_test.py REPORT_EXE SCENARIO_DIR NOT_A_LIBRARY"""
import concurrent.futures
import json
import os
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WINE_RUN = os.path.join(ROOT, "tools", "wine-run")
OWN, SCENARIO, NOT_A_LIBRARY = sys.argv[1:4]
BESIDE = os.path.join(SCENARIO, "nibscope-report.exe")  # finds the simulated wintab32.dll in its folder
SIMULATED = "Z:" + os.path.join(SCENARIO, "wintab32.dll").replace("/", "\\")
NATIVE = {"TEVRIN_DLL_OVERRIDES": "wintab32=n,b"}
STROKE = dict(NATIVE, TEVRIN_SIMULATED_STROKE="1")
CHECK = ["--check", "--json"]
ANY = object()


def quirk(name, env=NATIVE):
    return dict(env, TEVRIN_SIMULATED_QUIRKS=name)


def at_least(low, high):
    return lambda value: isinstance(value, int) and low <= value <= high


SIMULATED_REPORT = {
    "driver_library.loaded": True, "driver_library.machine": "x64", "driver_library.file_version": "1.0.0.7",
    "driver_library.company": "The Tevrin Nibscope developers", "driver_library.description": "Simulated WinTab driver",
    "driver_library.missing_entries": [], "driver_library.wide_entries": [],
    "interface.answers": True, "interface.wintab_id": "Simulated WinTab driver",
    "interface.specification_version": "1.4", "interface.implementation_version": "2.3", "interface.devices": 1,
    "interface.cursors": 3, "interface.extensions": 1, "interface.context_options": ["system", "pen", "messages", "margin"],
    "devices.0.name": "Simulated Tablet", "devices.0.packet_rate": 200,
    "devices.0.hardware": ["reports proximity", "identifies physical cursors"],
    "devices.0.x": {"minimum": 0, "maximum": 15199, "units": "centimeters", "resolution": 1000},
    "devices.0.normal_pressure.levels": 1024, "devices.0.orientation.tilt": True, "devices.0.z": None,
    "devices.0.pnp_id": "SIM0001", "cursors.1.name": "Pressure Stylus", "cursors.1.active": True,
    "cursors.1.button_names": ["Tip", "Barrel"], "cursors.2.capabilities": ["inverted end"],
    "cursors.1.physical_id": "0x5101", "contexts.default_system.packet_rate": 133,
    "contexts.default_system.name": "Simulated system context", "contexts.default_digitizing.options": ["messages"],
    "contexts.default_system.output_extent": [15200, 9500, 0], "extensions.0.name": "Simulated Touch Strip",
    "extensions.0.tag": 6,
}
ALL_PASS = {c: "PASS" for c in ["library-loads", "library-machine", "entries-exported", "search-path-companies",
                                "interface-answers", "query-sizes", "texts-terminated", "device-name-size",
                                "pressure-range", "context-rate", "context-opens"]}
CAPTURE = {
    "capture.packets": 30, "capture.proximity_enters": 1, "capture.proximity_leaves": 1, "capture.cursors_seen": [1],
    "capture.buttons_seen": [0], "capture.hovering": {"packets": 10, "packets_per_second": 100,
                                                      "median_interval_ms": 10, "p99_interval_ms": 10},
    "capture.in_contact.packets_per_second": 200, "capture.packet_age_ms.median": at_least(0, 1000),
    "capture.pressure": {"minimum": 0, "maximum": 1000, "distinct_values": 21, "share_of_range_percent": 97.75},
    "capture.tilt": {"altitude_minimum": 450, "altitude_maximum": 740, "azimuth_minimum": 0, "azimuth_maximum": 2900},
    "capture.queue_errors": 0, "capture.lost_packets": 0,
}
UNAVAILABLE = {"interface.unavailable": ANY, "devices.unavailable": ANY, "cursors.unavailable": ANY,
               "contexts.unavailable": ANY, "extensions.unavailable": ANY}

# name, program, arguments, environment, exit status, expected fields, expected check outcomes
SCENARIOS = [
    ("simulated driver by path", OWN, ["--driver", SIMULATED] + CHECK, NATIVE, 0,
     dict(SIMULATED_REPORT, **{"driver_library.requested": SIMULATED, "driver_library.search_path.0.loaded": False}),
     ALL_PASS),
    ("simulated driver found in the program's folder beside Wine's", BESIDE, CHECK, NATIVE, 0,
     {"driver_library.requested": "wintab32.dll", "driver_library.search_path.0.loaded": True,
      "driver_library.search_path.0.company": "The Tevrin Nibscope developers",
      "driver_library.search_path.1.loaded": False, "devices.0.name": "Simulated Tablet"},
     dict(ALL_PASS, **{"search-path-companies": "WARN"})),
    ("size query of the device name answers 0", BESIDE, CHECK, quirk("name-size-zero"), 0,
     {"devices.0.name": "Simulated Tablet"}, {"device-name-size": "WARN", "query-sizes": "PASS"}),
    ("cursor names written past their size", BESIDE, CHECK, quirk("overrun"), 1,
     {"cursors.1.name": "Pressure Stylus"}, {"query-sizes": "FAIL", "texts-terminated": "PASS"}),
    ("WinTab id unterminated", BESIDE, CHECK, quirk("unterminated"), 1,
     {"interface.wintab_id": "Simulated WinTab driver"}, {"texts-terminated": "FAIL", "query-sizes": "PASS"}),
    ("pressure axis without range", BESIDE, CHECK, quirk("zero-pressure"), 1,
     {"devices.0.normal_pressure.levels": 1}, {"pressure-range": "FAIL", "context-opens": "PASS"}),
    ("capture of the known stroke", BESIDE, ["--capture", "1", "--json"], STROKE, 0, CAPTURE, {}),
    ("capture with serial-number gaps", BESIDE, ["--capture", "1", "--json"], quirk("serial-gaps", STROKE), 0,
     dict(CAPTURE, **{"capture.lost_packets": 4}), {}),
    ("capture with queue errors", BESIDE, ["--capture", "1", "--json"], quirk("queue-errors", STROKE), 0,
     dict(CAPTURE, **{"capture.queue_errors": 2}), {}),
    ("capture with refused packet items", BESIDE, ["--capture", "1", "--json"], quirk("refuse-fields", STROKE), 0,
     dict(CAPTURE, **{"capture.lost_packets": None, "capture.tilt": None}), {}),
    ("capture where the driver rejects extra packet items", BESIDE, ["--capture", "1", "--json"],
     quirk("reject-fields", STROKE), 0,
     {"capture.packets": 30, "capture.pressure.distinct_values": 21, "capture.lost_packets": None,
      "capture.packet_age_ms": None, "capture.hovering.packets_per_second": None, "capture.tilt": None}, {}),
    ("Wine's builtin wintab32 without a tablet", OWN, CHECK, {"TEVRIN_DLL_OVERRIDES": "wintab32=b"}, 1,
     {"driver_library.loaded": True, "driver_library.machine": "x64", "interface.answers": False, "devices": [],
      "driver_library.path": lambda p: p.lower().endswith("\\system32\\wintab32.dll")},
     {"library-loads": "PASS", "library-machine": "PASS", "entries-exported": "PASS", "interface-answers": "FAIL"}),
    ("no library", OWN, CHECK, {"TEVRIN_DLL_OVERRIDES": "wintab32="}, 3,
     dict(UNAVAILABLE, **{"driver_library.loaded": False,
                          "driver_library.load_error": 'Requested DLL file "wintab32.dll" non-existant.'}),
     {"library-loads": "FAIL", "search-path-companies": "PASS"}),
    ("a file that is no library", OWN, ["--driver", "Z:" + NOT_A_LIBRARY] + CHECK, {"TEVRIN_DLL_OVERRIDES": "wintab32=n"}, 3,
     dict(UNAVAILABLE, **{"driver_library.loaded": False, "driver_library.machine": "not a PE file",
                          "driver_library.load_error": "LoadLibrary call failed, error code 193, "
                                                       "DLL considered unexecutable (not Win32 format)"}),
     {"library-loads": "FAIL", "library-machine": "FAIL"}),
]

USAGE_ERRORS = [
    (["--verbose"], "unknown argument '--verbose'"),
    (["report.txt"], "unknown argument 'report.txt'"),
    (["--driver"], "--driver needs a value"),
    (["--json", "--capture"], "--capture needs a value"),
    (["--capture", "ten"], "--capture needs a whole number of seconds, not 'ten'"),
    (["--capture", "-5"], "--capture needs a whole number of seconds, not '-5'"),
    (["--capture", "0"], "--capture takes 1 to 600 seconds, not 0"),
    (["--capture", "601"], "--capture takes 1 to 600 seconds, not 601"),
]


def run(program, arguments, environment=None):
    result = subprocess.run([WINE_RUN, program] + arguments, capture_output=True, timeout=120,
                            env=dict(os.environ, **(environment or {})))
    return result.returncode, result.stdout.decode("utf-8").replace("\r\n", "\n"), result.stderr.decode("utf-8", "replace")


def field(tree, path):
    for part in path.split("."):
        tree = tree[int(part)] if isinstance(tree, list) else tree[part]
    return tree


def matches(expected, actual):
    return expected is ANY or (expected(actual) if callable(expected) else expected == actual)


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
    for path, expected in fields.items():
        try:
            actual = field(report, path)
        except (KeyError, IndexError, TypeError):
            actual = "<missing>"
        if not matches(expected, actual):
            failures.append(f"{path} is {actual!r}, expected {expected!r}")
    found = {c["id"]: c["outcome"] for c in report.get("checks", [])}
    for check, outcome in outcomes.items():
        if found.get(check) != outcome:
            failures.append(f"check {check} is {found.get(check)}, expected {outcome}")
    if "--check" in arguments:
        # The text report of the same run says the same: every check line and every section.
        code, text, _ = run(program, [a for a in arguments if a != "--json"], environment)
        for c in report["checks"]:
            if f"{c['outcome']} {c['id']}: {c['sentence']}\n" not in text:
                failures.append(f"text report lacks the line of check {c['id']}")
        for section in report:
            if "\n" + section.replace("_", " ").capitalize() + ":" not in "\n" + text:
                failures.append(f"text report lacks section {section}")
        if code != status:
            failures.append(f"text run exit status {code}, expected {status}")
    return [f"{name}: {failure}" for failure in failures]


def check_usage(case):
    arguments, message = case
    code, out, err = run(OWN, arguments)
    lines = err.replace("\r\n", "\n").split("\n")
    if code != 2 or lines[0] != "nibscope-report: " + message or not lines[1].startswith("usage: nibscope-report") or out:
        return [f"usage error {arguments}: exit {code}, stderr {err!r}"]
    return []


def main():
    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        results = list(pool.map(check_scenario, SCENARIOS)) + list(pool.map(check_usage, USAGE_ERRORS))
    code, out, err = run(OWN, ["--help"])
    results.append([] if code == 0 and out.startswith("usage: nibscope-report") and not err else [f"--help: {code} {out!r}"])
    failures = [failure for result in results for failure in result]
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(SCENARIOS)} scenarios, {len(USAGE_ERRORS)} usage errors, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
