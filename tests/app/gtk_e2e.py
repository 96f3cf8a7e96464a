#!/usr/bin/python3
"""End-to-end test of the Linux program on a private X server.

Starts Xvfb on a free display, runs the program with a fresh settings directory and drives
it with xdotool: the drawing area's size and first picture, Next, a stick's hover look, the
Field Size menu, the help commands, Ctrl+W and the settings kept for the next start; the
same game drawn from the pictures of twice the size on a HiDPI scale; the window resized,
its picture the same game scaled and its size kept for the next start; a choice kept when
the program is killed, and saved at the end when SIGTERM, SIGINT or SIGHUP ends it; damaged
settings files and a pipe in the file's place; the message without a display; and under
openbox, the window maximized and full screen, its picture as large as fits. Every process
it starts is ended, and every wait is bounded.

What it knows of the program it learns as a user's tools would: the drawing area's place
and the menus' radio marks over the accessibility bus, the settings from the file the
program keeps, the pictures from the screen. Run it under dbus-run-session, which carries
the private accessibility bus.

usage: gtk_e2e.py PROGRAM GOLDEN_IDLE_PNG
"""
import math
import os
import re
import signal
import stat
import subprocess
import sys
import time
import urllib.parse

from PIL import Image, ImageChops

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_basics import Failure, built_file, check, run, time_limit, wait_until  # noqa: E402
from gtk_program import (GtkTestRun, data_folder, install_fake_browser,  # noqa: E402
                         opened_addresses, settings_path, write_settings)
from pictures import differs, mean_difference, wait_for_picture  # noqa: E402
from screen_layout import (AREA_H, AREA_W, BOARD, CONTROLS_PANEL, INSTRUCTIONS,  # noqa: E402
                           NEXT_BUTTON, stick_centre)
from window_manager import WindowManager  # noqa: E402
from x_display import (XServer, request_wm_state, screenshot, window_geometry,  # noqa: E402
                       window_ids, window_property, window_viewable)
from atspi_harness import (ACTION_TYPE_LABEL, ACTION_TYPE_MENU, FIELD_SIZE_LABEL,  # noqa: E402
                           FIELD_SIZE_MENU)

SCREEN_W, SCREEN_H = 2000, 1300
WAIT_START = 60.0                   # seconds; the sanitizer build starts slowly
WAIT_STEP = 10.0
TITLE = "Kestrane Zivadorured"
# The lines of Options > Field Size, top down.
FIELD_SIZE_ORDER = [2, 3, 4, 5, 0]


def read_settings(path):
    values = {}
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                if "=" in line:
                    key, value = line.strip().split("=", 1)
                    values[key] = value
    return values


def start_game(test, env, timeout=WAIT_START):
    """Starts the program in env and waits for its drawing area on the screen; returns the
    game and its window."""
    game = test.start(env)
    game.wait_shown(timeout)
    windows = window_ids(env, TITLE)
    check(len(windows) == 1, f"expected one window titled {TITLE}: {windows}; {game.describe()}")
    return game, windows[0]


def end_with_ctrl_w(game, env, window):
    run(["xdotool", "windowfocus", "--sync", window], env)
    run(["xdotool", "key", "ctrl+w"], env)
    code = game.wait_exit(WAIT_STEP * 2)
    check(code == 0, f"Ctrl+W should end the program with 0, not {code}")


def put_aside_kept_game(env, what):
    """Removes the game the program kept at its end, which must be there, so that the next
    start shows the idle screen."""
    kept = os.path.join(data_folder(env), "game")
    check(os.path.exists(kept) and os.path.getsize(kept) > 0, f"{what} should be kept")
    os.remove(kept)


def choose_field_size(game, env, window, size):
    """Options > Field Size, then the line of size, from the keyboard; returns once the line
    is marked, which is when the program has taken the command."""
    run(["xdotool", "windowfocus", "--sync", window], env)
    downs = FIELD_SIZE_ORDER.index(size)
    run(["xdotool", "key", "alt+o"], env)
    game.wait_menu_open("Options", timeout=WAIT_STEP)
    run(["xdotool", "key", "f"], env)
    game.wait_menu_open("Options", FIELD_SIZE_MENU, timeout=WAIT_STEP)
    run(["xdotool", "key", *(["Down"] * downs + ["Return"])], env)
    game.wait_marked(FIELD_SIZE_MENU, FIELD_SIZE_LABEL[size], WAIT_STEP)


