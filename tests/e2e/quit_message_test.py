"""WM_QUIT posted to the program's thread ends the main loop without dispatching it:
the program tears down its application object and exits with status 0 while its
window still exists (so the window is never destroyed through the loop)."""
import sys

import harness
import wine_debug

check = harness.Checks()


def main():
    program, probe_exe, build = sys.argv[1:4]
    wine_debug.use_display(build)
    probe = harness.WindowProbe(probe_exe)

    def post_quit(process):
        probe.wait_for_start_up(process)
        check(probe.raw("post-quit") is not None, "WM_QUIT is posted to the main window's thread")
        process.wait(timeout=60)

    status, texts = harness.run_then_close(program, post_quit)
    check(status == 0, f"the program ended with exit status 0 (got {status})")
    check("tevrin::Application::~Application\n" in texts, "the application object is torn down")
    check("AppWindow::HandleDestroyEvent\n" not in texts, "WM_QUIT, not the window's destruction, ends the loop")
    return check.summary()


if __name__ == "__main__":
    sys.exit(main())
