#!/usr/bin/python3
"""End-to-end test of the page on phones, tablets and a desktop window, in headless Chromium
with device emulation and real touch events.

- Every device: the whole game (menu bar, instruction, moves, time, buttons, field) inside
  the screen with no scrolling, each part of the picture on the screen as the canvas holds it
  (a screenshot check); upright screens show the field as wide as the screen and the panels
  under it; the stick and button targets and the menu items measured against a finger's size.
- Taps at every stick place's centre and a quarter of its target off it hit that place, on
  every field size of a small upright phone; a lifted finger leaves no hover look.
- A whole add, remove and move game played by taps alone.
- The mouse still hits exactly the design's areas: a click inside a cell changes nothing.

Prints the figures per device (canvas size, smallest stick target and button in CSS
pixels). KZ_WEB_SHOTS names a folder for a screenshot of each device.

usage: web_touch_e2e.py PAGE_DIR TESTING_PAGE_DIR GOLDEN_DIR [TEST_NAME ...]
"""
import os
import sys

from PIL import Image, ImageChops, ImageStat

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser_harness import run_page_tests  # noqa: E402
from e2e_basics import Failure, check, time_limit, wait_until  # noqa: E402
from screen_layout import CONTROLS_PANEL, INSTRUCTIONS, NEXT_BUTTON  # noqa: E402
from web_e2e import SHOTS, Page, check_console, idle_at  # noqa: E402

# name, width, height, device pixel ratio, touch screen
DEVICES = [("phone 360x640", 360, 640, 3, True), ("phone 390x844", 390, 844, 3, True),
           ("phone 844x390", 844, 390, 3, True), ("tablet 820x1180", 820, 1180, 2, True),
           ("desktop 1280x800", 1280, 800, 1, False)]
ACTION_TYPES = {"add": 1, "remove": 4, "move": 3}  # From None, From Full, From Some
# A stick's own target reaches a quarter pitch (95 / 4 game pixels) from its centre each way.
QUARTER_PITCH = 23


class TouchPage(Page):
    """The page on an emulated device, played with a finger."""

    touch = False

    def emulate(self, width, height, ratio, touch):
        self.touch = touch
        self.b.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                   deviceScaleFactor=ratio, mobile=touch)
        self.b.cdp("Emulation.setTouchEmulationEnabled", enabled=touch, maxTouchPoints=5)

    def touch_start(self, gx, gy):
        x, y = self.point(gx, gy)
        self.b.cdp("Input.dispatchTouchEvent", type="touchStart",
                   touchPoints=[{"x": x, "y": y, "id": 1, "radiusX": 8, "radiusY": 8}])

    def touch_end(self):
        self.b.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def tap(self, gx, gy):
        self.touch_start(gx, gy)
        self.touch_end()

    def start_game(self, size, action_type):
        # Afresh: the game an earlier step left is kept, and would come back instead.
        self.open_afresh(dimensionsRange=size, actionType=action_type)
        (self.tap if self.touch else self.click)(*NEXT_BUTTON)
        wait_until(lambda: self.state()["playing"], 5, "Next starts no game")


def scale_of(page, gx, gy):
    """CSS pixels per game pixel where the page shows that game point."""
    for (sx, sy, sw, sh), (_, _, width, _) in page.views():
        if sx <= gx < sx + sw and sy <= gy < sy + sh:
            return width / sw
    raise Failure(f"no part of the page shows {gx}, {gy}")


def stick_target(page, centre, viewport):
    """The side of the largest square around a stick's centre that is its own and on the
    screen, in CSS pixels."""
    x, y = page.point(*centre)
    half = (QUARTER_PITCH + 0.5) * scale_of(page, *centre)
    return 2 * min(half, x, y, viewport[0] - x, viewport[1] - y)


