"""Where things are on the game screen, as the build writes it from the screen itself
(screen_layout.cpp): one table for every end-to-end script. Rectangles are (left, top,
right, bottom) with right and bottom outside, points (x, y), all in the screen's pixels."""
import json

from e2e_basics import built_file

with open(built_file("screen_layout.json")) as _file:
    _LAYOUT = json.load(_file)


def _rect(name):
    return tuple(_LAYOUT[name])


def centre(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


# The whole screen, which fills the program's drawing area (its client area on Windows).
AREA_W, AREA_H = _LAYOUT["screen"]
BOARD = _rect("board")
INSTRUCTIONS = _rect("instructions")
MOVES_PANEL = _rect("moves_panel")
TIME_PANEL = _rect("time_panel")
CONTROLS_PANEL = _rect("controls_panel")
MOVES_COUNTER = _rect("moves_counter")
CLOCK = _rect("clock")
WIN_BANNER = _rect("win_banner")
# Next and Give Up share a place, as do Quit and Restart.
NEXT_BUTTON = centre(_rect("next"))
GIVE_UP_BUTTON = centre(_rect("give_up"))
QUIT = _rect("quit")
QUIT_BUTTON = centre(QUIT)
RESTART_BUTTON = centre(_rect("restart"))
# A point of bare felt: a click there reaches the screen and nothing on it.
FELT = tuple(_LAYOUT["felt"])
SCREEN = tuple(_LAYOUT["screen"])
# The centres of the sticks of an N x N field once a game of it runs, by N: horizontal ones
# first, each in the field's order.
STICKS = {int(size): [tuple(p) for p in points] for size, points in _LAYOUT["sticks"].items()}


def stick_centre(size, orientation, row, column):
    """The centre of a stick of the size x size field, named as the drawing area names it to a
    reader: "horizontal" or "vertical", row and column counted from 1."""
    if orientation == "horizontal":
        return STICKS[size][(row - 1) * size + (column - 1)]
    return STICKS[size][size * (size + 1) + (column - 1) * size + (row - 1)]
