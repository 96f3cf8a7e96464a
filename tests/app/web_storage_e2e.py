#!/usr/bin/python3
"""End-to-end test of what the page keeps, in headless Chromium on a profile that outlives
each browser.

- Killed: the browser's main process killed with SIGKILL 0.2 s and 1 s after the last of
  three changes of a game, and 0.5 s after a Give Up, then started again on the same profile:
  the same game with every change and its clock within a second of the kill, and the game
  given up counted exactly once and no longer kept. Each run RUNS times (10 unless given),
  every one must hold; the runs that did not are reported by kind.
- Without a store: no IndexedDB, the page plays from local storage, its game kept across a
  reload, and says once a visit that progress may be lost; the same once when the store
  refuses a write.
- An earlier version's storage: local storage alone holding a game and records, as the
  earlier versions kept them, is taken over (and kept when the browser is killed after the
  next change), and records an earlier version writes later are read, not lost.
- A store slow to open: the first frame comes before it, no input is taken meanwhile, and the
  kept game is taken up once it opens; one that never opens leaves the page playing from local
  storage, with the notice.

usage: web_storage_e2e.py TESTING_PAGE_DIR [--runs RUNS] [TEST_NAME ...]
(only the tests named, as the report names them, when any are given)
"""
import argparse
import functools
import os
import re
import shutil
import signal
import sys
import tempfile
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from browser_harness import Browser, run_page_tests  # noqa: E402
from e2e_basics import check, time_limit, wait_until  # noqa: E402
from pictures import differs  # noqa: E402
from screen_layout import FELT, NEXT_BUTTON  # noqa: E402
from web_e2e import (CTRL, DESKTOP, Page, board_picture, check_console,  # noqa: E402
                     given_up_line, records_rows, open_statistics)

RISK = "Progress may be lost if the browser is closed suddenly"
# A 3 x 3 field of the kind Add From None: every puzzle takes at least four matches.
SETTINGS = {"dimensionsRange": "3", "actionType": "1"}

# The page's store never answers the opening until window.kzOpenStore() is called.
HELD_STORE = """
window.kzStoreHeld = true;
const originalOpen = IDBFactory.prototype.open;
IDBFactory.prototype.open = function(...args) {
    const request = originalOpen.apply(this, args);
    let handler = null;
    let opened = null;
    Object.defineProperty(request, "onsuccess", {
        configurable: true,
        get: () => handler,
        set: (value) => { handler = value; },
    });
    request.addEventListener("success", (event) => {
        opened = event;
        if (!window.kzStoreHeld && handler) handler(event);
    });
    window.kzOpenStore = () => {
        window.kzStoreHeld = false;
        if (opened && handler) handler(opened);
    };
    return request;
};
"""
# A browser with no IndexedDB.
NO_STORE = "Object.defineProperty(window, 'indexedDB', {value: undefined, configurable: true});"
# The store refuses every write from now on: each transaction that writes is aborted, as
# one is when the disk is full.
STORE_FULL = """const originalPut = IDBObjectStore.prototype.put;
IDBObjectStore.prototype.put = function(...args) {
    const request = originalPut.apply(this, args);
    this.transaction.abort();
    return request;
};"""


def process_children(pid):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[1]) == pid:
            found.append(int(entry))
    return found


def process_tree(pid):
    tree = [pid]
    for child in process_children(pid):
        tree += process_tree(child)
    return tree


def running(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


class KeptBrowser:
    """Chromium on a profile that outlives it, started again on it after a kill."""

    def __init__(self, profile, scripts=()):
        self.profile = profile
        self.scripts = scripts
        self.browser = None
        self.start()

    def start(self):
        self.browser = Browser(*DESKTOP, profile=self.profile)
        for source in self.scripts:
            self.browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=source)

    def kill(self):
        """The browser's main process killed with SIGKILL, and its processes gone."""
        driver = self.browser.driver.service.process.pid
        main = [pid for pid in process_children(driver) if running(pid)]
        check(len(main) == 1, f"chromedriver runs {len(main)} browsers")
        processes = process_tree(main[0])
        os.kill(main[0], signal.SIGKILL)
        wait_until(lambda: not any(running(pid) for pid in processes), 10,
                   "the killed browser's processes do not end")
        # Nothing left to close: chromedriver alone is stopped.
        self.browser.driver.service.stop()
        self.browser = None

    def restart(self, scripts=None):
        self.kill()
        if scripts is not None:
            self.scripts = scripts
        self.start()

    def quit(self):
        if self.browser:
            self.browser.quit()
            self.browser = None


def empty_site(browser, server):
    """Local storage and the store emptied, from a document of the site that runs no game."""
    browser.driver.get(server.url("test-page/manifest.webmanifest"))
    origin = "{0}://{1}".format(*urllib.parse.urlsplit(server.url()))
    browser.cdp("Storage.clearDataForOrigin", origin=origin,
                storageTypes="local_storage,indexeddb")
    browser.js("localStorage.clear();")