def check_whole_game_shown(page, name, width, height, ratio):
    """Nothing scrolls, every view lies on the screen and shows the canvas's pixels there."""
    b = page.b
    scroll = b.js("const e = document.scrollingElement;"
                  "return [e.scrollWidth, e.scrollHeight, innerWidth, innerHeight];")
    check(scroll[0] <= scroll[2] and scroll[1] <= scroll[3],
          f"{name}: the page scrolls ({scroll[0]} x {scroll[1]} in {scroll[2]} x {scroll[3]})")
    bar = b.box("[role=menubar]")
    check(bar[1] >= 0 and bar[1] + bar[3] <= height and bar[0] + bar[2] <= width + 0.5,
          f"{name}: the menu bar {bar} is cut off")
    views = page.view_pictures()
    sources = [source for source, _ in page.views()]
    wanted = 5 if height > width else 1
    check(len(views) == wanted, f"{name}: {len(views)} parts of the picture, not {wanted}")
    shot = b.screenshot()
    for picture, (left, top, w, h) in views:
        check(left >= -0.5 and top >= -0.5 and left + w <= width + 0.5 and top + h <= height + 0.5,
              f"{name}: a part of the picture at {left, top, w, h} is cut off")
        box = tuple(round(v * ratio) for v in (left, top, left + w, top + h))
        seen = shot.crop(box)
        drawn = picture.resize(seen.size, Image.BILINEAR)
        difference = ImageStat.Stat(ImageChops.difference(seen, drawn)).mean
        check(max(difference) < 10, f"{name}: the screen does not show the picture at {box} "
              f"(mean difference {difference})")
    if height > width:
        field = page.views()[0][1]
        check(abs(field[2] - width) < 1, f"{name}: the field is {field[2]} wide, not {width}")
        check(sources[1][:2] == list(INSTRUCTIONS[:2]), f"{name}: the panels are {sources[1:]}")
    if SHOTS:
        os.makedirs(SHOTS, exist_ok=True)
        shot.save(os.path.join(SHOTS, name.replace(" ", "-") + ".png"))


def test_devices(browser, server, figures):
    page = TouchPage(browser, server.url("test-page/"))
    for name, width, height, ratio, touch in DEVICES:
        page.emulate(width, height, ratio, touch)
        page.open_afresh()
        sizes = (2, 3, 4, 5) if name.startswith("phone 360") else (5,)
        smallest = {}
        for size in sizes:
            page.start_game(size, ACTION_TYPES["add"])
            check_whole_game_shown(page, f"{name} {size}x{size}", width, height, ratio)
            targets = [stick_target(page, centre, (width, height))
                       for centre in page.state()["sticks"]]
            smallest[size] = min(targets)
        # Buttons: the picture's own, and what a finger reaches (half the Controls panel).
        panel_scale = scale_of(page, *NEXT_BUTTON)
        button = (62 * panel_scale, 52 * panel_scale)
        reach = ((CONTROLS_PANEL[2] - CONTROLS_PANEL[0]) / 2 * panel_scale,
                 (CONTROLS_PANEL[3] - CONTROLS_PANEL[1]) * panel_scale)
        canvas = browser.box("#screen")
        items = browser.js("""document.querySelector('[role=menubar] > li > [role=menuitem]')
                .click();
            const heights = Array.from(document.querySelectorAll('[role=menuitem]'))
                .filter(e => e.offsetParent).map(e => e.getBoundingClientRect().height);
            document.querySelector('[role=menubar] > li > [role=menuitem]').click();
            return Math.min(...heights);""")
        figures.append(f"{name}: canvas {canvas[2]:.0f} x {canvas[3]:.0f}, smallest stick target "
                       + ", ".join(f"{s}x{s} {t:.1f}" for s, t in smallest.items())
                       + f", button {button[0]:.1f} x {button[1]:.1f} (reach {reach[0]:.0f} x "
                       f"{reach[1]:.0f}), menu items {items:.0f} high")
        if touch:
            check(items >= 44, f"{name}: menu items are {items} px high on a touch screen")
            check(min(button) >= 44 or min(reach) >= 44, f"{name}: the buttons are {button}")
        if name.startswith("phone 360"):
            # The largest square a stick can own is half a pitch: 44 needs the 4 x 4 field's
            # 428 game pixels shown 396 CSS pixels wide, more than the screen has.
            for size, least in ((2, 44), (3, 44), (4, 39), (5, 32)):
                check(smallest[size] >= least,
                      f"{name}: on {size} x {size} a stick's target is {smallest[size]:.1f}")
    page.emulate(1000, 800, 1, False)
    check_console(browser, "on the devices")


