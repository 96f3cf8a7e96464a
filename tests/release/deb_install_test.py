#!/usr/bin/python3
"""The Debian package of a release on this machine: dpkg -i installs it; the program its
desktop entry starts comes up with its 690 x 500 drawing area on a private X server and opens
its help from the installed pages in the user's browser; dpkg -r and then dpkg -P leave no file
of the package behind.

It installs into this machine's /usr, so it needs root. Not as root it fails, unless
KZ_SKIP_ROOT_TESTS=1 says to skip it. A package that is installed already is left alone: the
test fails instead of replacing it. The drawing area is read over a private accessibility bus:
run it under dbus-run-session.

usage: deb_install_test.py DIST_DIR VERSION
Exit codes: 0 passed, 1 failed (also when no release was made), 77 skipped (KZ_SKIP_ROOT_TESTS=1).
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_basics import Failure, check, require_tools, run, time_limit, wait_until  # noqa: E402
from gtk_program import GtkTestRun, install_fake_browser, opened_addresses  # noqa: E402
from screen_layout import AREA_H, AREA_W  # noqa: E402
from gi.repository import GLib  # noqa: E402
import pyatspi  # noqa: E402

PACKAGE = "kestrane-zivadorured"
AREA = (AREA_W, AREA_H)
WAIT_START = 60.0
WAIT_STEP = 10.0


def installed():
    result = subprocess.run(["dpkg-query", "-W", "-f=${db:Status-Status}", PACKAGE],
                            timeout=30, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            text=True)
    return result.returncode == 0 and result.stdout not in ("", "not-installed")


def dpkg(*args):
    result = subprocess.run(["dpkg", *args], timeout=300, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True,
                            env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
    check(result.returncode == 0, f"dpkg {' '.join(args)} failed:\n{result.stdout}")


def package_paths(deb):
    """Every path the package holds, as absolute paths, files and folders."""
    listing = subprocess.run(["dpkg-deb", "--fsys-tarfile", deb], check=True, timeout=60,
                             stdout=subprocess.PIPE).stdout
    names = subprocess.run(["tar", "-t"], input=listing, check=True, timeout=60,
                           stdout=subprocess.PIPE).stdout.decode().split("\n")
    return sorted({"/" + n.strip("/").removeprefix("./") for n in names if n.strip("./")})


def desktop_command(paths):
    """The program the package's desktop entry starts, looked up as the desktop would."""
    entries = [p for p in paths if p.startswith("/usr/share/applications/")
               and p.endswith(".desktop")]
    check(len(entries) == 1, f"the package should hold one desktop entry: {entries}")
    with open(entries[0]) as f:
        command = re.search(r"^Exec=(\S+)", f.read(), re.M).group(1)
    program = shutil.which(command, path="/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games")
    check(program in paths, f"the desktop entry's {command} is not the package's program "
          f"(it finds {program})")
    return program


def help_menu_open(game):
    """Whether the Help menu is open with the keyboard in it, as the reader sees it: one of
    its items showing and selected."""
    try:
        bar = pyatspi.findDescendant(game.app, lambda o: o.getRole() == pyatspi.ROLE_MENU_BAR)
        menus = [item for item in bar if item.name == "Help"] if bar else []
        check(len(menus) == 1, f"the menu bar should hold one Help menu: {menus}")
        for item in menus[0]:
            item.clearCache()
            states = item.getState()
            if states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_SELECTED):
                return True
        return False
    except GLib.Error as e:
        raise Failure(f"the Help menu could not be read: {e.message}")


