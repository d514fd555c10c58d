"""WM_QUIT posted to the program's thread ends the main loop without dispatching it:
the program tears down its application object and exits with status 0 while its
window still exists (so the window is never destroyed through the loop)."""
import subprocess
import sys

import desktop
import harness
import wine_debug


def main():
    program, probe, build = sys.argv[1:4]
    wine_debug.use_display(build)
    posted = []

    def post_quit(process):
        desktop.wait_for_window("Tevrin Nibscope", process=process)
        posted.append(subprocess.run([wine_debug.WINE_RUN, probe, "post-quit", "Tevrin Nibscope"], timeout=60).returncode)
        process.wait(timeout=60)

    status, texts = harness.run_then_close(program, post_quit)
    failures = []
    if posted != [0]:
        failures.append("WM_QUIT could not be posted")
    if status != 0:
        failures.append(f"exit status {status}, expected 0")
    if "tevrin::Application::~Application\n" not in texts:
        failures.append("the application object was not torn down")
    if "AppWindow::HandleDestroyEvent\n" in texts:
        failures.append("the main window was destroyed before the loop ended: WM_QUIT did not end it")
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("ok: WM_QUIT ended the main loop and the program exited with status 0")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
