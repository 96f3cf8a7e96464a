#!/usr/bin/python3
"""Counts the lines each program writes and the operations a program implements for the game.

- Lines: the non-blank lines of each program's folder (app/win32, app/gtk, app/web), its C++
  (.h, .cpp) and its JavaScript (.js, .js.in) apart, and of app/common, which they share.
- Lines per folder: the non-blank lines of code (C++, JavaScript, Python, shell, CMake) of
  each folder of the product and of each folder of the tests, and the tests' share.
- Implemented: the operations each program writes for the game, as it counts them: every
  `override` of its folder but a destructor's, its build-time makers (*_maker.cpp) aside.
- Operations: the virtual operations (destructors aside) of the interfaces a program implements
  for the game, read from the headers named below; a surface layer's Surface and Bitmap count
  with its Display.

usage: tools/measure-code.py [REVISION]     (the work tree when no revision is given)
"""
import argparse
import re
import subprocess
import sys

PROGRAMS = ["app/win32", "app/gtk", "app/web", "app/common"]
CPP = (".h", ".cpp")
JS = (".js", ".js.in")
CODE = CPP + JS + (".mjs", ".py", ".sh", ".cmake", "CMakeLists.txt", ".c", ".in")
PRODUCT_FOLDERS = ["puzzle", "display", "screen", "software", "app/common", "app/gtk",
                   "app/web", "app/win32", "tools"]
# The headers whose virtual operations a program implements; those of them that exist at
# the revision counted are read.
INTERFACE_HEADERS = [
    "display/surface.h",
    "screen/host.h",
    "app/common/game_session.h",
    "app/common/session_extras.h",
    "app/common/extra_play.h",
    "app/common/program_shell.h",
]
# The classes of those headers a program implements (the others are the core's own).
PROGRAM_INTERFACES = {"Bitmap", "Surface", "Display", "Host", "SessionShell", "ExtrasShell", "Announcer", "ProgramShell"}


def git(revision, *args):
    return subprocess.run(["git", *args], check=True, capture_output=True, text=True).stdout


def files_at(revision):
    if revision:
        return git(revision, "ls-tree", "-r", "--name-only", revision).split()
    return git(None, "ls-files", "--cached", "--others", "--exclude-standard").split()


def text_at(revision, path):
    if revision:
        return git(revision, "show", f"{revision}:{path}")
    with open(path, encoding="utf-8") as f:
        return f.read()


def non_blank(text):
    return sum(1 for line in text.splitlines() if line.strip())


def count_operations(text):
    """Virtual operations, destructors aside, per class of a header."""
    counts = {}
    current = None
    for line in text.splitlines():
        opened = re.match(r"\s*class\s+(\w+)\b[^;]*$", line)
        if opened:
            current = opened.group(1)
            counts.setdefault(current, 0)
        elif current and re.match(r"\s*virtual\s+(?!~)", line):
            counts[current] += 1
    return counts


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("revision", nargs="?", default="")
    revision = parser.parse_args().revision
    files = files_at(revision)
    print(f"{'folder':<12}{'C++':>8}{'JS':>8}")
    for folder in PROGRAMS:
        mine = [f for f in files if f.startswith(folder + "/")]
        cpp = sum(non_blank(text_at(revision, f)) for f in mine if f.endswith(CPP))
        js = sum(non_blank(text_at(revision, f)) for f in mine if f.endswith(JS))
        print(f"{folder:<12}{cpp:>8}{js:>8}")
    print(f"\n{'lines of code':<16}{'product':>8}")
    product = 0
    for folder in PRODUCT_FOLDERS:
        lines = sum(non_blank(text_at(revision, f)) for f in files
                    if f.startswith(folder + "/") and f.endswith(CODE))
        product += lines
        print(f"{folder:<16}{lines:>8}")
    print(f"{'product':<16}{product:>8}")
    tests = 0
    for folder in sorted({"/".join(f.split("/")[:2]) for f in files
                          if f.startswith("tests/") and f.count("/") >= 2}):
        lines = sum(non_blank(text_at(revision, f)) for f in files
                    if f.startswith(folder + "/") and f.endswith(CODE))
        tests += lines
        print(f"{folder:<16}{lines:>8}")
    print(f"{'tests':<16}{tests:>8}  ({tests / product:.2f} x the product)\n")
    for folder in PROGRAMS[:3]:
        implemented = 0
        for f in files:
            if f.startswith(folder + "/") and f.endswith(CPP) and not f.endswith("_maker.cpp"):
                implemented += len([line for line in text_at(revision, f).splitlines()
                                    if re.search(r"\boverride\b", line) and "~" not in line])
        print(f"operations {folder} implements: {implemented}")
    print()
    total = 0
    for header in INTERFACE_HEADERS:
        if header not in files:
            continue
        for name, count in count_operations(text_at(revision, header)).items():
            if name in PROGRAM_INTERFACES and count:
                print(f"{name} ({header}): {count}")
                total += count
    print(f"operations a program implements: {total}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