def play_and_open_help(test, paths):
    """On the display and bus the run set up: the window, then Help > Contents."""
    workdir, env = test.workdir, test.env
    opened = install_fake_browser(workdir, env)
    game = test.start(cwd=workdir)
    size = game.wait_shown(WAIT_START).area()[2:]
    check(size == AREA, f"the drawing area is {size}, not {AREA}")
    window = run(["xdotool", "search", "--name", "^Kestrane Zivadorured$"], env,
                 stdout=subprocess.PIPE, text=True).stdout.split()
    check(len(window) == 1, f"expected one window titled Kestrane Zivadorured: {window}")
    run(["xdotool", "windowfocus", "--sync", window[0]], env)
    print(f"{test.program} shows its {AREA[0]} x {AREA[1]} drawing area")

    # Help > Contents: C once the menu has the keyboard, else it would go to the game.
    check(not help_menu_open(game), "the Help menu is open before Alt+H")
    run(["xdotool", "key", "alt+h"], env)
    wait_until(lambda: help_menu_open(game), WAIT_STEP, "Alt+H should open the Help menu",
               step=0.02)
    run(["xdotool", "key", "c"], env)
    address = wait_until(lambda: opened_addresses(opened), WAIT_STEP,
                         "the help should open in the browser")[-1]
    # GIO hands a local file to the browser as its path or as a file:// address.
    path = urllib.parse.unquote(address.removeprefix("file://"))
    check(path.endswith("/index.html") and path in paths,
          f"the help opened {address}, not a page the package installed")
    print(f"Help > Contents opened {address}")

    run(["xdotool", "key", "ctrl+w"], env)
    code = game.wait_exit(WAIT_STEP * 2)
    check(code == 0, f"Ctrl+W should end the program with 0, not {code}")


def main():
    dist, version = sys.argv[1], sys.argv[2]
    debs = glob.glob(os.path.join(dist, f"{PACKAGE}_{version}_*.deb"))
    if not debs:
        print(f"FAIL: {dist} holds no {PACKAGE}_{version}_*.deb (make one with tools/release.sh)")
        return 1
    check(len(debs) == 1, f"more than one Debian package in {dist}: {debs}")
    deb = debs[0]
    if os.geteuid() != 0:
        if os.environ.get("KZ_SKIP_ROOT_TESTS") == "1":
            print("SKIP: installing the Debian package needs root; KZ_SKIP_ROOT_TESTS=1 skips it")
            return 77
        raise Failure("installing the Debian package needs root: run the tests as root, or set "
                      "KZ_SKIP_ROOT_TESTS=1 to skip this test")
    require_tools("dpkg")
    check(not installed(), f"{PACKAGE} is installed on this machine already; this test would "
          "replace and remove it (dpkg -P it first)")

    paths = package_paths(deb)
    existed = {p for p in paths if os.path.lexists(p)}
    try:
        dpkg("-i", deb)
        check(installed(), f"{PACKAGE} is not installed after dpkg -i")
        missing = [p for p in paths if not os.path.lexists(p)]
        check(not missing, f"files missing after dpkg -i: {missing}")
        print(f"dpkg -i installed {len(paths)} paths")

        played = GtkTestRun(desktop_command(paths), "kz-deb-e2e-", (1280, 800)).run(
            lambda test: play_and_open_help(test, paths))
        if played != 0:
            return played

        dpkg("-r", PACKAGE)
        dpkg("-P", PACKAGE)
        check(not installed(), f"{PACKAGE} is still known to dpkg after dpkg -P")
        left = [p for p in paths if p not in existed and os.path.lexists(p)]
        left += glob.glob(f"/var/lib/dpkg/info/{PACKAGE}.*")
        check(not left, f"dpkg -P left these behind: {left}")
        print("dpkg -r and dpkg -P removed every file of the package")
        print("PASS")
        return 0
    finally:
        # Whatever went wrong, the machine is left without the package.
        if installed():
            subprocess.run(["dpkg", "-P", PACKAGE], timeout=300, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)


if __name__ == "__main__":
    time_limit(400)
    try:
        sys.exit(main())
    except (Failure, subprocess.SubprocessError, OSError) as e:
        print(f"FAIL: {e}")
        sys.exit(1)
