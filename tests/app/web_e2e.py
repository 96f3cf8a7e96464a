#!/usr/bin/python3
"""End-to-end test of the game in the browser, in headless Chromium.

Serves the built page on 127.0.0.1 and checks, through chromedriver and the DevTools
protocol: the fatal messages when the module cannot load or the canvas has no 2D context;
the first picture pixel for pixel at device pixel ratio 1 and doubled at 2, and drawn from the
larger pictures when the page opens at ratio 2 or 3; a game started,
its clock ticking, a stick's hover look and the whole game won by pointer clicks; a whole
game with keys alone (hints, undo and redo, the live region, greyed items, the notice of a new
best time); puzzle codes in the address, the Play Puzzle Code box, Copy Puzzle Code and Share;
links to a day (#d=), the Past Puzzle box by keys and by touch, and today's result linking its day;
the game in progress kept across a reload, a visit and a restart of the browser on its
profile, and taken up by one of two tabs open at once only; the Statistics box across a reload
and its reset; the records kept when storage refuses them, exported with a notice and
imported; the menu's radio marks and the settings
kept across a reload, and damaged settings giving the defaults;
Help and About; Quit's closing screen; a phone-sized window with touch; the page's script
fetched as one file; a call into the module that fails, logged and ended with Paint Error; no
console error or warning from the page in normal play; and the page, installable, played from
its service worker with the server stopped, a link with a code included.

The game is won in the testing page, whose module alone can say where the solution lies and
where the keyboard focus and a hint are. KZ_WEB_SHOTS names a folder for screenshots of the
boxes and of the focus frame.

usage: web_e2e.py PAGE_DIR TESTING_PAGE_DIR GOLDEN_DIR [TEST_NAME ...]
(only the tests named, as the report names them, when any are given)
"""
import base64
import datetime
import io
import itertools
import math
import os
import re
import shutil
import sys
import tempfile
import urllib.parse

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from browser_harness import Browser, run_page_tests  # noqa: E402
from e2e_basics import SOURCE_ROOT, Failure, built_file, check, time_limit, wait_until  # noqa: E402
from pictures import differs  # noqa: E402
from screen_layout import (AREA_H, AREA_W, CLOCK, FELT, INSTRUCTIONS, NEXT_BUTTON,  # noqa: E402
                           QUIT, QUIT_BUTTON, WIN_BANNER)
FATAL_TEXT = "An unexpected error occurs, the program will now exit."
VERSION_TEXT = "Version 1.1.2"
MAKER_ADDRESS = "https://kestrane-games.example/"

KEYS = {
    "ArrowRight": ("ArrowRight", 39), "ArrowLeft": ("ArrowLeft", 37),
    "ArrowDown": ("ArrowDown", 40), "ArrowUp": ("ArrowUp", 38),
    "Enter": ("Enter", 13), "Escape": ("Escape", 27), " ": ("Space", 32),
}
TEXTS = {"Enter": "\r", " ": " "}
CTRL, SHIFT = 2, 8  # modifiers of the DevTools protocol's key events
TITLE = "Kestrane Zivadorured"
CODE = "3MNWJ7CXSM"          # a 5 x 5 puzzle of the kind Add From None
FIRST_DAY = "2026-12-08"     # the first day with a puzzle
FIRST_DAY_CODE = CODE        # that day's puzzle
NOT_A_CODE_TEXT = "That is not a puzzle code. A code has 10 characters, such as 3MNWJ7CXSM."
SHOTS = os.environ.get("KZ_WEB_SHOTS", "")  # a folder for the boxes' screenshots, or none

# Counts the timer and animation callbacks the page runs, and the tones it plays, before any
# script of the page.
CALLBACK_COUNTER = """
window.kzCallbacks = 0;
// The browser's own, for the test's timers and frames, which the page's count leaves out.
window.kzUncounted = {setTimeout: window.setTimeout.bind(window),
                      requestAnimationFrame: window.requestAnimationFrame.bind(window)};
for (const name of ["setInterval", "setTimeout"]) {
    const original = window[name];
    window[name] = function(callback, ...rest) {
        return original.call(this, function(...args) {
            window.kzCallbacks++;
            return typeof callback === "function" ? callback.apply(this, args) : undefined;
        }, ...rest);
    };
}
window.kzTones = 0;
const originalStart = OscillatorNode.prototype.start;
OscillatorNode.prototype.start = function(...args) {
    window.kzTones++;
    return originalStart.apply(this, args);
};
const originalFrame = window.requestAnimationFrame;
window.requestAnimationFrame = function(callback) {
    return originalFrame.call(this, (time) => { window.kzCallbacks++; callback(time); });
};
"""

# Makes the canvas refuse frames once window.kzBreakPaint is set, so a call into the module
# fails in the middle of a message.
PAINT_FAILURE = """
window.kzBreakPaint = false;
const originalPut = CanvasRenderingContext2D.prototype.putImageData;
CanvasRenderingContext2D.prototype.putImageData = function(...args) {
    if (window.kzBreakPaint) {
        throw new Error("the canvas refuses the frame");
    }
    return originalPut.apply(this, args);
};
"""



# How often the page tries again to store records that wait (SessionRecords::kRetryMs).
RECORDS_RETRY = 10

# Where a document that goes away stores its mark (Page.mark_going); each mark is new.
GONE_KEY = "kzTestDocumentGone"
GONE_MARKS = itertools.count()

# A desktop window with room for the picture at one CSS pixel per game pixel and a little
# more: at a ratio of 1 the frame has the design's pixels, which the tests read.
DESKTOP = (720, 560)


def doubled(picture, factor):
    return picture.resize((picture.width * factor, picture.height * factor), Image.NEAREST)


def idle_at(idle, scale):
    """The idle screen as a frame of that many pixels for each game pixel draws it."""
    return idle if scale == 1 else Image.open(built_file(f"idle-{scale}x.png")).convert("RGB")


class Page:
    """The game page in one browser tab."""

    def __init__(self, browser, url):
        self.b = browser
        self.url = url

    def open(self, wait=True):
        if "#" in self.url:
            # From the same page another fragment would only change the address.
            self.b.driver.get("about:blank")
        self.b.driver.get(self.url)
        if wait:
            self.wait_running()

    def open_afresh(self, **settings):
        """Opens the page with nothing stored but these settings. The storage is emptied
        with no page of the game open: one that goes away keeps its game there."""
        parts = urllib.parse.urlsplit(self.url)
        # Emptied from a document of the site that runs no game. The page that goes may keep
        # its game after the next document has come (a page put in the back-forward cache
        # hides then), so the storage is emptied once that page has gone all the way.
        mark = self.mark_going()
        self.b.driver.get(f"{parts.scheme}://{parts.netloc}/page/manifest.webmanifest")
        if mark:
            wait_until(lambda: self.b.js("return localStorage.getItem(arguments[0]);", GONE_KEY)
                       == mark, 5, "the page that went away does not finish going")
        self.b.js("localStorage.clear();")
        self.open()
        if settings:
            self.b.js("".join(f"localStorage.setItem('{name}', '{value}');"
                              for name, value in settings.items()))
            self.open()

    def mark_going(self):
        """Has the document in the tab, when it is one of the site, store a mark of its own
        once it has handled the last event of going away: pagehide, then the change to
        hidden when it was shown. These listeners come after the page's, so what the page
        stores as it goes is stored before the mark. Returns the mark, or None for a
        document of no page of the site (the blank one of a new browser, which goes without
        those events)."""
        mark = f"{os.getpid()}-{next(GONE_MARKS)}"
        site = "{0}://{1}".format(*urllib.parse.urlsplit(self.url))
        stored = self.b.js("""const [key, mark, site] = arguments;
            if (location.origin !== site) {
                return false;
            }
            localStorage.removeItem(key);
            let going = false;
            window.addEventListener('pagehide', () => {
                going = true;
                if (document.visibilityState === 'hidden') localStorage.setItem(key, mark);
            });
            document.addEventListener('visibilitychange', () => {
                if (going && document.visibilityState === 'hidden') localStorage.setItem(key, mark);
            });
            return true;""", GONE_KEY, mark, site)
        return mark if stored else None

    def wait_running(self):
        wait_until(lambda: self.b.js("return document.documentElement.dataset.state") == "running"
                   or self.b.js("return document.getElementById('fatal').open"),
                   20, "the game did not start")
        check(not self.b.js("return document.getElementById('fatal').open"),
              "the page shows a fatal message: "
              + self.b.js("return document.getElementById('fatal-caption').textContent"))

    def picture(self):
        return self.b.canvas_picture("#screen")

    def views(self):
        """The parts of the picture the page shows: each one's source (x, y, width, height in
        game pixels) and box (left, top, width, height in CSS pixels of the viewport)."""
        return self.b.js("""return Array.from(document.querySelectorAll('.view'))
            .filter(v => !v.hidden && v.dataset.source).map(v => {
                const r = v.getBoundingClientRect();
                return [v.dataset.source.split(' ').map(Number),
                        [r.left, r.top, r.width, r.height]];
            });""")

    def view_pictures(self):
        """Each view's canvas as it holds its pixels, with the view's box."""
        shown = self.b.js("""return Array.from(document.querySelectorAll('.view'))
            .filter(v => !v.hidden).map(v => {
                const c = v.querySelector('canvas');
                const r = c.getBoundingClientRect();
                return [c.toDataURL('image/png'), [r.left, r.top, r.width, r.height]];
            });""")
        return [(Image.open(io.BytesIO(base64.b64decode(data.split(",", 1)[1]))).convert("RGB"),
                 box) for data, box in shown]

    def point(self, gx, gy):
        """A point of the game screen in CSS pixels of the viewport, in the view showing it;
        a point no view shows, beside the game's own canvas as it would lie there."""
        views = self.views()
        check(views, "the page shows no part of the picture")
        for (sx, sy, sw, sh), (left, top, width, height) in views:
            if sx <= gx < sx + sw and sy <= gy < sy + sh:
                break
        else:
            (sx, sy, sw, sh), (left, top, width, height) = views[0]
        return left + (gx - sx + 0.5) * width / sw, top + (gy - sy + 0.5) * height / sh

    def click(self, gx, gy):
        self.b.click(*self.point(gx, gy))

    def move(self, gx, gy):
        self.b.mouse("mouseMoved", *self.point(gx, gy))

    def key(self, name, alt=False, modifiers=0):
        """A key pressed and let go; modifiers as the DevTools protocol counts them."""
        modifiers |= 1 if alt else 0
        plain = not modifiers & ~SHIFT
        if name in KEYS:
            code, key_code = KEYS[name]
            self.b.key(name, code, key_code, modifiers=modifiers,
                       text=TEXTS.get(name) if plain else None)
        else:
            self.b.key(name, "Key" + name.upper(), ord(name.upper()),
                       modifiers=modifiers, text=name if plain else None)

    def announcements(self):
        """The sentences the live region holds, oldest first."""
        return self.b.js("return Array.from(document.querySelectorAll('#announcements > p'))"
                         ".map(p => p.textContent);")

    def disabled(self, label):
        return self.b.js("""return Array.from(document.querySelectorAll('[role=menuitem]')).find(
            e => e.querySelector('.label').textContent === arguments[0])
            .getAttribute('aria-disabled') === 'true';""", label)

    def title_code(self):
        title = self.b.js("return document.title")
        prefix = TITLE + " \u2014 "
        return title[len(prefix):] if title.startswith(prefix) else None

    def wait_picture(self, condition, what, timeout=5):
        return wait_until(lambda: (lambda p: p if condition(p) else None)(self.picture()),
                          timeout, what)

    def marked(self, group):
        return self.b.js(f"""return Array.from(document.querySelectorAll(
            '[role=menuitemradio][data-group="{group}"][aria-checked=true]'))
            .map(e => e.textContent.trim());""")

    def state(self):
        return self.b.js("return window.kzTestState ? window.kzTestState() : null;")

    def storage(self, name):
        return self.b.js(f"return localStorage.getItem('{name}');")

    def menu_item(self, label):
        """The centre of a visible menu item or menu bar item with this text."""
        box = self.b.js("""
            const item = Array.from(document.querySelectorAll(
                '[role=menuitem], [role=menuitemradio]')).find(
                e => e.querySelector('.label').textContent === arguments[0] && e.offsetParent);
            if (!item) return null;
            const r = item.getBoundingClientRect();
            return [r.left + r.width / 2, r.top + r.height / 2];""", label)
        check(box, f"no visible menu item '{label}'")
        return box

    def choose(self, *labels):
        """Picks a menu command with the mouse: each label clicked or hovered in turn."""
        for i, label in enumerate(labels):
            x, y = self.menu_item(label)
            if 0 < i < len(labels) - 1:
                self.b.mouse("mouseMoved", x, y)
            else:
                self.b.click(x, y)

    def focused_label(self):
        return self.b.js("const e = document.activeElement;"
                         "return e && e.querySelector('.label') ?"
                         " e.querySelector('.label').textContent : null;")


