"""Where the real program finds the driver library: a copy of the simulated wintab32.dll
in the folder the program is started from, and not beside the program, is never loaded
(the program logs the missing-driver line); a copy beside the program is. It runs in a
Wine prefix of its own without the placeholder wintab32.dll in the system folder, and
Wine's builtin one is kept out of the way, as on a Windows machine without a driver:
otherwise Wine's search would stop at the placeholder before the current folder.

    dll_search_test.py NIBSCOPE_EXE WINTAB_DLL BUILD_FOLDER SCENARIO_FOLDER
"""
import os
import shutil
import subprocess
import sys

import harness

MISSING = ': Requested DLL file "wintab32.dll" non-existant.\n'
check = harness.Checks()


def started_log(program, folder):
    wait = lambda process: harness.wait_until(lambda: harness.debugger_texts(process).count(harness.RULE) >= 2, 60)
    status, texts = harness.run_then_close(program, wait, cwd=folder, env={"TEVRIN_DLL_OVERRIDES": "wintab32=n"})
    check(status == 0, f"the program ran and ended with exit status 0 (got {status})")
    return texts


def main():
    program, driver, build, scenario = sys.argv[1:5]
    os.environ["TEVRIN_WINE_PREFIX"] = "without-wintab32"
    harness.use_display(build)
    placeholder = os.path.join(os.environ["WINEPREFIX"], "drive_c", "windows", "system32", "wintab32.dll")
    if os.path.exists(placeholder):
        os.remove(placeholder)
    beside, started_from = os.path.join(scenario, "program"), os.path.join(scenario, "started_from")
    shutil.rmtree(scenario, ignore_errors=True)
    for folder in (beside, started_from):
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
    finally:
        subprocess.run([harness.WINE_RUN, "--stop", build], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return check.summary()


if __name__ == "__main__":
    sys.exit(main())
