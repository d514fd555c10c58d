#!/usr/bin/env python3
"""Writes the release zip: the programs, README.txt (the user guide), LICENSE.txt and
SHA256SUMS.txt. The same inputs give the same bytes: entries in name order, one fixed
date, fixed attributes.
    make_release_zip.py OUTPUT.zip USER-GUIDE.md LICENSE PROGRAM.exe...
(empty PROGRAM arguments, programs the build lacks, are skipped; ENTRY=PROGRAM.exe
stores a program under another entry name, such as x86/nibscope.exe)
"""
import hashlib
import os
import sys
import zipfile


def text_for_windows(path):
    with open(path, encoding="utf-8") as source:
        return source.read().replace("\n", "\r\n").encode("utf-8")


def main():
    output, guide, license_file, *programs = sys.argv[1:]
    entries = {"README.txt": text_for_windows(guide), "LICENSE.txt": text_for_windows(license_file)}
    for program in filter(None, programs):
        entry, _, path = program.rpartition("=")
        with open(path, "rb") as exe:
            entries[entry or os.path.basename(path)] = exe.read()
    # sha256sum's own format, so that `sha256sum -c SHA256SUMS.txt` checks the unpacked folder.
    entries["SHA256SUMS.txt"] = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n"
                                        for name, data in sorted(entries.items())).encode("ascii")
    os.makedirs(os.path.dirname(output), exist_ok=True)
    with zipfile.ZipFile(output + ".part", "w") as archive:
        for name in sorted(entries):
            entry = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            entry.create_system = 3
            entry.external_attr = 0o644 << 16
            archive.writestr(entry, entries[name], compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
    os.replace(output + ".part", output)
    print(output)


if __name__ == "__main__":
    main()
