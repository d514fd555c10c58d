"""What the report's Python tests share: the program run under tools/wine-run, a report's fields by their path,
the charts of its page, tables of actual against expected figures, and the closing lines ("FAIL:" per failure)."""
import os
import subprocess
import tempfile
import xml.etree.ElementTree as ElementTree

WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "wine-run")
NATIVE = {"TEVRIN_DLL_OVERRIDES": "wintab32=n,b"}  # the driver beside the program before Wine's own
STROKE = dict(NATIVE, TEVRIN_SIMULATED_STROKE="1")  # the simulated driver plays its known stroke
HEAD = ("summary", "findings", "checks")  # the report's own sections, before the system's
XHTML, SVG = "{http://www.w3.org/1999/xhtml}", "{http://www.w3.org/2000/svg}"


def windows(path):  # a host file as a program under Wine opens it
    return "Z:" + path.replace("/", "\\")


def run(program, arguments, environment=None):
    """The exit status, standard output (host newlines) and standard error of one run."""
    result = subprocess.run([WINE_RUN, program] + list(arguments), capture_output=True, timeout=180,
                            env=dict(os.environ, **(environment or {})))
    return result.returncode, result.stdout.decode("utf-8").replace("\r\n", "\n"), result.stderr.decode("utf-8", "replace")


def start(program, arguments, environment=None):
    """The program started with these arguments; its standard error so far, and the line its countdown shows now."""
    progress = tempfile.TemporaryFile()
    started = subprocess.Popen([WINE_RUN, program] + arguments, stdout=subprocess.PIPE, stderr=progress,
                               env=dict(os.environ, **(environment or {})))
    started.written = lambda: os.pread(progress.fileno(), 1 << 16, 0).decode("utf-8", "replace").replace("\r\n", "\n")
    started.shown = lambda: started.written().split("\r")[-1]
    return started


def field(tree, path):  # "devices.0.name"; "<missing>" where the path leads nowhere
    try:
        for part in path.split("."):
            tree = tree[int(part)] if isinstance(tree, list) else tree[part]
        return tree
    except (KeyError, IndexError, TypeError):
        return "<missing>"


def figures(page):  # the charts of a page, in order
    return list(ElementTree.parse(page).iter(XHTML + "figure"))


def mismatches(table, where=""):
    """{name: (actual, expected)}: a failure for each actual that is not the expected value (nor, the expected being
    a function, a value it accepts), each after where it happened if given."""
    return [f"{where + ': ' if where else ''}{name} is {actual!r}, "
            + ("not as expected" if callable(expected) else f"expected {expected!r}")
            for name, (actual, expected) in table.items() if not (actual == expected or callable(expected) and expected(actual))]


def verdict(failures, count=None):
    """Prints each failure and the closing count; the exit status."""
    for failure in failures:
        print("FAIL:", failure)
    if count:
        print(f"{count}, {len(failures)} failures")
    return 1 if failures else 0
