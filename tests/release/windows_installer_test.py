#!/usr/bin/python3
"""The Windows installer of a release under Wine, in a fresh 64-bit prefix on a private X
server. setup.exe /S installs the program and its help file into Program Files, a Start menu
shortcut and an entry in Programs and Features; the program started from the shortcut shows its
690 x 500 client area and keeps its settings in the registry; the entry's quiet uninstall
command removes the files, the shortcut, the entry and the settings key, and nothing else.
It runs twice: once beside another program of the maker, whose settings must stay, and once
alone, when the maker's key and folder go too.

usage: windows_installer_test.py DIST_DIR VERSION
Exit codes: 0 passed, 1 failed (also when no release was made: tools/release.sh), 77 skipped:
the installer is a 32-bit program, and no 32-bit code runs under Wine here.
"""
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_basics import SKIPPED, Failure, check, time_limit  # noqa: E402
from pe_image import PE_I386, pe_machine  # noqa: E402
from screen_layout import AREA_H, AREA_W  # noqa: E402
from wine_prefix import (WinePrefix, play_windows_program,  # noqa: E402
                         why_no_32_bit_code)
from x_display import XServer  # noqa: E402

NAME = "Kestrane Zivadorured"
MAKER = "Kestrane Games"
EXE = "kestrane-zivadorured.exe"
HELP = "Kestrane Zivadorured Help.chm"
UNINSTALLER = "uninstall.exe"
# A 32-bit program on 64-bit Windows: its Program Files and its view of HKLM\Software.
PROGRAM_FILES = r"C:\Program Files (x86)"
MAKER_DIR = PROGRAM_FILES + "\\" + MAKER
INSTALL_DIR = MAKER_DIR + "\\" + NAME
SHORTCUT = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs" + "\\" + NAME + ".lnk"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall" + "\\" + NAME
MAKER_KEY = r"HKCU\Software" + "\\" + MAKER
SETTINGS_KEY = MAKER_KEY + "\\" + NAME
OTHER_KEY = MAKER_KEY + "\\Another Game"
AREA = (AREA_W, AREA_H)
ONE_MB = 1024 * 1024


def install(prefix, setup, version):
    prefix.wine(setup, "/S", timeout=120)
    prefix.wait_idle(60)
    files = sorted(os.listdir(prefix.unix_path(INSTALL_DIR)))
    check(files == sorted([EXE, HELP, UNINSTALLER]),
          f"the installation folder should hold the program, its help and the uninstaller: {files}")
    check(os.path.isfile(prefix.unix_path(SHORTCUT)), f"there is no shortcut {SHORTCUT}")

    entry = prefix.reg_values(UNINSTALL_KEY, view=32)
    check(entry, f"there is no uninstall entry {UNINSTALL_KEY}")
    exe = INSTALL_DIR + "\\" + EXE
    uninstaller = f'"{INSTALL_DIR}\\{UNINSTALLER}"'
    wanted = {
        "DisplayName": ("REG_SZ", NAME),
        "DisplayVersion": ("REG_SZ", version),
        "Publisher": ("REG_SZ", MAKER),
        "DisplayIcon": ("REG_SZ", f'"{exe}",0'),
        "UninstallString": ("REG_SZ", uninstaller),
        "QuietUninstallString": ("REG_SZ", uninstaller + " /S"),
    }
    for name, value in wanted.items():
        check(entry.get(name) == value, f"uninstall entry {name} is {entry.get(name)}, not {value}")
    kind, size = entry.get("EstimatedSize", (None, "0"))
    folder = prefix.unix_path(INSTALL_DIR)
    on_disk = sum(os.path.getsize(os.path.join(folder, f)) for f in files) // 1024
    check(kind == "REG_DWORD" and abs(int(size, 16) - on_disk) <= 8,
          f"EstimatedSize is {kind} {size}, the files take {on_disk} KB")
    print(f"setup /S installed {files} into {INSTALL_DIR}, the shortcut and the uninstall "
          f"entry ({int(size, 16)} KB)")
    return entry


