#!/usr/bin/python3
"""The release zip holds what a pilot unzips: both programs, the five tables,
the guides in English, French and German (UTF-8 with its byte-order
mark), the three command files a pilot
double-clicks (Windows text, each changing to its own folder, a network
one too, saying "extract first" where Brin23.exe is not beside it, running
it with its argument and asking for the window's end, pausing after an
error), and SHA256SUMS naming every other file with its digest.

    release_test.py VERSION     (the build folder from MALVET_WINDOWS_BUILD)

Exit status 0 when every check holds, 1 when one fails, 77 (skipped) without
the zip that scripts/package.sh makes there."""

import hashlib
import os
import sys
import zipfile

EXPECTED = ["A2-A3.txt", "Brin23-check.cmd", "Brin23-keep.cmd", "Brin23-undo.cmd", "Brin23.exe",
            "CMD.txt", "CMD_A3.txt", "SCN_AZERTY_FR.txt", "SCN_QWERTY.txt", "Tavlet.exe",
            "guide-de.txt", "guide-en.txt", "guide-fr.txt"]


def main():
    version = sys.argv[1]
    build = os.environ.get("MALVET_WINDOWS_BUILD", "")
    name = f"Malvet-{version}-win64"
    path = os.path.join(build, name + ".zip")
    if not build or not os.path.exists(path):
        print("MALVET_WINDOWS_BUILD holds no release zip")
        return 77
    failures = []
    with zipfile.ZipFile(path) as z:
        files = {i.filename[len(name) + 1:]: z.read(i) for i in z.infolist()}
    if sorted(files) != sorted(EXPECTED + ["SHA256SUMS"]):
        failures.append(f"the zip holds {sorted(files)}")
    sums = {}
    for line in files.get("SHA256SUMS", b"").decode().splitlines():
        digest, _, file = line.partition("  ")
        sums[file] = digest
    for file in EXPECTED:
        if sums.get(file) != hashlib.sha256(files.get(file, b"")).hexdigest():
            failures.append(f"SHA256SUMS: {file}")
    for guide in ("guide-en.txt", "guide-fr.txt", "guide-de.txt"):
        text = files.get(guide, b"")
        try:
            ok = text.startswith(b"\xef\xbb\xbf") and bool(text.decode("utf-8"))
        except UnicodeDecodeError:
            ok = False
        if not ok:
            failures.append(f"{guide}: not UTF-8 with its byte-order mark")
    for argument in ("check", "keep", "undo"):
        text = files.get(f"Brin23-{argument}.cmd", b"")
        if b"\n" in text.replace(b"\r\n", b"") or not text.endswith(b"\r\n"):
            failures.append(f"Brin23-{argument}.cmd: not CR LF lines")
        lines = text.decode("ascii", "replace").split("\r\n")
        commands = [l.strip() for l in lines
                    if l and not l.startswith(("rem ", "@echo off")) and "echo " not in l]
        if commands != ['pushd "%~dp0"', 'if not exist "Brin23.exe" (', "pause", "exit /b 1", ")",
                        "set MALVET_WINDOW=1", f'".\\Brin23.exe" -{argument}',
                        "if errorlevel 1 pause", "popd"]:
            failures.append(f"Brin23-{argument}.cmd runs {commands}")
    for failure in failures:
        print("FAILED:", failure)
    print("release checked:", "ok" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
