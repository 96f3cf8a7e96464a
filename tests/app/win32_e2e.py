#!/usr/bin/python3
"""End-to-end test of the Windows program under Wine on a private X server.

A fresh Wine prefix; the program runs from a folder of its own with its help file and a
planted, broken hhctrl.ocx. Checked: the client area's size and first picture, the radio
marks of both settings menus read from screenshots of the opened menus, Next and the clock,
the window partly off the left, right and bottom edges of the screen, Ctrl+W with exit code 0
and the settings stored, start-up with damaged settings, the About box, help at its
contents, index and search, help from a folder named in Cyrillic and Greek, and, in a Wine
virtual desktop where the window has a frame, the close box ending the program with 0 and
the settings saved. Every wait is bounded; every process started is ended.

With --monitors instead: the X screen split into two monitors side by side, first with the
second monitor right of the primary, then left of it, as Windows must see them; the window
wholly on the second monitor and across the seam, under openbox, and DirectDraw with Wine's
own renderer. After a minimize and restore the client area equals the idle golden picture; a
game started on the second monitor, its clock going, moved across the seam with the larger
part on either monitor, by the window manager and by SetWindowPos from another process (the
window probe the build makes beside the program), shows once the clock has gone on, after a
minimize and restore and after another window has moved away from part of it what the same
game shows on the primary, the clock's digits left out, and so does the game moved back onto
the primary by SetWindowPos; after Next and Give Up the picture on the second monitor equals
the one drawn on the primary; no Paint Error; Ctrl+W ends with 0. KZ_E2E_KEEP names a folder
for screenshots of every placement.

usage: win32_e2e.py [--monitors] PROGRAM.exe GOLDEN_IDLE_PNG
Exit codes: 0 passed, 1 failed, 77 skipped: a 32-bit program where no 32-bit code runs under
Wine (a kernel that starts none, or no 32-bit Wine installed).
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_basics import (SKIPPED, Failure, Process, check, require_tools, time_limit,  # noqa: E402
                         wait_until)
from pe_image import PE_I386, pe_machine  # noqa: E402
from pictures import differs, locate, wait_for_picture, wait_for_stillness  # noqa: E402
from screen_layout import (AREA_H, AREA_W, CLOCK, FELT, INSTRUCTIONS,  # noqa: E402
                           NEXT_BUTTON)
from window_manager import WindowManager  # noqa: E402
from wine_prefix import WinePrefix, keys_once_focused, why_no_32_bit_code  # noqa: E402
from x_display import (XServer, find_windows, minimize_and_restore, screenshot,  # noqa: E402
                       set_monitors, window_geometry, xdotool)

SCREEN_W, SCREEN_H = 1024, 768
TITLE = "Kestrane Zivadorured"
HELP_TITLE = TITLE + " Help"
ABOUT_TITLE = "About " + TITLE
SETTINGS_KEY = r"HKCU\Software\Kestrane Games\Kestrane Zivadorured"
# The menu bar's titles, from the left of the window; Wine draws it the same every run.
MENU_TITLES = {"Game": 19, "Options": 65, "Help": 108}
FIELD_SIZES = ["2 x 2", "3 x 3", "4 x 4", "5 x 5", "Random"]
ACTION_TYPES = ["Add From None", "Add From Some", "Remove From Full", "Remove From Some",
                "Move From Some", "Mixed"]
HELP_ITEMS = ["Contents", "Search", "Index", "About"]
WAIT_START = 60.0                   # seconds; a fresh prefix starts its services first
WAIT_STEP = 10.0


def differing_pixels(a, b):
    return sum(1 for p in ImageChops.difference(a, b).getdata() if p != (0, 0, 0))


def log(text):
    print(f"[{time.strftime('%H:%M:%S')}] {text}", flush=True)


def keep_folder():
    """Where pictures of a failure are kept: $KZ_E2E_KEEP, else the temporary folder."""
    keep = os.environ.get("KZ_E2E_KEEP", tempfile.gettempdir())
    os.makedirs(keep, exist_ok=True)
    return keep




def dark(pixel):
    return sum(pixel) < 3 * 100


def make_prefix(workdir, display, **options):
    # An ANSI code page without Cyrillic or Greek letters.
    return WinePrefix(workdir, display, env={"LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"},
                      **options)


def stored(wine, name):
    """'TYPE VALUE' of a settings value, None when it is missing."""
    value = (wine.reg_values(SETTINGS_KEY) or {}).get(name)
    return " ".join(value) if value else None


def use_virtual_desktop(wine, size):
    wine.reg_add(r"HKCU\Software\Wine\Explorer", "Desktop", "REG_SZ", "Default")
    wine.reg_add(r"HKCU\Software\Wine\Explorer\Desktops", "Default", "REG_SZ", size)
    # The desktop process reads the setting when it starts: end the running one.
    wine.stop()


def cannot_run(program_path):
    """Why the program cannot run on this machine, or None when it can."""
    if pe_machine(program_path) == PE_I386 and why_no_32_bit_code():
        return f"the 32-bit program was not run: {why_no_32_bit_code()}"
    return None


class Program:
    """One run of the program: its process, window and client area, and a player's hands."""

    def __init__(self, wine, folder, golden, pointer=(SCREEN_W - 10, SCREEN_H - 10)):
        self.env = wine.env
        exe = [f for f in os.listdir(folder) if f.endswith(".exe")][0]
        xdotool(self.env, "mousemove", *pointer)
        self.process = wine.start(exe, cwd=folder)
        self.window = wait_until(lambda: self._window(), WAIT_START,
                                 f"no window titled '{TITLE}' appeared")
        self.measure()
        # The first picture: the idle screen, pixel for pixel.
        idle = wait_for_picture(self.client_shot, golden, WAIT_STEP)
        if differs(idle, golden):
            keep = keep_folder()
            idle.save(os.path.join(keep, "win32-idle-actual.png"))
            count = differing_pixels(idle, golden)
            raise Failure(f"the idle screen differs from the golden picture in {count} pixels "
                          f"(saved as {keep}/win32-idle-actual.png)")

    def _window(self):
        check(self.process.running(), "the program ended before showing its window; "
              f"stderr: {self.process.last_errors()}")
        windows = find_windows(self.env, TITLE)
        return windows[0] if windows else None

    def measure(self):
        """Without a window manager Wine leaves the caption out: the X window holds the menu
        bar and the client area. The menu bar is the run of rows at the top that have the
        colour of its empty right end."""
        self.x, self.y, self.w, self.h = window_geometry(self.env, self.window)

        def menu_height():
            shot = screenshot(self.env, self.x, self.y, self.w, self.h)
            column = self.w - 2
            colour = shot.getpixel((column, 0))
            if dark(colour):
                return None  # not painted yet
            rows = 0
            while rows < self.h and shot.getpixel((column, rows)) == colour:
                rows += 1
            return rows if rows < self.h else None
        self.menu_h = wait_until(menu_height, WAIT_STEP, "the menu bar was not painted")
        self.client = (self.x, self.y + self.menu_h)
        size = (self.w, self.h - self.menu_h)
        check(size == (AREA_W, AREA_H),
              f"the client area is {size[0]} x {size[1]}, not {AREA_W} x {AREA_H}")

    def move_to(self, x, y):
        xdotool(self.env, "windowmove", self.window, x, y)
        wait_until(lambda: window_geometry(self.env, self.window)[:2] == (x, y), WAIT_STEP,
                   f"the window did not move to {x}, {y}")
        self.x, self.y = x, y
        self.client = (x, y + self.menu_h)

    def screen_shot(self):
        return screenshot(self.env, 0, 0, SCREEN_W, SCREEN_H)

    def repainted_shot(self):
        """The client area after a minimize and restore, which repaints all of it."""
        minimize_and_restore(self.env, self.window)
        return wait_for_stillness(self.client_shot, WAIT_STEP)

    def client_shot(self, box=(0, 0, AREA_W, AREA_H)):
        cx, cy = self.client
        return screenshot(self.env, cx + box[0], cy + box[1], box[2] - box[0], box[3] - box[1])

    def click(self, x, y):
        """A left click at a point of the client area."""
        xdotool(self.env, "mousemove", self.client[0] + x, self.client[1] + y)
        xdotool(self.env, "click", 1)

    def click_screen(self, x, y):
        xdotool(self.env, "mousemove", x, y)
        xdotool(self.env, "click", 1)

    def wait_for_change(self, box, before, what):
        after = wait_for_picture(lambda: self.client_shot(box), (before,), WAIT_STEP)
        check(differs(after, before), what)
        return after

    # --- menus, read from the screen ---------------------------------------------------

    def close_menus(self):
        # A click on the felt closes open menus and leaves the menu bar unselected (Esc would
        # keep the bar selected, and the next click on it would close rather than open).
        before = self.screen_shot()
        self.click(*FELT)
        closed = wait_for_picture(self.screen_shot, (before,), WAIT_STEP)
        check(differs(closed, before), "a click on the felt did not close the menus")

    def open_popup(self, title):
        """Opens a menu of the bar; returns the screenshot and the popup's box."""
        before = self.screen_shot()
        self.click_screen(self.x + MENU_TITLES[title], self.y + self.menu_h // 2)
        shot = wait_for_picture(self.screen_shot, (before,), WAIT_STEP)
        box = below_bar(ImageChops.difference(before, shot).getbbox(), self.client[1])
        check(box, f"the {title} menu did not open")
        return shot, box

    def open_submenu(self, title, item, count):
        """Opens a submenu of a menu of the bar; returns the screenshot and its box."""
        shot, box = self.open_popup(title)
        rows = item_rows(shot, box)
        check(len(rows) == 2, f"the {title} menu shows {len(rows)} items, not 2")
        top, bottom = rows[item]
        # Hovering may open the submenu before the click does; either way it then stands
        # right of the menu.
        right_of_menu = (box[2], 0, SCREEN_W, SCREEN_H)
        xdotool(self.env, "mousemove", box[0] + 30, (top + bottom) // 2)
        xdotool(self.env, "click", 1)
        opened = wait_for_picture(self.screen_shot, (shot,), WAIT_STEP, box=right_of_menu)
        opened = wait_for_stillness(self.screen_shot, WAIT_STEP)
        diff = ImageChops.difference(shot, opened).crop(right_of_menu)
        sub = diff.getbbox()
        check(sub, f"the submenu of {title} did not open")
        sub = (sub[0] + box[2], sub[1], sub[2] + box[2], sub[3])
        rows = item_rows(opened, sub)
        check(len(rows) == count, f"the submenu shows {len(rows)} items, not {count}")
        return opened, sub, rows

    def marked(self, item, names):
        """The item of an Options submenu that carries the radio mark."""
        shot, box, rows = self.open_submenu("Options", item, len(names))
        self.close_menus()
        # The mark stands left of the labels, which all start in one column.
        starts = [min(x for x in range(box[0] + 2, box[2] - 20) for y in range(top, bottom)
                      if dark(shot.getpixel((x, y))))
                  for top, bottom in rows]
        labels = max(starts)
        marks = [i for i, start in enumerate(starts) if start <= labels - 4]
        check(len(marks) == 1, f"{len(marks)} radio marks in the menu, not one")
        return names[marks[0]]

    def choose(self, item, names, name):
        shot, box, rows = self.open_submenu("Options", item, len(names))
        top, bottom = rows[names.index(name)]
        xdotool(self.env, "mousemove", box[0] + 40, (top + bottom) // 2)
        xdotool(self.env, "click", 1)
        wait_for_picture(self.screen_shot, (shot,), WAIT_STEP)

    def help_command(self, name):
        shot, box = self.open_popup("Help")
        rows = item_rows(shot, box)
        check(len(rows) == len(HELP_ITEMS), f"the Help menu shows {len(rows)} items")
        top, bottom = rows[HELP_ITEMS.index(name)]
        xdotool(self.env, "mousemove", box[0] + 30, (top + bottom) // 2)
        xdotool(self.env, "click", 1)

    # --- ending --------------------------------------------------------------------------

    def end_with_ctrl_w(self):
        # A click on the felt gives the window the keyboard.
        keys_once_focused(self.env, lambda: self.click(*FELT), ["ctrl+w"],
                          lambda: not self.process.running(), WAIT_STEP, "Ctrl+W ended nothing")
        return self.process.wait_exit(WAIT_STEP)

    def stop(self):
        self.process.stop()


def below_bar(box, client_top):
    """A popup's box without the menu bar title that lights up above it."""
    if not box:
        return None
    left, top, right, bottom = box
    top = max(top, client_top)
    return (left, top, right, bottom) if bottom > top else None


def item_rows(shot, box):
    """The rows of text of a menu, top and bottom on the screen, found left of the submenu
    arrows. A label's underlined
    mnemonic, a few rows below it, and a highlighted item each count as part of one band."""
    left, top, right, bottom = box
    inked = [y for y in range(top + 2, bottom - 2)
             if any(dark(shot.getpixel((x, y))) for x in range(left + 2, right - 20))]
    rows = []
    for y in inked:
        if rows and y - rows[-1][1] <= 3:
            rows[-1] = (rows[-1][0], y + 1)
        else:
            rows.append((y, y + 1))
    return rows


def help_pane(program, command):
    """Opens help with a command of the Help menu; returns the viewer's navigation pane, left
    of the page: its tabs and what the chosen tab shows. Wine's viewer loses track of its tabs
    once it is reused, so each command is given in a run of its own."""
    program.help_command(command)
    window = wait_until(lambda: find_windows(program.env, HELP_TITLE), 20,
                        f"Help > {command} opened no help window")[0]
    x, y, w, h = window_geometry(program.env, window)
    grab = lambda: screenshot(program.env, x, y, min(w, 240), h)

    def drawn():
        # The tab labels are the first text the viewer draws.
        shot = grab()
        top = shot.crop((0, 0, shot.width, min(h, 120)))
        return sum(1 for p in top.getdata() if dark(p)) > 40
    # A fresh prefix takes seconds to start the services the viewer asks for.
    wait_until(drawn, WAIT_START, f"the help window of Help > {command} stayed empty")
    return wait_for_stillness(grab, WAIT_STEP)


def check_no_paint_error(program, where, before=None):
    """A failed blit shows the box instead of the frame. With the screen from before an input,
    the input's frame must first be on the screen; without, the caller has seen one drawn."""
    if before is not None:
        after = wait_for_picture(program.screen_shot, (before,), WAIT_STEP)
        check(not find_windows(program.env, "Paint Error"), f"{where}: a Paint Error box opened")
        check(differs(after, before), f"{where}: the input drew nothing")
    check(not find_windows(program.env, "Paint Error"), f"{where}: a Paint Error box opened")
    check(program.process.running(), f"{where}: the program ended")


def check_window_partly_off_screen(program):
    """A game with the window across the left, right and bottom edges of the screen: the
    clock and the buttons are drawn across the edge."""
    home = (program.x, program.y)
    menu = program.menu_h
    field = ((250, 110), (300, 200), (400, 300))
    # Where the window goes, a visible point of Next (and Give Up), and points to click on.
    placements = [
        ("left", (-100, 60), (120, NEXT_BUTTON[1]), field),
        ("right", (SCREEN_W - 100, 60), (93, NEXT_BUTTON[1]), ((60, 60), (95, 420))),
        ("bottom", (0, SCREEN_H - menu - 445), (NEXT_BUTTON[0], 425), field),
    ]
    for edge, (x, y), button, points in placements:
        program.move_to(x, y)
        # Next, Give Up and Next again, all in the same place; then a few clicks on the field.
        for _ in range(3):
            before = program.screen_shot()
            program.click(*button)
            check_no_paint_error(program, f"window off the {edge} edge", before)
        before = program.screen_shot()
        for point in points:
            program.click(*point)
        check_no_paint_error(program, f"window off the {edge} edge, clicks on the field", before)
        log(f"window across the {edge} edge: drawn without a Paint Error")
    program.move_to(*home)


def check_help_tabs(panes):
    # Each command shows its own tab: three different navigation panes.
    for a, b in (("Contents", "Index"), ("Contents", "Search"), ("Index", "Search")):
        check(differs(panes[a], panes[b]),
              f"Help > {a} and Help > {b} show the same navigation pane: no {b} tab")
    log("help opens at its contents, its index and its search tab")


def check_about(program):
    program.help_command("About")
    about = wait_until(lambda: find_windows(program.env, ABOUT_TITLE), WAIT_STEP,
                       "Help > About opened no About box")[0]
    x, y, _, _ = window_geometry(program.env, about)
    # A click on an empty spot of the box gives it the keyboard.
    keys_once_focused(program.env, lambda: xdotool(program.env, "mousemove", x + 200, y + 40,
                                                   "click", 1),
                      ["Escape"], lambda: not find_windows(program.env, ABOUT_TITLE), WAIT_STEP,
                      "Esc did not close the About box")
    log("the About box opens and closes")


def check_defaults_marked(program, what):
    field = program.marked(0, FIELD_SIZES)
    action = program.marked(1, ACTION_TYPES)
    check((field, action) == ("Random", "Mixed"),
          f"{what}: the menus mark {field} and {action}, not Random and Mixed")


def check_ends_with_defaults_stored(program, wine, what):
    code = program.end_with_ctrl_w()
    check(code == 0, f"{what}: Ctrl+W ended the program with exit code {code}, not 0")
    # The game ran with the defaults, so the defaults are written back.
    for name in ("dimensionsRange", "actionType"):
        value = stored(wine, name)
        check(value == "REG_DWORD 0x0", f"{what}: {name} afterwards is '{value}'")


def close_box_in_virtual_desktop(wine, folder, golden):
    """In a virtual desktop Wine draws the window's frame itself: the close box is found on
    the screen, right of the caption over the menu bar."""
    wine.reg_add(SETTINGS_KEY, "dimensionsRange", "REG_DWORD", "7")
    use_virtual_desktop(wine, f"{SCREEN_W}x{SCREEN_H}")
    env = wine.env
    exe = [f for f in os.listdir(folder) if f.endswith(".exe")][0]
    process = wine.start(exe, cwd=folder)
    try:
        def client_origin():
            check(process.running(), "the program in the virtual desktop ended at start-up")
            return locate(screenshot(env, 0, 0, SCREEN_W, SCREEN_H), golden)
        cx, cy = wait_until(client_origin, WAIT_START, "no idle screen in the virtual desktop")
        shot = screenshot(env, 0, 0, SCREEN_W, SCREEN_H)
        # Above the client area: the menu bar, a border line, the caption; the caption is
        # the first run of one colour at least 10 rows high.
        column = cx + 300
        runs = []
        for y in range(cy - 1, max(cy - 80, 0), -1):
            colour = shot.getpixel((column, y))
            if runs and runs[-1][0] == colour:
                runs[-1][2] = y
            else:
                runs.append([colour, y, y])
        captions = [(colour, top, bottom) for colour, bottom, top in runs[1:]
                    if bottom - top + 1 >= 10]
        check(captions, "no caption above the menu bar in the virtual desktop")
        caption_colour, top, bottom = captions[0]
        middle = (top + bottom) // 2
        # The close box is the rightmost run of other colours on the caption's middle row.
        x = cx + AREA_W + 10
        while x > cx and shot.getpixel((x, middle)) != caption_colour:
            x -= 1
        right = x
        while x > cx and shot.getpixel((x, middle)) == caption_colour:
            x -= 1
        box_right = x
        while x > cx and shot.getpixel((x, middle)) != caption_colour:
            x -= 1
        check(box_right < right and box_right - x >= 8, "no close box on the caption")
        xdotool(env, "mousemove", (x + box_right) // 2, middle)
        xdotool(env, "click", 1)
        code = process.wait_exit(WAIT_STEP)
        check(code == 0, f"the close box ended the program with exit code {code}, not 0")
        value = stored(wine, "dimensionsRange")
        check(value == "REG_DWORD 0x0",
              f"after the close box dimensionsRange is '{value}': the settings were not saved")
        log("in a virtual desktop the close box ends the program with 0 and saves the settings")
    finally:
        process.stop()


def tear_down(workdir, wine, *servers):
    """Ends every Wine process of the prefix, then the servers in order, and removes the
    work folder."""
    if wine:
        wine.stop()
    for server in servers:
        if server:
            server.stop()
    shutil.rmtree(workdir, ignore_errors=True)


# The X screen of the two-monitor runs: two monitors of 1280 x 1024 side by side.
MONITOR_W, MONITOR_H = 1280, 1024
# Where the primary monitor stands on the X screen, and where the window goes, in X
# coordinates: wholly on the other monitor, and across the seam with 280 columns on the left.
LAYOUTS = [
    ("right of the primary", 0, {"wholly on it": (1500, 150), "across the seam": (1000, 150)}),
    ("left of the primary", MONITOR_W, {"wholly on it": (300, 150), "across the seam": (1000, 150)}),
]


# Where the window stands across the seam with a game going: the client column at the seam
# (the larger part on one monitor, then on the other) and what moves it there: the window
# manager, as a player's drag does, or SetWindowPos from another process, as a tool that
# arranges windows does. Where the last field says so, other windows then uncover parts of it.
ACROSS = [(280, "the window manager", True), (410, "the window manager", False),
          (410, "SetWindowPos", True), (280, "SetWindowPos", False)]


class WindowProbe:
    """The window probe (tests/support/win32_window_probe.cpp), which the build of the
    program makes beside it: SetWindowPos on the program's window from another process, and
    the monitors as Windows sees them."""

    def __init__(self, wine, program_path):
        self.wine = wine
        self.path = os.path.join(os.path.dirname(program_path), "test-support",
                                 "window-probe.exe")
        check(os.path.isfile(self.path), f"{self.path} does not exist: the build that makes "
              "the program makes it too")
        self.origin = (0, 0)  # the virtual screen's top-left corner, where X puts 0, 0

    def lines(self, *args):
        """What the probe prints, as (name, value) pairs; also when it ends with an error,
        which it names in a line of its own."""
        out = subprocess.run([self.wine.loader, self.path, *map(str, args)], env=self.wine.env,
                             timeout=30, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                             text=True).stdout
        return [line.split("=", 1) for line in out.replace("\r", "").splitlines() if "=" in line]

    def monitors(self):
        """The virtual screen and the monitors, (left, top, right, bottom) in Windows' screen
        coordinates, the primary monitor first; the virtual screen's corner is kept."""
        found = {"virtual": [], "monitor": []}
        for name, value in self.lines("monitors"):
            rect, _, primary = value.partition(" primary=")
            found.setdefault(name, []).append((tuple(int(v) for v in rect.split(",")),
                                               primary == "1"))
        check(len(found["virtual"]) == 1, "the window probe gave no virtual screen")
        virtual = found["virtual"][0][0]
        self.origin = virtual[:2]
        return virtual, [m for m, primary in found["monitor"] if primary] + \
            [m for m, primary in found["monitor"] if not primary]

    def place(self, program, x, y):
        """Moves the window with SetWindowPos so that it stands at x, y of the X screen, where
        program.move_to would put it through the window manager."""
        wanted = (x + self.origin[0], y + program.menu_h + self.origin[1])
        said = dict(self.lines("place", *wanted)).get("origin")
        check(said == f"{wanted[0]},{wanted[1]}", f"after SetWindowPos to {wanted} the probe "
              f"finds the client area at {said}")
        wait_until(lambda: window_geometry(program.env, program.window)[:2] == (x, y),
                   WAIT_STEP, f"SetWindowPos did not move the X window to {x}, {y}")
        program.x, program.y = x, y
        program.client = (x, y + program.menu_h)


def keep_shot(picture, name):
    if os.environ.get("KZ_E2E_KEEP"):
        picture.save(os.path.join(keep_folder(), f"win32-monitors-{name}.png"))


def expect_picture(program, wanted, where, name):
    """The client area after a minimize and restore, compared pixel for pixel."""
    shot = program.repainted_shot()
    keep_shot(shot, name)
    if differs(shot, wanted):
        keep = keep_folder()
        shot.save(os.path.join(keep, f"win32-monitors-{name}-actual.png"))
        count = differing_pixels(shot, wanted)
        raise Failure(f"{where}: after a minimize and restore the client area differs from the "
                      f"expected picture in {count} pixels (saved in {keep})")


def without_clock(picture):
    """The picture with the clock's digits blacked out: they change every second."""
    picture = picture.copy()
    picture.paste((0, 0, 0), CLOCK)
    return picture


def still_game(program):
    """The client area during a game, once it has stopped changing outside the clock."""
    return wait_for_stillness(lambda: without_clock(program.client_shot()), WAIT_STEP)


def expect_game(shot, on_primary, where, name):
    keep_shot(shot, name)
    if differs(shot, on_primary):
        keep = keep_folder()
        shot.save(os.path.join(keep, f"win32-monitors-{name}-actual.png"))
        on_primary.save(os.path.join(keep, f"win32-monitors-{name}-primary.png"))
        raise Failure(f"{where}: the client area differs from the same game drawn on the "
                      f"primary monitor in {differing_pixels(shot, on_primary)} pixels, the "
                      f"clock left out (saved in {keep})")


# The covers: a window of Wine, whose moving away the program learns of by a paint message
# for the part it leaves, and one of another X client, whose leaving Wine repaints from its
# own copy of the window. (what, a program of Wine, command, title)
COVERS = [("a window of Wine", True, ("notepad",), "Untitled - Notepad"),
          ("a window of another program", False,
           ("xmessage", "-title", "Kestrane cover", "cover"), "Kestrane cover")]


def start_cover(wine, of_wine, command, title):
    """A covering window of its own process: (process, window)."""
    cover = wine.start(*command) if of_wine else Process(list(command), wine.env)
    try:
        window = wait_until(lambda: find_windows(wine.env, title), WAIT_START,
                            f"the covering window '{title}' did not appear")[0]
    except Failure:
        cover.stop()
        raise
    return cover, window


def uncover(program, window, box):
    """The window is put over box of the client area, then moved away below it: the part it
    leaves has to show the game again."""
    cx, cy = program.client
    shown = without_clock(program.client_shot())
    xdotool(program.env, "windowsize", window, box[2] - box[0], box[3] - box[1])
    xdotool(program.env, "windowmove", window, cx + box[0], cy + box[1])

    def over_box():
        # Openbox puts its frame where the window is asked to stand, so the window itself
        # lies a little further right and, below the frame's title, lower.
        x, y, _, _ = window_geometry(program.env, window)
        return 0 <= x - cx - box[0] <= 16 and 0 <= y - cy - box[1] <= 40
    wait_until(over_box, WAIT_STEP, "the covering window did not move over the client area")
    # Not waited on to stand still: a window with the keyboard blinks its caret.
    covered = wait_for_picture(lambda: without_clock(program.client_shot()), (shown,),
                               WAIT_STEP, box=box)
    check(differs(covered, shown, box), "the covering window did not cover the client area")
    away = cy + AREA_H + 20
    xdotool(program.env, "windowmove", window, cx + box[0], away)
    wait_until(lambda: window_geometry(program.env, window)[1] >= away, WAIT_STEP,
               "the covering window did not move away")


def ticked_game(program, where):
    """The game once the clock has gone on: a frame drawn where the window stands now."""
    program.wait_for_change(CLOCK, program.client_shot(CLOCK), f"{where}: the clock stood still")
    check_no_paint_error(program, where)
    return still_game(program)


def check_game_across_seam(program, wine, probe, placements, home, side, second_x):
    """With the clock going, the window moved from the second monitor to across the seam,
    by the window manager and by SetWindowPos, shows once the clock has gone on, after a
    minimize and restore and after another window has uncovered a part on either monitor,
    the same game as on the primary monitor afterwards; and so does the window moved back
    onto the primary by SetWindowPos, once the clock has gone on."""
    shots = []
    for seam, mover, uncovered in ACROSS:
        position = (MONITOR_W - seam, placements["across the seam"][1])
        if mover == "SetWindowPos":
            probe.place(program, *position)
        else:
            program.move_to(*position)
        where = f"the seam at client column {seam}, moved there by {mover}, a game"
        name = f"{second_x}-seam-{seam}-{mover.split()[-1].lower()}-game"
        shots.append((ticked_game(program, where), f"{where}, once the clock has gone on",
                      name + "-moved"))
        minimize_and_restore(program.env, program.window)
        shots.append((still_game(program), f"{where}, after a minimize and restore",
                      name + "-restored"))
        if not uncovered:
            continue
        # Covers across the seam and on either monitor.
        boxes = (("across the seam", (seam - 150, 60, seam + 150, 360)),
                 ("left of the seam", (seam - 250, 200, seam - 20, 460)),
                 ("right of the seam", (seam + 20, 200, seam + 250, 460)))
        for what, of_wine, command, title in COVERS:
            cover, window = start_cover(wine, of_wine, command, title)
            try:
                for part, box in boxes:
                    uncover(program, window, box)
                    shots.append((still_game(program), f"{where}, after {what} {part} moved "
                                  "away", f"{name}-uncovered-{command[0]}-{part.split()[0]}"))
            finally:
                cover.stop()
            # Gone, so that it stands in front of no later picture.
            wait_until(lambda: not find_windows(wine.env, title), WAIT_STEP,
                       f"the covering window '{title}' did not close")
    # A move repaints nothing of what the window brings along.
    probe.place(program, *home)
    where = "moved back onto the primary monitor by SetWindowPos"
    shots.append((ticked_game(program, where), f"{where}, once the clock has gone on",
                  f"{second_x}-home-setwindowpos-game"))
    program.move_to(*home)
    minimize_and_restore(program.env, program.window)
    on_primary = still_game(program)
    keep_shot(on_primary, f"{second_x}-primary-game")
    for shot, what, name in shots:
        expect_game(shot, on_primary, f"second monitor {side}, {what}", name)
    log(f"second monitor {side}: a running game across the seam, moved there by the window "
        "manager and by SetWindowPos, equals the game on the primary monitor once the clock "
        "has gone on, after a minimize and restore and after another window, of Wine or not, "
        "has moved away from part of it; so does the game moved back by SetWindowPos")


def play_on_monitors(wine, probe, folder, golden, layout):
    """One run of the program on a desk whose second monitor stands as layout says."""
    side, primary_x, placements = layout
    second_x = MONITOR_W - primary_x
    # The primary monitor first: the window opens there, and the picture there is drawn by
    # DirectDraw on the primary surface as designed.
    home = (primary_x + 200, 150)
    program = Program(wine, folder, golden, pointer=(primary_x + 640, 900))
    try:
        program.move_to(*home)
        for where, position in placements.items():
            program.move_to(*position)
            expect_picture(program, golden, f"second monitor {side}, {where}, idle",
                           f"{second_x}-{where.split()[0]}-idle")
        log(f"second monitor {side}: idle pictures equal the golden one, wholly on it and "
            "across the seam")

        # Next and Give Up on the second monitor: the instruction shows at once, without a
        # repaint, and the given-up picture stands still (the clock stops).
        program.move_to(*placements["wholly on it"])
        before = program.client_shot(INSTRUCTIONS)
        program.click(*NEXT_BUTTON)
        program.wait_for_change(INSTRUCTIONS, before,
                                f"second monitor {side}: a click on Next did not show the "
                                "instruction")
        check_no_paint_error(program, f"second monitor {side}, a game")
        check_game_across_seam(program, wine, probe, placements, home, side, second_x)
        program.move_to(*placements["wholly on it"])
        before = program.screen_shot()
        program.click(*NEXT_BUTTON)  # Give Up stands where Next stood
        check_no_paint_error(program, f"second monitor {side}, given up", before)
        given_up = program.repainted_shot()
        check(differs(given_up, golden, INSTRUCTIONS),
              f"second monitor {side}: no instruction after Next")
        program.move_to(*home)
        drawn_on_primary = program.repainted_shot()
        keep_shot(drawn_on_primary, f"{second_x}-primary-given-up")
        if differs(given_up, drawn_on_primary):
            given_up.save(os.path.join(keep_folder(), "win32-monitors-given-up-actual.png"))
            drawn_on_primary.save(os.path.join(keep_folder(), "win32-monitors-given-up-primary.png"))
            raise Failure(f"second monitor {side}: the game after Next and Give Up differs "
                          "from the same game drawn on the primary monitor")
        for where, position in placements.items():
            program.move_to(*position)
            expect_picture(program, drawn_on_primary, f"second monitor {side}, {where}, "
                           "given up", f"{second_x}-{where.split()[0]}-given-up")
        log(f"second monitor {side}: the game after Next and Give Up equals the picture on "
            "the primary monitor, wholly on the second one and across the seam")
        check_no_paint_error(program, f"second monitor {side}")
        code = program.end_with_ctrl_w()
        check(code == 0, f"second monitor {side}: Ctrl+W ended with {code}, not 0")
    except Failure:
        screenshot(wine.env, 0, 0, SCREEN_W, SCREEN_H).save(
            os.path.join(keep_folder(), "win32-monitors-failure.png"))
        raise
    finally:
        program.stop()


def main_monitors(program_path, golden_path):
    global SCREEN_W, SCREEN_H
    SCREEN_W, SCREEN_H = 2 * MONITOR_W, MONITOR_H
    workdir = tempfile.mkdtemp(prefix="kz-win32-monitors-")
    xserver = wine = wm = None
    try:
        check(os.path.isfile(program_path), f"{program_path} does not exist: build it first")
        reason = cannot_run(program_path)
        if reason:
            print(f"SKIP: {reason}")
            return SKIPPED
        require_tools("xmessage")
        golden = Image.open(golden_path).convert("RGB")
        folder = os.path.join(workdir, "app")
        os.makedirs(folder)
        shutil.copy(program_path, folder)

        xserver = XServer(SCREEN_W, SCREEN_H)
        log(f"X server on {xserver.display}, {SCREEN_W} x {SCREEN_H}; creating the Wine prefix")
        # DirectDraw with Wine's own renderer, as on a player's desktop: with OpenGL, Wine
        # shows a blit on the primary surface by presenting its own picture of the window.
        wine = make_prefix(workdir, xserver.display, renderer=None)
        probe = WindowProbe(wine, program_path)
        # Wine finds the monitors through Xinerama, which the X server answers from RandR's
        # monitor list.
        wine.reg_add(r"HKCU\Software\Wine\X11 Driver", "UseXRandR", "REG_SZ", "N")
        # Games of Add From None on the 5 x 5 field: a game starts with no stick where the
        # idle screen has them all, so an old picture cannot pass for the game.
        wine.reg_add(SETTINGS_KEY, "dimensionsRange", "REG_DWORD", "5")
        wine.reg_add(SETTINGS_KEY, "actionType", "REG_DWORD", "1")
        wm = WindowManager(wine.env, workdir)
        for layout in LAYOUTS:
            side, primary_x, _ = layout
            second_x = MONITOR_W - primary_x
            set_monitors(wine.env, [("primary", primary_x, 0, MONITOR_W, MONITOR_H),
                                    ("second", second_x, 0, MONITOR_W, MONITOR_H)])
            # Wine reads the monitors when its desktop process starts.
            wine.stop()
            wanted = [(0, 0, MONITOR_W, MONITOR_H),
                      (second_x - primary_x, 0, second_x - primary_x + MONITOR_W, MONITOR_H)]
            virtual, seen = probe.monitors()
            check(seen == wanted, f"second monitor {side}: Windows sees the monitors {seen}, "
                  f"not {wanted}")
            desktop = (min(0, wanted[1][0]), 0, max(MONITOR_W, wanted[1][2]), MONITOR_H)
            check(virtual == desktop,
                  f"second monitor {side}: Windows sees the virtual screen {virtual}")
            play_on_monitors(wine, probe, folder, golden, layout)
        print("PASS")
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as e:
        print(f"FAIL: {e}")
        print(f"the screen at the failure is {keep_folder()}/win32-monitors-failure.png")
        return 1
    finally:
        tear_down(workdir, wine, wm, xserver)


def main():
    program_path, golden_path = sys.argv[1], sys.argv[2]
    workdir = tempfile.mkdtemp(prefix="kz-win32-e2e-")
    xserver = wine = None
    programs = []
    try:
        check(os.path.isfile(program_path), f"{program_path} does not exist: build it first "
              "(cmake --preset mingw && cmake --build --preset mingw, or mingw-i686)")
        reason = cannot_run(program_path)
        if reason:
            print(f"SKIP: {reason}")
            return SKIPPED
        help_file = os.path.join(os.path.dirname(program_path), "Kestrane Zivadorured Help.chm")
        check(os.path.isfile(help_file), "the help file was not built next to the program")
        check(os.path.isfile(golden_path), f"{golden_path} does not exist")
        golden = Image.open(golden_path).convert("RGB")

        xserver = XServer(SCREEN_W, SCREEN_H)
        log(f"X server on {xserver.display}; creating the Wine prefix")
        wine = make_prefix(workdir, xserver.display)

        # The program's own folder, with a broken hhctrl.ocx that must never be loaded.
        folder = os.path.join(workdir, "app")
        os.makedirs(folder)
        shutil.copy(program_path, folder)
        shutil.copy(help_file, folder)
        with open(os.path.join(folder, "hhctrl.ocx"), "w") as f:
            f.write("not a library\n")

        def start(where=folder):
            programs.append(Program(wine, where, golden))
            return programs[-1]

        log("run 1: first start")
        p = start()
        log(f"client area {AREA_W} x {AREA_H} below a menu bar of {p.menu_h} rows; "
            "the idle screen equals the golden picture")
        check_defaults_marked(p, "first start")
        p.choose(0, FIELD_SIZES, "4 x 4")
        check(p.marked(0, FIELD_SIZES) == "4 x 4", "choosing 4 x 4 did not move the radio mark")
        log("the menus mark Random and Mixed; choosing 4 x 4 moves the mark")

        before = p.client_shot(INSTRUCTIONS)
        clock = p.client_shot(CLOCK)
        p.click(*NEXT_BUTTON)
        p.wait_for_change(INSTRUCTIONS, before, "a click on Next did not change the instructions")
        started = p.client_shot(CLOCK)
        check(not differs(started, clock), "the clock moved before the first second")
        p.wait_for_change(CLOCK, started, "the clock did not move")
        log("Next starts a game and the clock ticks")

        check_window_partly_off_screen(p)
        code = p.end_with_ctrl_w()
        check(code == 0, f"Ctrl+W ended the program with exit code {code}, not 0")
        field, action = stored(wine, "dimensionsRange"), stored(wine, "actionType")
        check(field == "REG_DWORD 0x4", f"dimensionsRange after choosing 4 x 4 is '{field}'")
        check(action == "REG_DWORD 0x0", f"actionType is '{action}', not the default")
        log("Ctrl+W ends with 0 and stores 4 x 4")

        log("run 2: dimensionsRange 7, actionType 9; help at its index")
        wine.reg_add(SETTINGS_KEY, "dimensionsRange", "REG_DWORD", "7")
        wine.reg_add(SETTINGS_KEY, "actionType", "REG_DWORD", "9")
        p = start()
        check_defaults_marked(p, "stored values 7 and 9")
        panes = {"Index": help_pane(p, "Index")}
        check_ends_with_defaults_stored(p, wine, "stored values 7 and 9")

        log("run 3: settings of other types; About, help at its search")
        wine.reg_add(SETTINGS_KEY, "dimensionsRange", "REG_SZ", "3")
        # Four bytes that read as 4 (Remove From Full) if the type were not checked.
        wine.reg_add(SETTINGS_KEY, "actionType", "REG_BINARY", "04000000")
        p = start()
        check_defaults_marked(p, "values of type REG_SZ and REG_BINARY")
        check_about(p)
        panes["Search"] = help_pane(p, "Search")
        check_ends_with_defaults_stored(p, wine, "values of type REG_SZ and REG_BINARY")

        log("run 4: the program in a folder named in Cyrillic and Greek")
        named = os.path.join(workdir, "\u0418\u0433\u0440\u044b \u03a9")
        os.makedirs(named)
        shutil.copy(program_path, named)
        shutil.copy(help_file, named)
        p = start(named)
        panes["Contents"] = help_pane(p, "Contents")
        code = p.end_with_ctrl_w()
        check(code == 0, f"from the named folder Ctrl+W ended with {code}, not 0")
        log("help opens from a folder named in Cyrillic and Greek")
        check_help_tabs(panes)

        log("run 5: the Windows session ends")
        p = start()
        p.choose(0, FIELD_SIZES, "5 x 5")
        # Log-off: every window gets WM_QUERYENDSESSION and WM_ENDSESSION, then the
        # processes are ended without a WM_QUIT.
        wine.wine("wineboot", "--end-session", "--force", "--kill")
        p.process.wait_exit(WAIT_STEP)
        field = stored(wine, "dimensionsRange")
        check(field == "REG_DWORD 0x5",
              f"after the session ended dimensionsRange is '{field}': 5 x 5 was lost")
        log("the end of the Windows session keeps the 5 x 5 chosen in that run")

        log("run 6: a virtual desktop")
        close_box_in_virtual_desktop(wine, folder, golden)
        print("PASS")
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as e:
        print(f"FAIL: {e}")
        if wine:
            try:
                keep = keep_folder()
                screenshot(wine.env, 0, 0, SCREEN_W, SCREEN_H).save(
                    os.path.join(keep, "win32-failure.png"))
                print(f"the screen at the failure is {keep}/win32-failure.png")
            except (subprocess.SubprocessError, OSError):
                pass
        return 1
    finally:
        for p in programs:
            p.stop()
        tear_down(workdir, wine, xserver)


if __name__ == "__main__":
    if sys.argv[1] == "--monitors":
        # Within CTest's limit for it; two layouts of four placements each, with covers.
        time_limit(460)
        sys.exit(main_monitors(sys.argv[2], sys.argv[3]))
    time_limit(280)
    sys.exit(main())
