"""What the end-to-end tests share: a list of named checks, and window_probe.exe, which
reads the program's windows through Win32 from another process."""
import os
import subprocess

import wine_debug


class Checks:
    """Named checks that print as they go; the test fails when any failed."""

    def __init__(self):
        self.failures = []

    def __call__(self, condition, what):
        print(("ok: " if condition else "FAIL: ") + what)
        if not condition:
            self.failures.append(what)
        return condition

    def summary(self):
        print(f"{len(self.failures)} failed" if self.failures else "all checks passed")
        return 1 if self.failures else 0


class WindowProbe:
    def __init__(self, exe, title="Tevrin Nibscope"):
        self.exe = exe
        self.title = title

    def raw(self, command, *args):
        result = subprocess.run([wine_debug.WINE_RUN, self.exe, command, self.title, *map(str, args)],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        return result.stdout.decode("utf-8", "replace")

    def ask(self, command, *args):
        return self.raw(command, *args).strip()

    def numbers(self, command, *args):
        return [int(n) for n in self.ask(command, *args).split()]

    def centre(self, control):
        left, top, right, bottom = self.numbers("control-rect", control)
        return (left + right) // 2, (top + bottom) // 2


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