def check_console(browser, where):
    # The document that empties the storage makes the browser ask for the site's icon, which
    # the site has not: with the server stopped that fetch fails, through no fault of the page.
    problems = [entry for entry in browser.console()
                if entry.get("level") in ("WARNING", "SEVERE")
                and not (entry.get("source") == "network"
                         and "/favicon.ico " in entry.get("message", ""))]
    check(not problems, f"the console shows errors or warnings {where}: {problems}")


def test_fatal_messages(browser, server):
    page = Page(browser, server.url("test-page/"))
    browser.cdp("Network.enable")
    browser.cdp("Network.setBlockedURLs", urls=["*.wasm"])
    page.open(wait=False)
    wait_until(lambda: browser.js("return document.getElementById('fatal').open"), 20,
               "no fatal message when the module cannot load")
    check(browser.js("return document.getElementById('fatal-caption').textContent")
          == "Window Error", "the module that cannot load does not give 'Window Error'")
    check(browser.js("return document.getElementById('fatal-text').textContent") == FATAL_TEXT,
          "the fatal message has another text")
    # OK leads to the closing screen, which can start the game again.
    browser.js("document.querySelector('#fatal button').click();")
    wait_until(lambda: browser.js("return !document.getElementById('ended').hidden"), 5,
               "no closing screen after the fatal message")
    browser.cdp("Network.setBlockedURLs", urls=[])
    browser.js("document.getElementById('play-again').click();")
    page.wait_running()

    script = browser.cdp("Page.addScriptToEvaluateOnNewDocument",
                         source="HTMLCanvasElement.prototype.getContext = () => null;")
    page.open(wait=False)
    wait_until(lambda: browser.js("return document.getElementById('fatal').open"), 20,
               "no fatal message for a canvas without a 2D context")
    check(browser.js("return document.getElementById('fatal-caption').textContent")
          == "Direct Draw Error", "a canvas without a 2D context does not give 'Direct Draw Error'")
    browser.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])
    browser.console()  # the blocked module's messages belong to this test


def test_pixels(browser, server, idle):
    page = Page(browser, server.url("page/"))
    # A window with room for the picture at one device pixel per game pixel and a little
    # more: the page keeps it at that size, sharp.
    browser.emulate(720, 560, 1)
    page.open()
    picture = page.picture()
    check(picture.size == idle.size, f"the canvas is {picture.size}, not {idle.size}")
    check(not differs(picture, idle), "the canvas differs from the idle golden picture")
    left, top, width, height = browser.box("#screen")
    check((width, height) == idle.size, f"at ratio 1 the canvas shows as {width} x {height}")
    shot = browser.screenshot().crop((round(left), round(top), round(left) + idle.width,
                                      round(top) + idle.height))
    check(not differs(shot, idle), "at ratio 1 the screen does not show the canvas's pixels")

    browser.emulate(720, 560, 2)
    wait_until(lambda: browser.js("return window.devicePixelRatio") == 2, 5, "no ratio 2")
    left, top, width, height = wait_until(
        lambda: (lambda b: b if (b[2], b[3]) == idle.size else None)(browser.box("#screen")),
        5, "at ratio 2 the canvas does not keep its size in CSS pixels")
    check(browser.js("return getComputedStyle(document.getElementById('screen')).imageRendering")
          == "pixelated", "at ratio 2 the picture is not scaled by nearest neighbour")
    x, y = round(left * 2), round(top * 2)
    # The page shows the 1x frame doubled until the set of twice the size has come, then
    # that set's frame: either way one canvas pixel on one device pixel, and in the end the
    # larger art.
    try:
        wait_until(lambda: not differs(browser.screenshot().crop(
            (x, y, x + idle.width * 2, y + idle.height * 2)), idle_at(idle, 2)), 10,
            "at ratio 2 the screen does not show the canvas's pixels of the larger art")
    finally:
        browser.emulate(*DESKTOP, 1)
    check_console(browser, "on the first start")


def callbacks_over(browser, seconds):
    """The page's timer and animation callbacks counted (CALLBACK_COUNTER) before and after a
    span of that many seconds of the page's own clock, and the frames drawn in it: read once
    a timer of the test's, set for the end of the span, has run and a frame after it has
    been drawn, so every timer of the page due in the span has had its turn, and any frame
    the page asked for."""
    return browser.async_js("""const done = arguments[arguments.length - 1];
        const {setTimeout: later, requestAnimationFrame: nextFrame} = window.kzUncounted;
        const before = window.kzCallbacks;
        let frames = 0;
        let over = false;
        later(() => { over = true; }, arguments[0] * 1000);
        const frame = () => {
            frames++;
            if (over) {
                done([before, window.kzCallbacks, frames]);
            } else {
                nextFrame(frame);
            }
        };
        nextFrame(frame);""", seconds)


def check_no_callbacks(browser, seconds, what):
    """No timer or animation callback of the page runs in that many seconds, while frames are
    drawn all along."""
    before, after, frames = callbacks_over(browser, seconds)
    check(frames >= 2, f"the browser drew {frames} frames in {seconds} s")
    check(after == before, f"{what} ({after - before} in {seconds} s)")


def test_game(browser, server, idle, won):
    page = Page(browser, server.url("test-page/"))
    script = browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=CALLBACK_COUNTER)
    page.open()
    # Idle: no timer or animation callback at all, over twice the clock's tick.
    check_no_callbacks(browser, 2, "the page runs timer or animation callbacks while no game runs")

    page.click(*NEXT_BUTTON)
    playing = page.wait_picture(lambda p: differs(p, idle, INSTRUCTIONS),
                                "Next shows no instruction")
    page.wait_picture(lambda p: differs(p, playing, CLOCK), "the clock does not tick", 4)
    state = page.state()
    check(state and state["clicks"], f"the testing module names no solution: {state}")

    # Hovering the first stick to change changes its look.
    first = state["clicks"][0]
    page.move(first[0] - 30, first[1] - 30)
    before = page.picture()
    page.move(*first)
    stick = (first[0] - 5, first[1] - 5, first[0] + 6, first[1] + 6)
    page.wait_picture(lambda p: differs(p, before, stick), "hovering a stick does not change it")

    for x, y in state["clicks"]:
        page.click(x, y)
    winning = page.wait_picture(lambda p: not differs(p, won, WIN_BANNER),
                                f"clicking the solution {state} does not win the game")
    check(browser.js("return window.kzTones") == 1, "the win does not beep once")
    # Longer than the clock's tick of a second.
    check_no_callbacks(browser, 1.5, "the page runs timer callbacks after the game was won")
    check(not differs(page.picture(), winning, CLOCK), "the clock runs on after the win")

    # Quit ends the session with a closing screen that can start it again.
    page.click(*QUIT_BUTTON)
    wait_until(lambda: browser.js("return !document.getElementById('ended').hidden"), 5,
               "Quit shows no closing screen")
    check(browser.js("return document.getElementById('window').hidden"),
          "the game stays on the page after Quit")
    browser.js("document.getElementById('play-again').click();")
    page.wait_running()
    # So does Game > Exit, here from the keyboard.
    page.key("g", alt=True)
    page.key("x")
    wait_until(lambda: browser.js("return !document.getElementById('ended').hidden"), 5,
               "Exit shows no closing screen")
    browser.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])
    check_console(browser, "during a game")


