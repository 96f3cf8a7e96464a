"""A private X server and what the end-to-end tests do on it as a user's tools would: find
windows and read their places and properties, move the pointer and type with xdotool, take
screenshots, split the screen into monitors, and ask a window manager for window states."""
import ctypes
import ctypes.util
import functools
import io
import os
import re
import select
import subprocess
import time

from PIL import Image

from e2e_basics import Failure, Service, check, require_tools, run, wait_until

# The programs this module runs; a private X server is only of use with all of them.
X_TOOLS = ("Xvfb", "xdotool", "xwininfo", "xprop", "import")


class XServer(Service):
    """A private Xvfb; it picks its own free display number and reports it through a pipe.
    reset=True lets it reset whenever its last client leaves, as X servers do by default."""

    def __init__(self, width=1024, height=768, reset=False):
        require_tools(*X_TOOLS)
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"] + ([] if reset else ["-noreset"]),
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        try:
            while not number.endswith(b"\n"):
                check(time.monotonic() < deadline, "Xvfb did not report its display in time")
                check(self.proc.poll() is None, "Xvfb ended before it was ready")
                ready, _, _ = select.select([read_end], [], [], 0.5)
                if ready:
                    chunk = os.read(read_end, 16)
                    check(chunk, "Xvfb closed its display pipe")
                    number += chunk
        finally:
            os.close(read_end)
        self.display = ":" + number.decode().strip()


def set_monitors(env, monitors):
    """Splits the X screen into RandR monitors, as a desk of several screens shows itself:
    monitors is [(name, x, y, width, height)], the first one the primary. The primary takes
    the server's output, so its automatic monitor goes and only these remain."""
    require_tools("xrandr")

    def listed():
        out = run(["xrandr", "--listmonitors"], env, stdout=subprocess.PIPE, text=True).stdout
        return [line.split()[1] for line in out.splitlines()[1:] if line.strip()]
    for name in listed():
        if not name.startswith("+"):
            run(["xrandr", "--delmonitor", name.lstrip("*")], env)
    query = run(["xrandr", "--query"], env, stdout=subprocess.PIPE, text=True).stdout
    outputs = [line.split()[0] for line in query.splitlines() if " connected" in line]
    check(outputs, "the X server has no connected output")
    for i, (name, x, y, w, h) in enumerate(monitors):
        mm = lambda px: round(px * 25.4 / 96)  # noqa: E731
        run(["xrandr", "--setmonitor", ("*" if i == 0 else "") + name,
             f"{w}/{mm(w)}x{h}/{mm(h)}+{x}+{y}", outputs[0] if i == 0 else "none"], env,
            stdout=subprocess.DEVNULL)
    wanted = ["*" + monitors[0][0]] + [m[0] for m in monitors[1:]]
    check(sorted(listed()) == sorted(wanted), f"the X server lists the monitors {listed()}, "
          f"not {wanted}")


def xdotool(env, *args, timeout=10):
    """Runs xdotool with the arguments (numbers welcome); returns what it printed."""
    return run(["xdotool", *map(str, args)], env, timeout=timeout, stdout=subprocess.PIPE,
               text=True).stdout


def find_windows(env, title):
    """Ids of the visible windows titled exactly title, oldest first."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                            "^" + re.escape(title) + "$"], env=env, timeout=10,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    return [int(w) for w in found.stdout.split()]


def find_window(env, title, timeout, process=None):
    """The id of the one visible window titled exactly title, once there is one. When it does
    not come, the failure says what the process meant to show it was doing."""
    def one():
        windows = find_windows(env, title)
        return windows[0] if len(windows) == 1 else None
    try:
        return wait_until(one, timeout, f"one window titled {title!r} should appear", step=0.5)
    except Failure as e:
        if process is None:
            raise
        raise Failure(f"{e}; {process.describe()}")


def window_ids(env, title):
    """The windows whose title is title, or title and what the game adds to it after a dash
    (the code of the puzzle on show)."""
    out = subprocess.run(["xdotool", "search", "--name", f"^{title}( \u2014 .*)?$"], env=env,
                         timeout=10, stdout=subprocess.PIPE, text=True).stdout
    return out.split()


def window_geometry(env, window):
    """(x, y, width, height) of a window, x and y on the screen."""
    info = run(["xwininfo", "-id", str(window)], env, stdout=subprocess.PIPE, text=True).stdout

    def field(name):
        m = re.search(r"^\s*" + name + r":\s*(-?\d+)", info, re.M)
        check(m, f"xwininfo gave no '{name}' for window {window}")
        return int(m.group(1))
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
            field("Height"))


def window_viewable(env, window):
    """Whether a window is mapped with all its ancestors, so that the screen can show it."""
    info = run(["xwininfo", "-id", str(window)], env, stdout=subprocess.PIPE, text=True).stdout
    return re.search(r"^\s*Map State:\s*IsViewable\s*$", info, re.M) is not None


def window_property(env, window, name):
    """A property of a window ("root" for the root window) as xprop prints its value, or None
    when the window does not have it."""
    where = ["-root"] if window == "root" else ["-id", str(window)]
    out = run(["xprop", *where, name], env, stdout=subprocess.PIPE, text=True).stdout.strip()
    if out.endswith("not found.") or "no such atom" in out:
        return None
    match = re.match(r"[^(=:]*(?:\([^)]*\))?\s*(?:=|:)\s*(.*)", out, re.S)
    return match.group(1).strip() if match else None


def screenshot(env, x, y, w, h):
    """A rectangle of the root window of env's display."""
    out = run(["import", "-silent", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "png:-"],
              env, timeout=20, stdout=subprocess.PIPE).stdout
    return Image.open(io.BytesIO(out)).convert("RGB")