def uninstall(prefix, entry):
    # The quiet uninstall command as Programs and Features would run it.
    command = shlex.split(entry["QuietUninstallString"][1], posix=False)
    prefix.wine(command[0].strip('"'), *command[1:], timeout=120)
    # The uninstaller runs on from a copy of itself and ends by itself.
    prefix.wait_idle(60)
    check(not os.path.exists(prefix.unix_path(INSTALL_DIR)),
          f"{INSTALL_DIR} is still there after uninstalling")
    check(not os.path.exists(prefix.unix_path(SHORTCUT)), "the shortcut is still there")
    for view in (32, 64):
        check(prefix.reg_values(UNINSTALL_KEY, view=view) is None,
              "the uninstall entry is still there")
    check(prefix.reg_values(SETTINGS_KEY) is None, "the settings key is still there")


def main():
    dist, version = sys.argv[1], sys.argv[2]
    setup = os.path.join(dist, f"kestrane-zivadorured-{version}-setup.exe")
    if not os.path.isfile(setup):
        print(f"FAIL: {setup} does not exist (make it with tools/release.sh)")
        return 1
    size = os.path.getsize(setup)
    print(f"{os.path.basename(setup)}: {size} bytes")
    check(size < ONE_MB, f"the installer is {size} bytes, not under 1 MB")
    if pe_machine(setup) == PE_I386 and why_no_32_bit_code():
        print(f"SKIP: the installer did not run: {why_no_32_bit_code()}")
        return SKIPPED

    workdir = tempfile.mkdtemp(prefix="kz-setup-")
    xserver = prefix = None
    try:
        xserver = XServer()
        prefix = WinePrefix(workdir, xserver.display)

        # Beside another game of the maker: its settings stay, and so does the maker's key.
        prefix.reg_add(OTHER_KEY, "kept", "REG_DWORD", "1")
        entry = install(prefix, setup, version)
        area, code = play_windows_program(prefix, "start", "/wait", "/unix",
                                          prefix.unix_path(SHORTCUT))
        check(area == AREA, f"the installed program's client area is {area}, not {AREA}")
        check(code == 0, f"Ctrl+W ended the installed program with {code}, not 0")
        settings = prefix.reg_values(SETTINGS_KEY)
        check(settings and {"dimensionsRange", "actionType"} <= settings.keys(),
              f"the program kept no settings in {SETTINGS_KEY}: {settings}")
        print(f"the program started from the shortcut shows {AREA[0]} x {AREA[1]} and keeps "
              "its settings")
        uninstall(prefix, entry)
        check(prefix.reg_values(OTHER_KEY) == {"kept": ("REG_DWORD", "0x1")},
              f"uninstalling touched {OTHER_KEY}")
        check(os.path.isdir(prefix.unix_path(PROGRAM_FILES)), "Program Files went away")
        print("the uninstaller removed the files, the shortcut, the entry and the settings; "
              "the maker's other game kept its settings")

        # Alone: the maker's key and folder go with the game.
        prefix.wine("reg", "delete", OTHER_KEY, "/f", timeout=30)
        entry = install(prefix, setup, version)
        prefix.reg_add(SETTINGS_KEY, "dimensionsRange", "REG_DWORD", "4")
        uninstall(prefix, entry)
        check(prefix.reg_values(MAKER_KEY) is None, f"{MAKER_KEY} is left empty")
        check(not os.path.exists(prefix.unix_path(MAKER_DIR)), f"{MAKER_DIR} is left empty")
        print("installed and uninstalled alone: no key or folder of the maker is left")
        print("PASS")
        return 0
    finally:
        if prefix:
            prefix.stop()
        if xserver:
            xserver.stop()
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    time_limit(500)
    try:
        sys.exit(main())
    except (Failure, subprocess.SubprocessError, OSError) as e:
        print(f"FAIL: {e}")
        sys.exit(1)