def masked(picture, box):
    """The picture with one area painted over, to compare the rest."""
    picture = picture.copy()
    picture.paste((255, 0, 255), box)
    return picture


def save_shot(browser, name, element=None):
    """Keeps a screenshot of the page (or of one element's box) when a folder is given."""
    if not SHOTS:
        return
    shot = browser.screenshot()
    if element:
        # The box is in CSS pixels, the screenshot in device pixels.
        ratio = browser.js("return window.devicePixelRatio")
        left, top, width, height = (value * ratio for value in browser.box(element))
        margin = 8 * ratio
        shot = shot.crop((max(0, round(left - margin)), max(0, round(top - margin)),
                          round(left + width + margin), round(top + height + margin)))
    os.makedirs(SHOTS, exist_ok=True)
    shot.save(os.path.join(SHOTS, name + ".png"))


def focus_on(page, target):
    """Moves the keyboard focus onto the stick at the game point target with the arrow keys
    alone: from a button right onto the field; on it up and down while the target lies about
    as far or further down than across (a vertical stick's neighbours lie half a stick away
    both ways), else left and right."""
    for _ in range(60):
        state = page.state()
        if state["focusShown"] and state["focus"] == target:
            return
        (x, y), (tx, ty) = state["focus"], target
        if not state["focusShown"] or not state["focusOnStick"]:
            key = "ArrowRight"  # the first arrow shows the frame where the focus is
        elif abs(ty - y) >= abs(tx - x) - 20:
            key = "ArrowDown" if ty > y else "ArrowUp"
        else:
            key = "ArrowRight" if tx > x else "ArrowLeft"
        page.key(key)
    raise Failure(f"the arrow keys do not bring the focus from {state['focus']} to {target}")


def test_keyboard_game(browser, server, idle, won):
    """A whole game with keys alone: Next, hints followed with the arrows and Space, an undo
    and a redo on the way, the win; what a screen reader hears of it, the greyed menu items,
    the keys kept from the browser, the notice of a new best time and the records after a
    reload."""
    page = Page(browser, server.url("test-page/"))
    # Add From None on 2 x 2: every puzzle takes several moves, so one can be undone before
    # the win.
    page.open_afresh(dimensionsRange=2, actionType=1)
    canvas = browser.js("""const c = document.getElementById('screen');
        const d = document.getElementById(c.getAttribute('aria-describedby'));
        return [c.getAttribute('role'), c.getAttribute('aria-label'), d && d.textContent];""")
    check(canvas[0] == "application" and canvas[1] and canvas[2],
          f"the canvas has no role, name or description: {canvas}")
    check(browser.js("return document.getElementById('announcements').getAttribute('aria-live')")
          == "polite", "the page has no polite live region")
    check(all(page.disabled(label) for label in ("Undo", "Redo", "Hint")),
          "Undo, Redo or Hint is usable before a game")
    # Which keys reach the browser's own use: a window listener sees them after the page's.
    browser.js("""window.kzKept = [];
        window.addEventListener('keydown', (e) => { if (e.defaultPrevented) kzKept.push(e.key); });""")
    window_size = browser.box("#window")

    page.key("ArrowRight")
    check(page.announcements()[-1:] == ["Next"], f"the focus on Next says {page.announcements()}")
    page.key(" ")
    playing = page.wait_picture(lambda p: differs(p, idle, INSTRUCTIONS),
                                "Space on Next starts no game")
    heard = page.announcements()
    check(any(re.fullmatch(r"(Add|Remove|Move) \d+ match(es)? to form \d+ squares?\.", line)
              for line in heard), f"a new game does not say its instruction: {heard}")
    description = browser.js("return document.getElementById('screen-description').textContent")
    check(not page.disabled("Hint") and page.disabled("Undo"),
          "Hint is greyed or Undo usable at the start of a game")
    page.wait_picture(lambda p: differs(p, playing, CLOCK), "the clock does not tick", 4)

    undone = False
    for _ in range(30):
        if not differs(page.picture(), won, WIN_BANNER):
            break
        page.key("h")
        hint = page.announcements()[-1]
        check(re.fullmatch(r"Hint: (add|take away|remove|put back|pick up|put it down at) .+",
                           hint), f"a hint says {hint!r}")
        hinted = page.state()["hinted"]
        check(hinted, "H shows no hint")
        focus_on(page, hinted)
        page.key(" ")
        moves = page.announcements()[-1]
        # Once a change is made (in a move puzzle, the stick put down again).
        if not undone and not page.disabled("Undo") and re.fullmatch(r"[Mm]ove 1 of \d+", moves):
            undone = True
            page.key("z", modifiers=CTRL)
            said = page.announcements()[-1]
            check(said.startswith("Undo, move 0 of"), f"Ctrl+Z says {said!r} after {moves!r}")
            check(page.disabled("Undo") and not page.disabled("Redo"),
                  "after the undo Undo is usable or Redo greyed")
            page.key("Z", modifiers=CTRL | SHIFT)
            said = page.announcements()[-1]
            check(said.startswith("Redo, move 1 of"), f"Ctrl+Shift+Z says {said!r}")
            check(not page.disabled("Undo") and page.disabled("Redo"),
                  "after the redo Undo is greyed or Redo usable")
    page.wait_picture(lambda p: not differs(p, won, WIN_BANNER),
                      f"following the hints with keys does not win: {page.announcements()}")
    check(undone, "no change of the game could be undone")
    check("You win!" in page.announcements(), f"the win says {page.announcements()}")
    check(browser.js("return document.getElementById('screen-description').textContent")
          != description, "the canvas's description does not follow the game")
    check(page.disabled("Hint"), "Hint is usable after the win")
    kept = browser.js("return window.kzKept")
    check({"ArrowRight", " ", "h", "z", "Z"} <= set(kept),
          f"keys the game took reach the browser too (kept from it: {sorted(set(kept))})")
    page.key("a")
    check(browser.js("return window.kzKept.includes('a')") is False,
          "a key the game does not use is kept from the browser")

    # The first win of a table is its best time: a notice says so, over the menu bar's free
    # end, neither on the game nor moving it.
    notice = wait_until(lambda: browser.js("""const n = document.getElementById('notice');
        return n.hidden ? null : n.textContent;"""), 3, "a new best time shows no notice")
    check(notice.startswith("New best time: ") and notice in page.announcements(),
          f"the notice says {notice!r}; the live region {page.announcements()}")
    notice_box, canvas_box = browser.box("#notice"), browser.box("#screen")
    check(notice_box[1] + notice_box[3] <= canvas_box[1],
          f"the notice {notice_box} covers the game {canvas_box}")
    check(browser.box("#window") == window_size, "the notice changes the page's layout")
    save_shot(browser, "notice-and-focus-frame", "#window")
    # It fades by itself.
    wait_until(lambda: browser.js("return document.getElementById('notice').hidden"), 10,
               "the notice stays")

    # Menus still open from the keyboard during play.
    page.key("g", alt=True)
    wait_until(lambda: page.focused_label() == "Undo", 3, "Alt+G does not open the Game menu")
    page.key("Escape")
    page.key("Escape")
    check_statistics(page, ("1", "1", "0"), "after a win")
    page.open()
    check_statistics(page, ("1", "1", "0"), "after a win and a reload")
    check_console(browser, "in a game played with keys")


def open_statistics(page):
    page.key("g", alt=True)
    page.key("a")
    wait_until(lambda: page.b.js("return document.getElementById('statistics').open"), 3,
               "Statistics... opens no box")


def records_rows(page, table="#records-table table"):
    return page.b.js(f"""return Array.from(document.querySelectorAll(
        '{table} tbody tr')).map(r => Array.from(r.cells).map(c => c.textContent));""")


def grade_rows(page):
    """The rows of the grades' table: the grade, then the counts of the records' table."""
    return records_rows(page, "#grades-table table:not(.turned)")


def check_statistics(page, counts, when):
    """The Statistics box holds one row whose Played, Won and Given up are counts."""
    open_statistics(page)
    rows = records_rows(page)
    check(len(rows) == 1 and tuple(rows[0][2:5]) == counts,
          f"{when} the Statistics box shows {rows}, not {counts} games played, won, given up")
    page.key("Escape")
    wait_until(lambda: not page.b.js("return document.getElementById('statistics').open"), 3,
               "Esc does not close Statistics")


# Stands in for a browser's share sheet: keeps what it was given.
SHARE_SHEET = """
window.kzShared = [];
navigator.share = (data) => { window.kzShared.push(data); return Promise.resolve(); };
"""
# A browser without a share sheet.
NO_SHARE_SHEET = "delete Navigator.prototype.share; delete navigator.share;"


def read_clipboard(browser):
    return browser.async_js("""const done = arguments[arguments.length - 1];
        navigator.clipboard.readText().then(done, (e) => done('refused: ' + e));""")


def board_picture(page):
    """The game's picture without the clock, which ticks on."""
    return masked(page.picture(), CLOCK)


