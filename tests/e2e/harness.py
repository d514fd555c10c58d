"""What the end-to-end tests share: named checks, waits with a deadline, window_probe.exe
(which reads the program's windows through Win32 from another process), and one run of
the program from its start to a polite close."""
import os
import subprocess
import time

import wine_debug

TITLE = "Tevrin Nibscope"
RULE = "_" * 80 + "\n"  # opens and closes the system report, the last lines of start-up


class Checks:
    """Named checks that print as they go; the test fails when any failed."""

    def __init__(self):
        self.failures = []

    def __call__(self, condition, what):
        print(("ok: " if condition else "FAIL: ") + what, flush=True)
        if not condition:
            self.failures.append(what)
        return condition

    def summary(self):
        print(f"{len(self.failures)} failed" if self.failures else "all checks passed")
        return 1 if self.failures else 0


def wait_until(condition, timeout=30.0):
    """Polls condition() until it gives a true value, and returns that value; None when
    the deadline passes first."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value or None
        time.sleep(0.05)


class WindowProbe:
    """Commands of window_probe.exe on the main window of the program's own image, so that
    boxes or windows of other programs captioned with the same title are never taken."""

    def __init__(self, exe, image="nibscope.exe", title=TITLE):
        self.exe, self.image, self.title = exe, image, title

    def raw(self, command, *args):
        """The probe's output, or None when it failed (no such window, for one)."""
        result = subprocess.run([wine_debug.WINE_RUN, self.exe, command, self.image, self.title, *map(str, args)],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    def ask(self, command, *args):
        return (self.raw(command, *args) or "").strip()

    def numbers(self, command, *args):
        return [int(n) for n in self.ask(command, *args).split()]

    def centre(self, control):
        left, top, right, bottom = self.numbers("control-rect", control)
        return (left + right) // 2, (top + bottom) // 2

    def wait_for_start_up(self, process):
        """Waits until the main window exists and start-up has logged its last line;
        returns the screen position of the client area's corner."""
        def ready():
            if process.poll() is not None:
                raise RuntimeError(f"the program ended (status {process.returncode}) during start-up")
            return wine_debug.texts_so_far(process).count(RULE) >= 2 and self.numbers("client-origin")
        origin = wait_until(ready, timeout=60)
        if not origin:
            raise RuntimeError("the program's main window did not come up within 60 s")
        return tuple(origin)


def pointer_settle(process):
    """A settle for desktop.drag on a drawing surface: each step waits for a line that
    the surface logs for it (the press, each move's pressure, the release)."""
    def count():
        return sum(t.startswith(("Pointer DOWN on ", "Pressure: ", "Pointer UP on "))
                   for t in wine_debug.texts_so_far(process))
    seen = [count()]

    def settle():
        if not wait_until(lambda: count() > seen[0], timeout=10):
            raise RuntimeError("the surface logged nothing for a pointer step")
        seen[0] = count()
    return settle


def run_then_close(program, action, env=None, cwd=None):
    """Starts the program under Wine, calls action(process), then closes the program
    politely (as a user closing its window) and waits for it. Returns the exit status
    and the debugger texts of the whole run."""
    process = wine_debug.start(program, env=env, cwd=cwd)
    try:
        action(process)
    finally:
        if process.poll() is None:
            wine_debug.close_politely(os.path.basename(program))
        try:
            texts = wine_debug.finish(process, timeout=30)
        except subprocess.TimeoutExpired:
            process.kill()
            texts = wine_debug.finish(process, timeout=30)
    return process.returncode, texts