def hoverable_stick(game):
    """The centre of the first stick of the 4 x 4 field that the game's action lets the
    player change (an empty place where matches are added, a match elsewhere), as the
    drawing area names its sticks to a reader."""
    action = re.search(r"\b(Add|Remove|Move) \d+ match", game.board.description)
    check(action, f"the description tells no game: {game.board.description!r}")
    wanted = "empty" if action.group(1) == "Add" else "present"
    for place in game.board:
        found = re.fullmatch(r"(horizontal|vertical) match, row (\d+), column (\d+), (\w+)",
                             place.name)
        if found and found.group(4) == wanted:
            return stick_centre(4, found.group(1), int(found.group(2)), int(found.group(3)))
    raise Failure(f"no {wanted} stick on the field: {[place.name for place in game.board]}")


def check_stored(settings, field_size, action_type, what):
    stored = read_settings(settings)
    check(stored.get("dimensionsRange") == str(field_size) and
          stored.get("actionType") == str(action_type),
          f"{what}: the settings file should hold field size {field_size} and action type "
          f"{action_type}: {stored}")


def check_marks(game, field_size, action_type, what, settings=None):
    """The menus mark the settings; given the settings file, it holds them too. The program
    writes the file as it takes a choice, so once the mark shows the file is written."""
    wanted = (FIELD_SIZE_LABEL[field_size], ACTION_TYPE_LABEL[action_type])
    marks = game.marks()
    check(marks == wanted, f"{what}: expected {wanted[0]} and {wanted[1]} marked, not "
                           f"{game.marked(FIELD_SIZE_MENU)} and {game.marked(ACTION_TYPE_MENU)}")
    if settings:
        check_stored(settings, field_size, action_type, what)


def check_choices_survive_an_abrupt_end(test, env, settings):
    """A choice is in the file at once, so a killed program keeps it; SIGTERM ends the
    program as Exit does, with 0."""
    if os.path.exists(settings):
        os.remove(settings)
    game, window = start_game(test, env)
    choose_field_size(game, env, window, 2)
    check_marks(game, 2, 0, "choosing 2 x 2", settings)
    os.killpg(game.proc.pid, signal.SIGKILL)
    game.wait_exit(WAIT_STEP)
    game, window = start_game(test, env)
    check_marks(game, 2, 0, "after the program was killed", settings)
    print("a choice in the menu is kept at once, also when the program is killed")

    choose_field_size(game, env, window, 4)
    check_marks(game, 4, 0, "choosing 4 x 4", settings)
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        name = signal.Signals(number).name
        if number != signal.SIGTERM:
            game, window = start_game(test, env)
            check_marks(game, 4, 0, "at the next start", settings)
        if number == signal.SIGHUP:
            # Also with the modal About box open, whose loop would otherwise hold the end.
            run(["xdotool", "windowfocus", "--sync", window], env)
            run(["xdotool", "key", "alt+h"], env)
            game.wait_menu_open("Help", timeout=WAIT_STEP)
            run(["xdotool", "key", "a"], env)
            wait_until(lambda: window_ids(env, "About Kestrane Zivadorured"), WAIT_STEP,
                       "the About box did not open")
        # The end saves the settings, as Exit does: values changed behind the program's back
        # are written over, which shows that the end got that far.
        write_settings(settings, 3, 1)
        game.proc.send_signal(number)
        code = game.wait_exit(WAIT_STEP * 2)
        check(code == 0, f"{name} should end the program with 0, not {code}")
        check_stored(settings, 4, 0, f"after {name}")
    game, window = start_game(test, env)
    check_marks(game, 4, 0, "after SIGTERM, SIGINT and SIGHUP", settings)
    end_with_ctrl_w(game, env, window)
    print("SIGTERM, SIGINT and SIGHUP end the program with 0 and keep the choice")


