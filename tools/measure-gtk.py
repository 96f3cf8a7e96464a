#!/usr/bin/python3
"""Measures the Linux program against Debian's sgt-puzzles games on a private X server.

For each program: time from start to its first mapped window (median of several starts,
taken in rounds across the programs),
peak resident memory when idle and again after a click into the window (the first click
brings in the toolkit's input code), and CPU time and wake-ups over 5 s idle. For our
program the click is Next, and CPU time and wake-ups are also taken over 5 s of the running
game (the clock ticking), and over 5 s starting 3 s after a hint (what the hint leaves
running). sgt-puzzles is only the yardstick:
    apt-get install sgt-puzzles      (not a dependency of the project)

usage: tools/measure-gtk.py [PROGRAM] [--runs N]
"""
import argparse
import glob
import os
import re
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "support"))
from e2e_basics import Failure, require_tools, stop_process as stop  # noqa: E402
from screen_layout import NEXT_BUTTON  # noqa: E402
from x_display import XServer  # noqa: E402

DEFAULT_PROGRAM = os.path.join(HERE, "..", "build", "default", "app", "gtk", "kestrane-zivadorured")
YARDSTICKS = ["/usr/games/sgt-net", "/usr/games/sgt-mines", "/usr/games/sgt-untangle",
              "/usr/games/sgt-pegs"]


def time_to_map(cmd, env):
    """Seconds from starting the program to the first MapNotify of a top-level window."""
    watcher = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                               env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               start_new_session=True)
    time.sleep(1.0)  # xev selects its events before the program starts
    start = time.monotonic()
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    mapped = None
    deadline = start + 20
    fd = watcher.stdout.fileno()
    buffer = b""
    while mapped is None and time.monotonic() < deadline:
        if select.select([fd], [], [], 0.5)[0]:
            chunk = os.read(fd, 65536)
            buffer += chunk
            if b"MapNotify" in buffer:
                mapped = time.monotonic() - start
    return proc, watcher, mapped


def task_stats(pid):
    """CPU nanoseconds and context switches summed over all threads."""
    cpu = 0
    switches = 0
    for task in glob.glob(f"/proc/{pid}/task/*"):
        try:
            with open(task + "/schedstat") as f:
                cpu += int(f.read().split()[0])
            with open(task + "/status") as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        switches += int(line.split()[1])
        except FileNotFoundError:
            pass
    return cpu, switches


def main_thread_switches(pid):
    with open(f"/proc/{pid}/status") as f:
        return sum(int(l.split()[1]) for l in f if "ctxt_switches" in l)


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM"):
                return int(line.split()[1])
    return 0


def sample(pid, seconds):
    cpu0, sw0 = task_stats(pid)
    main0 = main_thread_switches(pid)
    time.sleep(seconds)
    cpu1, sw1 = task_stats(pid)
    main1 = main_thread_switches(pid)
    return (cpu1 - cpu0) / 1e6, sw1 - sw0, main1 - main0


def start_once(name, cmd, env):
    """Starts the program until its window maps; returns it with the time taken, or None."""
    for attempt in range(3):  # a busy machine can make xev miss the map: try again
        proc, watcher, mapped = time_to_map(cmd, env)
        stop(watcher)
        if mapped is not None:
            return proc, mapped * 1000
        stop(proc)
    print(f"{name}: no window was mapped", file=sys.stderr)
    return None


def measure(name, cmd, env, times, game=False):
    """Memory and CPU of one more start of the program; times are its earlier starts."""
    started = start_once(name, cmd, env)
    if started is None or not times:
        return None
    proc, _ = started
    row = {"program": name}
    time.sleep(2.0)  # let start-up work settle
    row["idle_cpu_ms"], row["idle_switches"], row["idle_main_switches"] = sample(proc.pid, 5)
    row["idle_peak_rss_mib"] = peak_rss_kib(proc.pid) / 1024
    # Ours starts a game with Next; the others get a click in their window (no window
    # manager: it sits at 0,0 with the menu bar on top).
    click = (row_area[0] + NEXT_BUTTON[0], row_area[1] + NEXT_BUTTON[1]) if game else (60, 80)
    subprocess.run(["xdotool", "mousemove", str(click[0]), str(click[1]), "click", "1",
                    "mousemove", "1500", "1100"], env=env, timeout=10, check=True)
    time.sleep(1.5)
    if game:
        row["game_cpu_ms"], row["game_switches"], row["game_main_switches"] = sample(proc.pid, 5)
        # A hint blinks for about 2 s and then must leave nothing running beside the clock.
        window = subprocess.run(["xdotool", "search", "--pid", str(proc.pid), "--name",
                                 "Kestrane"], env=env, timeout=10, stdout=subprocess.PIPE,
                                text=True).stdout.split()[0]
        subprocess.run(["xdotool", "key", "--window", window, "h"], env=env, timeout=10,
                       check=True)
        time.sleep(3.0)
        row["hint_cpu_ms"], row["hint_switches"], row["hint_main_switches"] = sample(proc.pid, 5)
    row["peak_rss_mib"] = peak_rss_kib(proc.pid) / 1024
    stop(proc)
    row["map_ms_median"] = statistics.median(times)
    row["map_ms_min"] = min(times)
    return row


