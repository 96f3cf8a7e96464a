#!/usr/bin/python3
"""Measures how long the page keeps the player waiting on a graded Next, in headless Chromium.

For a few hard cases of grade, field size and kind (or, with --every-cell, each of the 60
grades, kinds and square sizes): N games, each started with Next, played for a while (--play
seconds, the time the page has to search the next puzzle ahead) and given up. Prints the
longest, the 99th percentile and the median time the page spent handling the Next tap (the
event's processing time) and the tasks over 50 ms the page ran meanwhile (long tasks), and the
machine's load average beside them.

usage: tools/measure-graded-next.py [PAGE_DIR] [--games N] [--play SECONDS] [--every-cell]
"""
import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "support"))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "app"))
from browser_harness import Browser, StaticServer  # noqa: E402
from screen_layout import NEXT_BUTTON  # noqa: E402
from web_e2e import DESKTOP, Page  # noqa: E402

DEFAULT_PAGE = os.path.join(HERE, "..", "build", "web", "app", "web", "page")
# (field size, action type, difficulty) as the settings store them; the slowest first.
CASES = [(4, 3, 3, "Hard Move From Some 4 x 4"), (5, 3, 3, "Hard Move From Some 5 x 5"),
         (5, 5, 2, "Medium Remove From Some 5 x 5"), (3, 5, 1, "Easy Remove From Some 3 x 3"),
         (0, 0, 3, "Hard Mixed, random size")]
GRADES = ["Easy", "Medium", "Hard"]
KINDS = ["Add From None", "Add From Some", "Move From Some", "Remove From Full",
         "Remove From Some"]
EVERY_CELL = [(size, kind, grade, f"{GRADES[grade - 1]} {KINDS[kind - 1]} {size} x {size}")
              for grade in (1, 2, 3) for kind in (1, 2, 3, 4, 5) for size in (2, 3, 4, 5)]
OBSERVERS = """
window.kzLong = []; window.kzInput = [];
new PerformanceObserver(l => l.getEntries().forEach(e => window.kzLong.push(e.duration)))
    .observe({entryTypes: ['longtask']});
new PerformanceObserver(l => l.getEntries().forEach(
        e => window.kzInput.push(e.processingEnd - e.processingStart)))
    .observe({type: 'event', durationThreshold: 16});"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("page", nargs="?", default=DEFAULT_PAGE)
    parser.add_argument("--games", type=int, default=10)
    parser.add_argument("--play", type=float, default=3)
    parser.add_argument("--every-cell", action="store_true",
                        help="every grade, action type and square size instead of a few")
    args = parser.parse_args()
    page_dir = os.path.abspath(args.page)
    if not os.path.isfile(os.path.join(page_dir, "index.html")):
        print(f"no built page in {page_dir} (cmake --build --preset web)")
        return 1
    root = tempfile.mkdtemp(prefix="kz-measure-")
    try:
        os.symlink(page_dir, os.path.join(root, "page"))
        with StaticServer(root) as server, Browser(*DESKTOP) as browser:
            page = Page(browser, server.url("page/"))
            print(f"load average {os.getloadavg()[0]:.1f}; {args.games} games per case, "
                  f"{args.play:g} s of play each; ms")
            print(f"  {'case':32} {'Next max':>9} {'p99':>5} {'median':>7} {'long tasks':>11} "
                  f"{'max':>5}")
            for size, kind, grade, name in EVERY_CELL if args.every_cell else CASES:
                page.open_afresh(dimensionsRange=size, actionType=kind, difficulty=grade)
                browser.js(OBSERVERS)
                nexts, long_tasks = [], []
                for _ in range(args.games):
                    browser.js("window.kzInput = [];")
                    page.click(*NEXT_BUTTON)
                    time.sleep(0.3)
                    nexts.append(max(browser.js("return window.kzInput;") + [0]))
                    time.sleep(args.play)
                    page.click(*NEXT_BUTTON)  # Give Up
                    time.sleep(0.3)
                long_tasks = browser.js("return window.kzLong;")
                ranked = sorted(nexts)
                p99 = ranked[max(0, -(-len(ranked) * 99 // 100) - 1)]
                print(f"  {name:32} {max(nexts):9.0f} {p99:5.0f} {statistics.median(nexts):7.0f} "
                      f"{len(long_tasks):11} {max(long_tasks + [0]):5.0f}")
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
