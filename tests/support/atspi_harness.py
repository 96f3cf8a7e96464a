"""The Linux program as assistive technology sees it, for the end-to-end tests: a private
accessibility bus, the program's application on it, its drawing area (the canvas "Game
field") with its place on the screen, and the radio marks of its menus.

Run the tests under dbus-run-session: the session bus it makes carries the accessibility bus,
so nothing here meets the desktop's. Every wait has a deadline.
"""
import os
import subprocess
import time

from e2e_basics import Failure, Process, Service, check, wait_until
from x_display import window_geometry

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Gio, GLib  # noqa: E402
import pyatspi  # noqa: E402

APPLICATION = "example.kestrane_games.KestraneZivadorured"
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


def _checked(item):
    item.clearCache()
    return item.getState().contains(pyatspi.STATE_CHECKED)


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
        check(self.app.name == APPLICATION,
              f"the application is named {self.app.name!r}, not {APPLICATION!r}")
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
    taken while pump() runs."""

    def __init__(self, pid):
        self.pid = pid
        self.focused = []
        self.active = []
        self._kinds = ("object:state-changed:focused", "object:active-descendant-changed")
        pyatspi.Registry.registerEventListener(self._take, *self._kinds)

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

    def pump(self, seconds):
        """Takes the events that arrive for the given time."""
        context = GLib.MainContext.default()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            while context.iteration(False):
                pass
            time.sleep(0.01)

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
        accessible = self.board.queryText()
        return accessible.getText(0, accessible.characterCount)

    def description(self):
        return self.board.description

    def after(self, action, what):
        """Does action and returns the announcement it brings."""
        before = self.text()
        action()
        wait_until(lambda: self.text() != before, self.wait, f"an announcement after {what}")
        time.sleep(0.05)  # a move and its end come as two announcements
        return self.text()
