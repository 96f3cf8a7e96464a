"""The environment the Linux program runs in under test: a private display, its own settings,
caches and runtime files, and a fake browser that notes the pages the program opens. What
the program shows to assistive technology is read in atspi_harness; GtkTestRun sets all
of it up for one test and takes it down again."""
import os
import subprocess
import tempfile

from e2e_basics import Failure, report_failure, tear_down
from x_display import XServer

# The folder the program names after itself under the settings and the data folders.
PROGRAM_FOLDER = "kestrane-zivadorured"


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


def settings_path(env):
    """The settings file of the program run in env."""
    return os.path.join(env["XDG_CONFIG_HOME"], PROGRAM_FOLDER, "settings.ini")


def write_settings(path, field_size, action_type):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(f"[Settings]\ndimensionsRange={field_size}\nactionType={action_type}\n")


def data_folder(env):
    """The folder of the records and the kept game of the program run in env."""
    data = env.get("XDG_DATA_HOME") or os.path.join(env["HOME"], ".local", "share")
    return os.path.join(data, PROGRAM_FOLDER)


class GtkTestRun:
    """One end-to-end test of the program (its path): a work folder named from prefix, a
    private X server of screen (width, height), the program's environment on it, the private
    accessibility bus unless accessible is False, and the settings (field size, action type)
    written when given. run() then plays the test and takes everything down again, whatever
    happened."""

    def __init__(self, program, prefix, screen, accessible=True, settings=None):
        self.program = program
        self.prefix = prefix
        self.screen = screen
        self.accessible = accessible
        self.settings = settings
        self.games = []  # every program started, ended at the end
        self.workdir = None
        self.xserver = None
        self.bus = None
        self.env = None

    def start(self, env=None, cwd=None):
        """Starts the program, in env or the run's environment, observed over the
        accessibility bus (wait_shown() first)."""
        from atspi_harness import GtkGame
        game = GtkGame(self.program, env or self.env, cwd=cwd)
        self.games.append(game)
        return game

    def stop_display(self):
        """Takes the X server away under the programs, as a log-out does."""
        self.xserver.stop()
        self.xserver = None

    def run(self, test):
        """Sets up, calls test(self) and takes everything down. Returns the exit status: 0, or
        1 after a failure, reported with what each program was doing."""
        self.workdir = tempfile.mkdtemp(prefix=self.prefix)
        try:
            self.xserver = XServer(*self.screen)
            self.env = gtk_environment(self.workdir, self.xserver.display, self.accessible)
            if self.accessible:
                from atspi_harness import AccessibilityBus
                self.bus = AccessibilityBus(self.env)
            if self.settings is not None:
                write_settings(settings_path(self.env), *self.settings)
            test(self)
            return 0
        except (Failure, subprocess.SubprocessError, OSError) as failure:
            return report_failure(failure, self.games)
        finally:
            tear_down(self.games, (self.bus, self.xserver), self.workdir)


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


def records_tables(path):
    """The table lines of a records file the program wrote, each as a dict of its fields;
    None while there is no such file."""
    try:
        with open(path) as f:
            return [dict(item.split("=", 1) for item in line.split()[1:])
                    for line in f if line.startswith("table ")]
    except (FileNotFoundError, NotADirectoryError):
        return None
