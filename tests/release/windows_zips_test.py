#!/usr/bin/python3
"""The Windows zips of a release: each is under 1 MB and holds exactly the program, its help
file, the players' README.txt and LICENSE.txt; the win32 one the 32-bit program, the win64 one
the 64-bit program. Unpacked, each program starts under Wine (a fresh prefix on a private X
server) with its 690 x 500 client area and ends with Ctrl+W. Each program needs no DLL that
Windows does not have.

usage: windows_zips_test.py DIST_DIR VERSION
Exit codes: 0 passed, 1 failed (also when no release was made: tools/release.sh), 77 when
everything else passed but no 32-bit code runs under Wine here (a kernel that starts none,
or no 32-bit Wine installed), so the win32 program did not run.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_basics import SKIPPED, Failure, check, time_limit  # noqa: E402
from pe_image import PE_AMD64, PE_I386, pe_imported_dlls, pe_machine  # noqa: E402
from screen_layout import AREA_H, AREA_W  # noqa: E402
from wine_prefix import (WinePrefix, play_windows_program,  # noqa: E402
                         why_no_32_bit_code)
from x_display import XServer  # noqa: E402

EXE = "kestrane-zivadorured.exe"
HELP = "Kestrane Zivadorured Help.chm"
FILES = sorted([EXE, HELP, "README.txt", "LICENSE.txt"])
MACHINES = {"win32": PE_I386, "win64": PE_AMD64}
# What every Windows has: a program that needs another DLL (the compiler's runtime, say) does
# not start from its zip.
WINDOWS_DLLS = {"advapi32.dll", "ddraw.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
                "shell32.dll", "user32.dll"}
AREA = (AREA_W, AREA_H)
ONE_MB = 1024 * 1024


def check_zip(path, kind, version, folder):
    size = os.path.getsize(path)
    print(f"{os.path.basename(path)}: {size} bytes")
    check(size < ONE_MB, f"{path} is {size} bytes, not under 1 MB")
    with zipfile.ZipFile(path) as archive:
        names = sorted(archive.namelist())
        check(names == FILES, f"{os.path.basename(path)} should hold exactly {FILES}: {names}")
        check(archive.testzip() is None, f"{path} is damaged")
        archive.extractall(folder)
    machine = pe_machine(os.path.join(folder, EXE))
    check(machine == MACHINES[kind], f"the {kind} program is built for machine {machine:#06x}")
    dlls = set(pe_imported_dlls(os.path.join(folder, EXE)))
    check(dlls and dlls <= WINDOWS_DLLS,
          f"the {kind} program needs DLLs Windows does not have: {sorted(dlls - WINDOWS_DLLS)}")
    with open(os.path.join(folder, "README.txt"), "rb") as f:
        readme = f.read().decode()
    check(f"Kestrane Zivadorured {version}" in readme and HELP in readme,
          "README.txt does not name the version and the help file")
    check("\r\n" in readme and "\n" not in readme.replace("\r\n", ""),
          "README.txt does not have Windows line ends throughout")
    with open(os.path.join(folder, "LICENSE.txt"), "rb") as f:
        licence = f.read().decode()
    check("Kestrane Games" in licence and "Permission is hereby granted" in licence,
          "LICENSE.txt is not the MIT licence of Kestrane Games")


def main():
    dist, version = sys.argv[1], sys.argv[2]
    zips = {kind: os.path.join(dist, f"kestrane-zivadorured-{version}-{kind}.zip")
            for kind in MACHINES}
    absent = [p for p in zips.values() if not os.path.isfile(p)]
    if absent:
        print(f"FAIL: {absent} do not exist (make them with tools/release.sh)")
        return 1

    workdir = tempfile.mkdtemp(prefix="kz-zips-")
    xserver = prefix = None
    try:
        folders = {}
        for kind, path in zips.items():
            folders[kind] = os.path.join(workdir, kind)
            check_zip(path, kind, version, folders[kind])
        print(f"each zip holds exactly {FILES}, the win32 program 32-bit, the win64 one 64-bit, "
              "each needing only DLLs of Windows")

        xserver = XServer()
        prefix = WinePrefix(workdir, xserver.display)
        win32_skipped = why_no_32_bit_code()
        for kind, folder in folders.items():
            if kind == "win32" and win32_skipped:
                continue
            area, code = play_windows_program(prefix, EXE, cwd=folder)
            check(area == AREA, f"the {kind} program's client area is {area}, not {AREA}")
            check(code == 0, f"Ctrl+W ended the {kind} program with {code}, not 0")
            print(f"the {kind} program from its zip shows {AREA[0]} x {AREA[1]} under Wine")
        if win32_skipped:
            print(f"SKIP: the win32 program did not run: {win32_skipped}")
            return SKIPPED
        print("PASS")
        return 0
    finally:
        if prefix:
            prefix.stop()
        if xserver:
            xserver.stop()
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    time_limit(400)
    try:
        sys.exit(main())
    except (Failure, subprocess.SubprocessError, OSError, zipfile.BadZipFile) as e:
        print(f"FAIL: {e}")
        sys.exit(1)