# Damaged settings files: each keeps its valid values, and what else it holds stays.
DAMAGED_FILES = [
    ("a stray line", "[Settings]\nnot a setting at all\ndimensionsRange=3\nactionType=4\n", 3, 4),
    ("a byte order mark", "\ufeff[Settings]\ndimensionsRange=5\nactionType=2\n", 5, 2),
    ("no [Settings] header", "# by hand\ndimensionsRange=4\nactionType=5\n", 4, 5),
    ("trailing spaces", "[Settings]\ndimensionsRange=2 \nactionType=3  \n", 2, 3),
    ("one value out of range", "[Settings]\ndimensionsRange=9\nactionType=1\n[Other]\nx=1\n", 0, 1),
]


def check_damaged_files(test, env, settings):
    for what, text, field_size, action_type in DAMAGED_FILES:
        with open(settings, "w", encoding="utf-8") as f:
            f.write(text)
        game, window = start_game(test, env)
        # The file is saved at the end with the values the program took from it.
        check_marks(game, field_size, action_type, f"a file with {what}")
        end_with_ctrl_w(game, env, window)
        with open(settings, encoding="utf-8") as f:
            kept = f.read()
        for line in text.lstrip("\ufeff").splitlines():
            if "=" not in line and line.strip() not in ("", "[Settings]"):
                check(line in kept, f"a file with {what}: '{line}' was lost: {kept!r}")
        stored = read_settings(settings)
        check(stored.get("dimensionsRange") == str(field_size) and
              stored.get("actionType") == str(action_type),
              f"a file with {what} should be saved with the values read: {stored}")
    print(f"damaged settings files keep their valid values ({len(DAMAGED_FILES)} cases)")


def check_pipe_in_place_of_the_file(test, env, settings, normal_start):
    os.remove(settings)
    os.mkfifo(settings)
    started = time.monotonic()
    # A read that waited for a writer would never end; a busy machine may well add seconds.
    game, window = start_game(test, env, normal_start + WAIT_STEP)
    took = time.monotonic() - started
    check_marks(game, 0, 0, "with a pipe in place of the settings file")
    end_with_ctrl_w(game, env, window)
    check(stat.S_ISFIFO(os.lstat(settings).st_mode), "the pipe was replaced")
    os.remove(settings)
    print(f"with a pipe in place of the settings file the window appears in {took:.1f} s")


def check_message_without_a_display(test, env):
    quiet = dict(env)
    quiet.pop("DISPLAY", None)
    quiet.pop("GDK_BACKEND", None)
    quiet["WAYLAND_DISPLAY"] = "kz-no-such-display"
    result = subprocess.run([test.program], env=quiet, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            text=True, timeout=WAIT_START)
    check(result.returncode == 1, f"without a display the exit code should be 1: {result}")
    check("kz-no-such-display" in result.stderr and "WAYLAND_DISPLAY" in result.stderr and
          "DISPLAY is not set" in result.stderr,
          f"the message should name the Wayland display tried and DISPLAY: {result.stderr}")
    print("without a display the message names what was tried")


# How many pixels either way a side of the area may be off a whole multiple of the design's
# size for the picture to be shown at that multiple.
NEAR_WHOLE = 4


