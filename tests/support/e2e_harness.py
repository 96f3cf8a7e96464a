"""What the end-to-end tests share: a private X server, programs in their own process
groups, bounded waits on a state, screenshots compared pixel for pixel, the Linux program's
environment, and Wine prefixes for the Windows program. What the Linux program shows to
assistive technology is read in atspi_harness.

Every wait here has a deadline and every process started is ended, so a test that goes wrong
fails with a message instead of hanging.
"""
import ctypes
import ctypes.util
import errno
import functools
import io
import os
import queue
import re
import select
import signal
import struct
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


class Service:
    """A process a test starts beside the program and ends with it, also at the end of a with
    block."""

    def stop(self):
        stop_process(self.proc)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class XServer(Service):
    """A private Xvfb; it picks its own free display number and reports it through a pipe.
    reset=True lets it reset whenever its last client leaves, as X servers do by default."""

    def __init__(self, width=1024, height=768, reset=False):
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


def minimize_and_restore(env, window, timeout=10):
    """Iconifies a window through the window manager and brings it back, as a click on the
    minimize box and then on the task bar would."""
    def state(wanted):
        return lambda: wanted in (window_property(env, window, "WM_STATE") or "")
    xdotool(env, "windowminimize", window)
    wait_until(state("Iconic"), timeout, "the window was not minimized")
    xdotool(env, "windowactivate", window)
    wait_until(state("Normal"), timeout, "the window was not restored")


