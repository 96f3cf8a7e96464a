#!/usr/bin/python3
"""Measures the game in the browser, in headless Chromium, against a plain static page.

- Bytes: every file the page loads before its first game frame, as it is and gzip-compressed
  (-9); at a device pixel ratio of 2 or 3 (--ratio) that includes the set of larger pictures.
- Start: navigation to the first drawn game frame (the page's "first-frame" mark), median of
  N loads with the HTTP cache and the service worker bypassed; a plain page that draws one
  canvas is measured in the same run as the floor.
- Callbacks: timer and animation callbacks the page runs over 5 s with no game, and over 5 s
  of a game (the clock's ticks).

usage: tools/measure-web.py [PAGE_DIR] [--runs N] [--ratio R]
"""
import argparse
import gzip
import os
import shutil
import statistics
import sys
import tempfile
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "support"))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "app"))
from browser_harness import Browser, StaticServer  # noqa: E402
from e2e_basics import wait_until  # noqa: E402
from screen_layout import AREA_H, AREA_W, NEXT_BUTTON  # noqa: E402
from web_e2e import CALLBACK_COUNTER, Page  # noqa: E402

DEFAULT_PAGE = os.path.join(HERE, "..", "build", "web", "app", "web", "page")
FLOOR_PAGE = f"""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>floor</title>
<link rel="icon" href="data:,"></head>
<body><canvas id="screen" width="{AREA_W}" height="{AREA_H}"></canvas>
<script>
const context = document.getElementById("screen").getContext("2d");
context.fillStyle = "#246";
context.fillRect(0, 0, {AREA_W}, {AREA_H});
performance.mark("first-frame");
</script></body></html>
"""


def first_frame_ms(browser, url):
    browser.driver.get(url)
    return wait_until(lambda: browser.js(
        "const m = performance.getEntriesByName('first-frame');"
        "return m.length ? m[0].startTime : null;"), 20, f"{url} drew no first frame")


def loaded_before_first_frame(browser):
    return browser.js("""
        const frame = performance.getEntriesByName('first-frame')[0].startTime;
        return [...new Set([location.href].concat(performance.getEntriesByType('resource')
            .filter(r => r.startTime < frame).map(r => r.name)))];""")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("page", nargs="?", default=DEFAULT_PAGE)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--ratio", type=float, default=1, help="the device pixel ratio")
    args = parser.parse_args()
    page_dir = os.path.abspath(args.page)
    if not os.path.isfile(os.path.join(page_dir, "index.html")):
        print(f"no built page in {page_dir} (cmake --build --preset web)")
        return 1
    root = tempfile.mkdtemp(prefix="kz-measure-")
    try:
        os.symlink(page_dir, os.path.join(root, "page"))
        os.makedirs(os.path.join(root, "floor"))
        with open(os.path.join(root, "floor", "index.html"), "w") as f:
            f.write(FLOOR_PAGE)
        with StaticServer(root) as server, Browser() as browser:
            browser.emulate(1000, 800, args.ratio)
            browser.cdp("Network.enable")
            browser.cdp("Network.setCacheDisabled", cacheDisabled=True)
            browser.cdp("Network.setBypassServiceWorker", bypass=True)
            game_url, floor_url = server.url("page/"), server.url("floor/")
            first_frame_ms(browser, game_url)  # the browser's own first start is not counted
            game, floor = [], []
            for _ in range(args.runs):
                game.append(first_frame_ms(browser, game_url))
                floor.append(first_frame_ms(browser, floor_url))

            first_frame_ms(browser, game_url)
            raw_total = total = 0
            print(f"Loaded before the first frame at ratio {args.ratio:g} (as it is, gzip -9):")
            for address in loaded_before_first_frame(browser):
                path = urllib.parse.urlparse(address).path
                local = os.path.join(root, path.lstrip("/"))
                if path.endswith("/"):
                    local = os.path.join(local, "index.html")
                with open(local, "rb") as f:
                    content = f.read()
                size = len(gzip.compress(content, 9))
                raw_total += len(content)
                total += size
                print(f"  {path:40} {len(content) / 1024:7.1f} KB {size / 1024:7.1f} KB")
            print(f"  {'total':40} {raw_total / 1024:7.1f} KB {total / 1024:7.1f} KB")
            print(f"Navigation to the first game frame, median of {args.runs}: "
                  f"{statistics.median(game):.0f} ms (min {min(game):.0f}, max {max(game):.0f})")
            print(f"Plain static page, the floor:        "
                  f"{statistics.median(floor):.0f} ms (min {min(floor):.0f}, max {max(floor):.0f})")

            script = browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=CALLBACK_COUNTER)
            page = Page(browser, game_url)
            page.open()
            browser.js("window.kzCallbacks = 0;")
            time.sleep(5)
            idle = browser.js("return window.kzCallbacks")
            page.click(*NEXT_BUTTON)
            browser.js("window.kzCallbacks = 0;")
            time.sleep(5)
            playing = browser.js("return window.kzCallbacks")
            browser.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])
            print(f"Timer and animation callbacks: {idle} over 5 s with no game, "
                  f"{playing} over 5 s of a game")
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