def minimize_and_restore(env, window, timeout=10):
    """Iconifies a window through the window manager and brings it back, as a click on the
    minimize box and then on the task bar would."""
    def state(wanted):
        return lambda: wanted in (window_property(env, window, "WM_STATE") or "")
    xdotool(env, "windowminimize", window)
    wait_until(state("Iconic"), timeout, "the window was not minimized")
    xdotool(env, "windowactivate", window)
    wait_until(state("Normal"), timeout, "the window was not restored")


@functools.cache
def _xlib():
    """The few calls of Xlib that no command-line tool makes for a test."""
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.c_void_p]
    xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
    xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                         ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                         ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
    xlib.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return xlib


class PlainWindow:
    """A plain window of the test's own, mapped on display while the with block lasts: a
    client for a window manager to handle, without a program under test."""

    def __init__(self, display):
        self.xlib = _xlib()
        self.dpy = self.xlib.XOpenDisplay(display.encode())
        check(self.dpy, f"cannot open {display}")
        root = self.xlib.XDefaultRootWindow(self.dpy)
        self.id = self.xlib.XCreateSimpleWindow(self.dpy, root, 0, 0, 100, 100, 0, 0, 0)
        self.xlib.XMapWindow(self.dpy, self.id)
        self.xlib.XSync(self.dpy, 0)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        # The window goes with the connection.
        self.xlib.XCloseDisplay(self.dpy)


def _send_client_message(display, window, message_type, data, to_root):
    """Sends a client message of format 32 about window: to the root window, for the window
    manager (to_root), or to the window itself, as the window manager sends one."""
    xlib = _xlib()

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    dpy = xlib.XOpenDisplay(display.encode())
    check(dpy, f"cannot open {display}")
    try:
        event = Event()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = int(window)
        event.xclient.message_type = xlib.XInternAtom(dpy, message_type.encode(), 0)
        event.xclient.format = 32
        for i, value in enumerate(data):
            event.xclient.data[i] = (xlib.XInternAtom(dpy, value.encode(), 0)
                                     if isinstance(value, str) else value)
        if to_root:
            substructure = (1 << 19) | (1 << 20)
            xlib.XSendEvent(dpy, xlib.XDefaultRootWindow(dpy), 0, substructure,
                            ctypes.byref(event))
        else:
            xlib.XSendEvent(dpy, int(window), 0, 0, ctypes.byref(event))
        xlib.XSync(dpy, 0)
    finally:
        xlib.XCloseDisplay(dpy)


def request_wm_state(display, window, *states, remove=False):
    """Asks the window manager, as a pager or a keyboard shortcut would, to add (or remove)
    the _NET_WM_STATE_* states (at most two) of a window: the client message of the EWMH."""
    check(len(states) <= 2, "one message carries at most two states")
    # _NET_WM_STATE_REMOVE or _ADD, the states, and from a pager: window managers obey those.
    data = [0 if remove else 1, *states, 0, 0][:3] + [2]
    _send_client_message(display, window, "_NET_WM_STATE", data, to_root=True)


def close_window(display, window):
    """The close box: WM_DELETE_WINDOW sent to the window, as a window manager sends it."""
    _send_client_message(display, window, "WM_PROTOCOLS", ["WM_DELETE_WINDOW", 0], to_root=False)