def open_game(browser, server, settings=None):
    page = Page(browser, server.url("test-page/"))
    if settings:
        browser.driver.get(server.url("test-page/manifest.webmanifest"))
        browser.js("".join(f"localStorage.setItem('{name}', '{value}');"
                           for name, value in settings.items()))
    page.open()
    return page


def counts(page):
    """Played, won and given up of the one records table, or zeros for none."""
    open_statistics(page)
    rows = records_rows(page)
    page.key("Escape")
    wait_until(lambda: not page.b.js("return document.getElementById('statistics').open"), 3,
               "Esc does not close Statistics")
    check(len(rows) <= 1, f"the Statistics box shows {rows}")
    return tuple(int(n) for n in rows[0][2:5]) if rows else (0, 0, 0)


def risk_notices(page):
    return sum(RISK in text for text in page.announcements())


def new_game(page):
    """Next, after a Give Up of the game running, if one is: the puzzle's code and its field
    at the start."""
    if page.state()["playing"]:
        page.click(*NEXT_BUTTON)  # Give Up, where Next was
        wait_until(lambda: not page.state()["playing"], 3, "Give Up ends no game")
    page.click(*NEXT_BUTTON)
    code = wait_until(page.title_code, 3, "Next plays no puzzle")
    page.move(*FELT)
    check(page.state()["moves"] == 0, f"Next goes on with a game: {page.state()}")
    return code, board_picture(page)


def change(page, x, y, moves):
    """One click on a stick; the moment it was made, once the game shows it."""
    page.click(x, y)
    made = time.monotonic()
    # Polled closely: what the test does after the change must fit before the kill.
    wait_until(lambda: page.state()["moves"] == moves, 3, f"no move {moves}", step=0.01)
    return made


def kill_after(kept, page, made, delay):
    """Killed delay seconds after made, or as soon after as the test's own steps since the
    change allow, never more than a tenth of a second late; the game's clock just before."""
    left = made + delay - time.monotonic()
    check(left > -0.1, f"the test could not kill within {delay + 0.1:g} s of the change")
    time.sleep(max(0.0, left - 0.05))
    clock = page.state()["clock"]
    time.sleep(max(0.0, made + delay - time.monotonic()))
    kept.kill()
    return clock


def taken_up(kept, server, code, moves, field, clock):
    """After a start on the kept profile, the page shows that game; what differs, or None."""
    kept.start()
    page = open_game(kept.browser, server)
    state = page.state()
    page.move(*FELT)
    found = []
    if page.title_code() != code:
        found.append(f"the title names {page.title_code()}, not {code}")
    if not state["playing"]:
        found.append(f"no game, not one of {moves} moves")
    elif state["moves"] != moves:
        found.append(f"{state['moves']} moves, not {moves}")
    elif differs(board_picture(page), field):
        found.append("the field is otherwise")
    if abs(state["clock"] - clock) > 1:
        found.append(f"the clock at {state['clock']} s, not {clock} s")
    return page, "; ".join(found) or None