row_area = None


def probe_area(program, env):
    """(x, y) of our drawing area on the screen, read over the accessibility bus from a start
    of its own under dbus-run-session; the measured starts keep the bridge off."""
    probe_env = dict(env)
    probe_env.pop("NO_AT_BRIDGE", None)
    try:
        result = subprocess.run(["dbus-run-session", "--", sys.executable,
                                 os.path.abspath(__file__), "--probe-area", program],
                                env=probe_env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                text=True, timeout=120)
    except subprocess.TimeoutExpired:
        sys.exit("the start that finds the drawing area did not end in time")
    found = re.fullmatch(r"area (-?\d+) (-?\d+)\n", result.stdout)
    if result.returncode != 0 or not found:
        sys.exit(f"could not find where the drawing area is: {result.stderr.strip()[-1000:]}")
    return int(found.group(1)), int(found.group(2))


def print_area(program):
    """--probe-area, under dbus-run-session: starts the program once on a private
    accessibility bus and prints where its drawing area is."""
    from atspi_harness import AccessibilityBus, GtkGame
    env = dict(os.environ)
    try:
        with AccessibilityBus(env):
            game = GtkGame([program], env)
            try:
                x, y, _, _ = game.wait_shown(60).area()
            finally:
                game.stop()
    except Failure as e:
        sys.exit(f"FAIL: {e}")
    print(f"area {x} {y}")


def main():
    global row_area
    parser = argparse.ArgumentParser()
    parser.add_argument("program", nargs="?", default=DEFAULT_PROGRAM)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--yardstick-without-gl", action="store_true",
                        help="start the sgt-puzzles games with GDK_GL=disable too, as ours does")
    parser.add_argument("--probe-area", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.probe_area:
        print_area(args.program)
        return
    if not os.access(args.program, os.X_OK):
        sys.exit(f"{args.program} is not built (cmake --build --preset default)")
    try:
        require_tools("xev", "stdbuf", "dbus-run-session")
        xvfb = XServer(1600, 1200)
    except Failure as e:
        sys.exit(str(e))
    display = xvfb.display
    home = tempfile.mkdtemp(prefix="kz-measure-")
    try:
        env = dict(os.environ, DISPLAY=display, HOME=home, XDG_CONFIG_HOME=home + "/config",
                   XDG_CACHE_HOME=home + "/cache", GDK_BACKEND="x11", NO_AT_BRIDGE="1",
                   GSETTINGS_BACKEND="memory")
        env.pop("WAYLAND_DISPLAY", None)
        # Warm the file cache and fontconfig's caches for everyone alike.
        for cmd in [[args.program]] + [[y] for y in YARDSTICKS if os.path.exists(y)]:
            proc, watcher, _ = time_to_map(cmd, env)
            stop(watcher)
            stop(proc)

        # Where our drawing area lands (no window manager: the window sits at 0,0).
        row_area = probe_area(args.program, env)

        yardstick_env = dict(env, GDK_GL="disable") if args.yardstick_without_gl else env
        programs = [("kestrane-zivadorured", [args.program], env, True)]
        for y in YARDSTICKS:
            if os.path.exists(y):
                name = os.path.basename(y) + (" (no GL)" if args.yardstick_without_gl else "")
                programs.append((name, [y], yardstick_env, False))
        # Start-up times in rounds, one start of each program per round, so that the load
        # of a shared machine weighs on all of them alike.
        times = {name: [] for name, *_ in programs}
        for _ in range(args.runs):
            for name, cmd, program_env, _game in programs:
                started = start_once(name, cmd, program_env)
                if started:
                    stop(started[0])
                    times[name].append(started[1])
        rows = [measure(name, cmd, program_env, times[name], game)
                for name, cmd, program_env, game in programs]
        if len(rows) == 1:
            print("(sgt-puzzles is not installed: no yardstick)")

        print(f"{'program':22} {'map ms (median/min)':>20} {'peak RSS MiB idle/click':>24} "
              f"{'idle 5 s: CPU ms / wake-ups':>28} {'game 5 s: CPU ms / wake-ups (main)':>36}")
        for r in rows:
            if r is None:
                continue
            game = (f"{r['game_cpu_ms']:.2f} / {r['game_switches']} ({r['game_main_switches']})"
                    if "game_cpu_ms" in r else "-")
            print(f"{r['program']:22} {r['map_ms_median']:>11.1f} / {r['map_ms_min']:<6.1f} "
                  f"{r['idle_peak_rss_mib']:>17.1f} / {r['peak_rss_mib']:<4.1f} "
                  f"{r['idle_cpu_ms']:>17.2f} / {r['idle_switches']:<8} {game:>36}")
            if "hint_cpu_ms" in r:
                print(f"{'':22} the 5 s from 3 s after a hint: {r['hint_cpu_ms']:.2f} CPU ms / "
                      f"{r['hint_switches']} wake-ups ({r['hint_main_switches']} main), the "
                      f"game's clock alone above")
    finally:
        xvfb.stop()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
