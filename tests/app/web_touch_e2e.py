#!/usr/bin/python3
"""End-to-end test of the page on phones, tablets and a desktop window, in headless Chromium
with device emulation and real touch events.

- Every device, upright and on its side: the whole game (menu bar, instruction, moves, time,
  buttons, field) inside the screen with no scrolling, each part of the picture on the screen
  as the canvas holds it (a screenshot check); the field right under the menu bar as wide as
  an upright screen, or as high as a phone on its side beside the menu bar, the panels as
  large as the rest allows, felt in the room left; the stick and button targets by the
  measure below, the buttons' drawn size and the menu items against a finger's size; the
  Game menu's every item reached by touch, the Statistics box inside the screen.
- Taps at every stick place's centre, a quarter of its target off it, and for the outermost
  ones a quarter pitch out, hit that place, on every field size of a small upright phone; a
  lifted finger leaves no hover look.
- A whole add, remove and move game played by taps alone.
- The mouse still hits exactly the design's areas: a click inside a cell changes nothing; a
  mouse gone off the picture leaves no hover look.
- At 320 CSS pixels wide and 256 high (a desktop zoomed to 400 %) the Game menu scrolls to
  Statistics, whose box opens inside the screen.

The target measure: a stick's target is the largest circle centred on the stick inside its
own nearest-place area (the points nearer to it than to any other stick of the field's touch
area), on the screen and clear of the menu bar; its diameter at least 44 CSS pixels on fields
up to 4 x 4 and 32 on 5 x 5. A button's: the same over its nearest-button area of the Controls
panel, at least 44. Prints the figures per device (canvas size, smallest stick target,
button target and drawn size, in CSS pixels). KZ_WEB_SHOTS names a folder for a screenshot of each device.

usage: web_touch_e2e.py PAGE_DIR TESTING_PAGE_DIR GOLDEN_DIR [TEST_NAME ...]
"""
import os
import sys
import time

from PIL import Image, ImageChops, ImageStat

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser_harness import run_page_tests  # noqa: E402
from e2e_basics import Failure, check, time_limit, wait_until  # noqa: E402
from screen_layout import CONTROLS_PANEL, NEXT_BUTTON, QUIT, QUIT_BUTTON  # noqa: E402
from web_e2e import SHOTS, Page, check_console, idle_at  # noqa: E402

# name, width, height, device pixel ratio, touch screen
DEVICES = [("phone 360x640", 360, 640, 2, True), ("phone 390x844", 390, 844, 3, True),
           ("phone 844x390", 844, 390, 3, True), ("tablet 820x1180", 820, 1180, 2, True),
           ("desktop 1280x800", 1280, 800, 1, False)]
ACTION_TYPES = {"add": 1, "remove": 4, "move": 3}  # From None, From Full, From Some
# A stick's own target reaches a quarter pitch (95 / 4 game pixels) from its centre each way.
QUARTER_PITCH = 95 / 4
# The decided target diameters in CSS pixels: sticks on fields up to 4 x 4, on 5 x 5, buttons.
STICK_TARGET, LARGEST_FIELD_STICK_TARGET, BUTTON_TARGET = 44, 32, 44
GAP = 4  # CSS pixels the page leaves between the parts of the picture and at the screen's edge
# Device pixels per game pixel the largest set of pictures (3x) shows sharp: drawn at most a
# tenth larger than its art.
SHARPEST = 3 * 1.1


class TouchPage(Page):
    """The page on an emulated device, played with a finger."""

    touch = False

    def emulate(self, width, height, ratio, touch):
        self.touch = touch
        self.b.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                   deviceScaleFactor=ratio, mobile=touch)
        self.b.cdp("Emulation.setTouchEmulationEnabled", enabled=touch, maxTouchPoints=5)

    def touch_start(self, gx, gy):
        self.touch_at(*self.point(gx, gy))

    def touch_at(self, x, y):
        """A finger down at a point of the viewport, in CSS pixels."""
        self.b.cdp("Input.dispatchTouchEvent", type="touchStart",
                   touchPoints=[{"x": x, "y": y, "id": 1, "radiusX": 8, "radiusY": 8}])

    def swipe_up(self, x, y, distance):
        """A finger drawn up the screen from x, y, in steps as a hand moves."""
        for step in range(6):
            self.b.cdp("Input.dispatchTouchEvent", type="touchStart" if step == 0 else "touchMove",
                       touchPoints=[{"x": x, "y": y - distance * step / 5, "id": 1}])
        self.touch_end()

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