def test_killed(server, runs):
    """The browser killed soon after a change or a Give Up, RUNS times each."""
    profile = tempfile.mkdtemp(prefix="kz-profile-")
    kept = KeptBrowser(profile)
    lost = {"0.2 s after a change": [], "1 s after a change": [], "0.5 s after a Give Up": []}
    started = time.monotonic()
    try:
        empty_site(kept.browser, server)
        open_game(kept.browser, server, SETTINGS)
        # The settings live in local storage alone: on the disk before the first kill.
        kept.quit()
        kept.start()
        page = open_game(kept.browser, server)
        for run in range(runs):
            # Three matches added, the last once the clock shows two seconds.
            code, start = new_game(page)
            clicks = page.state()["clicks"]
            check(len(clicks) >= 4, f"Add From None takes at least four matches: {clicks}")
            change(page, *clicks[0], 1)
            change(page, *clicks[1], 2)
            wait_until(lambda: page.state()["clock"] >= 2, 5, "the clock does not go")
            made = change(page, *clicks[2], 3)
            page.move(*FELT)
            field = board_picture(page)
            clock = kill_after(kept, page, made, 0.2)
            page, wrong = taken_up(kept, server, code, 3, field, clock)
            if wrong:
                lost["0.2 s after a change"].append(f"run {run + 1}: {wrong}")
                code, start = new_game(page)
                for moves, (x, y) in enumerate(page.state()["clicks"][:3], 1):
                    change(page, x, y, moves)

            # The same game, its three matches taken back.
            for moves in (2, 1, 0):
                page.key("z", modifiers=CTRL)
                made = time.monotonic()
                wait_until(lambda: page.state()["moves"] == moves, 3, f"undo to {moves} moves")
            clock = kill_after(kept, page, made, 1.0)
            page, wrong = taken_up(kept, server, code, 0, start, clock)
            if wrong:
                lost["1 s after a change"].append(f"run {run + 1}: {wrong}")
                new_game(page)

            # That game given up: counted once, and no longer kept.
            before = counts(page)
            page.click(*NEXT_BUTTON)
            made = time.monotonic()
            wait_until(lambda: not page.state()["playing"], 3, "Give Up ends no game")
            kill_after(kept, page, made, 0.5)
            kept.start()
            page = open_game(kept.browser, server)
            after = counts(page)
            expected = (before[0] + 1, before[1], before[2] + 1)
            wrong = []
            if after != expected:
                wrong.append(f"played, won, given up {after}, not {expected}")
            if page.state()["playing"] or page.title_code() is not None:
                wrong.append(f"the game given up is taken up again: {page.title_code()}")
            if wrong:
                lost["0.5 s after a Give Up"].append(f"run {run + 1}: " + "; ".join(wrong))
        check_console(kept.browser, "after the browser was killed")
    finally:
        kept.quit()
        shutil.rmtree(profile, ignore_errors=True)
    taken = time.monotonic() - started
    for kind, runs_lost in lost.items():
        print(f"  killed {kind}: {runs - len(runs_lost)} of {runs} runs kept everything")
    print(f"  {3 * runs} kills in {taken:.0f} s")
    failed = {kind: runs_lost for kind, runs_lost in lost.items() if runs_lost}
    check(not failed, f"lost: {failed}")


def two_changes_kept_through_a_reload(page, code, after_changes, what):
    """Two changes of the game of code, then after_changes(); the page, with the notice given
    once, opened again holds the same game with both changes."""
    for moves, (x, y) in enumerate(page.state()["clicks"][:2], 1):
        change(page, x, y, moves)
    after_changes()
    page.move(*FELT)
    field = board_picture(page)
    check(risk_notices(page) == 1, f"{what}: the notice comes {risk_notices(page)} times")
    page.open()
    page.move(*FELT)
    check(page.title_code() == code and page.state()["moves"] == 2
          and not differs(board_picture(page), field),
          f"{what}: the reload holds {page.title_code()} {page.state()}")


def test_without_store(server, runs):
    """No IndexedDB: the game and records kept in local storage, and the notice once a
    visit; a store that refuses a write says so once too."""
    with Browser(*DESKTOP) as browser:
        empty_site(browser, server)
        script = browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=NO_STORE)
        page = open_game(browser, server, SETTINGS)
        check(browser.js("return window.indexedDB === undefined"), "the page has IndexedDB")
        wait_until(lambda: risk_notices(page) == 1, 3, "no notice that progress may be lost")
        notice = "const n = document.getElementById('records-notice'); return [n.hidden, n.textContent];"
        hidden, text = browser.js(notice)
        check(not hidden and RISK in text,
              f"the notice under the game does not say that progress may be lost: {hidden}, {text!r}")
        code, _ = new_game(page)
        two_changes_kept_through_a_reload(page, code, lambda: None, "without a store")
        wait_until(lambda: risk_notices(page) == 1, 3, "no notice after the reload")
        browser.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])

        # A store that opens, then refuses: once, and the game is still kept.
        page.open()
        page.click(*NEXT_BUTTON)  # Give Up
        wait_until(lambda: not page.state()["playing"], 3, "Give Up ends no game")
        check(risk_notices(page) == 0, "a store that takes every write gives the notice")
        code, _ = new_game(page)
        browser.js(STORE_FULL)
        two_changes_kept_through_a_reload(
            page, code,
            lambda: wait_until(lambda: risk_notices(page) == 1, 3, "a refused write gives no notice"),
            "after refused writes")
        check(counts(page) == (1, 0, 1), f"the game given up counts as {counts(page)}")
        check_console(browser, "without a store")


