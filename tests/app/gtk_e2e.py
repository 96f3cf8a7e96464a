#!/usr/bin/python3
"""End-to-end test of the Linux program on a private X server.

Starts Xvfb on a free display, runs the program with a fresh settings directory and drives
it with xdotool: the drawing area's size and first picture, Next, a stick's hover look, the
Field Size menu, Ctrl+W and the settings kept for the next start; then the same picture at
twice the size on a HiDPI scale. Every process it starts is ended, and every wait is bounded.

usage: gtk_e2e.py PROGRAM GOLDEN_IDLE_PNG
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse

from PIL import Image, ImageChops

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_harness import (Failure, GtkGame, XServer, check, differs, gtk_environment,  # noqa: E402
                         install_fake_browser, run, screenshot, time_limit, wait_for_picture)

SCREEN_W, SCREEN_H = 2000, 1300
AREA_W, AREA_H = 690, 500
BOARD = (195, 5, 685, 495)          # the Board's rectangle in the drawing area
INSTRUCTIONS = (10, 5, 162, 170)    # the Instructions panel
NEXT_BUTTON = (117, 439)            # centre of Next (and of Give Up, at the same place)
STICK_PITCH, STICK_LEN, STICK_THICK = 95, 80, 15
WAIT_START = 60.0                   # seconds; the sanitizer build starts slowly
WAIT_STEP = 10.0


def stick_centres(size):
    """Centres of the horizontal and vertical sticks of a size x size field, in the area."""
    full = 5 * STICK_PITCH + STICK_THICK
    active = size * STICK_PITCH + STICK_THICK
    ox = BOARD[0] + (full - active) // 2
    oy = BOARD[1] + (full - active) // 2
    points = []
    for row in range(size + 1):
        for col in range(size):
            points.append((ox + col * STICK_PITCH + STICK_THICK + STICK_LEN // 2,
                           oy + row * STICK_PITCH + STICK_THICK // 2))
    for col in range(size + 1):
        for row in range(size):
            points.append((ox + col * STICK_PITCH + STICK_THICK // 2,
                           oy + row * STICK_PITCH + STICK_THICK + STICK_LEN // 2))
    return points


def read_settings(path):
    values = {}
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                if "=" in line:
                    key, value = line.strip().split("=", 1)
                    values[key] = value
    return values


def main():
    program, golden = sys.argv[1], sys.argv[2]
    for tool in ("Xvfb", "xdotool", "import"):
        check(shutil.which(tool), f"{tool} is not installed (tools/install-deps.sh installs it)")

    workdir = tempfile.mkdtemp(prefix="kz-e2e-")
    xserver = None
    games = []
    try:
        xserver = XServer(SCREEN_W, SCREEN_H)
        env = gtk_environment(workdir, xserver.display)
        settings = os.path.join(workdir, "config", "kestrane-zivadorured", "settings.ini")
        opened = install_fake_browser(workdir, env)

        def xdo(*args):
            run(["xdotool", *args], env)

        xdo("mousemove", str(SCREEN_W - 10), str(SCREEN_H - 10))

        # First start: defaults, the area's size and its first picture.
        game = GtkGame(program, env)
        games.append(game)
        state = game.wait_line("shown", WAIT_START)
        ax, ay, aw, ah = state["area"]
        check((aw, ah) == (AREA_W, AREA_H), f"the drawing area is {aw} x {ah}, not 690 x 500")
        check(state["field-size-mark"] == "40007" and state["action-type-mark"] == "40019",
              f"first start should mark Random and Mixed: {state}")
        check(state["field-size"] == "0" and state["action-type"] == "0",
              f"first start should play Random and Mixed: {state}")
        stored = read_settings(settings)
        check(stored.get("dimensionsRange") == "0" and stored.get("actionType") == "0",
              f"the settings file should be created with the defaults: {stored}")
        windows = run(["xdotool", "search", "--name", "^Kestrane Zivadorured$"], env,
                      stdout=subprocess.PIPE, text=True).stdout.split()
        check(len(windows) == 1, f"expected one window titled Kestrane Zivadorured: {windows}")
        geometry = run(["xdotool", "getwindowgeometry", windows[0]], env, stdout=subprocess.PIPE,
                       text=True).stdout
        width = int(re.search(r"Geometry: (\d+)x(\d+)", geometry).group(1))
        check(width == AREA_W, f"the window is {width} pixels wide, not {AREA_W}")
        print(f"window {windows[0]} on {xserver.display}, drawing area at {ax},{ay}, {aw} x {ah}")
        # There is no window manager to give the window the keyboard.
        xdo("windowfocus", "--sync", windows[0])

        grab = lambda: screenshot(env, ax, ay, AREA_W, AREA_H)
        if os.path.exists(golden):
            want = Image.open(golden).convert("RGB")
            check(want.size == (AREA_W, AREA_H), f"the golden picture is {want.size}")
            idle = wait_for_picture(grab, want, WAIT_STEP)
            if differs(idle, want):
                idle.save(os.path.join(workdir, "idle-seen.png"))
                keep = os.path.join(os.getcwd(), "gtk_e2e_idle_seen.png")
                idle.save(keep)
                raise Failure(f"the idle screen differs from {golden} "
                              f"(box {ImageChops.difference(idle, want).getbbox()}); "
                              f"what the window showed is in {keep}")
            print("idle screen equals the golden picture")
        else:
            print(f"SKIPPED the idle comparison: {golden} does not exist yet")
            time.sleep(0.5)
            idle = grab()

        # Options > Field Size > 4 x 4, from the keyboard.
        xdo("key", "alt+o")
        time.sleep(0.3)
        xdo("key", "f")
        time.sleep(0.3)
        xdo("key", "Down", "Down", "Return")
        state = game.wait_line("command", WAIT_STEP)
        check(state["field-size-mark"] == "40005" and state["field-size"] == "4",
              f"choosing 4 x 4 should mark it and set it: {state}")
        print("4 x 4 chosen in the menu")

        # Next starts a game: the start picture gives way to the instruction.
        xdo("mousemove", str(ax + NEXT_BUTTON[0]), str(ay + NEXT_BUTTON[1]))
        time.sleep(0.2)
        xdo("click", "1")
        xdo("mousemove", str(ax + 100), str(ay + 300))  # over the Time panel, off the board
        playing = wait_for_picture(grab, (idle,), WAIT_STEP, INSTRUCTIONS)
        check(differs(playing, idle, INSTRUCTIONS), "Next did not change the Instructions panel")
        check(differs(playing, idle, BOARD), "Next did not change the board")
        print("Next started a game")

        # Hovering a stick of the 4 x 4 field changes its look.
        time.sleep(0.3)
        before = grab()
        hovered = None
        for x, y in stick_centres(4):
            xdo("mousemove", str(ax + x), str(ay + y))
            shot = wait_for_picture(grab, (before,), 0.4, BOARD)
            if differs(shot, before, BOARD):
                hovered = (x, y, ImageChops.difference(shot.crop(BOARD),
                                                       before.crop(BOARD)).getbbox())
                break
        check(hovered, "no stick of the 4 x 4 field changed its look under the pointer")
        x, y, box = hovered
        bx, by = x - BOARD[0], y - BOARD[1]
        check(box[0] <= bx < box[2] and box[1] <= by < box[3],
              f"the change {box} is not where the pointer is ({bx}, {by})")
        print(f"the stick at ({x}, {y}) changed its look under the pointer")

        # F1 opens nothing; Contents, Search and Index open their pages in the browser.
        xdo("key", "F1")
        time.sleep(1.0)
        check(not os.path.exists(opened), "F1 should open nothing")
        pages = []
        help_dir = os.path.join(os.path.dirname(os.path.abspath(program)), "help")
        has_help = os.path.isfile(os.path.join(help_dir, "index.html"))
        if not has_help:
            print(f"SKIPPED the help commands: {help_dir} has no pages yet")
        for mnemonic, page in () if not has_help else (("c", "index.html"), ("s", "search.html"), ("i", "keywords.html")):
            xdo("key", "alt+h")
            time.sleep(0.3)
            xdo("key", mnemonic)
            game.wait_line("command", WAIT_STEP)
            wanted = len(pages) + 1
            deadline = time.monotonic() + WAIT_STEP
            while len(pages) < wanted and time.monotonic() < deadline:
                time.sleep(0.1)
                pages = open(opened).read().split() if os.path.exists(opened) else []
            # GIO hands a local file to the browser as its path or as a file:// address.
            check(pages and pages[-1].startswith(("file:///", "/")) and
                  pages[-1].endswith("/" + page), f"Help should open {page} in the browser: {pages}")
            path = pages[-1]
            if path.startswith("file://"):
                path = urllib.parse.unquote(path[len("file://"):])
            check(os.path.isfile(path), f"the help page {path} does not exist")
        if has_help:
            print("F1 opens nothing; Contents, Search and Index open their pages")

        # Ctrl+W ends the program with 0 and keeps 4 x 4.
        xdo("key", "ctrl+w")
        code = game.wait_exit(WAIT_STEP * 2)
        check(code == 0, f"Ctrl+W should end the program with 0, not {code}")
        stored = read_settings(settings)
        check(stored.get("dimensionsRange") == "4", f"the settings file should keep 4: {stored}")
        print("Ctrl+W ended the program with 0; the settings file keeps 4")

        # Second start: 4 x 4 is marked again. On a HiDPI scale the picture doubles, sharp.
        env["GDK_SCALE"] = "2"
        game = GtkGame(program, env)
        games.append(game)
        state = game.wait_line("shown", WAIT_START)
        windows = run(["xdotool", "search", "--name", "^Kestrane Zivadorured$"], env,
                      stdout=subprocess.PIPE, text=True).stdout.split()
        check(len(windows) == 1, f"expected one window titled Kestrane Zivadorured: {windows}")
        xdo("windowfocus", "--sync", windows[0])
        check(state["field-size-mark"] == "40005" and state["field-size"] == "4",
              f"the next start should mark and play 4 x 4: {state}")
        sx, sy, sw, sh = state["area"]
        check(state["scale"] == "2" and (sw, sh) == (AREA_W, AREA_H),
              f"at scale 2 the area keeps its logical size: {state}")
        xdo("mousemove", str(SCREEN_W - 10), str(SCREEN_H - 10))
        big_grab = lambda: screenshot(env, sx * 2, sy * 2, AREA_W * 2, AREA_H * 2)
        expected = idle.resize((AREA_W * 2, AREA_H * 2), Image.NEAREST)
        big = wait_for_picture(big_grab, expected, WAIT_STEP)
        check(not differs(big, expected),
              "at scale 2 the picture should be the idle screen with every pixel doubled")
        print("the next start marks 4 x 4; at scale 2 every pixel is doubled")
        xdo("key", "ctrl+w")
        code = game.wait_exit(WAIT_STEP * 2)
        check(code == 0, f"the second run should end with 0, not {code}")
        print("PASS")
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as e:
        print(f"FAIL: {e}")
        return 1
    finally:
        for g in games:
            g.stop()
        if xserver:
            xserver.stop()
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    time_limit(300)
    sys.exit(main())
