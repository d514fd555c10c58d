"""Runs Windows programs under tools/wine-run and reads their debugger output.

Wine prints OutputDebugString text on standard error when its debug channels are on;
in Wine 8 the text of OutputDebugStringW appears on the seh channel, that of
OutputDebugStringA on debugstr. Each text is one line ending in
:OutputDebugStringA "escaped text".
"""
import os
import re
import subprocess
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WINE_RUN = os.path.join(ROOT, "tools", "wine-run")
WINE = "/usr/lib/wine/wine64"
DEBUG_CHANNELS = "-all,+debugstr,warn+seh"
_LINE = re.compile(r':OutputDebugStringA "(.*)"\s*$')


def use_display(build_dir):
    """Points this process (xdotool, import, xclip) at the build folder's private display."""
    output = subprocess.run([WINE_RUN, "--env", build_dir], capture_output=True, text=True, check=True).stdout
    for assignment in output.replace("export ", "").split():
        name, _, value = assignment.partition("=")
        os.environ[name] = value.strip("'")


def close_politely(image_name):
    """Asks every top-level window of the named program to close (WM_CLOSE), as a user
    closing the window would. Needs use_display() first."""
    subprocess.run([WINE, "taskkill", "/im", image_name], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=60)


def debugger_texts(stderr_text):
    """The debugger writes of a run, in order, one entry per OutputDebugString call. Wine
    escapes them as C strings (\\n, \\xNN, octal) holding UTF-8 bytes."""
    return [match.group(1).encode("latin-1", "replace").decode("unicode_escape").encode("latin-1")
            .decode("utf-8", "replace") for match in map(_LINE.search, stderr_text.splitlines()) if match]


def start(program, *args, env=None, cwd=None):
    """Starts a program under Wine. Its debugger output goes to a file rather than a pipe,
    so a long interactive run can never block on a full pipe."""
    environment = dict(os.environ, WINEDEBUG=DEBUG_CHANNELS)
    environment.update(env or {})
    output = tempfile.TemporaryFile(mode="w+", errors="replace")
    process = subprocess.Popen([WINE_RUN, program, *args], stdout=subprocess.DEVNULL, stderr=output,
                               env=environment, cwd=cwd)
    process.debugger_output = output
    return process


def texts_so_far(process):
    """The debugger texts of a started program up to now; the program writes on."""
    descriptor = process.debugger_output.fileno()
    return debugger_texts(os.pread(descriptor, os.fstat(descriptor).st_size, 0).decode("utf-8", "replace"))


def finish(process, timeout):
    """Waits for a started program to end; returns its debugger texts."""
    process.wait(timeout=timeout)
    texts = texts_so_far(process)
    process.debugger_output.close()
    return texts
