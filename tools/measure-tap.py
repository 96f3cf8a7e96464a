#!/usr/bin/python3
"""Counts what one tap on a stick costs the page, in headless Chromium: the calls into the
game's module (by entry), the calls that put the program's frame onto the canvas (presents),
and the writes of local storage and of the page's store; the clock's ticks, and what they
draw, aside.

A finger on a phone of 390 x 844 CSS pixels (ratio 3) and a mouse on a desktop of 1280 x 800
each add one stick to a 3 x 3 Add From None game; the counts are read once the page is still
again after the tap.

usage: tools/measure-tap.py [PAGE_DIR] [--taps N]   (the testing page, which tells the game's
state; its module is the page's with one entry more)
"""
import argparse
import collections
import os
import shutil
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "support"))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "app"))
from browser_harness import Browser, StaticServer  # noqa: E402
from e2e_basics import wait_until  # noqa: E402
from screen_layout import CLOCK, SCREEN, STICKS  # noqa: E402
from web_touch_e2e import TouchPage  # noqa: E402

DEFAULT_PAGE = os.path.join(HERE, "..", "build", "web", "app", "web", "test-page")

# Wraps the module's entries and the page's handlers as the module is made, and the storage
# writes, counting each call in window.kzTap.
COUNTER = """
window.kzTap = {calls: {}, presents: 0, storage: 0, store: 0, entry: null, input: false,
                clockOnly: false};
// The frame's pixels (x, y, w, h) of a put, against the game's clock at the frame's scale.
const onlyClock = (heap, frame, width, height, x, y, w, h) => {
    const scale = width / GAME_WIDTH;
    return x >= CLOCK[0] * scale && y >= CLOCK[1] * scale && x + w <= CLOCK[2] * scale
        && y + h <= CLOCK[3] * scale;
};
const count = (name) => { window.kzTap.calls[name] = (window.kzTap.calls[name] || 0) + 1; };
let factory;
Object.defineProperty(window, "createKestraneModule", {
    configurable: true,
    get() { return factory; },
    set(make) {
        factory = (options) => {
            const page = new Proxy(options.page, {get(target, key) {
                const handler = target[key];
                if (key === "present" && typeof handler === "function") {
                    // The clock's second is no part of a tap, nor a frame that drew only it,
                    // nor a put of the clock alone after a second passed during the tap.
                    return (...args) => {
                        if (window.kzTap.entry !== "_kz_tick" && !window.kzTap.clockOnly
                                && !onlyClock(...args)) {
                            window.kzTap.presents++;
                        }
                        return handler(...args);
                    };
                }
                return handler;
            }});
            return make({...options, page}).then((module) => new Proxy(module, {
                get(target, key) {
                    const entry = target[key];
                    if (typeof key === "string" && key.startsWith("_kz_")
                            && typeof entry === "function") {
                        return (...args) => {
                            const outer = window.kzTap.entry;
                            window.kzTap.entry = key;
                            if (key === "_kz_frame") {
                                window.kzTap.clockOnly = !window.kzTap.input;
                                window.kzTap.input = false;
                            } else if (key !== "_kz_tick") {
                                window.kzTap.input = true;
                            }
                            try {
                                if (key !== "_kz_tick" && !(key === "_kz_frame"
                                        && window.kzTap.clockOnly)) {
                                    count(key);
                                }
                                return entry.apply(target, args);
                            } finally {
                                window.kzTap.entry = outer;
                            }
                        };
                    }
                    return entry;
                }}));
        };
    }});
const setItem = Storage.prototype.setItem;
Storage.prototype.setItem = function(...args) {
    window.kzTap.storage++;
    return setItem.apply(this, args);
};
const put = IDBObjectStore.prototype.put;
IDBObjectStore.prototype.put = function(...args) {
    window.kzTap.store++;
    return put.apply(this, args);
};
"""

DEVICES = [("phone 390x844, a finger", 390, 844, 3, True),
           ("desktop 1280x800, a mouse", 1280, 800, 1, False)]


def measure(page, taps):
    """The counts over that many taps, each on another empty slot, read once still."""
    counts = []
    for stick in STICKS[3][:taps]:
        page.b.js("window.kzTap.calls = {}; window.kzTap.presents = 0;"
                  "window.kzTap.storage = 0; window.kzTap.store = 0;")
        (page.tap if page.touch else page.click)(*stick)
        # The page is still once nothing more is called for a while.
        last = None
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            time.sleep(0.3)
            now = page.b.js("return JSON.stringify(window.kzTap);")
            if now == last:
                break
            last = now
        counts.append(page.b.js("return window.kzTap;"))
    return counts


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("page", nargs="?", default=DEFAULT_PAGE)
    parser.add_argument("--taps", type=int, default=3)
    args = parser.parse_args()
    page_dir = os.path.abspath(args.page)
    if not os.path.isfile(os.path.join(page_dir, "index.html")):
        print(f"no built page in {page_dir} (cmake --build --preset web)")
        return 1
    root = tempfile.mkdtemp(prefix="kz-tap-")
    try:
        os.symlink(page_dir, os.path.join(root, "page"))
        with StaticServer(root) as server, Browser() as browser:
            browser.cdp("Page.addScriptToEvaluateOnNewDocument",
                        source=f"const CLOCK = {list(CLOCK)}; const GAME_WIDTH = {SCREEN[0]};\n"
                        + COUNTER)
            for name, width, height, ratio, touch in DEVICES:
                page = TouchPage(browser, server.url("page/"))
                page.emulate(width, height, ratio, touch)
                page.start_game(3, 1)
                wait_until(lambda: browser.js("return !!window.kzTap"), 5, "no counter")
                counts = measure(page, args.taps)
                calls = collections.Counter()
                for one in counts:
                    calls.update(one["calls"])
                n = len(counts)
                print(f"{name}, mean of {n} taps:")
                print(f"  calls into the module: {sum(calls.values()) / n:g} "
                      f"({', '.join(f'{k} {v / n:g}' for k, v in sorted(calls.items()))})")
                print(f"  presents: {sum(c['presents'] for c in counts) / n:g}")
                print(f"  local storage writes: {sum(c['storage'] for c in counts) / n:g}, "
                      f"store writes: {sum(c['store'] for c in counts) / n:g}")
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
