"""What the end-to-end tests share: a private X server, programs in their own process
groups, bounded waits on a state, and screenshots compared pixel for pixel.

Every wait here has a deadline and every process started is ended, so a test that goes wrong
fails with a message instead of hanging.
"""
import ctypes
import ctypes.util
import io
import os
import queue
import re
import select
import signal
import subprocess
import threading
import time

from PIL import Image, ImageChops


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(condition, timeout, what, step=0.1):
    """Polls condition() until it returns something true; fails naming what after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"{what} within {timeout:.0f} s")
        time.sleep(step)


def stop_process(proc, grace=3.0):
    """Ends a process started in its own session, with its whole process group."""
    if proc is None or proc.poll() is not None:
        return
    try:
        os.killpg(proc.pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    try:
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait(5)


class XServer:
    """A private Xvfb; it picks its own free display number and reports it through a pipe."""

    def __init__(self, width=1024, height=768):
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
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

    def stop(self):
        stop_process(self.proc)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class Process:
    """A program under test in its own process group, its output read line by line."""

    def __init__(self, command, env, cwd=None):
        self.proc = subprocess.Popen(command, env=env, cwd=cwd, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True, start_new_session=True)
        self.lines = queue.Queue()
        self.stderr = []
        threading.Thread(target=self._read, args=(self.proc.stdout, self.lines.put),
                         daemon=True).start()
        threading.Thread(target=self._read, args=(self.proc.stderr, self.stderr.append),
                         daemon=True).start()

    @staticmethod
    def _read(stream, sink):
        for line in stream:
            sink(line.rstrip("\n"))

    def last_errors(self, count=5):
        return " | ".join(self.stderr[-count:])

    def wait_line(self, prefix, timeout):
        """The next line of standard output that starts with prefix and a space."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure(f"the program printed no '{prefix}' line within {timeout:.0f} s; "
                              f"stderr: {self.last_errors()}")
            try:
                line = self.lines.get(timeout=min(left, 0.5))
            except queue.Empty:
                check(self.proc.poll() is None or not self.lines.empty(),
                      f"the program ended (code {self.proc.returncode}) before printing "
                      f"'{prefix}'; stderr: {self.last_errors()}")
                continue
            if line.startswith(prefix + " "):
                return line

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout:.0f} s")

    def running(self):
        return self.proc.poll() is None

    def stop(self):
        stop_process(self.proc)


def run(cmd, env, timeout=10, **kw):
    return subprocess.run(cmd, env=env, timeout=timeout, check=True, **kw)


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


def window_geometry(env, window):
    """(x, y, width, height) of a window, x and y on the screen."""
    info = run(["xwininfo", "-id", str(window)], env, stdout=subprocess.PIPE, text=True).stdout

    def field(name):
        m = re.search(r"^\s*" + name + r":\s*(-?\d+)", info, re.M)
        check(m, f"xwininfo gave no '{name}' for window {window}")
        return int(m.group(1))
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
            field("Height"))


def wait_for_stillness(grab, timeout, pause=0.3):
    """Screenshots until two in a row, pause seconds apart, are equal; returns the last.
    Fails after timeout when the picture keeps changing."""
    previous = grab()
    deadline = time.monotonic() + timeout
    while True:
        time.sleep(pause)
        shot = grab()
        if not differs(shot, previous):
            return shot
        check(time.monotonic() < deadline, f"the picture kept changing for {timeout:.0f} s")
        previous = shot


def locate(picture, part):
    """The (x, y) where part lies pixel for pixel inside picture, or None."""
    picture, part = picture.convert("RGB"), part.convert("RGB")
    pw, ph = picture.size
    w, h = part.size
    rows = [part.crop((0, y, w, y + 1)).tobytes() for y in range(h)]
    for y in range(ph - h + 1):
        line = picture.crop((0, y, pw, y + 1)).tobytes()
        at = line.find(rows[0])
        while at >= 0:
            if at % 3 == 0:
                x = at // 3
                if all(picture.crop((x, y + r, x + w, y + r + 1)).tobytes() == rows[r]
                       for r in range(1, h)):
                    return x, y
            at = line.find(rows[0], at + 1)
    return None


