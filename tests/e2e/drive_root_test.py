"""The program directly in the root folder of a drive has no parent folder to search for
resources: it must show the "filesystem problem" error box and end with status 0."""
import os
import shutil
import subprocess
import sys
import tempfile

import harness


def main():
    checker, program, build = sys.argv[1], sys.argv[2], sys.argv[3]
    drive = os.path.join(build, "wine", "prefix", "dosdevices", "n:")
    with tempfile.TemporaryDirectory() as root:
        shutil.copy(program, os.path.join(root, "nibscope.exe"))
        if os.path.lexists(drive):
            os.remove(drive)
        os.symlink(root, drive)
        try:
            status = subprocess.call([harness.WINE_RUN, checker, "N:\\nibscope.exe", "Message",
                                      "Error occurred: filesystem problem"], timeout=120)
        finally:
            os.remove(drive)
    return status


if __name__ == "__main__":
    sys.exit(main())
