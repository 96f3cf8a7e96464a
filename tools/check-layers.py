#!/usr/bin/python3
"""Checks that the product's includes stay layered and have no circle.

The folders stand in layers, each seeing only those below it: the rules (puzzle/) and the
resources' numbers (resources/) see nothing; the elements (display/) see the rules; the screen
(screen/) and the software surface (software/) see the elements; the session (app/common/)
sees all of those; each program (app/gtk/, app/web/, app/win32/) sees the session and below,
never another program. A file of a folder may include any file of its own folder, but no
circle of files may include each other.

usage: tools/check-layers.py [ROOT]    exits 1 and names every fault found
"""
import os
import re
import sys

LAYERS = {
    "resources": 0,
    "puzzle": 0,
    "display": 1,
    "screen": 2,
    "software": 2,
    "app/common": 3,
    "app/gtk": 4,
    "app/web": 4,
    "app/win32": 4,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCES = (".h", ".cpp", ".c", ".h.in")


def folder_of(path):
    for folder in sorted(LAYERS, key=len, reverse=True):
        if path.startswith(folder + "/"):
            return folder
    return None


def product_files(root):
    for folder in LAYERS:
        for directory, _, names in os.walk(os.path.join(root, folder)):
            for name in names:
                if name.endswith(SOURCES):
                    yield os.path.relpath(os.path.join(directory, name), root)


def faults(root):
    """The layer faults and the circles, as lines to print."""
    found = []
    graph = {}
    for path in sorted(product_files(root)):
        with open(os.path.join(root, path), encoding="utf-8") as f:
            included = INCLUDE.findall(f.read())
        mine = folder_of(path)
        graph[path] = []
        for target in included:
            theirs = folder_of(target)
            if theirs is None:
                continue  # a generated header or one of a library's
            graph[path].append(target)
            if theirs != mine and LAYERS[theirs] >= LAYERS[mine]:
                found.append(f"{path} includes {target}: {mine}/ may not see {theirs}/")
    # A circle: a file reached again while its own includes are being followed.
    state = {}

    def visit(path, trail):
        state[path] = "open"
        for target in graph.get(path, []):
            if state.get(target) == "open":
                circle = trail[trail.index(target):] + [target]
                found.append("a circle of includes: " + " -> ".join(circle))
            elif target not in state:
                visit(target, trail + [target])
        state[path] = "done"

    for path in graph:
        if path not in state:
            visit(path, [path])
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = faults(os.path.abspath(root))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
