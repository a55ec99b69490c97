#!/usr/bin/python3
"""The Windows executables carry what Windows users expect: a manifest (the
common controls' visual style, per-monitor DPI awareness, asInvoker, the
legacy code page, Windows 7 to 11; no promise of long paths, which the
programs' ANSI calls can't keep), version information from the project's
version, an icon, no time stamp in their headers and no symbols.

    resources_test.py VERSION     (the build folder from MALVET_WINDOWS_BUILD)

Exit status 0 when every check holds, 1 when one fails, 77 (skipped) without
a Windows build or python3-pefile."""

import os
import sys

try:
    import pefile
except ImportError:
    print("python3-pefile is not installed")
    sys.exit(77)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def resources(pe):
    """{type id: {name id: bytes}} of the executable's resources."""
    found = {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            for lang in name.directory.entries:
                data = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
                found.setdefault(kind.id, {})[name.id] = data
    return found


def version_strings(pe):
    strings = {}
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                for key, value in table.entries.items():
                    strings[key.decode()] = value.decode()
    return strings


def check_program(path, program, version):
    pe = pefile.PE(path)
    check(pe.FILE_HEADER.TimeDateStamp == 0, f"{program}: a time stamp in the PE header")
    found = resources(pe)
    manifest = found.get(24, {}).get(1, b"").decode("utf-8", "replace")
    for part in ('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"',
                 'level="asInvoker"', "<dpiAware", "true/pm", "PerMonitorV2",
                 "<activeCodePage", ">Legacy</activeCodePage>",
                 "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
                 "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
                 "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
                 "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"):  # 10 and 11
        check(part in manifest, f"{program}: the manifest lacks {part}")
    check("longPathAware" not in manifest, f"{program}: the manifest promises long paths")
    check(pe.FILE_HEADER.PointerToSymbolTable == 0 and
          not any(s.Name.rstrip(b"\0").startswith(b".debug") for s in pe.sections),
          f"{program}: symbols left in the release executable")
    check(14 in found and 3 in found, f"{program}: no icon")
    strings = version_strings(pe)
    check(strings.get("FileVersion") == version, f"{program}: FileVersion {strings.get('FileVersion')}")
    check(strings.get("ProductVersion") == version, f"{program}: ProductVersion")
    check(strings.get("ProductName") == "Malvet", f"{program}: ProductName")
    check(strings.get("OriginalFilename") == program + ".exe", f"{program}: OriginalFilename")
    check(strings.get("FileDescription", "").startswith(program + " - "),
          f"{program}: FileDescription {strings.get('FileDescription')!r}")
    check("Copyright" in strings.get("LegalCopyright", ""), f"{program}: LegalCopyright")
    fixed = pe.VS_FIXEDFILEINFO[0]
    major, minor, patch = (int(x) for x in version.split("."))
    check((fixed.FileVersionMS, fixed.FileVersionLS) == ((major << 16) | minor, patch << 16),
          f"{program}: the fixed file version")


def main():
    version = sys.argv[1]
    build = os.environ.get("MALVET_WINDOWS_BUILD", "")
    if not build or not os.path.exists(os.path.join(build, "Tavlet.exe")):
        print("MALVET_WINDOWS_BUILD names no Windows build")
        return 77
    for program in ("Tavlet", "Brin23"):
        check_program(os.path.join(build, program + ".exe"), program, version)
    for failure in failures:
        print("FAILED:", failure)
    print("resources checked:", "ok" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
