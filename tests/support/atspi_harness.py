"""The Linux program as assistive technology sees it, for the end-to-end tests: a private
accessibility bus, the program's application on it, its drawing area (the canvas "Game
field") with its place on the screen, and the radio marks of its menus.

Run the tests under dbus-run-session: the session bus it makes carries the accessibility bus,
so nothing here meets the desktop's. Every wait has a deadline.
"""
import os
import subprocess
import time

from e2e_basics import Failure, Process, Service, built_file, check, run, wait_until
from pictures import differs
from x_display import find_windows, screenshot, window_geometry

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Gio, GLib  # noqa: E402
import pyatspi  # noqa: E402

# Text drawn smooth has many shades; a plain widget, its frame included, has a few.
TEXT_SHADES = 12
BOARD_NAME = "Game field"
LAUNCHERS = ("/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher")
# The labels of the radio items of each setting, as the menu table spells them without the
# mnemonic marks; the keys are the values kept in the settings file.
FIELD_SIZE_MENU = "Field Size"
FIELD_SIZE_LABEL = {2: "2 x 2", 3: "3 x 3", 4: "4 x 4", 5: "5 x 5", 0: "Random"}
ACTION_TYPE_MENU = "Action Type"
ACTION_TYPE_LABEL = {1: "Add From None", 2: "Add From Some", 4: "Remove From Full",
                     5: "Remove From Some", 3: "Move From Some", 0: "Mixed"}


def launcher_path():
    return next((p for p in LAUNCHERS if os.path.exists(p)), None)


class AccessibilityBus(Service):
    """at-spi-bus-launcher on the private session bus, started with env (the display of the
    programs under test); ready once it answers with the accessibility bus's address. The
    programs find it through the session bus or their display, as on a desktop; this process
    is told the address, so a desktop's display in its own environment does not matter.
    One per process: the process stays connected to the first accessibility bus it reads."""

    started = False

    def __init__(self, env, timeout=20):
        check(os.environ.get("DBUS_SESSION_BUS_ADDRESS"), "run under dbus-run-session")
        check(not AccessibilityBus.started, "an accessibility bus was started already")
        AccessibilityBus.started = True
        launcher = launcher_path()
        check(launcher, "at-spi-bus-launcher is not installed (tools/install-deps.sh installs it)")
        self.proc = subprocess.Popen([launcher, "--launch-immediately"], env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     start_new_session=True)
        try:
            session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
            address = wait_until(lambda: self._address(session), timeout,
                                 "at-spi-bus-launcher should give the accessibility bus")
        except (Failure, GLib.Error) as e:
            self.stop()
            raise Failure(f"no accessibility bus: {e}")
        os.environ["AT_SPI_BUS_ADDRESS"] = address

    def _address(self, session):
        check(self.proc.poll() is None, "at-spi-bus-launcher ended at start")

        def call(name, path, interface, method, args, answer):
            return session.call_sync(name, path, interface, method, args,
                                     GLib.VariantType(answer), Gio.DBusCallFlags.NONE, 5000,
                                     None).unpack()[0]
        # Only once it owns the name: a call before would start a second launcher.
        if not call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                    "NameHasOwner", GLib.Variant("(s)", ("org.a11y.Bus",)), "(b)"):
            return None
        return call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, "(s)")


def _answer(read, what):
    """What read() gets over the accessibility bus; a broken call fails the test."""
    try:
        return read()
    except GLib.Error as e:
        raise Failure(f"{what}: {e.message}")


def _application(pid):
    """The accessible application of process pid, or None while it has none. An application
    that has just ended may still be listed and no longer answer."""
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except GLib.Error:
            continue
    return None


def _has(item, state):
    """Whether an object is in that state now, asked of the program rather than the cache."""
    item.clearCache()
    return item.getState().contains(state)


def _checked(item):
    return _has(item, pyatspi.STATE_CHECKED)


def _text(item):
    text = item.queryText()
    return text.getText(0, text.characterCount)


