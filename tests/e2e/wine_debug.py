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
    subprocess.run([os.environ["TEVRIN_WINE"], "taskkill", "/im", image_name], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=60)


def unescape(text):
    """Undoes Wine's escaping of debug strings (\\n, \\t, \\xNN, octal, ...)."""
    out = bytearray()
    i = 0
    while i < len(text):
        c = text[i]
        if c != "\\" or i + 1 == len(text):
            out += c.encode("latin-1", "replace")
            i += 1
            continue
        n = text[i + 1]
        simple = {"n": b"\n", "r": b"\r", "t": b"\t", "\\": b"\\", '"': b'"', "'": b"'"}
        if n in simple:
            out += simple[n]
            i += 2
        elif n == "x":
            out.append(int(text[i + 2:i + 4], 16))
            i += 4
        elif n.isdigit():
            digits = re.match(r"[0-7]{1,3}", text[i + 1:]).group(0)
            out.append(int(digits, 8))
            i += 1 + len(digits)
        else:
            out += n.encode("latin-1", "replace")
            i += 2
    return out.decode("utf-8", "replace")


def debugger_texts(stderr_text):
    """The debugger writes of a run, in order, one entry per OutputDebugString call."""
    texts = []
    for line in stderr_text.splitlines():
        match = _LINE.search(line)
        if match:
            texts.append(unescape(match.group(1)))
    return texts


def start(program, *args, env=None, cwd=None):
    """Starts a program under Wine. Its debugger output goes to a file rather than a pipe,
    so a long interactive run can never block on a full pipe; finish() reads it."""
    environment = dict(os.environ, WINEDEBUG=DEBUG_CHANNELS)
    environment.update(env or {})
    output = tempfile.TemporaryFile(mode="w+", errors="replace")
    process = subprocess.Popen([WINE_RUN, program, *args], stdout=subprocess.DEVNULL, stderr=output,
                               env=environment, cwd=cwd)
    process.debugger_output = output
    return process


def finish(process, timeout):
    """Waits for a started program to end; returns its debugger texts."""
    process.wait(timeout=timeout)
    process.debugger_output.seek(0)
    texts = debugger_texts(process.debugger_output.read())
    process.debugger_output.close()
    return texts


def run(program, *args, env=None, cwd=None, timeout=120):
    """Runs a program to its end; returns (exit status, debugger texts)."""
    process = start(program, *args, env=env, cwd=cwd)
    texts = finish(process, timeout)
    return process.returncode, texts