def test_earlier_version(server, runs):
    """Local storage alone holds a game and records, as an earlier version keeps them: the
    page takes them over, keeps them through a kill, and reads what an earlier version
    writes after it."""
    profile = tempfile.mkdtemp(prefix="kz-profile-")
    kept = KeptBrowser(profile, [NO_STORE])
    try:
        # Written by the page with no store, then the serial numbers it writes beside the
        # texts taken away: what an earlier version leaves.
        empty_site(kept.browser, server)
        page = open_game(kept.browser, server, SETTINGS)
        new_game(page)
        page.click(*NEXT_BUTTON)  # Give Up
        wait_until(lambda: not page.state()["playing"], 3, "Give Up ends no game")
        code, _ = new_game(page)
        for moves, (x, y) in enumerate(page.state()["clicks"][:2], 1):
            change(page, x, y, moves)
        third = page.state()["clicks"][2]
        page.move(*FELT)
        field = board_picture(page)
        kept.browser.driver.get(server.url("test-page/manifest.webmanifest"))
        stored = kept.browser.js("""for (const name of Object.keys(localStorage)) {
                if (name.endsWith('Serial')) localStorage.removeItem(name);
            }
            return Object.keys(localStorage).sort();""")
        check(all(name in stored for name in ("game", "records")) and not any(
            re.search("Serial$", name) for name in stored), f"local storage holds {stored}")
        # Quit, so that local storage is on the disk.
        kept.quit()
        kept.scripts = []
        kept.start()

        page = open_game(kept.browser, server)
        page.move(*FELT)
        check(page.title_code() == code and page.state()["moves"] == 2
              and not differs(board_picture(page), field),
              f"the earlier version's game is {page.title_code()} {page.state()}")
        check(counts(page) == (1, 0, 1), f"the earlier version's records are {counts(page)}")
        check(risk_notices(page) == 0, "with a store the page gives the notice")
        made = change(page, *third, 3)
        page.move(*FELT)
        field = board_picture(page)
        clock = kill_after(kept, page, made, 0.2)
        page, wrong = taken_up(kept, server, code, 3, field, clock)
        check(not wrong, f"killed after a change to the game taken over: {wrong}")
        check(counts(page) == (1, 0, 1), f"killed, the records taken over are {counts(page)}")

        # An earlier version writes records again (another tab of it, say).
        kept.browser.driver.get(server.url("test-page/manifest.webmanifest"))
        kept.browser.js("localStorage.setItem('records', arguments[0]);", given_up_line(7))
        kept.quit()
        kept.start()
        page = open_game(kept.browser, server)
        open_statistics(page)
        rows = records_rows(page)
        check([row[2:5] for row in rows] == [["7", "0", "7"]],
              f"the records an earlier version wrote are not read: {rows}")
        page.key("Escape")
        check_console(kept.browser, "with an earlier version's storage")
    finally:
        kept.quit()
        shutil.rmtree(profile, ignore_errors=True)


def test_slow_store(server, runs):
    """The first frame does not wait for the store; the kept game comes once it opens, and a
    store that never opens leaves the page playing from local storage."""
    with Browser(*DESKTOP) as browser:
        empty_site(browser, server)
        page = open_game(browser, server, SETTINGS)
        code, _ = new_game(page)
        for moves, (x, y) in enumerate(page.state()["clicks"][:2], 1):
            change(page, x, y, moves)
        page.move(*FELT)
        field = board_picture(page)

        script = browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=HELD_STORE)
        page.open(wait=False)
        wait_until(lambda: browser.js("return performance.getEntriesByName('first-frame')"
                                      ".length > 0"), 20, "no first frame while the store opens")
        check(browser.js("return window.kzStoreHeld && !!window.kzOpenStore")
              and browser.js("return document.documentElement.dataset.state") != "running",
              "the store was not held")
        # Next meanwhile starts no game of its own.
        wait_until(lambda: browser.js("return !!window.kzTestState"), 5, "no module runs")
        before = page.state()
        page.click(*NEXT_BUTTON)
        check(page.state() == before, f"Next before the store opened: {before}, {page.state()}")
        browser.js("window.kzOpenStore();")
        page.wait_running()
        page.move(*FELT)
        check(page.title_code() == code and page.state()["moves"] == 2
              and not differs(board_picture(page), field),
              f"once the store opened the page holds {page.title_code()} {page.state()}")
        check(risk_notices(page) == 0, "a store slow to open gives the notice")

        # One that never opens: the game from local storage, with the notice.
        page.open(wait=False)
        page.wait_running()
        page.move(*FELT)
        check(browser.js("return window.kzStoreHeld"), "the store was not held")
        check(page.title_code() == code and page.state()["moves"] == 2
              and not differs(board_picture(page), field),
              f"with no store opened the page holds {page.title_code()} {page.state()}")
        check(risk_notices(page) == 1, f"the notice comes {risk_notices(page)} times")
        browser.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])
        check_console(browser, "with a store slow to open")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("testing_page")
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("tests", nargs="*")
    args = parser.parse_args()
    time_limit(150 + 15 * args.runs)
    tests = [("killed", test_killed),
             ("without a store", test_without_store),
             ("earlier version", test_earlier_version),
             ("slow store", test_slow_store)]
    # Each test starts the browsers it kills.
    return run_page_tests({"test-page": args.testing_page},
                          [(name, functools.partial(test, runs=args.runs)) for name, test in tests],
                          args.tests, browser_size=None)


if __name__ == "__main__":
    sys.exit(main())