def test_puzzle_codes(browser, server):
    """Codes in the page's address (#p=CODE), as it opens and as it changes, the title that
    names the puzzle, the same code twice giving the same picture, a wrong code; the Play
    Puzzle Code box; Copy Puzzle Code and Share through the clipboard and a share sheet."""
    base = server.url("test-page/")
    page = Page(browser, base)
    page.open_afresh()
    settings = page.state()
    check(browser.js("return document.title") == TITLE, "the title names a puzzle before any")
    entries = browser.js("return history.length")
    page.click(*NEXT_BUTTON)
    random_code = wait_until(page.title_code, 3, "the title does not name the puzzle of Next")
    check(browser.js("return location.hash") == "#p=" + random_code,
          f"the address does not carry the code {random_code}: {browser.driver.current_url}")
    check(browser.js("return history.length") == entries,
          "the code in the address made a history entry")
    first = board_picture(page)

    page.url = base + "#p=" + CODE
    page.open()
    check(page.title_code() == CODE, f"#p={CODE} shows {browser.js('return document.title')}")
    linked = board_picture(page)
    check(differs(linked, first), "the linked puzzle looks like the random one")
    check(page.state()["fieldSize"] == settings["fieldSize"]
          and page.state()["actionType"] == settings["actionType"],
          "a linked puzzle changes the settings")
    # A new code in the address, as after a click on another link: that puzzle, twice alike.
    browser.js(f"location.hash = '#p={random_code}';")
    wait_until(lambda: page.title_code() == random_code, 3, "a changed address plays nothing")
    check(not differs(board_picture(page), first),
          f"{random_code} played again does not look as it did")
    browser.js("location.hash = '#p=" + CODE[:5].lower() + "-" + CODE[5:].lower() + "';")
    wait_until(lambda: page.title_code() == CODE, 3, "a code in lower case with a hyphen")
    check(not differs(board_picture(page), linked), f"{CODE} played again does not look as it did")

    # A wrong code changes nothing and says why in the Play Puzzle Code box.
    browser.js("location.hash = '#p=3MNWJ7CXSN';")
    wait_until(lambda: browser.js("return document.getElementById('puzzle-code-box').open"), 3,
               "a wrong code in the address opens no box")
    check(browser.js("return document.getElementById('puzzle-code-message').textContent")
          == NOT_A_CODE_TEXT, "the box does not say the code is wrong")
    check(browser.js("return document.getElementById('puzzle-code').value") == "3MNWJ7CXSN",
          "the box does not show the wrong code")
    check(page.title_code() == CODE and not differs(board_picture(page), linked),
          "a wrong code changed the puzzle")
    check(browser.js("return location.hash") == "", "the wrong code stays in the address")
    page.key("Escape")
    wait_until(lambda: not browser.js("return document.getElementById('puzzle-code-box').open"),
               3, "Esc does not close Play Puzzle Code")

    # The box from the menu: a wrong code keeps it open, a good one plays.
    page.choose("Game", "Play Puzzle Code...")
    wait_until(lambda: browser.js("return document.activeElement.id") == "puzzle-code", 3,
               "Play Puzzle Code... does not put the focus in its field")
    check(browser.js("return document.getElementById('puzzle-code-message').textContent") == "",
          "the box opens with a message")
    browser.driver.switch_to.active_element.send_keys("BANANA\n")
    wait_until(lambda: browser.js("return document.getElementById('puzzle-code-message')"
                                  ".textContent") == NOT_A_CODE_TEXT, 3,
               "OK with a wrong code says nothing")
    check(browser.js("return document.getElementById('puzzle-code-box').open"),
          "a wrong code closes the box")
    save_shot(browser, "play-puzzle-code", "#puzzle-code-box")
    field = browser.driver.switch_to.active_element
    check(field.get_attribute("id") == "puzzle-code", "after a wrong code the field lost the focus")
    field.send_keys(random_code + "\n")
    wait_until(lambda: page.title_code() == random_code, 3, "OK with a good code plays nothing")
    check(not browser.js("return document.getElementById('puzzle-code-box').open"),
          "a good code leaves the box open")
    check(not differs(board_picture(page), first), f"{random_code} from the box looks otherwise")

    # Today's puzzle is one for the whole day.
    page.choose("Game", "Today's Puzzle")
    todays = wait_until(lambda: (lambda c: c if c != random_code else None)(page.title_code()),
                        3, "Today's Puzzle plays nothing new")
    todays_picture = board_picture(page)
    page.choose("Game", "Today's Puzzle")
    check(page.title_code() == todays and not differs(board_picture(page), todays_picture),
          "Today's Puzzle twice gives two puzzles")
    page.choose("Game", "Play Puzzle Code...")
    browser.driver.switch_to.active_element.send_keys(random_code + "\n")
    wait_until(lambda: page.title_code() == random_code, 3, "the code from the box plays nothing")

    # Copy Puzzle Code and Share with the clipboard open to the page.
    browser.cdp("Browser.grantPermissions", origin=server.url().rstrip("/"),
                permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
    page.choose("Game", "Copy Puzzle Code")
    wait_until(lambda: read_clipboard(browser) == random_code, 3,
               f"Copy Puzzle Code leaves {read_clipboard(browser)!r} on the clipboard")
    link = base + "#p=" + random_code
    script = browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=NO_SHARE_SHEET)
    page.url = base + "#p=" + CODE
    page.open()
    page.choose("Game", "Share")
    wait_until(lambda: read_clipboard(browser) == base + "#p=" + CODE, 3,
               f"Share without a share sheet copies {read_clipboard(browser)!r}")
    check("Link to this puzzle copied." in page.announcements(),
          f"the copied link is not announced: {page.announcements()}")
    check(not browser.js("return document.getElementById('notice').hidden"),
          "the copied link shows no notice")
    browser.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])
    script = browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=SHARE_SHEET)
    page.url = link
    page.open()
    page.choose("Game", "Share")
    shared = wait_until(lambda: browser.js("return window.kzShared"), 3, "Share opens no sheet")
    check(len(shared) == 1 and shared[0]["url"] == link and random_code in shared[0]["title"],
          f"the share sheet was given {shared}, not {link}")
    browser.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])
    check_console(browser, "with puzzle codes")