class Process:
    """A program under test in its own process group, its output read line by line."""

    def __init__(self, command, env, cwd=None):
        self.env = env
        self.proc = subprocess.Popen(command, env=env, cwd=cwd, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True, start_new_session=True)
        self.lines = queue.Queue()
        self.output = []  # every line of standard output, also those already waited for
        self.stderr = []
        threading.Thread(target=self._read, args=(self.proc.stdout, self._output_line),
                         daemon=True).start()
        threading.Thread(target=self._read, args=(self.proc.stderr, self.stderr.append),
                         daemon=True).start()

    @staticmethod
    def _read(stream, sink):
        for line in stream:
            sink(line.rstrip("\n"))

    def _output_line(self, line):
        self.output.append(line)
        self.lines.put(line)

    def last_errors(self, count=5):
        return " | ".join(self.stderr[-count:])

    def windows(self):
        """The ids of the windows the process has made, shown or not, as far as the X server
        of its environment answers."""
        try:
            found = subprocess.run(["xdotool", "search", "--pid", str(self.proc.pid)],
                                   env=self.env, timeout=10, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True)
        except (subprocess.SubprocessError, OSError) as e:
            return f"unknown ({e})"
        return found.stdout.split()

    def describe(self, count=5):
        """What the program was doing: running or its exit status, its last lines of output
        and of errors, and its windows."""
        code = self.proc.poll()
        status = "still running" if code is None else f"ended with code {code}"
        if code is not None and code < 0:
            status = f"killed by signal {-code}"
        return (f"the program {status}; output: {' | '.join(self.output[-count:]) or 'none'}; "
                f"errors: {self.last_errors(count) or 'none'}; windows: {self.windows() or 'none'}")

    def wait_line(self, prefix, timeout):
        """The next line of standard output that starts with prefix and a space."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure(f"the program printed no '{prefix}' line within {timeout:.0f} s; "
                              f"{self.describe()}")
            try:
                line = self.lines.get(timeout=min(left, 0.5))
            except queue.Empty:
                if self.proc.poll() is not None and self.lines.empty():
                    time.sleep(0.2)  # the last lines of its errors
                    raise Failure(f"no '{prefix}' line: {self.describe()}")
                continue
            if line.startswith(prefix + " "):
                return line

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout:.0f} s; {self.describe()}")

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


def gtk_environment(workdir, display, accessible=False):
    """The environment of the Linux program under test: the private display, settings, caches
    and runtime files under workdir, no Wayland, no desktop services. accessible=True lets the
    program join the accessibility bus (atspi_harness.AccessibilityBus starts a private one);
    otherwise its accessibility bridge stays off."""
    env = dict(os.environ)
    env.update({
        "DISPLAY": display,
        "XDG_CONFIG_HOME": os.path.join(workdir, "config"),
        "XDG_CACHE_HOME": os.path.join(workdir, "cache"),
        "XDG_RUNTIME_DIR": workdir,
        "HOME": workdir,
        "GDK_BACKEND": "x11",
        "GSETTINGS_BACKEND": "memory",
    })
    if not accessible:
        env["NO_AT_BRIDGE"] = "1"
    env.pop("WAYLAND_DISPLAY", None)
    env.pop("GDK_SCALE", None)
    # The program finds the private accessibility bus as on a desktop, never a desktop's own.
    env.pop("AT_SPI_BUS_ADDRESS", None)
    # GTK and fontconfig keep caches for the life of the process; under the sanitizer build
    # they would be reported as leaks.
    env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
    return env


def install_fake_browser(workdir, env):
    """Makes a script the user's browser for HTML files; it notes each address it is given in
    the file whose path this returns."""
    opened = os.path.join(workdir, "opened.txt")
    browser = os.path.join(workdir, "browser.sh")
    with open(browser, "w") as f:
        f.write(f"#!/bin/sh\necho \"$1\" >> '{opened}'\n")
    os.chmod(browser, 0o755)
    apps = os.path.join(workdir, "data", "applications")
    os.makedirs(apps)
    with open(os.path.join(apps, "kz-test-browser.desktop"), "w") as f:
        f.write("[Desktop Entry]\nType=Application\nName=Test Browser\n"
                f"Exec={browser} %u\nMimeType=text/html;x-scheme-handler/file;\n")
    os.makedirs(env["XDG_CONFIG_HOME"], exist_ok=True)
    with open(os.path.join(env["XDG_CONFIG_HOME"], "mimeapps.list"), "w") as f:
        f.write("[Default Applications]\ntext/html=kz-test-browser.desktop\n"
                "x-scheme-handler/file=kz-test-browser.desktop\n")
    env["XDG_DATA_HOME"] = os.path.join(workdir, "data")
    return opened


def opened_addresses(opened):
    """The addresses the fake browser was given so far."""
    if not os.path.exists(opened):
        return []
    with open(opened) as f:
        return f.read().split()


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


# The exit code by which a test tells CTest that it did not run, and why it printed.
SKIPPED = 77

# Debian's Wine loaders: the 32-bit one starts every Wine command and hands 64-bit programs to
# the other, unless the kernel runs no 32-bit code at all.
WINE32_LOADER = "/usr/lib/wine/wine"
WINE64_LOADER = "/usr/lib/wine/wine64"
# The machine field of a PE header.
PE_I386 = 0x014C
PE_AMD64 = 0x8664

@functools.cache
def runs_32_bit_code():
    """Whether this machine's kernel starts 32-bit x86 programs. Some kernels run 64-bit code
    only, and there neither a 32-bit Windows program nor the 32-bit Wine loader can run."""
    check(os.path.isfile(WINE32_LOADER),
          f"{WINE32_LOADER} is missing (tools/install-deps.sh all installs wine32)")
    try:
        subprocess.run([WINE32_LOADER, "--version"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
    except OSError as e:
        if e.errno != errno.ENOEXEC:
            raise
        return False
    return True


NO_32_BIT_CODE = ("this machine's kernel runs no 32-bit programs (exec of the 32-bit Wine "
                  "loader fails with ENOEXEC), so no 32-bit Windows program can run under Wine "
                  "here")


def pe_header(data):
    """The offset of the PE header in the start of a Windows program."""
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    check(data[:2] == b"MZ" and data[offset:offset + 4] == b"PE\0\0", "the program is no PE file")
    return offset


def pe_machine(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    return struct.unpack_from("<H", data, pe_header(data) + 4)[0]


def pe_imported_dlls(path):
    """The names of the DLLs a Windows program imports, in lower case."""
    with open(path, "rb") as f:
        data = f.read()
    header = pe_header(data)
    sections, optional_size = struct.unpack_from("<H12xH", data, header + 6)
    optional = header + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    imports_rva = struct.unpack_from("<I", data, directories + 8)[0]
    table = []
    for i in range(sections):
        size, rva, _, raw = struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8)
        table.append((rva, size, raw))

    def at(rva):
        for start, size, raw in table:
            if start <= rva < start + size:
                return raw + rva - start
        raise Failure(f"the program's import table points outside its sections ({rva:#x})")

    names = []
    entry = at(imports_rva)
    while True:
        name_rva = struct.unpack_from("<I", data, entry + 12)[0]
        if name_rva == 0:
            return names
        name = at(name_rva)
        names.append(data[name:data.index(b"\0", name)].decode("ascii").lower())
        entry += 20


class WinePrefix:
    """A fresh Wine prefix under workdir, on the private display; every Wine process of it is
    ended by stop(). Where the kernel runs no 32-bit code, its commands go straight to the
    64-bit loader, so that 64-bit programs still run."""

    def __init__(self, workdir, display, timeout=150, env=None):
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": os.path.join(workdir, "prefix"),
            "WINEDEBUG": "-all",
            # No Mono or Gecko install prompts in a fresh prefix, and no menu entries of the
            # programs' shortcuts on this machine's desktop.
            "WINEDLLOVERRIDES": "mscoree=;mshtml=;winemenubuilder.exe=d",
            "DISPLAY": display,
            "HOME": workdir,
        })
        self.env.update(env or {})
        self.env.pop("WAYLAND_DISPLAY", None)
        self.loader = "wine"
        try:
            if not runs_32_bit_code():
                self.loader = WINE64_LOADER
                # The loader Wine starts the prefix's further processes with.
                self.env["WINELOADER"] = WINE64_LOADER
            run([self.loader, "wineboot", "-i"], self.env, timeout=timeout,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # DirectDraw through GDI: exact pixels and no GL on the virtual X server.
            self.reg_add(r"HKCU\Software\Wine\Direct3D", "renderer", "REG_SZ", "gdi")
        except (subprocess.SubprocessError, OSError) as e:
            self.stop()
            raise Failure(f"could not make a Wine prefix: {e}")

    def wine(self, *args, timeout=60):
        """Runs a Wine command to its end; returns its standard output."""
        return run([self.loader, *args], self.env, timeout=timeout, stdout=subprocess.PIPE,
                   stderr=subprocess.DEVNULL, text=True).stdout

    def start(self, *args, cwd=None):
        """Starts a Wine command without waiting for it."""
        return Process([self.loader, *args], self.env, cwd=cwd)

    def reg_add(self, key, name, kind, data):
        self.wine("reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f", timeout=30)

    def reg_values(self, key, view=None):
        """The values of a registry key as {name: (type, data)}, or None when there is no key.
        view 32 or 64 picks that registry view of HKLM\\Software."""
        command = [self.loader, "reg", "query", key] + ([f"/reg:{view}"] if view else [])
        result = subprocess.run(command, env=self.env, timeout=30, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.replace("\r", "").splitlines():
            m = re.match(r"\s{4}(.*?)\s{4}(REG_\w+)\s{4}(.*)$", line)
            if m:
                values[m.group(1)] = (m.group(2), m.group(3))
        return values

    def unix_path(self, windows_path):
        return run([self.loader, "winepath", "-u", windows_path], self.env, timeout=30,
                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout.strip()

    def wait_idle(self, timeout):
        """Waits until every Wine process of the prefix has ended."""
        try:
            run(["wineserver", "-w"], self.env, timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"Wine processes were still running after {timeout:.0f} s")

    def stop(self):
        for flag in ("-k", "-w"):
            try:
                subprocess.run(["wineserver", flag], env=self.env, timeout=20,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            except (subprocess.SubprocessError, OSError):
                pass


def wine_client_area(env, window):
    """(x, y, width, height) of the client area of the Windows program's window on the screen.
    Without a window manager Wine leaves the caption out: the X window holds the menu bar and
    the client area, and the menu bar is the run of rows at the top that have the colour of its
    empty right end."""
    x, y, w, h = window_geometry(env, window)
    column = screenshot(env, x + w - 2, y, 1, h)
    bar = column.getpixel((0, 0))
    rows = 0
    while rows < h and column.getpixel((0, rows)) == bar:
        rows += 1
    return x, y + rows, w, h - rows


def end_windows_program(env, game, client, timeout=10):
    """Ctrl+W after a click on the felt between the panels and the field, which gives the window
    the keyboard; returns the exit code."""
    xdotool(env, "mousemove", client[0] + 5, client[1] + 495, "click", 1)
    time.sleep(0.3)
    xdotool(env, "key", "ctrl+w")
    return game.wait_exit(timeout)


def play_windows_program(prefix, *command, cwd=None, title="Kestrane Zivadorured",
                         timeout=60):
    """Starts the Windows program with a Wine command, waits for its window and ends it with
    Ctrl+W, which saves its settings; returns (client area width and height, exit code)."""
    xdotool(prefix.env, "mousemove", 1000, 740)
    game = prefix.start(*command, cwd=cwd)
    try:
        window = find_window(prefix.env, title, timeout, game)
        time.sleep(1.5)  # the first paint
        client = wine_client_area(prefix.env, window)
        return client[2:], end_windows_program(prefix.env, game, client)
    finally:
        game.stop()


def window_ids(env, title):
    """The windows whose title is title, or title and what the game adds to it after a dash
    (the code of the puzzle on show)."""
    out = subprocess.run(["xdotool", "search", "--name", f"^{title}( \u2014 .*)?$"], env=env, timeout=10,
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


class WindowManager(Service):
    """openbox on a private X server, ready once it has announced itself on the root. Its
    iconify animation is off: the frames it draws over the screen would be in the pictures."""

    def __init__(self, env, workdir):
        config = os.path.join(workdir, "openbox")
        os.makedirs(os.path.join(config, "openbox"), exist_ok=True)
        system_rc = "/etc/xdg/openbox/rc.xml"
        if os.path.exists(system_rc):
            with open(system_rc) as f:
                rc = f.read().replace("<animateIconify>yes</animateIconify>",
                                      "<animateIconify>no</animateIconify>")
            with open(os.path.join(config, "openbox", "rc.xml"), "w") as f:
                f.write(rc)
        wm_env = dict(env)
        wm_env["XDG_CONFIG_HOME"] = config
        self.proc = subprocess.Popen(["openbox"], env=wm_env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        wait_until(lambda: self.proc.poll() is not None or
                   window_property(env, "root", "_NET_SUPPORTING_WM_CHECK") not in (None, ""),
                   20, "openbox did not start")
        check(self.proc.poll() is None, "openbox ended at start")
