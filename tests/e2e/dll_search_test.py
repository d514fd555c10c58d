"""Where the real programs find their libraries.
- The driver library: a copy of the simulated wintab32.dll in the folder the program is
  started from, and not beside the program, is never loaded (the program logs the
  missing-driver line); a copy beside the program is. It runs in a Wine prefix of its
  own without the placeholder wintab32.dll in the system folder, and Wine's builtin one
  is kept out of the way, as on a Windows machine without a driver: otherwise Wine's
  search would stop at the placeholder before the current folder.
- A system library: an opengl32.dll planted beside the program and in the folder it is
  started from (a library that leaves a marker file when loaded), with Wine told to
  prefer native copies, is never loaded; the program still draws with the system's.
  (version.dll cannot be planted under Wine, whose own builtin libraries import it and
  take a copy beside the program: the package test checks the programs do not import
  it.)
- nibscope-report --driver PATH: a driver that imports a helper library lying beside it
  loads and is reported on, from a folder that is neither the report's nor the current.

    dll_search_test.py NIBSCOPE_EXE WINTAB_DLL BUILD_FOLDER SCENARIO_FOLDER MARKER_OPENGL32_DLL
                       REPORT_EXE WINTAB_WITH_HELPER_DLL
"""
import json
import os
import shutil
import subprocess
import sys

import harness

MISSING = ': Requested DLL file "wintab32.dll" non-existant.\n'
check = harness.Checks()


def started_log(program, folder, overrides="wintab32=n"):
    wait = lambda process: harness.wait_until(lambda: harness.debugger_texts(process).count(harness.RULE) >= 2, 60)
    status, texts = harness.run_then_close(program, wait, cwd=folder, env={"TEVRIN_DLL_OVERRIDES": overrides})
    check(status == 0, f"the program ran and ended with exit status 0 (got {status})")
    return texts


def check_planted_opengl32(program, started_from, marker_dll):
    planted = [shutil.copy2(marker_dll, os.path.join(folder, "opengl32.dll"))
               for folder in (os.path.dirname(program), started_from)]
    texts = started_log(program, started_from, "wintab32=n;opengl32=n,b")
    loaded = [path for path in planted if os.path.exists(path + ".loaded")]
    check(not loaded, f"an opengl32.dll planted beside the program and in the current folder is not loaded ({loaded})")
    check(any(t.startswith("OpenGL renderer: ") for t in texts), "the OpenGL surface draws with the system's library")
    for path in planted:
        os.remove(path)


def check_driver_with_helper(report, helper_driver, scenario, started_from):
    """The driver and its helper in a folder of their own, the report in another."""
    report_copy = shutil.copy2(report, os.path.join(scenario, "report", "nibscope-report.exe"))
    driver_folder = os.path.dirname(helper_driver)
    result = subprocess.run([harness.WINE_RUN, report_copy, "--driver", "Z:" + helper_driver.replace("/", "\\"),
                             "--json"], cwd=started_from, capture_output=True, text=True, timeout=120,
                            env=dict(os.environ, TEVRIN_DLL_OVERRIDES="wintab32=n"))
    try:
        library = json.loads(result.stdout)["driver_library"]
    except (ValueError, KeyError):
        library = {}
    check(result.returncode in (0, 1) and library.get("loaded") is True,
          f"--driver loads a driver whose helper library lies beside it in {driver_folder} "
          f"(exit {result.returncode}, {library.get('load_error', 'loaded')})")


def main():
    program, driver, build, scenario, marker_dll, report, helper_driver = sys.argv[1:8]
    os.environ["TEVRIN_WINE_PREFIX"] = "without-wintab32"
    harness.use_display(build)
    placeholder = os.path.join(os.environ["WINEPREFIX"], "drive_c", "windows", "system32", "wintab32.dll")
    if os.path.exists(placeholder):
        os.remove(placeholder)
    beside, started_from = os.path.join(scenario, "program"), os.path.join(scenario, "started_from")
    shutil.rmtree(scenario, ignore_errors=True)
    for folder in (beside, started_from, os.path.join(scenario, "report")):
        os.makedirs(folder)
    copy = shutil.copy2(program, os.path.join(beside, "nibscope.exe"))
    shutil.copy2(driver, os.path.join(started_from, "wintab32.dll"))
    try:
        texts = started_log(copy, started_from)
        missing = [t for t in texts if t.startswith("ERROR for window ") and t.endswith(MISSING)]
        check(len(missing) == 1 and not any(t.startswith("Tablet context created") for t in texts),
              f"a wintab32.dll only in the current folder is not loaded: the missing-driver line ({missing})")
        shutil.copy2(driver, os.path.join(beside, "wintab32.dll"))
        created = [t for t in started_log(copy, started_from) if t.startswith("Tablet context created for window ")]
        check(len(created) == 2, f"one beside the program is loaded: both surfaces open a context ({created})")
        check_planted_opengl32(copy, started_from, marker_dll)
        check_driver_with_helper(report, helper_driver, scenario, started_from)
    finally:
        subprocess.run([harness.WINE_RUN, "--stop", build], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return check.summary()


if __name__ == "__main__":
    sys.exit(main())