def test_past_days(browser, server):
    """A link to a day (#d=) plays that day's puzzle with the day in the title, and a day to
    come or no date at all is passed over; the Past Puzzle box opens on today within the days
    that have a puzzle, refuses a day to come and plays a past day from the keyboard and by
    touch; today's result copied on the page ends with a link to the day."""
    base = server.url("test-page/")
    page = Page(browser, base)
    page.open_afresh()
    today = datetime.datetime.now(datetime.timezone.utc).date().isoformat()
    first_title = f"{FIRST_DAY_CODE} \u2014 puzzle of {FIRST_DAY}"
    page.url = base + "#d=" + FIRST_DAY
    page.open()
    wait_until(lambda: page.title_code() == first_title, 3,
               f"#d={FIRST_DAY} shows {browser.js('return document.title')}")
    check(browser.js("return location.hash") == "#d=" + FIRST_DAY,
          f"the address does not name the day: {browser.driver.current_url}")
    first_picture = board_picture(page)
    for wrong in ("2999-01-01", "2026-12-07", "2026-02-30", "banana", ""):
        browser.js(f"location.hash = '#d={wrong}';")
        wait_until(lambda: browser.js("return location.hash") == "", 3,
                   f"#d={wrong} stays in the address")
        check(page.title_code() == first_title and not browser.js(
            "return document.querySelector('dialog[open]') !== null"),
            f"#d={wrong} changed the puzzle or opened a box: {page.title_code()}")
    check(not differs(board_picture(page), first_picture), "a wrong day changed the field")

    # The box from the keyboard: today chosen, the days from the first puzzle's to today.
    page.choose("Game", "Past Puzzle...")
    wait_until(lambda: browser.js("return document.activeElement.id") == "past-day", 3,
               "Past Puzzle... does not put the focus in its field")
    field = browser.js("const f = document.getElementById('past-day');"
                       "return [f.value, f.min, f.max];")
    check(field == [today, FIRST_DAY, today], f"the day field holds {field}")
    save_shot(browser, "past-puzzle", "#past-day-box")
    # A day to come, as a date picker may still offer it, is refused and the box stays.
    browser.js("document.getElementById('past-day').value = '2999-01-01';")
    browser.driver.switch_to.active_element.send_keys("\n")
    wait_until(lambda: "wrong" in browser.js(
        "return document.getElementById('past-day-range').className"), 3,
        "a day to come is not refused")
    check(browser.js("return document.getElementById('past-day-box').open"),
          "a day to come closes the box")
    check(page.title_code() == first_title, "a day to come changed the puzzle")
    browser.js("document.getElementById('past-day').value = arguments[0];", today)
    browser.driver.switch_to.active_element.send_keys("\n")
    wait_until(lambda: f"puzzle of {today}" in (page.title_code() or ""), 3,
               "Enter on today plays nothing")
    check(not browser.js("return document.getElementById('past-day-box').open"),
          "a good day leaves the box open")
    check(browser.js("return location.hash") == "#d=" + today, "the address does not name today")

    # Solved, today's result ends with the link to the day, and gives no solution away.
    browser.cdp("Browser.grantPermissions", origin=server.url().rstrip("/"),
                permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
    state = page.state()
    check(state and state["clicks"], f"the testing module names no solution: {state}")
    for x, y in state["clicks"]:
        page.click(x, y)
    page.choose("Game", "Copy Today's Result")
    result = wait_until(lambda: (lambda t: t if t.startswith(TITLE) else None)(
        read_clipboard(browser)), 3, "Copy Today's Result copies nothing")
    lines = result.split("\n")
    check(lines[0].startswith(f"{TITLE}, puzzle of {today}") and lines[1].startswith("Solved in ")
          and lines[-2].startswith("Puzzle code ") and lines[-1] == base + "#d=" + today
          and len(lines) <= 5, f"today's result is {result!r}")
    notice = browser.js("return document.getElementById('notice').textContent")
    check(notice == "Today's result copied." and notice in page.announcements(),
          f"the copy's notice says {notice!r}; the live region {page.announcements()}")
    save_shot(browser, "todays-result-copied")

    # By touch, on a phone: the box fits the screen and its OK is a tap away.
    browser.emulate(390, 844, 3, mobile=True)
    browser.cdp("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=1)
    try:
        page.choose("Game", "Past Puzzle...")
        wait_until(lambda: browser.js("return document.getElementById('past-day-box').open"), 3,
                   "Past Puzzle... opens no box on a phone")
        left, top, width, height = browser.box("#past-day-box")
        check(left >= 0 and left + width <= 390 and top >= 0 and top + height <= 844,
              f"the box does not fit the phone's screen: {(left, top, width, height)}")
        save_shot(browser, "past-puzzle-phone", "#past-day-box")
        browser.js("document.getElementById('past-day').value = arguments[0];", FIRST_DAY)
        ok = browser.box("#past-day-ok")
        browser.tap(ok[0] + ok[2] / 2, ok[1] + ok[3] / 2)
        wait_until(lambda: page.title_code() == first_title, 3,
                   f"a tap on OK plays {browser.js('return document.title')}")
    finally:
        browser.cdp("Emulation.setTouchEmulationEnabled", enabled=False)
        browser.cdp("Emulation.clearDeviceMetricsOverride")
    check_console(browser, "with past days")


def test_resume(browser, server):
    """A game in progress comes back across a reload (its own #p= link in the address) and
    on a visit without a link: the same puzzle, field, moves and clock (give or take a
    second), and undo back to the start; a link to another puzzle replaces it, and only then
    does it count, as left."""
    base = server.url("test-page/")
    page = Page(browser, base)
    page.open_afresh(dimensionsRange=3, actionType=1)
    page.click(*NEXT_BUTTON)
    code = wait_until(page.title_code, 3, "Next plays no puzzle")
    page.move(*FELT)
    start = board_picture(page)
    clicks = page.state()["clicks"]
    check(len(clicks) >= 4, f"Add From None takes at least four matches: {clicks}")
    for x, y in clicks[:2]:
        page.click(x, y)
    page.move(*FELT)
    wait_until(lambda: page.state()["moves"] == 2 and page.state()["clock"] >= 2, 5,
               "two moves and two seconds")
    played = board_picture(page)
    kept = page.storage("game")
    check(kept and f"puzzle={code}\n" in kept and re.search(r"^moves=[hv]\d+ [hv]\d+$", kept, re.M),
          f"the game is not kept at each move: {kept!r}")

    # Hidden (a tab in the background, which a phone may close unseen): kept with its clock.
    browser.js("Object.defineProperty(document, 'visibilityState', "
               "{value: 'hidden', configurable: true});"
               "document.dispatchEvent(new Event('visibilitychange'));"
               "delete document.visibilityState;")
    clock = re.search(r"^clock=(\d+)$", page.storage("game"), re.M)
    check(clock and int(clock.group(1)) >= 2,
          f"a hidden page keeps its game without the clock: {page.storage('game')!r}")

    for how in ("reload", "visit"):
        seconds = page.state()["clock"]
        if how == "reload":
            browser.driver.refresh()
            page.wait_running()
        else:
            page.open()  # the address without a link
        state = page.state()
        check(page.title_code() == code, f"after a {how} the title names {page.title_code()}")
        check(browser.js("return location.hash") == "#p=" + code,
              f"after a {how} the address is {browser.driver.current_url}")
        check(state["moves"] == 2 and abs(state["clock"] - seconds) <= 1,
              f"after a {how} at {seconds} s the game holds {state}")
        page.move(*FELT)
        check(not differs(board_picture(page), played), f"after a {how} the field is otherwise")
        save_shot(browser, f"resumed-after-{how}")
    open_statistics(page)
    check(records_rows(page) == [], f"a game taken up again is counted: {records_rows(page)}")
    page.key("Escape")
    wait_until(lambda: not browser.js("return document.getElementById('statistics').open"), 3,
               "Esc does not close Statistics")

    page.key("z", modifiers=CTRL)
    page.key("z", modifiers=CTRL)
    page.move(*FELT)
    wait_until(lambda: page.state()["moves"] == 0, 3, "undo back to the start")
    check(not differs(board_picture(page), start), "undone to the start, the field is otherwise")

    page.url = base + "#p=" + CODE
    page.open()
    check(page.title_code() == CODE, f"#p={CODE} shows {browser.js('return document.title')}")
    check(page.state()["moves"] == 0 and page.state()["clock"] <= 1,
          f"the linked puzzle starts afresh: {page.state()}")
    check_statistics(page, ("1", "0", "0"), "after a link replaced the game taken up again")
    check_console(browser, "with a game taken up again")


def kept_line(page, name):
    """A line of the game kept in storage (puzzle, moves, clock), or None."""
    found = re.search(rf"^{name}=(.*)$", page.storage("game") or "", re.M)
    return found.group(1) if found else None


def play_two_moves(page):
    """Next, then two matches added: the puzzle's code and the field as they then are."""
    page.click(*NEXT_BUTTON)
    code = wait_until(page.title_code, 3, "Next plays no puzzle")
    clicks = page.state()["clicks"]
    check(len(clicks) >= 4, f"Add From None takes at least four matches: {clicks}")
    for x, y in clicks[:2]:
        page.click(x, y)
    wait_until(lambda: page.state()["moves"] == 2, 5, "two moves")
    page.move(*FELT)
    return code, board_picture(page)


def test_one_tab_keeps_the_game(browser, server):
    """Two tabs of the page open at once: the one that gets the kept game's lock takes the game
    up and holds the lock while it lives; the other plays games of its own, neither reading
    nor overwriting the kept game, also as it closes. The kept game counts once, when it ends,
    and the tab that holds it takes it up again after a reload."""
    base = server.url("test-page/")
    page = Page(browser, base)
    page.open_afresh(dimensionsRange=3, actionType=1)
    code, field = play_two_moves(page)
    moves = kept_line(page, "moves")
    check(kept_line(page, "puzzle") == code and moves, f"no game kept: {page.storage('game')!r}")
    first = browser.driver.current_window_handle
    # No tab of the game is open; then two open, the second before the first has run.
    browser.driver.get("about:blank")
    try:
        page.open(wait=False)
        browser.driver.switch_to.new_window("tab")
        second = browser.driver.current_window_handle
        Page(browser, base).open(wait=False)
        tabs, holders = {}, []
        for handle in (first, second):
            browser.driver.switch_to.window(handle)
            tabs[handle] = Page(browser, base)
            tabs[handle].wait_running()
            if tabs[handle].title_code() == code:
                holders.append(handle)
        check(len(holders) == 1, f"{len(holders)} tabs took the kept game up")
        holder = holders[0]
        lender = second if holder == first else first

        browser.driver.switch_to.window(holder)
        state = tabs[holder].state()
        check(state["moves"] == 2, f"the tab that took the game up holds {state}")
        tabs[holder].move(*FELT)
        check(not differs(board_picture(tabs[holder]), field), "the game taken up looks otherwise")
        browser.driver.switch_to.window(lender)
        other = tabs[lender]
        check(other.title_code() is None and other.state()["moves"] == 0,
              f"the other tab took up a game: {browser.js('return document.title')}")
        # Its own game, changed, given up, then another left as the tab closes.
        # (Its puzzle may be the kept one's: each tab draws from a seed of the second it
        # started in.)
        other.click(*NEXT_BUTTON)
        wait_until(other.title_code, 3, "Next plays no puzzle in the other tab")
        check(other.state()["moves"] == 0, f"the other tab's Next goes on: {other.state()}")
        other.click(*other.state()["clicks"][0])
        wait_until(lambda: other.state()["moves"] == 1, 5, "a move in the other tab")
        other.click(*NEXT_BUTTON)  # Give Up
        other.click(*NEXT_BUTTON)
        wait_until(lambda: other.state()["moves"] == 0, 3, "a second game in the other tab")
        check(kept_line(other, "puzzle") == code and kept_line(other, "moves") == moves,
              f"the other tab's games touched the kept one: {other.storage('game')!r}")
        browser.driver.close()
        browser.driver.switch_to.window(holder)
        check(kept_line(page, "puzzle") == code and kept_line(page, "moves") == moves,
              f"the other tab's end touched the kept game: {page.storage('game')!r}")

        # The holder, reloaded, gets the lock again and goes on.
        browser.driver.refresh()
        holding = Page(browser, base)
        holding.wait_running()
        check(holding.title_code() == code and holding.state()["moves"] == 2,
              f"after a reload the tab holds {holding.title_code()} {holding.state()}")
        # The other tab's two games; then the kept one given up counts as one more.
        check_statistics(holding, ("2", "0", "1"), "with the kept game still running")
        holding.click(*NEXT_BUTTON)  # Give Up
        wait_until(lambda: kept_line(holding, "puzzle") is None, 3, "the game ended is kept")
        check_statistics(holding, ("3", "0", "2"), "once the kept game ended")
        check_console(browser, "with two tabs")
    finally:
        for handle in browser.driver.window_handles:
            if handle != first:
                browser.driver.switch_to.window(handle)
                browser.driver.close()
        browser.driver.switch_to.window(first)


def test_browser_restarted(server):
    """A game in progress comes back after the browser is quit and started again on the same
    profile, the page opened without a link: its puzzle, moves and field."""
    profile = tempfile.mkdtemp(prefix="kz-profile-")
    base = server.url("test-page/")
    try:
        with Browser(*DESKTOP, profile=profile) as browser:
            page = Page(browser, base)
            page.open_afresh(dimensionsRange=3, actionType=1)
            code, field = play_two_moves(page)
            check(kept_line(page, "puzzle") == code, "the game is not kept")
        with Browser(*DESKTOP, profile=profile) as browser:
            page = Page(browser, base)
            page.open()
            state = page.state()
            check(page.title_code() == code, f"after a restart the title names {page.title_code()}")
            check(browser.js("return location.hash") == "#p=" + code,
                  f"after a restart the address is {browser.driver.current_url}")
            check(state["moves"] == 2, f"after a restart the game holds {state}")
            page.move(*FELT)
            check(not differs(board_picture(page), field), "after a restart the field is otherwise")
            save_shot(browser, "resumed-after-restart")
            check_console(browser, "after a restart")
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def test_statistics(browser, server):
    """A game given up counts in the Statistics box, also after a reload; Reset Statistics...
    asks first, and clears them for good."""
    page = Page(browser, server.url("test-page/"))
    page.open_afresh()
    open_statistics(page)
    check(records_rows(page) == [] and browser.js(
        "return document.getElementById('records-table').textContent").startswith(
        "No games played yet."), "before any game the box shows records")
    check(browser.js("return document.getElementById('reset-statistics').disabled"),
          "Reset Statistics... is usable with nothing to reset")
    page.key("Escape")
    page.click(*NEXT_BUTTON)
    wait_until(page.title_code, 3, "Next starts no game")
    page.click(*NEXT_BUTTON)  # Give Up, where Next was
    check(page.storage("records"), "the game given up is not stored")
    page.open()
    open_statistics(page)
    rows = records_rows(page)
    check(len(rows) == 1 and rows[0][:5] == ["Random", "Mixed", "1", "0", "1"],
          f"after a reload the box shows {rows}")
    check([row[:4] for row in grade_rows(page)] == [["Ungraded", "1", "0", "1"]],
          f"a game of As Designed is counted by grade as {grade_rows(page)}")
    headings = browser.js("return Array.from(document.querySelectorAll('#records-table th'))"
                          ".map(h => h.textContent);")
    check(headings[:3] == ["Field size", "Action type", "Played"] and len(headings) == 9,
          f"the table's headings are {headings}")

    # A game of Hard counts in Hard's row as well as in its table.
    page.key("Escape")
    page.choose("Options", "Difficulty", "Hard")
    give_up_a_game(page)
    open_statistics(page)
    check([row[:4] for row in grade_rows(page)] == [["Hard", "1", "0", "1"],
                                                     ["Ungraded", "1", "0", "1"]],
          f"a game of Hard given up is counted by grade as {grade_rows(page)}")
    check([row[:5] for row in records_rows(page)] == [["Random", "Mixed", "2", "0", "2"]],
          f"the table counts the games of every grade: {records_rows(page)}")
    check(re.search(r"^grade difficulty=3 played=1 won=0 given-up=1 ", page.storage("records"),
                    re.M), f"the grade is not stored: {page.storage('records')!r}")
    headings = browser.js("return Array.from(document.querySelectorAll("
                          "'#grades-table table:not(.turned) th')).map(h => h.textContent);")
    check(headings[:2] == ["Grade", "Played"] and len(headings) == 8,
          f"the grades' headings are {headings}")
    save_shot(browser, "statistics-grades", "#statistics")
    # On a narrow phone the grades' table is turned, a column for each grade, and read whole
    # with no scrolling.
    browser.emulate(360, 640, 2, mobile=True)
    try:
        turned = "#grades-table table.turned"
        table = wait_until(lambda: (lambda box: box if box[2] else None)(browser.box(turned)),
                           3, "at 360 pixels wide the grades' table is not turned")
        body = browser.box("#statistics .box-body")
        check(table[0] >= body[0] and table[0] + table[2] <= body[0] + body[2] <= 360,
              f"at 360 pixels wide the grades' table lies at {table}, in the box at {body}")
        check(browser.box("#grades-table table:not(.turned)")[2] == 0,
              "at 360 pixels wide the grades' rows show beside the turned table")
        grades = browser.js(f"return Array.from(document.querySelectorAll('{turned} thead th'))"
                            ".map(h => h.textContent);")
        check(grades == ["Hard", "Ungraded"] and records_rows(page, turned)[:3] == [
            ["Played", "1", "1"], ["Won", "0", "0"], ["Given up", "1", "1"]],
              f"the turned table has grades {grades} and rows {records_rows(page, turned)}")
        save_shot(browser, "statistics-360")
        browser.emulate(390, 844, 3, mobile=True)
        save_shot(browser, "statistics-390")
    finally:
        browser.cdp("Emulation.clearDeviceMetricsOverride")
    check(browser.js("return getComputedStyle(document.querySelector("
                     "'#statistics tbody td:nth-child(3)')).textAlign") == "right",
          "the numbers are not flush right")
    lines = browser.js("return [document.getElementById('todays-puzzle').textContent,"
                       "document.getElementById('days-in-a-row').textContent];")
    check(lines[0] == "Today's puzzle: not solved yet." and lines[1].startswith("Days in a row: "),
          f"the lines under the table say {lines}")
    save_shot(browser, "statistics", "#statistics")

    # The reset asks first; Cancel (where the focus starts) keeps everything.
    browser.js("document.getElementById('reset-statistics').click();")
    wait_until(lambda: browser.js("return document.getElementById('reset-box').open"), 3,
               "Reset Statistics... asks nothing")
    check(browser.js("return document.activeElement.id") == "reset-cancel",
          "the question does not start on Cancel")
    save_shot(browser, "reset-statistics", "#reset-box")
    page.key("Enter")
    check(not browser.js("return document.getElementById('reset-box').open")
          and len(records_rows(page)) == 1, "Cancel does not keep the records")
    browser.js("document.getElementById('reset-statistics').click();")
    browser.js("document.getElementById('reset-confirm').click();")
    wait_until(lambda: records_rows(page) == [], 3, "Reset leaves the records in the box")
    check(browser.js("return document.getElementById('statistics').open"),
          "the reset closes the Statistics box")
    page.key("Escape")
    page.open()
    open_statistics(page)
    check(records_rows(page) == [], "the records come back after a reset and a reload")
    page.key("Escape")
    check_console(browser, "with the statistics")


# A records line of the Random Mixed table with that many games, all given up.
def given_up_line(games):
    return (f"table size=0 type=0 played={games} won=0 given-up={games} hints=0 streak=0 "
            "best-streak=0\n")


def give_up_a_game(page):
    page.click(*NEXT_BUTTON)
    wait_until(page.title_code, 3, "Next starts no game")
    page.click(*NEXT_BUTTON)  # Give Up, where Next was


def played(page):
    """Random Mixed games played, as the stored records say."""
    found = re.search(r"^table size=0 type=0 played=(\d+) ", page.storage("records") or "", re.M)
    return int(found.group(1)) if found else 0


def test_records_kept(browser, server):
    """Stored records that an earlier page lost: a NUL in them, more than a megabyte, a later
    release's lines; storage that refuses them (a notice outside the canvas, the games kept
    and stored, tried again by themselves, once it takes them again); two tabs at once."""
    page = Page(browser, server.url("test-page/"))
    page.open()
    stored = "# a note\u0000with a NUL\n" + given_up_line(5) + "version=2\ntrophy name=first\n"
    browser.js("localStorage.clear(); localStorage.setItem('records', arguments[0]);", stored)
    page.open()
    give_up_a_game(page)
    wait_until(lambda: played(page) == 6, 3, f"the game after a NUL: {page.storage('records')!r}")
    text = page.storage("records")
    check("# a note\u0000with a NUL\n" in text and "\ntrophy name=first\n" in text
          and "version=2\n" in text, f"lines of the stored records were lost: {text!r}")

    browser.js("localStorage.setItem('records', arguments[0]);",
               given_up_line(5) + "#" * (1 << 20) + "\n")
    page.open()
    give_up_a_game(page)
    wait_until(lambda: played(page) == 6, 3, "the game after a megabyte of other lines")
    check(len(page.storage("records")) > 1 << 20, "the long line was not kept")

    # Storage refuses the records: the notice shows under the canvas, once.
    browser.js("localStorage.clear();")
    page.open()
    browser.js("""window.kzSetItem = Storage.prototype.setItem;
        Storage.prototype.setItem = function(name, value) {
            if (name === 'records') { throw new DOMException('full', 'QuotaExceededError'); }
            return window.kzSetItem.call(this, name, value);
        };""")
    canvas = browser.box("#screen")
    give_up_a_game(page)
    wait_until(lambda: not browser.js("return document.getElementById('records-notice').hidden"),
               3, "no notice that the records are not stored")
    # The game makes room for it: the notice covers none of it and needs no scrolling.
    notice, shrunk = browser.box("#records-notice"), browser.box("#screen")
    check(notice[1] >= shrunk[1] + shrunk[3] - 0.5, f"the notice {notice} covers the game {shrunk}")
    check(notice[1] + notice[3] <= browser.js("return window.innerHeight;") + 0.5,
          f"the notice {notice} is below the screen")
    save_shot(browser, "records-notice")
    give_up_a_game(page)
    browser.js("Storage.prototype.setItem = window.kzSetItem;")
    # Tried again while they wait, they are stored with no game played.
    wait_until(lambda: played(page) == 2, RECORDS_RETRY + 3, "the kept games are not stored")
    check(browser.js("return document.getElementById('records-notice').hidden"),
          "the notice stays once the records are stored")
    check(browser.box("#screen") == canvas, "the game does not take back the notice's room")

    # Two tabs: each one's games are kept, and an open Statistics box shows the other's.
    give_up_a_game(page)
    first = browser.driver.current_window_handle
    browser.driver.switch_to.new_window("tab")
    other = Page(browser, server.url("test-page/"))
    other.open()
    give_up_a_game(other)
    browser.driver.switch_to.window(first)
    wait_until(lambda: played(page) == 4, 3, "the other tab's game is not stored")
    open_statistics(page)
    check(records_rows(page)[0][2] == "4", f"the box shows {records_rows(page)}")
    browser.driver.switch_to.window(browser.driver.window_handles[-1])
    give_up_a_game(other)
    browser.driver.close()
    browser.driver.switch_to.window(first)
    wait_until(lambda: records_rows(page)[0][2] == "5", 3,
               f"the open box does not follow the other tab: {records_rows(page)}")
    page.key("Escape")
    check_console(browser, "with records kept")


def check_exported_notice(browser, shot):
    """The notice after an export says so, whole inside the window."""
    notice = "document.getElementById('notice')"
    wait_until(lambda: browser.js(f"return !{notice}.hidden && {notice}.textContent")
               == "Records exported.", 3, "no notice that the records were exported")
    left, top, width, height = browser.box("#notice")
    right, bottom = browser.js("return [window.innerWidth, window.innerHeight];")
    check(width > 0 and left >= 0 and top >= 0 and left + width <= right + 0.5
          and top + height <= bottom + 0.5, f"the notice {(left, top, width, height)} is cut off")
    save_shot(browser, shot)
    # Gone, so the next one is seen to come.
    browser.js(f"{notice}.hidden = true;")


def test_records_export_import(browser, server):
    """Export Records... offers a file; after a reset, Import Records... brings the records
    back, and a second import of the same file counts nothing twice."""
    page = Page(browser, server.url("test-page/"))
    page.open()
    browser.js("localStorage.clear(); localStorage.setItem('records', arguments[0]);",
               given_up_line(3))
    page.open()
    browser.js("""window.kzExported = [];
        const make = URL.createObjectURL;
        URL.createObjectURL = (blob) => { window.kzExported.push(blob); return make(blob); };
        HTMLAnchorElement.prototype.click = function() { window.kzDownload = this.download; };""")
    page.choose("Game", "Export Records...")
    wait_until(lambda: browser.js("return window.kzExported.length") == 1, 3, "nothing exported")
    exported = browser.async_js("arguments[0](window.kzExported[0].text());")
    check(given_up_line(3) in exported and "\nid=" in exported, f"the file holds {exported!r}")
    check(browser.js("return window.kzDownload") == "kestrane-zivadorured-records.txt",
          "the file is not offered under its name")
    # The browser may save it without a word: the page says it went.
    check_exported_notice(browser, "exported-notice")
    # And on an upright phone.
    browser.emulate(390, 844, 3, mobile=True)
    try:
        wait_until(lambda: browser.box("#screen")[2] <= 390, 5, "no phone layout")
        page.choose("Game", "Export Records...")
        wait_until(lambda: browser.js("return window.kzExported.length") == 2, 3,
                   "nothing exported on a phone")
        check_exported_notice(browser, "exported-notice-phone")
    finally:
        browser.cdp("Emulation.clearDeviceMetricsOverride")

    open_statistics(page)
    browser.js("document.getElementById('reset-statistics').click();")
    browser.js("document.getElementById('reset-confirm').click();")
    wait_until(lambda: records_rows(page) == [], 3, "Reset leaves the records in the box")
    page.key("Escape")
    for times in range(2):
        browser.js("""const field = document.getElementById('records-file');
            const files = new DataTransfer();
            files.items.add(new File([arguments[0]], 'records.txt', {type: 'text/plain'}));
            field.files = files.files;
            field.dispatchEvent(new Event('change'));""", exported)
        wait_until(lambda: played(page) == 3, 3, f"import {times + 1} gives {played(page)} games")
        notice = browser.js("return document.getElementById('notice').textContent")
        check(notice.startswith("The records of the file were added"), f"the notice: {notice!r}")
    save_shot(browser, "records-imported")
    open_statistics(page)
    check(records_rows(page)[0][2:5] == ["3", "0", "3"], f"the box shows {records_rows(page)}")
    page.key("Escape")
    check_console(browser, "with records exported and imported")


def test_one_script(browser, server):
    """The page's script comes as one file beside the module's loader: no module waits on
    another to be fetched; the catalogue of graded puzzles is asked for only once the first
    frame is on the canvas."""
    page = Page(browser, server.url("page/"))
    page.open()
    scripts = browser.js("""return performance.getEntriesByType('resource')
        .map(r => new URL(r.name).pathname).filter(p => p.endsWith('.js')).sort();""")
    check(scripts == ["/page/kestrane-zivadorured.js", "/page/kestrane.js"],
          f"the page loads the scripts {scripts}")
    times = browser.js("""
        const frame = performance.getEntriesByName('first-frame')[0];
        const asked = performance.getEntriesByType('resource')
            .filter((r) => r.name.endsWith('/puzzle-catalogue.bin'));
        return [frame ? frame.startTime : null, asked.map((r) => r.startTime)];""")
    check(times[0] is not None and len(times[1]) == 1 and times[1][0] >= times[0],
          f"the first frame and the catalogue's request came at {times}")
    check_console(browser, "with one script")


def test_failing_call(browser, server, idle):
    """A call into the module that throws: the error in the console, Paint Error, the clock
    stopped, and the closing screen."""
    page = Page(browser, server.url("test-page/"))
    scripts = [browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=source)["identifier"]
               for source in (CALLBACK_COUNTER, PAINT_FAILURE)]
    try:
        page.open()
        page.click(*NEXT_BUTTON)
        page.wait_picture(lambda p: differs(p, idle, INSTRUCTIONS), "Next shows no instruction")
        check_console(browser, "before the failure")
        # The clock's next tick draws, and the canvas refuses it.
        browser.js("window.kzBreakPaint = true;")
        wait_until(lambda: browser.js("return document.getElementById('fatal').open"), 5,
                   "a frame the canvas refuses gives no fatal message")
        check(browser.js("return document.getElementById('fatal-caption').textContent")
              == "Paint Error", "a failing call does not give 'Paint Error'")
        errors = [entry["message"] for entry in browser.console()
                  if entry.get("level") == "SEVERE"]
        check(any("the canvas refuses the frame" in error for error in errors),
              f"the failure is not in the console: {errors}")
        # Longer than the clock's tick of a second.
        check_no_callbacks(browser, 1.5, "the clock ticks on after the failure")
        browser.js("document.querySelector('#fatal button').click();")
        wait_until(lambda: browser.js("return !document.getElementById('ended').hidden"), 5,
                   "no closing screen after the failure")
    finally:
        for script in scripts:
            browser.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script)


