"""The Windows program under Wine on a private X server: fresh Wine prefixes, whether this
machine runs 32-bit code at all, and the program's window as Wine shows it without a window
manager."""
import errno
import functools
import os
import re
import subprocess
import time

from PIL import Image

from e2e_basics import SOURCE_ROOT, Failure, Process, require_tools, run, wait_until
from screen_layout import FELT
from x_display import find_window, screenshot, window_geometry, xdotool

# Debian's Wine loaders: the 32-bit one starts every Wine command and hands 64-bit programs to
# the other, unless the kernel runs no 32-bit code at all.
WINE32_LOADER = "/usr/lib/wine/wine"
WINE64_LOADER = "/usr/lib/wine/wine64"
# The felt's colour in the program's first picture.
IDLE_FELT = Image.open(os.path.join(SOURCE_ROOT, "tests", "golden", "idle.png")).convert(
    "RGB").getpixel(FELT)


@functools.cache
def why_no_32_bit_code():
    """Why no 32-bit Windows program can run under Wine on this machine, or None when one can.
    Some kernels run 64-bit code only; and where the mirror offers no 32-bit twins of the
    installed 64-bit libraries, tools/install-deps.sh leaves the 32-bit Wine out."""
    if not os.path.isfile(WINE32_LOADER):
        return (f"the 32-bit Wine (wine32:i386, {WINE32_LOADER}) is not installed, so no 32-bit "
                "Windows program can run under Wine here (tools/install-deps.sh all installs "
                "it, or says why it cannot)")
    try:
        subprocess.run([WINE32_LOADER, "--version"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
    except OSError as e:
        if e.errno != errno.ENOEXEC:
            raise
        return ("this machine's kernel runs no 32-bit programs (exec of the 32-bit Wine "
                "loader fails with ENOEXEC), so no 32-bit Windows program can run under Wine "
                "here")
    return None


class WinePrefix:
    """A fresh Wine prefix under workdir, on the private display; every Wine process of it is
    ended by stop(). Where the kernel runs no 32-bit code, its commands go straight to the
    64-bit loader, so that 64-bit programs still run. DirectDraw draws through GDI unless
    renderer names another of Wine's renderers, or is None: Wine's own choice, OpenGL where
    the X server offers it, as on a player's desktop."""

    def __init__(self, workdir, display, timeout=150, env=None, renderer="gdi"):
        require_tools("wine", "wineserver")
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
            if why_no_32_bit_code():
                self.loader = WINE64_LOADER
                # The loader Wine starts the prefix's further processes with.
                self.env["WINELOADER"] = WINE64_LOADER
            run([self.loader, "wineboot", "-i"], self.env, timeout=timeout,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # By default DirectDraw through GDI: no GL needed on the virtual X server.
            if renderer:
                self.reg_add(r"HKCU\Software\Wine\Direct3D", "renderer", "REG_SZ", renderer)
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


def first_painted(env, window):
    """The client area once the program has painted its felt there, else None."""
    client = wine_client_area(env, window)
    felt = screenshot(env, client[0] + FELT[0], client[1] + FELT[1], 1, 1).getpixel((0, 0))
    return client if felt == IDLE_FELT else None


def keys_once_focused(env, give_focus, keys, done, timeout, what):
    """Gives a window the keyboard (a click) and sends keys, again and again until done()
    holds. Without a window manager the X server tells of no focus to wait for, and keys that
    come before the focus are lost; sent again they are only repeated, so only keys whose
    repetition does nothing more are sent this way."""
    deadline = time.monotonic() + timeout
    while True:
        give_focus()
        xdotool(env, "key", *keys)
        try:
            return wait_until(done, 1.0, what)
        except Failure:
            if time.monotonic() > deadline:
                raise Failure(f"{what} within {timeout:.0f} s")


def end_windows_program(env, game, client, timeout=10):
    """Ctrl+W after a click on the felt, which gives the window the keyboard; returns the exit
    code."""
    keys_once_focused(env, lambda: xdotool(env, "mousemove", client[0] + FELT[0],
                                           client[1] + FELT[1], "click", 1),
                      ["ctrl+w"], lambda: not game.running(), timeout, "Ctrl+W ended nothing")
    return game.wait_exit(timeout)


def play_windows_program(prefix, *command, cwd=None, title="Kestrane Zivadorured",
                         timeout=60):
    """Starts the Windows program with a Wine command, waits for its window and ends it with
    Ctrl+W, which saves its settings; returns (client area width and height, exit code)."""
    xdotool(prefix.env, "mousemove", 1000, 740)
    game = prefix.start(*command, cwd=cwd)
    try:
        window = find_window(prefix.env, title, timeout, game)
        client = wait_until(lambda: first_painted(prefix.env, window), timeout,
                            "the program painted no felt")
        return client[2:], end_windows_program(prefix.env, game, client)
    finally:
        game.stop()
