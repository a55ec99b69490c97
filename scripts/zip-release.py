#!/usr/bin/python3
"""Makes the release zip from a folder, the same bytes every time: names in
order, every entry dated at the same moment (the commit's, as
SOURCE_DATE_EPOCH gives it, else 2026-01-01), the same permissions, and a
SHA256SUMS file of the other files beside them. Prints the zip's own
SHA-256.

    zip-release.py FOLDER ZIP"""

import hashlib
import os
import sys
import time
import zipfile


def main():
    folder, target = sys.argv[1], sys.argv[2]
    top = os.path.basename(os.path.normpath(folder))
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "1767225600"))
    when = time.gmtime(max(epoch, 315532800))[:6]  # zip dates start in 1980
    names = sorted(n for n in os.listdir(folder) if n != "SHA256SUMS")
    sums = ""
    for name in names:
        with open(os.path.join(folder, name), "rb") as f:
            sums += hashlib.sha256(f.read()).hexdigest() + "  " + name + "\n"
    with open(os.path.join(folder, "SHA256SUMS"), "w", newline="\n") as f:
        f.write(sums)
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name in names + ["SHA256SUMS"]:
            info = zipfile.ZipInfo(top + "/" + name, when)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or permissions
            info.external_attr = 0
            with open(os.path.join(folder, name), "rb") as f:
                z.writestr(info, f.read())
    with open(target, "rb") as f:
        print(hashlib.sha256(f.read()).hexdigest() + "  " + os.path.basename(target))


if __name__ == "__main__":
    main()
