"""The 64-bit report's driver_32bit section, from the x86 twin it finds in x86\\ beside it: the real x86
report beside the x86 simulated driver (the same driver both sides, or none), and a stand-in twin that answers
with an edited copy of the real twin's report (another maker or version, other pressure levels) or goes wrong
(missing, hangs, crashes, prints garbage). The report is written whole every time, with its exit status.

usage: twin_test.py REPORT_EXE WINTAB_DLL REPORT_X86_EXE WINTAB_X86_DLL FAKE_TWIN_EXE WORK_FOLDER"""
import concurrent.futures
import json
import os
import shutil
import sys

from report_harness import NATIVE, mismatches, run, verdict, windows

REPORT, DRIVER, REPORT_X86, DRIVER_X86, FAKE_TWIN, WORK = sys.argv[1:7]
SAME = "32-bit programs see the same tablet, pressure levels and default context area as 64-bit ones."


def folder(name, twin, twin_driver=None):
    """A folder as the download lays it out: the report beside the 64-bit driver, its twin in x86\\."""
    path = os.path.join(WORK, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(os.path.join(path, "x86"))
    for source, target in ((REPORT, ""), (DRIVER, ""), (twin, "x86/nibscope-report.exe"), (twin_driver, "x86/wintab32.dll")):
        if source:
            shutil.copy2(source, os.path.join(path, target))
    return os.path.join(path, "nibscope-report.exe")


def edited_twin_report(name, edit):
    """The real twin's report, as it prints it beside the x86 simulated driver, edited; its path for the stand-in."""
    _, out, _ = run(os.path.join(WORK, "x86-real", "x86", "nibscope-report.exe"), ["--json", "--check"], NATIVE)
    report = json.loads(out)
    edit(report)
    path = os.path.join(WORK, name + ".json")
    with open(path, "w", encoding="utf-8") as written:
        json.dump(report, written)
    return windows(path)  # as the stand-in, a Windows program, opens it


def check(row):
    name, program, environment, summary, outcomes, sentence = row
    code, out, _ = run(program, ["--check", "--json"], environment)
    try:
        report = json.loads(out)
    except ValueError:
        return [f"{name}: output is no JSON: {out[:300]!r}"]
    line, section = report["summary"][-1], report.get("driver_32bit", {})
    found = {c["id"]: c for c in report.get("checks", [])}
    table = {"exit status": (code, 0), "summary line": (line, lambda text: text.startswith("32-bit programs: ")
                                                        and summary in text),
             **{f"check {c}": (found.get(c, {}).get("outcome"), o) for c, o in outcomes.items()},
             "the sentence of 32-bit-tablet": (found.get("32-bit-tablet", {}).get("sentence", ""),
                                               lambda said: sentence in said),
             # A twin without a report leaves its sentence alone.
             "the 32-bit section's keys": (sorted(section), lambda keys: "unavailable" not in keys
                                           or keys == ["program", "unavailable"])}
    # The text report of the same run holds the section and the same summary line; the hanging twin is
    # not waited for twice.
    if environment.get("TEVRIN_FAKE_TWIN") != "hang":
        text = run(program, ["--check"], environment)[1]
        table["the text report's 32-bit section and summary line"] = (
            "\n32-bit programs:\n" in text and line + "\n" in text, True)
        table["the twin's checks as check lines"] = (all(f"    {c['outcome']} {c['id']}: {c['sentence']}\n" in text
                                                          for c in section.get("checks", [])), True)
    return mismatches(table, name)


def main():
    os.makedirs(WORK, exist_ok=True)
    real = folder("x86-real", REPORT_X86, DRIVER_X86)
    fake = folder("x86-fake", FAKE_TWIN)
    missing = folder("x86-missing", None)
    unloaded = folder("x86-without-driver", REPORT_X86)
    fake_of = lambda behaviour: dict(NATIVE, TEVRIN_FAKE_TWIN=behaviour)
    warn = {"32-bit-tablet": "WARN"}
    rows = [
        ("same driver both sides", real, NATIVE, "Simulated Tablet, 1024 levels; checks 17 PASS, 2 WARN, 0 FAIL",
         {"32-bit-library": "PASS", "32-bit-tablet": "PASS"}, SAME),
        ("another maker and version", fake, fake_of(edited_twin_report(
            "maker", lambda twin: twin["driver_library"].update(company="Another Maker", file_version="0.9.0.1"))),
         "wintab32.dll 0.9.0.1 from Another Maker, Simulated Tablet, 1024 levels",
         {"32-bit-library": "WARN", "32-bit-tablet": "PASS"}, SAME),
        ("other pressure levels", fake, fake_of(edited_twin_report(
            "levels", lambda twin: twin["devices"][0]["normal_pressure"].update(levels=2048))), "Simulated Tablet, 2048 levels",
         dict(warn, **{"32-bit-library": "PASS"}), "A 32-bit program would see 2048 pressure levels instead of 1024."),
        # Native only: the twin finds no 32-bit library beside it nor a native one in the 32-bit system folder.
        ("no 32-bit driver", unloaded, {"TEVRIN_DLL_OVERRIDES": "wintab32=n"}, "no driver loaded (",
         dict(warn, **{"32-bit-library": "WARN"}), "no tablet instead of Simulated Tablet"),
        ("twin missing", missing, NATIVE, "x86\\nibscope-report.exe is missing beside this program.", warn,
         "What 32-bit programs see is unknown: The 32-bit report x86\\nibscope-report.exe is missing"),
        ("twin hangs", fake, fake_of("hang"), "did not finish within 30 seconds and was stopped.", warn, "was stopped."),
        ("twin crashes", fake, fake_of("crash"), "The 32-bit report crashed (exception 0xC0000005).", warn, "crashed"),
        ("twin prints garbage", fake, fake_of("garbage"), "printed something that is not its report", warn,
         "printed something that is not its report"),
    ]
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        return verdict([failure for result in pool.map(check, rows) for failure in result], f"{len(rows)} twin rows")


if __name__ == "__main__":
    sys.exit(main())
