#!/usr/bin/python3
"""Starts the Linux program many times on a private Xvfb and counts the starts whose window
did not appear, as a window search that polls would see them.

    tools/start-loop.py PROGRAM [--starts 60] [--load 2] [--reset] [--timeout 10]

--load N keeps N busy loops running meanwhile (one per core makes the machine busy);
--reset lets the X server reset whenever its last client leaves, as Xvfb does by default.
Each start is polled with `xdotool search --onlyvisible --pid` every 0.1 s until a window
shows or the program ends; a lost start is reported with the program's exit status and
output. Exits non-zero when any start was lost.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "support"))
from e2e_basics import Failure, Process, stop_process  # noqa: E402
from gtk_program import gtk_environment  # noqa: E402
from x_display import XServer  # noqa: E402


def visible_windows(env, pid):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=env,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                           timeout=10)
    return found.stdout.split()


def one_start(program, env, timeout):
    """(seconds to the window, None) or (None, what went wrong)."""
    game = Process([program], env)
    started = time.monotonic()
    try:
        while time.monotonic() - started < timeout:
            if visible_windows(env, game.proc.pid):
                return time.monotonic() - started, None
            if not game.running():
                time.sleep(0.2)  # the rest of its output
                return None, (f"ended with {game.proc.returncode} after "
                              f"{time.monotonic() - started:.2f} s: {game.last_errors()}")
            time.sleep(0.1)
        return None, f"no window within {timeout:.0f} s: {game.last_errors()}"
    finally:
        game.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program")
    parser.add_argument("--starts", type=int, default=60)
    parser.add_argument("--load", type=int, default=0)
    parser.add_argument("--reset", action="store_true")
    parser.add_argument("--timeout", type=float, default=10.0)
    args = parser.parse_args()

    busy = [subprocess.Popen(["yes"], stdout=subprocess.DEVNULL, start_new_session=True)
            for _ in range(args.load)]
    workdir = tempfile.mkdtemp(prefix="kz-start-loop-")
    lost = []
    times = []
    try:
        with XServer(reset=args.reset) as xserver:
            env = gtk_environment(workdir, xserver.display)
            for n in range(args.starts):
                took, problem = one_start(args.program, env, args.timeout)
                if problem:
                    lost.append(problem)
                    print(f"start {n + 1}: {problem}", flush=True)
                else:
                    times.append(took)
    except Failure as e:
        print(f"FAIL: {e}")
        return 1
    finally:
        for proc in busy:
            stop_process(proc)
    median = f", median {statistics.median(times):.2f} s to the window" if times else ""
    print(f"{len(lost)} of {args.starts} starts lost (load {args.load}, "
          f"server reset {'on' if args.reset else 'off'}){median}")
    return 1 if lost else 0


if __name__ == "__main__":
    sys.exit(main())