def test_menus_and_settings(browser, server):
    page = Page(browser, server.url("test-page/"))
    page.open_afresh()
    tops = browser.js("""return Array.from(document.querySelectorAll(
        '[role=menubar] > li > [role=menuitem]')).map(e => e.textContent.trim());""")
    check(tops == ["Game", "Options", "Help"], f"the menu bar holds {tops}")
    check(browser.js("return document.querySelectorAll('[role=menuitemradio]').length") == 15,
          "the menus have not 15 radio items")
    separators = browser.js("""return Array.from(document.querySelectorAll(
        '[role=menubar] > li > [role=menuitem]')).map(top => top.nextElementSibling
        .querySelectorAll(':scope > li[role=separator]').length);""")
    check(separators == [3, 0, 1], f"the Game, Options and Help menus have {separators} separators")
    check(page.marked(1) == ["Random"] and page.marked(2) == ["Mixed"]
          and page.marked(3) == ["As Designed"],
          f"a first visit marks {page.marked(1)}, {page.marked(2)} and {page.marked(3)}")

    # Keyboard: Alt+O, then Field Size, its submenu, 3 x 3.
    page.key("o", alt=True)
    wait_until(lambda: page.focused_label() == "Field Size", 3, "Alt+O does not open Options")
    page.key("ArrowRight")
    check(page.focused_label() == "2 x 2", "the right arrow does not open Field Size")
    page.key("ArrowDown")
    page.key("Enter")
    check(page.marked(1) == ["3 x 3"], f"choosing 3 x 3 marks {page.marked(1)}")
    check(browser.js("return document.querySelector('[role=menu]:not([hidden])') === null"),
          "a menu stays open after its command")
    check(page.storage("dimensionsRange") == "3", "3 x 3 is not stored")
    check(page.state()["fieldSize"] == 3, "the game did not take 3 x 3")
    # Esc closes a menu without choosing.
    page.key("o", alt=True)
    page.key("Escape")
    page.key("Escape")
    check(browser.js("return document.querySelector('[role=menu]:not([hidden])') === null"),
          "Esc does not close the menu")

    # Mouse: Options, Action Type, Move From Some.
    page.choose("Options", "Action Type", "Move From Some")
    check(page.marked(2) == ["Move From Some"], f"choosing Move From Some marks {page.marked(2)}")
    check(page.storage("actionType") == "3", "Move From Some is not stored as 3")
    page.choose("Options", "Difficulty", "Hard")
    check(page.marked(3) == ["Hard"], f"choosing Hard marks {page.marked(3)}")
    check(page.storage("difficulty") == "3", "Hard is not stored as 3")

    page.open()
    check(page.marked(1) == ["3 x 3"] and page.marked(2) == ["Move From Some"]
          and page.marked(3) == ["Hard"],
          f"after a reload the marks are {page.marked(1)}, {page.marked(2)} and {page.marked(3)}")
    state = page.state()
    check((state["fieldSize"], state["actionType"]) == (3, 3),
          f"after a reload the game holds {state}")
    page.click(*NEXT_BUTTON)
    wait_until(lambda: browser.js("return document.title").endswith(" \u2014 Hard"), 5,
               "the title of a Hard puzzle does not name its grade")

    for field_size, action_type in (("7", "17"), ("banana", "-1"), ("3.0", " 2")):
        browser.js(f"localStorage.setItem('dimensionsRange', '{field_size}');"
                   f"localStorage.setItem('actionType', '{action_type}');")
        page.open()
        state = page.state()
        check(page.marked(1) == ["Random"] and page.marked(2) == ["Mixed"]
              and (state["fieldSize"], state["actionType"]) == (0, 0),
              f"stored {field_size!r}, {action_type!r} give marks {page.marked(1)}, "
              f"{page.marked(2)} and settings {state}")
    check_console(browser, "with the menus")


