"""Two builds of the same sources, from source and build folders at different absolute
paths and at different times, give the same release zip byte for byte.
    reproducible_test.py WORK_FOLDER
The zip of the first build stays in WORK_FOLDER/a/dist for the contents test."""
import pathlib
import shutil
import subprocess
import sys
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[2]


def build_zip(source, folder):
    shutil.rmtree(folder / "dist", ignore_errors=True)
    subprocess.run([source / "tools" / "package", "--build", folder / "build", "--dist", folder / "dist"], check=True)
    zips = list((folder / "dist").glob("*.zip"))
    assert len(zips) == 1, f"expected one zip in {folder / 'dist'}, found {zips}"
    return zips[0]


def main():
    work = pathlib.Path(sys.argv[1]).resolve()
    copy = work / "b" / "source"
    shutil.rmtree(copy, ignore_errors=True)
    shutil.copytree(ROOT, copy, ignore=lambda folder, names: ["build", ".git"] if pathlib.Path(folder) == ROOT else [])
    first, second = build_zip(ROOT, work / "a"), build_zip(copy, work / "b")
    if first.read_bytes() == second.read_bytes():
        print(f"ok: {first.name} is the same {first.stat().st_size} bytes from both builds")
        return 0
    with zipfile.ZipFile(first) as a, zipfile.ZipFile(second) as b:
        print(f"FAIL: the zips differ; entries {a.namelist()} and {b.namelist()}")
        for name in sorted(set(a.namelist()) & set(b.namelist())):
            if a.read(name) != b.read(name):
                print(f"FAIL: {name} differs")
    return 1


if __name__ == "__main__":
    sys.exit(main())
