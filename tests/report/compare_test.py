"""nibscope-report.exe --compare under Wine over a table of report pairs: two real reports of the simulated driver
(as it is, and losing packets while writing a record one byte long), and reports derived from them as a driver update,
another tablet and an earlier version of the program would write them; then every kind of bad input, each refused with
exit status 2, one sentence naming the file, and nothing written.

usage: compare_test.py SCENARIO_DIR OUTPUT_DIR"""
import copy
import json
import os
import sys
import xml.etree.ElementTree as ElementTree

import report_harness
from report_harness import STROKE, XHTML, field, verdict, windows

SCENARIO, OUT = sys.argv[1:3]
PROGRAM = os.path.join(SCENARIO, "nibscope-report.exe")


def run(*arguments, env=None):
    return report_harness.run(PROGRAM, arguments, env)


def report(quirks=""):
    code, out, err = run("--check", "--capture", "1", "--json", env=dict(STROKE, TEVRIN_SIMULATED_QUIRKS=quirks))
    assert code in (0, 1), err
    return json.loads(out)


def save(name, content):
    path = os.path.join(OUT, name)
    with open(path, "w", encoding="utf-8") as file:
        file.write(content if isinstance(content, str) else json.dumps(content, indent=2))
    return path


def changed(base, **edits):  # a copy with fields replaced (or, given None, removed) by their paths: "devices.0.name"
    derived = copy.deepcopy(base)
    for path, value in edits.items():
        parent, _, key = path.rpartition(".")
        tree = field(derived, parent) if parent else derived
        if value is None:
            del tree[key]
        else:
            tree[key] = value
    return derived


def main():
    os.makedirs(OUT, exist_ok=True)
    base, losing = report(), report("serial-gaps,long-axis-byte")
    old = save("old.json", base)
    pairs = [  # name, new report, lines the comparison must hold
        ("the same report", base, ["The reports do not differ where it matters."]),
        ("a driver update", changed(base, **{"driver_library.file_version": "1.0.1.2"}),
         ["Driver library:", "  File version: 1.0.0.7 -> 1.0.1.2"]),
        ("another tablet", changed(base, **{"driver_library.company": "Another maker", "devices.0.name": "Other Tablet",
                                            "devices.0.packet_rate": 266, "capture.pressure.maximum": 4000}),
         ["  Company: The Tevrin Nibscope developers -> Another maker", "Devices:",
          "  #0 Name: Simulated Tablet -> Other Tablet", "  #0 Packet rate: 200 packets per second -> 266 packets per "
          "second", "  Pressure: Maximum: 1000 -> 4000, +3000 (+300 %)"]),
        ("changed outcomes", losing,
         ["Checks whose outcome changed:", "  record-sizes: PASS -> FAIL", "  packet-loss: PASS -> FAIL",
          "Capture:", "  Lost packets: 0 -> 4, +4"]),
        # Before findings, shared time stamps and the 32-bit twin.
        ("an earlier version's report", changed(base, summary=None, findings=None, **{
            "capture.packets_sharing_a_time_stamp": None, "driver_library.wintab32_32bit": None}),
         ["  32-bit wintab32.dll: Path: C:\\windows\\syswow64\\wintab32.dll -> absent",
          "  Packets sharing a time stamp: 0 -> absent"]),
    ]
    failures = []
    for name, new, lines in pairs:
        page = os.path.join(OUT, name.replace(" ", "_").replace("'", "") + ".html")
        code, out, err = run("--compare", windows(old), windows(save("new.json", new)), "--html", windows(page))
        shown = out.split("\n")
        failures += [f"{name}: exit status {code}, stderr {err!r}"] if code != 0 or err else []
        failures += [f"{name}: no line {line!r} in\n{out}" for line in lines if line not in shown]
        failures += [] if shown[-2].startswith("Equal in both: ") else [f"{name}: last line {shown[-2]!r}"]
        cells = ["".join(row.itertext()) for row in ElementTree.parse(page).iter(XHTML + "tr")]
        failures += [f"{name}: the page lacks {line.strip()!r}" for line in lines if ": " in line and " -> " in line
                     and not any(line.strip().split(": ")[-1].split(" -> ")[0] in cell for cell in cells)]
    return verdict(failures + bad_input_failures(old), f"{len(pairs)} pairs compared")


def bad_input_failures(good):
    text = open(good, encoding="utf-8").read()
    gigabyte = os.path.join(OUT, "gigabyte.json")
    with open(gigabyte, "wb") as file:
        file.truncate(1 << 30)  # sparse: costs no disk
    inputs = [  # file, the problem the sentence names
        (save("not_json.json", "Driver: wintab32.dll\n"), " is not JSON: the text goes wrong at byte 1."),
        (save("truncated.json", text[:len(text) // 2]), f" ends before its JSON does: it was cut short at byte "
                                                          f"{len(text[:len(text) // 2].encode())}."),
        (save("deep.json", '{"report": {"program": "nibscope-report"}, "x": ' + "[" * 40 + "]" * 40 + "}"),
         " nests its JSON more than 32 levels deep, deeper than any report of this program."),
        (save("other.json", {"name": "nibscope", "version": "1.0.0", "dependencies": {}}),
         " is JSON, but not a report of nibscope-report --json."),
        (gigabyte, " is 1073741824 bytes long, more than the 16777216 bytes any report of this program takes."),
        (os.path.join(OUT, "missing.json"), " cannot be read: "),
    ]
    failures = []
    page = os.path.join(OUT, "refused.html")
    for path, problem in inputs:
        for first, second in ((path, good), (good, path)):  # refused whichever side it stands on
            if os.path.exists(page):
                os.remove(page)
            code, out, err = run("--compare", windows(first), windows(second), "--html", windows(page))
            lines = err.replace("\r\n", "\n").strip().split("\n")
            if (code != 2 or out or os.path.exists(page) or len(lines) != 1
                    or not lines[0].startswith("nibscope-report: " + windows(path) + problem)):
                failures.append(f"{os.path.basename(path)}: exit {code}, stdout {out[:100]!r}, stderr {err!r}, "
                                f"page written: {os.path.exists(page)}")
    os.remove(gigabyte)
    return failures


if __name__ == "__main__":
    sys.exit(main())