def on_screen(views, gx, gy):
    """A point of the game screen (game pixels, fractions kept) in CSS pixels of the
    viewport, in the view showing it, and that view's box."""
    for (sx, sy, sw, sh), box in views:
        if sx <= gx < sx + sw and sy <= gy < sy + sh:
            return (box[0] + (gx - sx) * box[2] / sw, box[1] + (gy - sy) * box[3] / sh), box
    raise Failure(f"no part of the page shows {gx}, {gy}")


def rect_on_screen(views, rect):
    """A rectangle of the game screen (left, top, right, bottom) in CSS pixels, as the view
    showing its middle shows it, cut to that view: a touch beyond the view misses."""
    (x, y), box = on_screen(views, (rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2)
    scale = box[2] / next(source for source, shown in views if shown == box)[2]
    left = x - (rect[2] - rect[0]) / 2 * scale
    top = y - (rect[3] - rect[1]) / 2 * scale
    return (max(left, box[0]), max(top, box[1]),
            min(left + (rect[2] - rect[0]) * scale, box[0] + box[2]),
            min(top + (rect[3] - rect[1]) * scale, box[1] + box[3]))


def target(at, others, area, screen, bar):
    """The diameter of the largest circle centred at `at` inside its nearest-place area (no
    nearer to another of `others` than to it, inside `area`), on the screen and clear of the
    menu bar; all in CSS pixels, rectangles as (left, top, right, bottom)."""
    x, y = at
    radius = min([((x - ox) ** 2 + (y - oy) ** 2) ** 0.5 / 2 for ox, oy in others if (ox, oy) != at]
                 + [x - area[0], area[2] - x, y - area[1], area[3] - y]
                 + [x - screen[0], screen[2] - x, y - screen[1], screen[3] - y])
    dx = max(bar[0] - x, 0, x - bar[2])
    dy = max(bar[1] - y, 0, y - bar[3])
    return 2 * min(radius, (dx * dx + dy * dy) ** 0.5)


def stick_targets(page, width, height):
    """The target of every stick of the field, and the largest an outermost stick can have on
    this screen: its reach to the touch area's edge, with the touch area as large as the
    screen's shorter side. CSS pixels."""
    state = page.state()
    views = page.views()
    bar = page.b.box("[role=menubar]")
    bar = (bar[0], bar[1], bar[0] + bar[2], bar[1] + bar[3])
    area = rect_on_screen(views, state["touchArea"])
    centres = [on_screen(views, gx + 0.5, gy + 0.5)[0] for gx, gy in state["sticks"]]
    targets = [target(c, centres, area, (0, 0, width, height), bar) for c in centres]
    left, top, right, bottom = state["touchArea"]
    reach = min(min(gx + 0.5 - left, right - gx - 0.5) for gx, _ in state["sticks"])
    return targets, 2 * reach * min(width, height) / (right - left)


def check_layout(page, name, width, height, ratio):
    """Nothing scrolls, every view lies on the screen and shows the canvas's pixels there; on
    a touch screen the field takes the screen's width under the menu bar, or its height beside
    it, the panels are as large as the rest allows, and felt fills the room left."""
    b = page.b
    scroll = b.js("const e = document.scrollingElement;"
                  "return [e.scrollWidth, e.scrollHeight, innerWidth, innerHeight];")
    check(scroll[0] <= scroll[2] and scroll[1] <= scroll[3],
          f"{name}: the page scrolls ({scroll[0]} x {scroll[1]} in {scroll[2]} x {scroll[3]})")
    bar = b.box("[role=menubar]")
    check(bar[1] >= 0 and bar[1] + bar[3] <= height and bar[0] + bar[2] <= width + 0.5,
          f"{name}: the menu bar {bar} is cut off")
    views = page.view_pictures()
    apart = not name.startswith("desktop")
    wanted = 5 if apart else 1
    check(len(views) == wanted, f"{name}: {len(views)} parts of the picture, not {wanted}")
    # No canvas is drawn more than a tenth larger than its pixels: the set of pictures follows
    # the layout.
    stretches = b.js("""return Array.from(document.querySelectorAll('#client canvas'))
        .filter((c) => c.offsetParent && c.width > 0)
        .map((c) => c.getBoundingClientRect().width * devicePixelRatio / c.width);""")
    check(stretches and max(stretches) <= 1.1 + 1e-6,
          f"{name}: a part of the picture is drawn {max(stretches or [0]):.2f} times its pixels")
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
    if not apart:
        return shot
    boxes = [box for _, box in page.views()]
    field, panels = boxes[0], boxes[1:]
    under_bar = bar[1] + bar[3]
    if height > width:
        check(abs(field[0]) < 0.5 and abs(field[1] - under_bar) < 0.5
              and abs(field[2] - width) < 0.5,
              f"{name}: the field lies at {field}, not right under the menu bar {bar} as wide "
              "as the screen")
        room = (0, field[1] + field[3], width, height)
    else:
        check(abs(field[1]) < 0.5 and abs(field[3] - height) < 0.5
              and abs(field[0] + field[2] - width) < 0.5 and bar[0] + bar[2] <= field[0] + 0.5,
              f"{name}: the field lies at {field}, not as high as the screen beside the menu "
              f"bar {bar}")
        room = (0, under_bar, field[0], height)
    left = min(p[0] for p in panels)
    right = max(p[0] + p[2] for p in panels)
    bottom = max(p[1] + p[3] for p in panels)
    check(min(p[1] for p in panels) >= room[1] - 0.5 and right - left <= room[2] - room[0] + 0.5
          and bottom <= room[3] + 0.5, f"{name}: the panels {panels} leave their room {room}")
    # As large as their room allows, or as the sharpest pictures do (or a whole number of
    # device pixels per game pixel just under that).
    scale = panels[3][2] / (CONTROLS_PANEL[2] - CONTROLS_PANEL[0])
    check(right - left >= room[2] - room[0] - 2 * GAP - 1 or bottom >= room[3] - GAP - 1
          or scale * ratio >= 0.9 * SHARPEST - 0.01,
          f"{name}: the panels {panels} are smaller than their room {room} allows")
    # The room the views leave is felt: the field's colour, on the screen's pixels.
    felt = shot.getpixel((round(field[0] * ratio) + 1, round(field[1] * ratio) + 1))
    spare = (round((room[0] + 1) * ratio), round((room[3] - 1) * ratio))
    check(max(abs(a - c) for a, c in zip(shot.getpixel(spare), felt)) < 24,
          f"{name}: the room left at {spare} shows {shot.getpixel(spare)}, not felt {felt}")
    return shot


def check_menus(page, name, width, height):
    """The Game menu inside the screen, scrolled by touch to its last items where it is
    longer; Statistics, tapped there, opens its box inside the screen."""
    b = page.b
    b.js("document.querySelector('[role=menubar] > li > [role=menuitem]').click();")
    menu = "[role=menubar] > li > [role=menu]:not([hidden])"
    box = b.box(menu)
    check(box[1] >= 0 and box[1] + box[3] <= height + 0.5 and box[0] + box[2] <= width + 0.5,
          f"{name}: the Game menu at {box} leaves the screen")
    item = "[role=menuitem][data-command]"
    statistics = b.js(f"return Array.from(document.querySelectorAll('{menu} {item}'))"
                      ".findIndex(e => e.textContent.startsWith('Statistics'));")
    check(statistics >= 0, f"{name}: the Game menu has no Statistics")

    def statistics_box():
        return b.js(f"return Array.from(document.querySelectorAll('{menu} {item}'))"
                    f"[{statistics}].getBoundingClientRect().toJSON();")
    for _ in range(4):
        if statistics_box()["bottom"] <= height:
            break
        if page.touch:
            page.swipe_up(box[0] + box[2] / 2, box[1] + box[3] * 0.8, box[3] * 0.6)
        else:
            b.cdp("Input.dispatchMouseEvent", type="mouseWheel", x=box[0] + box[2] / 2,
                  y=box[1] + box[3] / 2, deltaX=0, deltaY=box[3] * 0.6)
            wait_until(lambda: b.js(f"return document.querySelector('{menu}').scrollTop > 0"),
                       3, f"{name}: the wheel does not scroll the menu")
    # A swipe's scroll runs on a while; a tap before it stops only stops it.
    def settled():
        before = statistics_box()
        time.sleep(0.3)
        return before if statistics_box() == before else None
    at = wait_until(settled, 5, f"{name}: the menu keeps scrolling")
    check(at["top"] >= box[1] and at["bottom"] <= height + 0.5,
          f"{name}: Statistics lies at {at}, out of reach in the menu at {box}")
    (b.tap if page.touch else b.click)((at["left"] + at["right"]) / 2,
                                       (at["top"] + at["bottom"]) / 2)
    wait_until(lambda: b.js("return document.getElementById('statistics').open"), 3,
               f"{name}: a tap on Statistics opens no box")
    shown = b.box("#statistics")
    close = b.box("#close-statistics")
    check(shown[0] >= 0 and shown[1] >= 0 and shown[0] + shown[2] <= width + 0.5
          and shown[1] + shown[3] <= height + 0.5 and close[1] + close[3] <= height + 0.5
          and b.box("#statistics-caption")[1] >= 0,
          f"{name}: the Statistics box at {shown} does not fit the screen")
    b.js("document.getElementById('close-statistics').click();")


def test_devices(browser, server, figures):
    page = TouchPage(browser, server.url("test-page/"))
    for name, width, height, ratio, touch in DEVICES:
        page.emulate(width, height, ratio, touch)
        page.open_afresh()
        smallest = {}
        for size in (2, 3, 4, 5):
            page.start_game(size, ACTION_TYPES["add"])
            shot = check_layout(page, f"{name} {size}x{size}", width, height, ratio)
            targets, largest = stick_targets(page, width, height)
            smallest[size] = min(targets)
            # Where the screen is too small for the decided size even with the field's touch
            # area as large as its shorter side (4 x 4 under 396 CSS pixels), the most it can.
            wanted = STICK_TARGET if size <= 4 else LARGEST_FIELD_STICK_TARGET
            check(smallest[size] >= min(wanted, largest - 0.5),
                  f"{name}: on {size} x {size} a stick's target is {smallest[size]:.1f}, not "
                  f"{min(wanted, largest):.1f}")
            if SHOTS and size in (2, 5):
                os.makedirs(SHOTS, exist_ok=True)
                shot.save(os.path.join(SHOTS, f"{name.replace(' ', '-')}-{size}x{size}.png"))
        # Buttons: the two a finger can reach on the Controls panel, and their drawn size.
        views = page.views()
        buttons = [on_screen(views, x + 0.5, y + 0.5)[0] for x, y in (QUIT_BUTTON, NEXT_BUTTON)]
        bar = browser.box("[role=menubar]")
        panel = rect_on_screen(views, CONTROLS_PANEL)
        button_target = min(
            target(at, buttons, panel, (0, 0, width, height),
                   (bar[0], bar[1], bar[0] + bar[2], bar[1] + bar[3])) for at in buttons)
        scale = (panel[2] - panel[0]) / (CONTROLS_PANEL[2] - CONTROLS_PANEL[0])
        drawn = ((QUIT[2] - QUIT[0]) * scale, (QUIT[3] - QUIT[1]) * scale)
        canvas = browser.box("#screen")
        items = browser.js("""document.querySelector('[role=menubar] > li > [role=menuitem]')
                .click();
            const heights = Array.from(document.querySelectorAll('[role=menuitem]'))
                .filter(e => e.offsetParent).map(e => e.getBoundingClientRect().height);
            document.querySelector('[role=menubar] > li > [role=menuitem]').click();
            return Math.min(...heights);""")
        figures.append(f"{name}: canvas {canvas[2]:.0f} x {canvas[3]:.0f}, smallest stick target "
                       + ", ".join(f"{s}x{s} {t:.1f}" for s, t in smallest.items())
                       + f", button target {button_target:.1f}, drawn {drawn[0]:.1f} x "
                       f"{drawn[1]:.1f}, menu items {items:.0f} high")
        check(button_target >= BUTTON_TARGET, f"{name}: a button's target is {button_target}")
        if touch:
            check(items >= 44, f"{name}: menu items are {items} px high on a touch screen")
            check(min(drawn) >= 44, f"{name}: the buttons are drawn {drawn}")
        check_menus(page, name, width, height)
    page.emulate(1000, 800, 1, False)
    check_console(browser, "on the devices")


def test_low_desktop(browser, server):
    """A desktop window zoomed to 400 %: 320 x 256 CSS pixels."""
    page = TouchPage(browser, server.url("test-page/"))
    page.emulate(320, 256, 1, False)
    page.open_afresh()
    check_menus(page, "320 x 256", 320, 256)
    page.emulate(1000, 800, 1, False)
    check_console(browser, "at 320 x 256")


def test_taps_hit_their_place(browser, server, idle):
    """Every place of every field size on a small upright phone, tapped at its centre (an
    outermost one a quarter pitch out) and a quarter of its target off it: the tap hits that
    place, and once the finger is lifted nothing keeps the look under the pointer."""
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
        xs, ys = [x for x, _ in sticks], [y for _, y in sticks]
        for i, (x, y) in enumerate(sticks):
            # An outermost one, rather than at its centre, a quarter pitch out from it: the
            # touch area's edge. From a pixel's middle, where the page shows a stick's centre.
            # Not up: there the edge touches the menu bar, onto which the browser moves a tap.
            out = [(dx, dy, QUARTER_PITCH) for dx, dy, rim in ((-1, 0, min(xs)), (1, 0, max(xs)),
                                                               (0, 1, max(ys)))
                   if (x if dx else y) == rim]
            taps = (out or [(*offsets[0], 0)]) + [(*offsets[1 + i % 4], quarter)]
            for tap, (dx, dy, reach) in enumerate(taps):
                at = (x + 0.5 + dx * reach, y + 0.5 + dy * reach)
                page.touch_at(*on_screen(page.views(), *at)[0])
                # The first tap puts a stick there, the next one takes it away again.
                wanted = [] if tap % 2 else [[x, y]]
                wait_until(lambda: page.state()["added"] == wanted, 3,
                           f"{size}x{size}: a finger down at {at} does not leave the player's "
                           f"sticks at {wanted}")
                check(page.state()["hovered"] is None,
                      f"{size}x{size}: the finger down at {at} leaves a hover look")
                page.touch_end()
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
    nothing; on the stick itself it changes it and lights it, until the mouse leaves."""
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
    # Gone off the picture, the mouse leaves no stick lit.
    canvas = browser.box("#screen")
    browser.mouse("mouseMoved", canvas[0] / 2, canvas[1] + canvas[3] / 2)
    wait_until(lambda: page.state()["hovered"] is None, 3,
               "the stick keeps its hover look once the mouse left the picture")
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
             ("mouse", test_mouse_keeps_exact_areas),
             ("low desktop", test_low_desktop)]
    status = run_page_tests({"page": page_dir, "test-page": testing_dir}, tests, sys.argv[4:])
    for line in figures:
        print(line)
    return status


if __name__ == "__main__":
    sys.exit(main())
