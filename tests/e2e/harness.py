"""What the end-to-end tests share: the program run under tools/wine-run, its debugger
output, named checks, waits with a deadline, and window_probe.exe, which reads the
program's windows through Win32 from another process."""
import os
import re
import subprocess
import tempfile
import time

WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "wine-run")
TITLE = "Tevrin Nibscope"
RULE = "_" * 80 + "\n"  # opens and closes the system report, the last lines of start-up
_DEBUGGER_LINE = re.compile(r':OutputDebugStringA "(.*)"\s*$')


def use_display(build_dir):  # for xdotool, import and xclip: the build folder's private display
    output = subprocess.run([WINE_RUN, "--env", build_dir], capture_output=True, text=True, check=True).stdout
    for assignment in output.replace("export ", "").split():
        name, _, value = assignment.partition("=")
        os.environ[name] = value.strip("'")


def debugger_texts(process):
    """The debugger writes of a started program up to now, one entry per OutputDebugString
    call. Wine 8 prints each on standard error (OutputDebugStringW's on the seh channel)
    as a C string (\\n, \\xNN, octal) of UTF-8 bytes."""
    descriptor = process.debugger_output.fileno()
    stderr = os.pread(descriptor, os.fstat(descriptor).st_size, 0).decode("utf-8", "replace")
    return [match.group(1).encode("latin-1", "replace").decode("unicode_escape").encode("latin-1")
            .decode("utf-8", "replace") for match in map(_DEBUGGER_LINE.search, stderr.splitlines()) if match]


def run_then_close(program, action, env=None, cwd=None):
    """Starts the program under Wine, calls action(process), then closes the program
    politely (WM_CLOSE, as a user closing its window) and waits for it. Returns the exit
    status and the debugger texts, which go to a file: a long run never fills a pipe."""
    output = tempfile.TemporaryFile(mode="w+", errors="replace")
    process = subprocess.Popen([WINE_RUN, program], stdout=subprocess.DEVNULL, stderr=output, cwd=cwd,
                               env=dict(os.environ, **{"WINEDEBUG": "-all,+debugstr,warn+seh", **(env or {})}))
    process.debugger_output = output
    try:
        action(process)
    finally:
        if process.poll() is None:
            subprocess.run([os.environ["TEVRIN_WINE"], "taskkill", "/im", os.path.basename(program)],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        wait_or_kill(process)
    return process.returncode, debugger_texts(process)


def wait_or_kill(process, timeout=30):
    try:
        process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout=timeout)


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

    def raw(self, command, *args):  # None when the probe failed (no such window, for one)
        result = subprocess.run([WINE_RUN, self.exe, command, self.image, self.title, *map(str, args)],
                                capture_output=True, timeout=60)
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
            return debugger_texts(process).count(RULE) >= 2 and self.numbers("client-origin")
        origin = wait_until(ready, timeout=60)
        if not origin:
            raise RuntimeError("the program's main window did not come up within 60 s")
        return tuple(origin)


def pointer_settle(process):
    """A settle for desktop.drag on a drawing surface: each step waits for a line that
    the surface logs for it (the press, each move's pressure, the release); a step that
    logs nothing shows in the checks of the stroke, once 10 s have passed."""
    def count():
        return sum(t.startswith(("Pointer DOWN on ", "Pressure: ", "Pointer UP on ")) for t in debugger_texts(process))
    seen = [count()]

    def settle():
        seen[0] = count() if wait_until(lambda: count() > seen[0], timeout=10) else seen[0]
    return settle
