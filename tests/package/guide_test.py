"""The user guide's troubleshooting table shows an example of every line that the
program writes to its log pane, so the guide cannot fall behind the program."""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
CALL = re.compile(r'\blog_line\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+)')
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')
CONVERSION = {"s": ".*", "d": r"-?\d+", "u": r"\d+", "x": "[0-9a-fA-F]+", "p": "[0-9a-fA-F]+", "%": "%"}


def log_formats():
    for path in sorted(ROOT.glob("app/**/*.cpp")) + sorted(ROOT.glob("tevrin/**/*.cpp")):
        for call in CALL.finditer(path.read_text(encoding="utf-8")):
            literal = "".join(LITERAL.findall(call.group(1)))
            yield path.relative_to(ROOT), literal.encode().decode("unicode_escape")


def as_pattern(format_text):
    pieces = re.split(r"%[-+ #0-9.]*([a-z%])", format_text)
    return re.compile("".join(CONVERSION[p] if i % 2 else re.escape(p) for i, p in enumerate(pieces)), re.S)


def table_examples():
    guide = (ROOT / "docs" / "user-guide.md").read_text(encoding="utf-8")
    section = guide.split("## Troubleshooting", 1)[1].split("\n## ", 1)[0]
    first_cells = [row.split(" | ")[0] for row in section.splitlines() if row.startswith("| ")]
    return [example for cell in first_cells for example in re.findall(r"`([^`]+)`", cell)]


def main():
    examples = table_examples()
    formats = list(log_formats())
    missing = [(path, text) for path, text in formats if not any(as_pattern(text).fullmatch(e) for e in examples)]
    for path, text in missing:
        print(f"FAIL: {path}: the log line {text!r} has no example in the guide's troubleshooting table")
    if len(formats) < 10:
        missing.append(f"only {len(formats)} log_line calls found: the source scan no longer finds them")
        print("FAIL:", missing[-1])
    print(f"{len(formats) - len(missing)} passed, {len(missing)} failed")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
