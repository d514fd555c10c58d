"""The release zip holds the shipped programs, x64 at the top and x86 in x86/, README.txt
(the user guide in CRLF lines), LICENSE.txt and the checksums of the other entries.
Every program of both sets imports only DLLs that Windows itself ships (no MinGW
runtime DLLs) and runs from a folder that holds nothing else.
    contents_test.py DIST_FOLDER BUILD_FOLDER PROGRAM...
The zip is unpacked next to DIST_FOLDER; the programs run with BUILD_FOLDER's Wine
prefix and display. PROGRAM: the shipped programs of this build (only names count)."""
import hashlib
import os
import pathlib
import re
import shutil
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "e2e"))
import desktop  # noqa: E402
import harness  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]
# Windows' own DLLs that the programs import: msvcrt.dll is the C runtime that Windows
# ships; comctl32.dll comes from the side-by-side store that the manifest names. The
# loader would look for any other (opengl32.dll, version.dll) in the program's folder
# first: those are delay-loaded from the system folder and must not be imported.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "shell32.dll", "advapi32.dll", "msvcrt.dll"}


def imported_dlls(exe):
    """The DLLs the program imports, read by the objdump of its own architecture, which must say so."""
    x86 = exe.parent.name == "x86"
    objdump, machine = ("i686-w64-mingw32-objdump", "pei-i386") if x86 else ("x86_64-w64-mingw32-objdump", "pei-x86-64")
    dump = subprocess.run([objdump, "-p", exe], capture_output=True, text=True, check=True)
    if f"file format {machine}" not in dump.stdout:
        raise RuntimeError(f"{exe} is not {machine}")
    return {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump.stdout)}


def exit_status_alone(exe, folder):
    """Runs the program from a folder that holds only it: the main program until its
    window shows, then closed as a user would; any other program with --help."""
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    alone = folder / exe.name
    shutil.copyfile(exe, alone)
    if exe.name != "nibscope.exe":
        return subprocess.run([harness.WINE_RUN, str(alone), "--help"], cwd=folder, capture_output=True).returncode
    def shown(process):
        if not harness.wait_until(lambda: desktop.xdotool("search", "--name", f"^{harness.TITLE}$"), timeout=60):
            raise RuntimeError(f"{exe.name} showed no window within 60 s (status {process.poll()})")
    return harness.run_then_close(str(alone), shown, cwd=folder)[0]


def main():
    dist, build = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    programs = {os.path.basename(p.rpartition("=")[2]) for p in sys.argv[3:] if p}
    programs |= {"x86/" + name for name in programs}  # the x86 build of each, for 32-bit drawing programs' users
    harness.use_display(build)
    check = harness.Checks()
    (package,) = dist.glob("tevrin-nibscope-*-win64.zip")
    unpacked = dist.parent / "unpacked"
    shutil.rmtree(unpacked, ignore_errors=True)
    shutil.unpack_archive(package, unpacked)
    names = {p.relative_to(unpacked).as_posix() for p in unpacked.rglob("*") if p.is_file()}
    check(names == programs | {"README.txt", "LICENSE.txt", "SHA256SUMS.txt"}, f"{package.name} holds {sorted(names)}")
    for text, source in (("README.txt", "docs/user-guide.md"), ("LICENSE.txt", "LICENSE")):
        expected = (ROOT / source).read_bytes().replace(b"\n", b"\r\n")
        check((unpacked / text).read_bytes() == expected, f"{text} is {source} with CRLF line ends")
    sums = {f"{hashlib.sha256((unpacked / n).read_bytes()).hexdigest()}  {n}" for n in names - {"SHA256SUMS.txt"}}
    check(set((unpacked / "SHA256SUMS.txt").read_text().splitlines()) == sums, "SHA256SUMS.txt checks every other file")
    for name in sorted(programs & names):
        unexpected = imported_dlls(unpacked / name) - SYSTEM_DLLS
        check(not unexpected, f"{name} imports only system DLLs (others: {sorted(unexpected)})")
        status = exit_status_alone(unpacked / name, dist.parent / "alone" / name.removesuffix(".exe").replace("/", "-"))
        check(status == 0, f"{name} runs alone in a folder and exits with status {status}")
    return check.summary()


if __name__ == "__main__":
    sys.exit(main())
