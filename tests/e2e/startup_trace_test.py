"""The program's first debugger lines: the locale set-up before the entry point, then
the about text with the version of the build, and a clean exit with status 0 when its
window is closed."""
import sys

import desktop
import harness
import wine_debug


def main():
    program, version, build = sys.argv[1], sys.argv[2], sys.argv[3]
    wine_debug.use_display(build)
    status, texts = harness.run_then_close(
        program, lambda process: desktop.wait_for_window("Tevrin Nibscope", process=process))
    failures = []
    if status != 0:
        failures.append(f"exit status {status}, expected 0")
    if len(texts) < 4:
        failures.append(f"expected at least 4 debugger lines, got {texts!r}")
    else:
        if not texts[0].startswith("Current locale: ") or not texts[0].endswith("\n"):
            failures.append(f"first line is not the locale: {texts[0]!r}")
        if not texts[1].startswith("               Current decimal point: "):
            failures.append(f"second line is not the decimal point: {texts[1]!r}")
        if not texts[2].startswith("         Current thousands separator: "):
            failures.append(f"third line is not the thousands separator: {texts[2]!r}")
        about = [t for t in texts if t.startswith("Tevrin Nibscope ")]
        expected = f"Tevrin Nibscope {version}, 64-bit\nCopyright (C) 2026 The Tevrin Nibscope developers\n"
        if not about or about[0] != expected:
            failures.append(f"about text {about[:1]!r}, expected {expected!r}")
        elif texts.index(about[0]) < 3:
            failures.append("the about text came before the locale lines")
    if "tevrin::Application::~Application\n" not in texts:
        failures.append("the application object was not destroyed")
    for failure in failures:
        print("FAIL:", failure)
    print("debugger output:", *texts, sep="\n  ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