def screenshot(env, x, y, w, h):
    """A rectangle of the root window of env's display."""
    out = run(["import", "-silent", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "png:-"],
              env, timeout=20, stdout=subprocess.PIPE).stdout
    return Image.open(io.BytesIO(out)).convert("RGB")


def differs(a, b, box=None):
    if box:
        a, b = a.crop(box), b.crop(box)
    return ImageChops.difference(a, b).getbbox() is not None


def wait_for_picture(grab, wanted, timeout, box=None):
    """Screenshots until the picture equals (wanted=Image) or differs from (wanted=(Image,)).
    Returns the last picture either way; the caller decides what a timeout means."""
    deadline = time.monotonic() + timeout
    while True:
        shot = grab()
        if isinstance(wanted, tuple):
            if differs(shot, wanted[0], box):
                return shot
        elif not differs(shot, wanted, box):
            return shot
        if time.monotonic() > deadline:
            return shot
        time.sleep(0.1)


def time_limit(seconds):
    """A last guard against hanging: the whole test fails after seconds."""
    def expire(*_):
        raise Failure("the test timed out")
    signal.signal(signal.SIGALRM, expire)
    signal.alarm(seconds)


def window_ids(env, title):
    """The windows whose title is exactly title."""
    out = subprocess.run(["xdotool", "search", "--name", f"^{title}$"], env=env, timeout=10,
                         stdout=subprocess.PIPE, text=True).stdout
    return out.split()


def window_property(env, window, name):
    """A property of a window ("root" for the root window) as xprop prints its value, or None
    when the window does not have it."""
    where = ["-root"] if window == "root" else ["-id", str(window)]
    out = run(["xprop", *where, name], env, stdout=subprocess.PIPE, text=True).stdout.strip()
    if out.endswith("not found.") or "no such atom" in out:
        return None
    match = re.match(r"[^(=:]*(?:\([^)]*\))?\s*(?:=|:)\s*(.*)", out, re.S)
    return match.group(1).strip() if match else None


def window_geometry(env, window):
    """(x, y, width, height) of a window on the screen, as xdotool reports it."""
    out = run(["xdotool", "getwindowgeometry", str(window)], env, stdout=subprocess.PIPE,
              text=True).stdout
    pos = re.search(r"Position: (-?\d+),(-?\d+)", out)
    size = re.search(r"Geometry: (\d+)x(\d+)", out)
    return tuple(int(v) for v in pos.groups() + size.groups())


def request_wm_state(display, window, *states):
    """Asks the window manager, as a pager or a keyboard shortcut would, to add the
    _NET_WM_STATE_* states (at most two) to a window: the client message of the EWMH."""
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.c_void_p]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    check(len(states) <= 2, "one message carries at most two states")
    dpy = xlib.XOpenDisplay(display.encode())
    check(dpy, f"cannot open {display}")
    try:
        event = Event()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = int(window)
        event.xclient.message_type = xlib.XInternAtom(dpy, b"_NET_WM_STATE", 0)
        event.xclient.format = 32
        event.xclient.data[0] = 1  # _NET_WM_STATE_ADD
        for i, state in enumerate(states):
            event.xclient.data[1 + i] = xlib.XInternAtom(dpy, state.encode(), 0)
        event.xclient.data[3] = 2  # from a pager: window managers obey those
        substructure = (1 << 19) | (1 << 20)
        xlib.XSendEvent(dpy, xlib.XDefaultRootWindow(dpy), 0, substructure, ctypes.byref(event))
        xlib.XSync(dpy, 0)
    finally:
        xlib.XCloseDisplay(dpy)


class WindowManager:
    """openbox on a private X server, ready once it has announced itself on the root."""

    def __init__(self, env, workdir):
        config = os.path.join(workdir, "openbox")
        os.makedirs(config, exist_ok=True)
        wm_env = dict(env)
        wm_env["XDG_CONFIG_HOME"] = config
        self.proc = subprocess.Popen(["openbox"], env=wm_env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        wait_until(lambda: self.proc.poll() is not None or
                   window_property(env, "root", "_NET_SUPPORTING_WM_CHECK") not in (None, ""),
                   20, "openbox did not start")
        check(self.proc.poll() is None, "openbox ended at start")

    def stop(self):
        stop_process(self.proc)