def test_help_and_about(browser, server):
    page = Page(browser, server.url("page/"))
    page.open()
    main = browser.driver.current_window_handle
    for labels, keys, wanted in ((("Help", "Contents"), None, "help/index.html"),
                                 (None, ("h", "s"), "help/search.html"),
                                 (None, ("h", "i"), "help/keywords.html")):
        if labels:
            page.choose(*labels)
        else:
            page.key(keys[0], alt=True)
            page.key(keys[1])
        handle = wait_until(lambda: [h for h in browser.driver.window_handles if h != main], 10,
                            f"the help command for {wanted} opens no tab")[0]
        browser.driver.switch_to.window(handle)
        wait_until(lambda: browser.driver.current_url.endswith(wanted)
                   and browser.js("return document.readyState") == "complete", 10,
                   f"the help tab does not show {wanted} but {browser.driver.current_url}")
        check(browser.js("return document.body.innerText.length") > 20,
              f"the help page {wanted} is empty")
        browser.console()
        browser.driver.close()
        browser.driver.switch_to.window(main)

    page.key("h", alt=True)
    page.key("a")
    about = wait_until(lambda: browser.js("""const d = document.getElementById('about');
        return d.open ? d.innerText : null;"""), 5, "About does not open")
    check("Kestrane Zivadorured" in about and VERSION_TEXT in about,
          f"the About box says {about!r}")
    check(browser.js("return document.querySelector('#about a').href") == MAKER_ADDRESS,
          "the About box does not link the maker's address")
    check(browser.js("return document.querySelector('#about img').naturalWidth") > 0,
          "the About box shows no icon")
    page.key("Escape")
    wait_until(lambda: not browser.js("return document.getElementById('about').open"), 3,
               "Esc does not close About")
    page.choose("Help", "About")
    wait_until(lambda: browser.js("return document.getElementById('about').open"), 3,
               "About does not open from the mouse")
    browser.js("document.querySelector('#about button').click();")
    wait_until(lambda: not browser.js("return document.getElementById('about').open"), 3,
               "OK does not close About")
    check_console(browser, "with Help and About")