def fitted(idle, area):
    """The idle picture as a drawing area of size area shows it: as large as fits with its
    proportions, in the middle, on black, drawn from the set of pictures of the scale rounded
    up (at most 3); pixel for pixel where that is the scale. Within NEAR_WHOLE pixels of a
    whole multiple, at that multiple, its edge repeated in the margin or cut by the area."""
    multiple = round(area[0] / AREA_W)
    near = multiple >= 1 and all(abs(side - multiple * design) <= NEAR_WHOLE
                                 for side, design in zip(area, (AREA_W, AREA_H)))
    scale = multiple if near else min(area[0] / AREA_W, area[1] / AREA_H)
    size = (round(AREA_W * scale), round(AREA_H * scale))
    drawn_from = min(3, max(1, math.ceil(scale - 0.01)))
    if drawn_from > 1:
        idle = Image.open(built_file(f"idle-{drawn_from}x.png")).convert("RGB")
    whole = scale == drawn_from
    picture = idle.resize(size, Image.NEAREST if whole else Image.LANCZOS)
    shown = Image.new("RGB", area, (0, 0, 0))
    # On whole pixels, the exact size's margin halved.
    left = int((area[0] - AREA_W * scale) // 2)
    top = int((area[1] - AREA_H * scale) // 2)
    shown.paste(picture, (left, top))
    if near:
        # The margins repeat the nearest row, then the nearest column, of what is shown.
        x0, y0 = max(0, left), max(0, top)
        x1, y1 = min(area[0], left + size[0]), min(area[1], top + size[1])
        for strip, box, at in (((x0, y0, x1, y0 + 1), (x1 - x0, y0), (x0, 0)),
                               ((x0, y1 - 1, x1, y1), (x1 - x0, area[1] - y1), (x0, y1)),
                               ((x0, 0, x0 + 1, area[1]), (x0, area[1]), (0, 0)),
                               ((x1 - 1, 0, x1, area[1]), (area[0] - x1, area[1]), (x1, 0))):
            if box[0] > 0 and box[1] > 0:
                shown.paste(shown.crop(strip).resize(box, Image.NEAREST), at)
    return shown, whole


def check_fitted_picture(env, game, idle, what):
    """The area shows the idle screen fitted to its size; returns the area."""
    area = game.area()
    wanted, whole = fitted(idle, area[2:])
    grab = lambda: screenshot(env, area[0], area[1], area[2], area[3])
    seen = wait_for_picture(grab, wanted, WAIT_STEP)
    # Between whole scales two filters differ by a little everywhere (2 at 0.6); a picture
    # moved by a pixel differs by 6, another screen by 15.
    off = 0 if whole else mean_difference(seen, wanted)
    if (whole and differs(seen, wanted)) or off > 3.5:
        keep = os.path.join(os.getcwd(), "gtk_e2e_fitted_seen.png")
        seen.save(keep)
        raise Failure(f"{what}: the {area[2]} x {area[3]} area should show the idle screen "
                      f"fitted to it (mean difference {off:.1f}); it showed {keep}")
    return area


def check_resized_window(test, env, settings, idle):
    """The window resized to twice the picture's size shows it from the pictures drawn twice
    as large, one of their pixels on one of the screen's, the size is kept for the next start, a window a little over half as large shows the same
    picture smaller, and a click on its Next starts a game."""
    game, window = start_game(test, env)
    area = game.area()
    menu = window_geometry(env, window)[3] - area[3]

    def resize(width):
        # The window keeps the proportions it has at the picture's own size.
        height = -(-width * (AREA_H + menu) // AREA_W)
        run(["xdotool", "windowsize", window, str(width), str(height)], env)
    resize(AREA_W * 2)
    wait_until(lambda: game.area()[2] == AREA_W * 2, WAIT_STEP, "the window to grow")
    large = check_fitted_picture(env, game, idle, "twice as large")
    check(differs(screenshot(env, *large), idle.resize(large[2:], Image.NEAREST)),
          "twice as large the picture is the design's with every pixel doubled")
    end_with_ctrl_w(game, env, window)
    stored = read_settings(settings)
    check((stored.get("gameAreaWidth"), stored.get("gameAreaHeight")) ==
          (str(large[2]), str(large[3])), f"the area's size should be kept: {stored}")
    game, window = start_game(test, env)
    check(game.area()[2:] == large[2:],
          f"the next start should show the area at {large[2:]}, not {game.area()[2:]}")
    check_fitted_picture(env, game, idle, "twice as large at the next start")
    resize(414)
    wait_until(lambda: game.area()[2] == 414, WAIT_STEP, "the window to shrink")
    small = check_fitted_picture(env, game, idle, "smaller")
    # The pointer meets the game where the picture shows it.
    scale = min(small[2] / AREA_W, small[3] / AREA_H)
    left = (small[2] - AREA_W * scale) // 2
    top = (small[3] - AREA_H * scale) // 2
    before = screenshot(env, *small)
    run(["xdotool", "mousemove", str(int(small[0] + left + NEXT_BUTTON[0] * scale)),
         str(int(small[1] + top + NEXT_BUTTON[1] * scale)), "click", "1"], env)
    run(["xdotool", "mousemove", str(SCREEN_W - 10), str(SCREEN_H - 10)], env)
    started = wait_for_picture(lambda: screenshot(env, *small), (before,), WAIT_STEP)
    check(differs(started, before), "a click on Next of the smaller picture started no game")
    end_with_ctrl_w(game, env, window)
    put_aside_kept_game(env, "the game Next started")
    # A size kept for a larger screen than this one: the window stays on the screen.
    stored = read_settings(settings)
    stored.update(gameAreaWidth=SCREEN_W * 3, gameAreaHeight=SCREEN_H * 3)
    with open(settings, "w") as f:
        f.write("[Settings]\n" + "".join(f"{k}={v}\n" for k, v in stored.items()))
    game, window = start_game(test, env)
    shown = window_geometry(env, window)
    check(shown[2] <= SCREEN_W and shown[3] <= SCREEN_H,
          f"a size kept larger than the screen should give a window on it, not {shown[2:]}")
    check_fitted_picture(env, game, idle, "at the largest size the screen allows")
    end_with_ctrl_w(game, env, window)
    print(f"resized to {large[2]} x {large[3]} the picture is the 2x pictures', kept at the "
          f"next start; at {small[2]} x {small[3]} it is the same picture smaller, and Next starts a game")


def check_window_manager_requests(test, env, workdir, settings, idle):
    """Under openbox, from a start with no settings: the window opens at the design's size,
    the golden picture pixel for pixel; resizing, maximizing and full screen are offered;
    maximized or full screen the picture is as large as the screen lets it be, and back to
    normal the window has its size again; a few pixels off the design's size the picture is
    the design's, and the size kept for the next start is the design's. A size a window
    manager rounded, as earlier versions kept it, opens at the design's size."""
    xserver = XServer(1600, 1200)
    wm = None
    game = None
    try:
        wm_env = dict(env)
        wm_env["DISPLAY"] = xserver.display
        wm = WindowManager(wm_env, workdir)
        if os.path.lexists(settings):
            os.remove(settings)

        def start_managed():
            game, window = start_game(test, wm_env)
            # The window manager has framed and placed the window once the frame extents
            # exist.
            wait_until(lambda: window_property(wm_env, window, "_NET_FRAME_EXTENTS"),
                       WAIT_STEP, "openbox did not frame the window")
            # Its place is final once it has mapped the window, the last step of taking it on.
            wait_until(lambda: "Normal" in (window_property(wm_env, window, "WM_STATE") or "")
                       and window_viewable(wm_env, window), WAIT_STEP,
                       "openbox did not map the window")
            return game, window

        def check_design_size(game, what):
            area = game.area()
            check(area[2:] == (AREA_W, AREA_H),
                  f"{what} the area should be {AREA_W} x {AREA_H}, not {area[2]} x {area[3]}")
            check(not differs(wait_for_picture(lambda: screenshot(wm_env, *area), idle,
                                               WAIT_STEP), idle),
                  f"{what} the area should show the golden idle picture")
            return area

        def check_kept_size(what):
            stored = read_settings(settings)
            check((stored.get("gameAreaWidth"), stored.get("gameAreaHeight")) ==
                  (str(AREA_W), str(AREA_H)), f"{what} the size kept should be the design's: "
                  f"{stored}")

        game, window = start_managed()
        own = check_design_size(game, "from a start with no settings")
        check(window_property(wm_env, window, "_NET_WM_WINDOW_TYPE") ==
              "_NET_WM_WINDOW_TYPE_NORMAL", "the window should keep the normal type")
        actions = window_property(wm_env, window, "_NET_WM_ALLOWED_ACTIONS") or ""
        wanted = ("MOVE", "RESIZE", "MINIMIZE", "CLOSE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT",
                  "FULLSCREEN")
        check(all(f"_NET_WM_ACTION_{a}," in actions + "," for a in wanted),
              f"the window manager should offer {', '.join(wanted)}: {actions}")
        before = window_geometry(wm_env, window)
        for states in (("_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"),
                       ("_NET_WM_STATE_FULLSCREEN",)):
            request_wm_state(xserver.display, window, *states)
            wait_until(lambda: all(s in (window_property(wm_env, window, "_NET_WM_STATE") or "")
                                   for s in states), WAIT_STEP, f"{states} to be granted")
            wait_until(lambda: game.area()[2] > own[2] * 2, WAIT_STEP,
                       f"the area to fill the screen with {states}")
            check_fitted_picture(wm_env, game, idle, f"with {states}")
            request_wm_state(xserver.display, window, *states, remove=True)
            wait_until(lambda: window_geometry(wm_env, window) == before, WAIT_STEP,
                       f"the window to return to {before} from {states}")
        # Two pixels larger each way: the design's picture in a margin of felt.
        menu = before[3] - own[3]
        run(["xdotool", "windowsize", window, str(AREA_W + 2), str(AREA_H + menu + 2)], wm_env)
        wait_until(lambda: game.area()[2:] == (AREA_W + 2, AREA_H + 2), WAIT_STEP,
                   "the window to grow by two pixels")
        check_fitted_picture(wm_env, game, idle, "two pixels larger")
        end_with_ctrl_w(game, wm_env, window)
        check_kept_size("two pixels larger")
        # The size earlier versions kept after openbox rounded the window.
        stored = read_settings(settings)
        stored.update(gameAreaWidth=AREA_W - 2, gameAreaHeight=AREA_H - 2)
        with open(settings, "w") as f:
            f.write("[Settings]\n" + "".join(f"{k}={v}\n" for k, v in stored.items()))
        game, window = start_managed()
        check_design_size(game, "from a kept size two pixels smaller")
        end_with_ctrl_w(game, wm_env, window)
        check_kept_size("from a kept size two pixels smaller")
        print("under openbox the window opens at the design's size, the golden picture, can be "
              "resized, maximized and made full screen; the picture fills what it can, a few "
              "pixels off the design's size it is the design's, and that size is kept")
    finally:
        if game:
            game.stop()
        if wm:
            wm.stop()
        xserver.stop()


def play(test, golden):
    """The whole test, on the display and bus the run set up."""
    program, workdir, env = test.program, test.workdir, test.env
    settings = settings_path(env)
    opened = install_fake_browser(workdir, env)

    def xdo(*args):
        run(["xdotool", *args], env)

    xdo("mousemove", str(SCREEN_W - 10), str(SCREEN_H - 10))

    # First start: defaults, the area's size and its first picture.
    started = time.monotonic()
    game = test.start()
    game.wait_shown(WAIT_START)
    normal_start = time.monotonic() - started
    ax, ay, aw, ah = game.area()
    check((aw, ah) == (AREA_W, AREA_H),
          f"the drawing area is {aw} x {ah}, not {AREA_W} x {AREA_H}")
    check_marks(game, 0, 0, "the first start")
    stored = read_settings(settings)
    check(stored.get("dimensionsRange") == "0" and stored.get("actionType") == "0",
          f"the settings file should be created with the defaults: {stored}")
    windows = window_ids(env, TITLE)
    check(len(windows) == 1, f"expected one window titled {TITLE}: {windows}")
    width = window_geometry(env, windows[0])[2]
    check(width == AREA_W, f"the window is {width} pixels wide, not {AREA_W}")
    scale = game.scale(env, windows[0])
    check(scale == 1, f"without GDK_SCALE the window should be at scale 1, not {scale}")
    # The desktop matches the window to its launcher by WM_CLASS; the build writes the
    # desktop file next to the program.
    with open(built_file("application_id")) as f:
        desktop_file = os.path.join(os.path.dirname(os.path.abspath(program)),
                                    f.read().strip() + ".desktop")
    with open(desktop_file) as f:
        wm_class = re.search(r"^StartupWMClass=(.*)$", f.read(), re.M).group(1)
    check(window_property(env, windows[0], "WM_CLASS") == f'"{wm_class}", "{wm_class}"',
          f"WM_CLASS should be {wm_class}: {window_property(env, windows[0], 'WM_CLASS')}")
    print(f"window {windows[0]} on {env['DISPLAY']}, drawing area at {ax},{ay}, {aw} x {ah}")
    # There is no window manager to give the window the keyboard.
    xdo("windowfocus", "--sync", windows[0])

    grab = lambda: screenshot(env, ax, ay, AREA_W, AREA_H)
    check(os.path.exists(golden), f"the golden picture {golden} is missing")
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

    # Options > Field Size > 4 x 4, from the keyboard.
    choose_field_size(game, env, windows[0], 4)
    check_marks(game, 4, 0, "choosing 4 x 4", settings)
    print("4 x 4 chosen in the menu")

    # Next starts a game: the start picture gives way to the instruction. Its button
    # takes the hover look under the pointer first.
    xdo("mousemove", str(ax + NEXT_BUTTON[0]), str(ay + NEXT_BUTTON[1]))
    hover = wait_for_picture(grab, (idle,), WAIT_STEP, CONTROLS_PANEL)
    check(differs(hover, idle, CONTROLS_PANEL),
          "Next did not change its look under the pointer")
    check(not differs(hover, idle, BOARD) and not differs(hover, idle, INSTRUCTIONS),
          "the pointer over Next changed more than the button")
    xdo("click", "1")
    xdo("mousemove", str(ax + 100), str(ay + 300))  # over the Time panel, off the board
    playing = wait_for_picture(grab, (idle,), WAIT_STEP, INSTRUCTIONS)
    check(differs(playing, idle, INSTRUCTIONS), "Next did not change the Instructions panel")
    check(differs(playing, idle, BOARD), "Next did not change the board")
    print("Next started a game")

    # Hovering a stick of the 4 x 4 field that the game lets change changes its look. The
    # picture Next brought is the board as it stays: the board is drawn whole with the
    # instruction, and the pointer on the Time panel leaves it alone.
    x, y = hoverable_stick(game)
    xdo("mousemove", str(ax + x), str(ay + y))
    shot = wait_for_picture(grab, (playing,), WAIT_STEP, BOARD)
    check(differs(shot, playing, BOARD), f"the stick at ({x}, {y}) did not change its look "
                                         "under the pointer")
    box = ImageChops.difference(shot.crop(BOARD), playing.crop(BOARD)).getbbox()
    bx, by = x - BOARD[0], y - BOARD[1]
    check(box[0] <= bx < box[2] and box[1] <= by < box[3],
          f"the change {box} is not where the pointer is ({bx}, {by})")
    print(f"the stick at ({x}, {y}) changed its look under the pointer")

    # The pointer gone off the window, over the stick or after a click on it: nothing
    # keeps the look it has under the pointer, the board is as the pointer over the Time
    # panel leaves it.
    xdo("mousemove", str(SCREEN_W - 10), str(SCREEN_H - 10))
    gone = wait_for_picture(grab, playing, WAIT_STEP, BOARD)
    check(not differs(gone, playing, BOARD),
          "the stick kept its look under the pointer once the pointer left the window")
    game.click((x, y))
    lit = wait_for_picture(grab, (playing,), WAIT_STEP, BOARD)
    xdo("mousemove", str(SCREEN_W - 10), str(SCREEN_H - 10))
    gone = wait_for_picture(grab, (lit,), WAIT_STEP, BOARD)
    xdo("mousemove", str(ax + 100), str(ay + 300))
    time_panel = wait_for_picture(grab, gone, WAIT_STEP, BOARD)
    check(not differs(gone, time_panel, BOARD),
          "the stick clicked kept its look under the pointer once the pointer left the window")
    print("the stick hovered and the stick clicked lose their look under the pointer when "
          "the pointer leaves the window")

    # F1 opens nothing; Contents, Search and Index open their pages in the browser. The
    # program handles F1 before the keys that follow it, so had F1 opened a page, the
    # browser would have been started before the one for Contents.
    xdo("key", "F1")
    pages = []
    help_dir = os.path.join(os.path.dirname(os.path.abspath(program)), "help")
    check(os.path.isfile(os.path.join(help_dir, "index.html")),
          f"the help pages are missing from {help_dir}")
    for mnemonic, page in (("c", "index.html"), ("s", "search.html"), ("i", "keywords.html")):
        xdo("key", "alt+h")
        game.wait_menu_open("Help", timeout=WAIT_STEP)
        xdo("key", mnemonic)
        wanted = len(pages) + 1

        def opened_pages():
            found = opened_addresses(opened)
            return found if len(found) >= wanted else None
        try:
            pages = wait_until(opened_pages, WAIT_STEP, f"Help should open {page}")
        except Failure as e:
            raise Failure(f"{e}: {opened_addresses(opened)}")
        # GIO hands a local file to the browser as its path or as a file:// address.
        check(len(pages) == wanted and pages[-1].startswith(("file:///", "/")) and
              pages[-1].endswith("/" + page),
              f"Help should open {page} in the browser, and F1 nothing: {pages}")
        path = pages[-1]
        if path.startswith("file://"):
            path = urllib.parse.unquote(path[len("file://"):])
        check(os.path.isfile(path), f"the help page {path} does not exist")
    print("F1 opens nothing; Contents, Search and Index open their pages")

    # Ctrl+W ends the program with 0 and keeps 4 x 4.
    xdo("key", "ctrl+w")
    code = game.wait_exit(WAIT_STEP * 2)
    check(code == 0, f"Ctrl+W should end the program with 0, not {code}")
    stored = read_settings(settings)
    check(stored.get("dimensionsRange") == "4", f"the settings file should keep 4: {stored}")
    print("Ctrl+W ended the program with 0; the settings file keeps 4")
    # The game it ended in is kept for the next start, which is to show the idle screen.
    put_aside_kept_game(env, "the game running at Ctrl+W")

    # Second start: 4 x 4 is marked again. On a HiDPI scale the picture comes from the
    # pictures drawn twice as large, one of their pixels on one of the screen's.
    env["GDK_SCALE"] = "2"
    game, window = start_game(test, env)
    xdo("windowfocus", "--sync", window)
    check_marks(game, 4, 0, "the next start", settings)
    sx, sy, sw, sh = game.area()
    scale = game.scale(env, window)
    check(scale == 2 and (sw, sh) == (AREA_W, AREA_H),
          f"at scale 2 the area keeps its logical size: scale {scale}, area {sw} x {sh}")
    xdo("mousemove", str(SCREEN_W - 10), str(SCREEN_H - 10))
    big_grab = lambda: screenshot(env, sx * 2, sy * 2, AREA_W * 2, AREA_H * 2)
    expected = Image.open(built_file("idle-2x.png")).convert("RGB")
    big = wait_for_picture(big_grab, expected, WAIT_STEP)
    if differs(big, expected):
        keep = os.path.join(os.getcwd(), "gtk_e2e_scale_2_seen.png")
        big.save(keep)
        raise Failure("at scale 2 the picture is not the idle screen of the 2x pictures "
                      f"(box {ImageChops.difference(big, expected).getbbox()}); seen: {keep}")
    check(differs(big, idle.resize(expected.size, Image.NEAREST)),
          "at scale 2 the picture is the design's with every pixel doubled")
    print("the next start marks 4 x 4; at scale 2 the picture is the 2x pictures'")
    xdo("key", "ctrl+w")
    code = game.wait_exit(WAIT_STEP * 2)
    check(code == 0, f"the second run should end with 0, not {code}")
    env.pop("GDK_SCALE")

    check_resized_window(test, env, settings, idle)
    check_choices_survive_an_abrupt_end(test, env, settings)
    check_damaged_files(test, env, settings)
    check_pipe_in_place_of_the_file(test, env, settings, normal_start)
    check_message_without_a_display(test, env)
    check_window_manager_requests(test, env, workdir, settings, idle)
    print("PASS")


def main():
    return GtkTestRun(sys.argv[1], "kz-e2e-", (SCREEN_W, SCREEN_H)).run(
        lambda test: play(test, sys.argv[2]))


if __name__ == "__main__":
    time_limit(300)
    sys.exit(main())