class GtkGame(Process):
    """The Linux program under test, observed over the accessibility bus as a screen reader
    observes it. wait_shown() must come first."""

    app = None
    board = None

    def wait_shown(self, timeout):
        """Waits until the program's drawing area is on the screen; returns the game."""
        def shown():
            check(self.running(), "the program ended before its window showed")
            try:
                app = _application(self.proc.pid)
                board = app and pyatspi.findDescendant(
                    app, lambda o: o.getRole() == pyatspi.ROLE_CANVAS)
                if board is None or not board.getState().contains(pyatspi.STATE_SHOWING):
                    return None
            except GLib.Error:
                return None  # still starting
            return app, board
        try:
            self.app, self.board = wait_until(shown, timeout, "the drawing area should show",
                                              step=0.05)
        except Failure as e:
            raise Failure(f"{e}; {self.describe()}")
        with open(built_file("application_id")) as f:
            application = f.read().strip()
        check(self.app.name == application,
              f"the application is named {self.app.name!r}, not {application!r}")
        check(self.board.name == BOARD_NAME,
              f"the drawing area is named {self.board.name!r}, not {BOARD_NAME!r}")
        self._radio_items = {}
        for item in _answer(lambda: pyatspi.findAllDescendants(
                self.app, lambda o: o.getRole() == pyatspi.ROLE_RADIO_MENU_ITEM),
                "the radio items of the menus"):
            self._radio_items.setdefault(item.parent.name, {})[item.name] = item
        return self

    def area(self):
        """(x, y, width, height) of the drawing area on the screen, in the logical pixels of
        the toolkit (device pixels over the scale)."""
        return tuple(_answer(lambda: self.board.queryComponent().getExtents(
            pyatspi.DESKTOP_COORDS), "the place of the drawing area"))

    def click(self, point, rest=None):
        """A left click at point of the game screen, where the drawing area shows it now; then
        the pointer goes to the screen point rest when given."""
        x, y = self.area()[:2]
        moves = ["mousemove", str(x + point[0]), str(y + point[1]), "click", "1"]
        if rest is not None:
            moves += ["mousemove", str(rest[0]), str(rest[1])]
        run(["xdotool", *moves], self.env)

    def window(self):
        """(x, y, width, height) of the drawing area's window, as the program tells it."""
        frame = self.board
        while frame.getRole() != pyatspi.ROLE_FRAME:
            frame = _answer(lambda: frame.parent, "the window of the drawing area")
            check(frame is not None, "the drawing area is in no window")
        return tuple(_answer(lambda: frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS),
                             "the place of the window"))

    def scale(self, env, window):
        """Device pixels per logical pixel: the X window as the X server has it against the
        window as the program tells it."""
        device = window_geometry(env, window)[2:]
        logical = self.window()[2:]
        scale = device[0] // logical[0] if logical[0] else 0
        check(scale >= 1 and device == (logical[0] * scale, logical[1] * scale),
              f"the window is {device} on the screen but {logical} to the program")
        return scale

    def marked(self, menu):
        """The labels of the checked radio items of a menu (Field Size, Action Type)."""
        items = self._radio_items.get(menu)
        check(items, f"no radio items in a menu named {menu!r}: {sorted(self._radio_items)}")
        return sorted(_answer(lambda: [label for label, item in items.items() if _checked(item)],
                              f"the marks of {menu}"))

    def marks(self):
        """(field size label, action type label) of the marked items; None for a group with
        no mark or more than one."""
        def one(menu):
            found = self.marked(menu)
            return found[0] if len(found) == 1 else None
        return one(FIELD_SIZE_MENU), one(ACTION_TYPE_MENU)

    def table_rows(self, name):
        """The rows of the table of that accessible name in any window of the program, each
        as its cells' texts; None while there is no such table."""
        def rows():
            table = pyatspi.findDescendant(self.app, lambda o: o.name == name and o.getRole() in (
                pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE))
            if table is None:
                return None
            cells = table.queryTable()
            return [[cells.getAccessibleAt(row, column).name
                     for column in range(cells.nColumns)] for row in range(cells.nRows)]
        return _answer(rows, f"the table {name!r}")

    def menu(self, *path):
        """The menu or menu item at path, its labels from the menu bar down without the
        mnemonic marks: ("Options", "Field Size")."""
        item = _answer(lambda: pyatspi.findDescendant(
            self.app, lambda o: o.getRole() == pyatspi.ROLE_MENU_BAR), "the menu bar")
        check(item is not None, "the program has no menu bar")
        for name in path:
            found = _answer(lambda: [child for child in item if child.name == name],
                            f"the items of {item.name!r}")
            check(len(found) == 1, f"no one item {name!r} in the menu {item.name!r}")
            item = found[0]
        return item

    def wait_menu_open(self, *path, timeout):
        """Waits until the menu at path is open with the keyboard in it, as a mnemonic opens
        it: one of its items showing and selected, so that a mnemonic key sent now picks one
        of its items."""
        menu = self.menu(*path)

        def entered():
            return any(_has(item, pyatspi.STATE_SHOWING) and _has(item, pyatspi.STATE_SELECTED)
                       for item in menu)
        try:
            wait_until(lambda: _answer(entered, f"the items of {path}"), timeout,
                       f"the menu {' > '.join(path)} should open", step=0.02)
        except Failure as e:
            raise Failure(f"{e}; {self.describe()}")

    def box(self, title):
        """The window of the program titled so that shows now (a dialog, a file box; a
        message box is named for its kind instead), as a reader finds it; None while there
        is none."""
        def find():
            for window in self.app:
                if window is not None and window.name == title and \
                        _has(window, pyatspi.STATE_SHOWING):
                    return window
            return None
        return _answer(find, f"the window {title!r}")

    def in_box(self, title, wanted):
        """The first object showing in the box titled so for which wanted(object) holds; None
        while there is none."""
        def find():
            box = self.box(title)
            return box and pyatspi.findDescendant(
                box, lambda o: wanted(o) and _has(o, pyatspi.STATE_SHOWING))
        return _answer(find, f"what the box {title!r} shows")

    def showing(self, wanted):
        """The first object showing in any window of the program for which wanted(object)
        holds; None while there is none."""
        return _answer(lambda: pyatspi.findDescendant(
            self.app, lambda o: wanted(o) and _has(o, pyatspi.STATE_SHOWING)),
            "what the program shows")

    def entry(self, title, focused=False):
        """(text, selected) of the line of text in the box titled so, selected being the
        (start, end) of its selection or None; None while there is none. focused=True takes
        only a line that has the keyboard, in a box that has it."""
        def read():
            entry = self.in_box(title, lambda o: o.getRole() == pyatspi.ROLE_TEXT and
                                (not focused or _has(o, pyatspi.STATE_FOCUSED)))
            if entry is None:
                return None
            text = entry.queryText()
            selected = text.getSelection(0) if text.getNSelections() else None
            return _text(entry), (tuple(selected) if selected else None)
        return _answer(read, f"the line of text of {title!r}")

    def wait_entry(self, title, wanted, timeout, what, focused=False):
        """Waits until the line of text of the box titled so (see entry) holds what
        wanted((text, selected)) accepts; returns it."""
        def read():
            found = self.entry(title, focused)
            return found if found and wanted(found) else None
        try:
            return wait_until(read, timeout, what, step=0.02)
        except Failure as e:
            raise Failure(f"{e}, not {self.entry(title, focused)}; {self.describe()}")

    def sensitive(self, item):
        """Whether an object of the program (a button) can be used now."""
        return _answer(lambda: _has(item, pyatspi.STATE_SENSITIVE), f"the state of {item.name!r}")

    def extents(self, item):
        """(x, y, width, height) of an object of the program on the screen."""
        return tuple(_answer(lambda: item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS),
                             f"the place of {item.name!r}"))

    def wait_box_drawn(self, env, title, before, part, timeout):
        """The picture of the box titled so once the screen shows it: where its window is,
        the screen differs from before (a picture of the whole screen taken before the box
        opened), and the object that part(object) picks, one with text, lies in the box and
        shows that text. Returns the picture of the box's window."""
        windows = wait_until(lambda: find_windows(env, title), timeout, f"the {title} box")
        check(len(windows) == 1, f"one window titled {title!r}, not {windows}")
        x, y, w, h = window_geometry(env, windows[0])
        was = before.crop((x, y, x + w, y + h))
        # A message box is named for its kind rather than its title: the object is looked
        # for in every window, and must lie in the box's.
        item = wait_until(lambda: self.showing(part), timeout, f"what the {title} box shows")
        left, top, width, height = self.extents(item)
        # Within its frame, in the box's picture.
        inside = (left - x + 3, top - y + 3, left - x + width - 3, top - y + height - 3)
        check(inside[0] >= 0 and inside[1] >= 0 and inside[2] <= w and inside[3] <= h and
              inside[2] > inside[0] and inside[3] > inside[1],
              f"{item.name!r} at {(left, top, width, height)} is not within the {title} box "
              f"at {(x, y, w, h)}")
        seen = {}

        def drawn():
            seen["picture"] = screenshot(env, x, y, w, h)
            seen["shades"] = len(seen["picture"].crop(inside).getcolors(w * h) or [])
            return differs(seen["picture"], was) and seen["shades"] >= TEXT_SHADES
        try:
            wait_until(drawn, timeout, f"the {title} box should be drawn", step=0.05)
        except Failure as e:
            there = "differs" if differs(seen["picture"], was) else "is as before"
            raise Failure(f"{e}: the screen there {there}, {seen['shades']} shades where "
                          f"{item.getRoleName()} {item.name!r} is")
        return seen["picture"]

    def wait_marked(self, menu, label, timeout):
        """Waits until label is the one marked item of menu, as after choosing it."""
        try:
            wait_until(lambda: self.marked(menu) == [label], timeout,
                       f"{label!r} should be marked in {menu}", step=0.05)
        except Failure as e:
            raise Failure(f"{e}, not {self.marked(menu)}; {self.describe()}")