def test_taps_hit_their_place(browser, server, idle):
    """Every place of every field size on a small upright phone, tapped at its centre and a
    quarter of its target off it: the tap hits that place, and once the finger is lifted
    nothing keeps the look under the pointer."""
    page = TouchPage(browser, server.url("test-page/"))
    page.emulate(360, 640, 3, True)
    page.open()
    offsets = [(0, 0), (-1, -1), (1, -1), (-1, 1), (1, 1)]
    for size in (2, 3, 4, 5):
        # An empty field: a tap adds a stick, a second one takes it away again, and one
        # stick alone never wins.
        page.start_game(size, ACTION_TYPES["add"])
        sticks = page.state()["sticks"]
        check(len(sticks) == 2 * size * (size + 1), f"{size}x{size}: sticks {sticks}")
        quarter = QUARTER_PITCH // 2
        for i, (x, y) in enumerate(sticks):
            for dx, dy in (offsets[0], offsets[1 + i % 4]):
                at = (x + dx * quarter, y + dy * quarter)
                page.touch_start(*at)
                hit = wait_until(lambda: page.state()["hovered"], 3,
                                 f"{size}x{size}: a finger down at {at} hits nothing")
                page.touch_end()
                check(hit == [x, y], f"{size}x{size}: a tap at {at} hits {hit}, not the stick "
                      f"at {x}, {y}")
                wait_until(lambda: page.state()["hovered"] is None, 3,
                           f"{size}x{size}: the stick at {x}, {y} keeps its hover look")
            check(page.state()["movesMade"] == 0,
                  f"{size}x{size}: two taps at {x}, {y} left a change")
    # A tapped button shows no label once the finger is lifted: Give Up leaves the Controls
    # panel as it is before the first game, Next without its label.
    page.tap(*NEXT_BUTTON)  # Give Up
    wait_until(lambda: not page.state()["playing"], 5, "a tap on Give Up ends no game")
    # The panel's view holds it in the frame's pixels, drawn from the set the phone needs.
    scale = page.view_pictures()[4][0].width // (CONTROLS_PANEL[2] - CONTROLS_PANEL[0])
    check(scale == 3, f"an upright phone at ratio 3 draws from the set of {scale}")
    at_rest = idle_at(idle, scale).crop(tuple(v * scale for v in CONTROLS_PANEL))
    wait_until(lambda: not ImageChops.difference(page.view_pictures()[4][0], at_rest).getbbox(),
               5, "Next shows its label after Give Up was tapped")
    check_console(browser, "with taps")


def test_games_by_taps(browser, server):
    """A whole add, remove and move game on an upright phone, each stick tapped a little off
    its centre."""
    page = TouchPage(browser, server.url("test-page/"))
    page.emulate(390, 844, 3, True)
    page.open()
    for kind, action_type in ACTION_TYPES.items():
        page.start_game(3, action_type)
        state = page.state()
        check(state["clicks"], f"{kind}: the testing module names no solution: {state}")
        for i, (x, y) in enumerate(state["clicks"]):
            page.tap(x + (9 if i % 2 else -9), y + (-9 if i % 3 else 9))
        wait_until(lambda: page.state()["won"], 5, f"tapping the {kind} solution does not win")
        check(page.state()["hovered"] is None, f"{kind}: the last stick keeps its hover look")
    check_console(browser, "in games by taps")


def test_mouse_keeps_exact_areas(browser, server):
    """A mouse click inside a cell, where a finger would take the nearest stick, changes
    nothing; on the stick itself it changes it."""
    page = TouchPage(browser, server.url("test-page/"))
    page.emulate(1000, 800, 1, False)
    page.open()
    page.start_game(3, ACTION_TYPES["add"])
    x, y = page.state()["sticks"][0]  # the top-left horizontal stick
    # Had the click inside the cell taken the stick, the click on it would take it back.
    page.click(x, y + 30)
    page.click(x, y + 4)
    wait_until(lambda: page.state()["movesMade"] == 1, 3,
               "a click inside a cell changes a stick, or one on the stick does not")
    check(page.state()["hovered"] == [x, y], "the stick under the mouse has no hover look")
    check_console(browser, "with the mouse")


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    page_dir, testing_dir, golden_dir = sys.argv[1:4]
    idle = Image.open(os.path.join(golden_dir, "idle.png")).convert("RGB")
    time_limit(280)
    figures = []
    tests = [("devices", lambda b, s: test_devices(b, s, figures)),
             ("taps", lambda b, s: test_taps_hit_their_place(b, s, idle)),
             ("games by taps", test_games_by_taps),
             ("mouse", test_mouse_keeps_exact_areas)]
    status = run_page_tests({"page": page_dir, "test-page": testing_dir}, tests, sys.argv[4:])
    for line in figures:
        print(line)
    return status


if __name__ == "__main__":
    sys.exit(main())