def test_phone(browser, server, idle):
    page = Page(browser, server.url("page/"))
    browser.emulate(390, 844, 3, mobile=True)
    browser.cdp("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=1)
    page.open_afresh()  # no game kept by a test before
    # Held upright, the field and the four panels each have a part of the screen.
    views = page.views()
    check(len(views) == 5 and all(left >= 0 and left + width <= 390 for _, (left, _, width, _)
                                  in views), f"on a phone the picture shows as {views}")
    # Its field zoomed to the screen's width, the phone draws from the set of three times the
    # size, one canvas pixel on one device pixel or a little less.
    wait_until(lambda: page.view_pictures()[1][0].width == (INSTRUCTIONS[2] - INSTRUCTIONS[0]) * 3,
               10, "an upright phone at ratio 3 does not draw from the set of three times the size")
    # A tap on Next, where it shows on the scaled picture, starts a game: the instruction
    # takes the place of the start picture.
    start_picture = idle_at(idle, 3).crop(tuple(v * 3 for v in INSTRUCTIONS))
    # The larger set arrives after the first frame, and the whole frame is drawn again.
    wait_until(lambda: not differs(page.view_pictures()[1][0], start_picture), 10,
               "the Instructions panel does not show the start picture")
    browser.tap(*page.point(*NEXT_BUTTON))
    wait_until(lambda: differs(page.view_pictures()[1][0], start_picture), 5,
               "a tap on Next starts no game")
    browser.cdp("Emulation.setTouchEmulationEnabled", enabled=False)
    browser.cdp("Emulation.clearDeviceMetricsOverride")
    check_console(browser, "on a phone")


def test_offline(browser, server, idle):
    page = Page(browser, server.url("page/"))
    page.open_afresh()  # idle, with no game of an earlier test to take up
    browser.async_js("""const done = arguments[arguments.length - 1];
        navigator.serviceWorker.ready.then(() => done(true));""")
    wait_until(lambda: browser.js("return navigator.serviceWorker.controller !== null"), 10,
               "the service worker does not take over the page")
    errors = browser.cdp("Page.getInstallabilityErrors")["installabilityErrors"]
    check(not errors, f"the page cannot be installed: {errors}")
    server.stop()
    try:
        page.open()
        page.wait_picture(lambda p: not differs(p, idle), "offline the page does not show the game",
                          timeout=10)
        page.click(*NEXT_BUTTON)
        page.wait_picture(lambda p: differs(p, idle, INSTRUCTIONS), "offline Next does nothing")
        # A link with a code plays it offline too: the code after # never reaches the network.
        linked = Page(browser, server.url("page/#p=" + CODE))
        linked.open()
        check(linked.title_code() == CODE,
              f"offline #p={CODE} shows {browser.js('return document.title')}")
        check(browser.async_js("""const done = arguments[arguments.length - 1];
            caches.match('puzzle-catalogue.bin').then((kept) => done(kept !== undefined));"""),
              "the service worker keeps no catalogue for offline play")
    finally:
        server.start()
    check_console(browser, "offline")


def fetched_art(browser):
    """The sets of larger pictures the page has fetched."""
    return sorted(re.findall(r"art-\dx\.webp", " ".join(browser.js(
        "return performance.getEntriesByType('resource').map((e) => e.name);"))))


def test_sharp(browser, server, idle):
    """At device pixel ratios 2 and 3 the canvas holds the larger set's pictures, pixel for
    pixel, shown one canvas pixel on one device pixel; only that set is fetched, and the
    service worker keeps it for offline play. A zoom draws from the set the new ratio needs,
    each way, fetching a set once. At a ratio of 1 a window that shows the picture larger than
    designed fetches the set of twice the size."""
    browser.emulate(*DESKTOP, 1)
    page = Page(browser, server.url("page/"))
    page.open_afresh()  # no game kept by a test before
    check(fetched_art(browser) == [], f"at ratio 1 the page fetched {fetched_art(browser)}")
    # The window moved to a screen of twice the ratio and back, twice: each way the program
    # draws from the set the ratio needs, and the set is fetched once. (The emulation tells
    # the page of a new ratio only with a new size, as a real move between screens does.)
    expected_2x = Image.open(built_file("idle-2x.png")).convert("RGB")
    for _ in range(2):
        browser.emulate(DESKTOP[0] + 1, DESKTOP[1], 2)
        page.wait_picture(lambda p: p.size == expected_2x.size and not differs(p, expected_2x),
                          "zoomed to 200 % the canvas is not the 2x art", timeout=10)
        browser.emulate(*DESKTOP, 1)
        page.wait_picture(lambda p: p.size == idle.size and not differs(p, idle),
                          "zoomed back to 100 % the canvas is not the design's pictures", timeout=10)
    check(fetched_art(browser) == ["art-2x.webp"],
          f"zoomed twice the page fetched {fetched_art(browser)}")
    browser.emulate(1000, 800, 1)
    page.open_afresh()
    left, top, width, height = browser.box("#screen")
    check(1 < width / AREA_W < 2, f"at 1000 x 800 the picture is {width} x {height}")
    check(fetched_art(browser) == ["art-2x.webp"],
          f"a picture shown larger than designed fetched {fetched_art(browser)}")
    wait_until(lambda: page.picture().size == (AREA_W * 2, AREA_H * 2), 10,
               "a picture shown larger than designed is not drawn from the set of twice the size")
    page.wait_picture(lambda p: not differs(p, idle_at(idle, 2)),
                      "the frame is not the idle screen at 2x", timeout=10)
    for ratio in (2, 3):
        browser.emulate(*DESKTOP, ratio)
        page.open_afresh()  # not the game Next started at the ratio before
        check(fetched_art(browser) == [f"art-{ratio}x.webp"],
              f"at ratio {ratio} the page fetched {fetched_art(browser)}")
        expected = Image.open(built_file(f"idle-{ratio}x.png")).convert("RGB")
        # The set arrives after the page runs; the frame is drawn again from it.
        wait_until(lambda: page.picture().size == expected.size, 10,
                   f"at ratio {ratio} the canvas is {page.picture().size}")
        picture = page.wait_picture(lambda p: not differs(p, expected),
                                    f"at ratio {ratio} the canvas is not the {ratio}x art",
                                    timeout=10)
        check(differs(picture, doubled(idle, ratio)), "the larger art is the design's enlarged")
        # The Quit button against its picture in the set itself, frame 0.
        art = Image.open(os.path.join(SOURCE_ROOT, "resources", "bitmaps", f"{ratio}x", "114.png"))
        art = art.convert("RGB").crop((0, 0, (QUIT[2] - QUIT[0]) * ratio, (QUIT[3] - QUIT[1]) * ratio))
        shown = picture.crop(tuple(v * ratio for v in QUIT))
        check(not differs(shown, art), f"at ratio {ratio} Quit is not its {ratio}x picture")
        left, top, width, height = browser.box("#screen")
        check((width, height) == idle.size, f"at ratio {ratio} the canvas shows as {width} x {height}")
        # The browser puts the canvas on whole device pixels, rounding its place either way.
        shot = browser.screenshot()
        places = {(x, y) for x in (math.floor(left * ratio), math.ceil(left * ratio))
                  for y in (math.floor(top * ratio), math.ceil(top * ratio))}
        check(any(not differs(shot.crop((x, y, x + expected.width, y + expected.height)), expected)
                  for x, y in places),
              f"at ratio {ratio} the screen does not show the canvas one pixel on one device pixel")
        # A click lands on the game's own coordinates: Next starts a game.
        page.click(*NEXT_BUTTON)
        page.wait_picture(lambda p: differs(p, expected, tuple(v * ratio for v in INSTRUCTIONS)),
                          f"at ratio {ratio} a click on Next starts no game")

    # Kept by the service worker once used, and drawn from it with the server stopped.
    wait_until(lambda: browser.async_js("""const done = arguments[arguments.length - 1];
        caches.match("art-3x.webp").then((kept) => done(Boolean(kept)));"""), 10,
               "the service worker does not keep the set in use")
    server.stop()
    try:
        page.open_afresh()
        check(not differs(page.picture(), expected), "offline the 3x pictures are missing")
    finally:
        server.start()
    browser.emulate(*DESKTOP, 1)
    check_console(browser, "at ratios 2 and 3")


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    page_dir, testing_dir, golden_dir = sys.argv[1:4]
    idle = Image.open(os.path.join(golden_dir, "idle.png")).convert("RGB")
    won = Image.open(os.path.join(golden_dir, "won.png")).convert("RGB")
    time_limit(185)
    tests = [("fatal messages", lambda b, s: test_fatal_messages(b, s)),
             ("pixels", lambda b, s: test_pixels(b, s, idle)),
             ("game", lambda b, s: test_game(b, s, idle, won)),
             ("keyboard game", lambda b, s: test_keyboard_game(b, s, idle, won)),
             ("puzzle codes", test_puzzle_codes),
             ("past days", test_past_days),
             ("resume", test_resume),
             ("one tab keeps the game", test_one_tab_keeps_the_game),
             ("browser restarted", lambda b, s: test_browser_restarted(s)),
             ("statistics", test_statistics),
             ("records kept", test_records_kept),
             ("records export and import", test_records_export_import),
             ("one script", test_one_script),
             ("failing call", lambda b, s: test_failing_call(b, s, idle)),
             ("menus and settings", test_menus_and_settings),
             ("help and about", test_help_and_about),
             ("phone", lambda b, s: test_phone(b, s, idle)),
             ("offline", lambda b, s: test_offline(b, s, idle)),
             ("sharp", lambda b, s: test_sharp(b, s, idle))]
    # One root serves both pages, so each test names the one it uses.
    return run_page_tests({"page": page_dir, "test-page": testing_dir}, tests, sys.argv[4:],
                          DESKTOP)


if __name__ == "__main__":
    sys.exit(main())