class FocusEvents:
    """The focus events of one program as a screen reader receives them: the objects that
    gained the focus (object:state-changed:focused) and the active descendants of their
    parents (object:active-descendant-changed), by name, in the order they came. Events are
    taken while take() or wait_for() runs.

    The program sends an event only to listeners the registry has told it of, and it hears
    of a new one by a signal that comes before its answer to any later call: so once it has
    answered one here, every event it sends reaches this listener. The program's events
    also come before its answer to a later call, so after any answer the events sent before
    it are all here to take."""

    def __init__(self, game):
        self.pid = game.proc.pid
        self.focused = []
        self.active = []
        self._kinds = ("object:state-changed:focused", "object:active-descendant-changed")
        pyatspi.Registry.registerEventListener(self._take, *self._kinds)
        self.board = game.board
        self.answered()

    def _take(self, event):
        try:
            if event.host_application.get_process_id() != self.pid:
                return
            if event.type.startswith("object:state-changed:focused"):
                if event.detail1:
                    self.focused.append(event.source.name)
            else:
                self.active.append(event.any_data.name)
        except GLib.Error as e:
            raise Failure(f"a focus event could not be read: {e.message}")

    def answered(self):
        """Asks the program something and takes every event it sent before answering."""
        _answer(lambda: _text(self.board), "the text of the drawing area")
        self.take()

    def take(self):
        """Takes the events that have arrived, without waiting for more."""
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass

    def wait_for(self, count, timeout):
        """Takes events until each list holds at least count, or timeout passes."""
        deadline = time.monotonic() + timeout
        self.take()
        context = GLib.MainContext.default()
        while (len(self.focused) < count or len(self.active) < count) and \
                time.monotonic() < deadline:
            if not context.iteration(False):
                time.sleep(0.01)  # the poll's step
        self.answered()

    def clear(self):
        self.focused.clear()
        self.active.clear()

    def stop(self):
        pyatspi.Registry.deregisterEventListener(self._take, *self._kinds)


class BoardReader:
    """The drawing area as a screen reader sees it: its text is the last announcement, its
    description what the screen shows."""

    def __init__(self, game, wait):
        self.board = game.board
        self.wait = wait

    def text(self):
        return _text(self.board)

    def description(self):
        return self.board.description

    def after(self, action, what):
        """Does action and returns the announcement it brings. A key or a click that says
        two things (a move and the win it makes) says both while one event is handled, and
        the program answers a reader only between events: the text read once it has changed
        is the last thing the action said."""
        before = self.text()
        action()
        return wait_until(lambda: (lambda now: now if now != before else None)(self.text()),
                          self.wait, f"an announcement after {what}", step=0.02)
