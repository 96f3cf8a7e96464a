#!/usr/bin/python3
"""End-to-end test of the Linux program's records: two windows, a folder that cannot be
written, export and import.

Runs on a private X server and a private accessibility bus (start it under
dbus-run-session). Two processes of the program play on the same records file, side by side:
each game either ends is in the file. Then the records' folder is a file, so nothing can be
written: a notice under the game says so without moving the game, the games are kept, and
once the folder can be made the program's retry writes them with no game played and the
notice goes. Last, Export Records... saves the records and says where, they are removed, and
Import Records... brings them back, twice counting them once. The notice and each box must
be drawn on the screen, their text where the program says it is, where the screen showed
something else before; those pictures stay in the work folder with KZ_E2E_KEEP=1.

usage: gtk_records_e2e.py PROGRAM
"""
import os
import re
import signal
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_basics import Failure, check, run, time_limit, wait_until  # noqa: E402
from gtk_program import GtkTestRun, data_folder, records_tables  # noqa: E402
from pictures import differs, wait_for_picture  # noqa: E402
from screen_layout import INSTRUCTIONS, NEXT_BUTTON  # noqa: E402
from x_display import find_windows, screenshot, window_ids  # noqa: E402
from atspi_harness import TEXT_SHADES  # noqa: E402
import pyatspi  # noqa: E402

TITLE = "Kestrane Zivadorured"
NOTICE = "Your records cannot be saved right now."
WAIT = 10.0
# What the description says while a game runs, whatever its action.
PLAYING = re.compile(r"\b(Add|Remove|Move) \d+ match(es)? to form \d+ squares?\. Move \d+ of ")
# What the import's box says when the records were taken.
IMPORTED = "The records of the file were added to yours."
# How often the program tries again to write records that wait (SessionRecords::kRetryMs).
RETRY = 10.0



def records_in(path):
    """(played, won, given up) of every table of a records file; None while there is none."""
    tables = records_tables(path)
    if tables is None:
        return None
    return tuple(sum(int(t[name]) for t in tables) for name in ("played", "won", "given-up"))


def start(test, env, place):
    """A window of the program run in env, moved to place (x, y) on the screen."""
    known = set(window_ids(env, TITLE))
    game = test.start(env)
    game.wait_shown(WAIT * 6)
    window = wait_until(lambda: (set(window_ids(env, TITLE)) - known) or None, WAIT,
                        "the new window")
    window = sorted(window)[0]
    run(["xdotool", "windowmove", "--sync", window, str(place[0]), str(place[1])], env)
    wait_until(lambda: game.area()[:2] != (-1, -1) and abs(game.area()[0] - place[0]) < 40,
               WAIT, "the window in its place")
    return game, window


def wait_described(game, wanted, what):
    """Waits until the drawing area's description, what the screen shows, satisfies wanted."""
    try:
        wait_until(lambda: wanted(game.board.description), WAIT, what, step=0.05)
    except Failure as e:
        raise Failure(f"{e}, not {game.board.description!r}")


def play_and_give_up(game):
    """Next, then Give Up where Next was: one game played and given up."""
    game.click(NEXT_BUTTON)
    wait_described(game, lambda said: PLAYING.search(said), "a game after Next")
    game.click(NEXT_BUTTON)
    wait_described(game, lambda said: "Given up" in said, "the game given up")


def box_text(game, start):
    """The text of a label showing now that starts so, or None."""
    label = pyatspi.findDescendant(
        game.app, lambda o: o.getRole() == pyatspi.ROLE_LABEL and o.name.startswith(start)
        and o.getState().contains(pyatspi.STATE_SHOWING))
    return label.name if label is not None else None


def shifted(box, area):
    """A rectangle of the game screen where the drawing area at area shows it."""
    return (area[0] + box[0], area[1] + box[1], area[0] + box[2], area[1] + box[3])


def check_notice_drawn(env, game, playing, area):
    """The screen once it shows the notice under the game: the notice's text drawn where
    the screen showed nothing of the program before, and the instruction of the game where
    playing (the screen before the notice) showed it. Returns the picture of the screen."""
    label = wait_until(lambda: pyatspi.findDescendant(
        game.app, lambda o: o.getRole() == pyatspi.ROLE_LABEL and o.name.startswith(NOTICE)),
        WAIT, "the notice's text")
    x, y, w, h = game.extents(label)
    text = (x, y, x + w, y + h)
    check(y >= area[1] + area[3], f"the notice at {text} is not under the game at {area}")
    instruction = shifted(INSTRUCTIONS, area)
    seen = {}

    def drawn():
        seen["screen"] = shot = whole_screen(env)
        return (differs(shot, playing, text) and
                len(shot.crop(text).getcolors(w * h) or []) >= TEXT_SHADES)
    try:
        wait_until(drawn, WAIT, "the notice drawn under the game", step=0.05)
    except Failure as e:
        raise Failure(f"{e}: {len(seen['screen'].crop(text).getcolors(w * h) or [])} shades "
                      f"where its text is at {text}")
    check(not differs(seen["screen"], playing, instruction),
          "with the notice the instruction is no longer where it was")
    return seen["screen"]


def notice_shown(game):
    label = pyatspi.findDescendant(
        game.app, lambda o: o.getRole() == pyatspi.ROLE_LABEL and o.name.startswith(NOTICE))
    return label is not None and label.getState().contains(pyatspi.STATE_SHOWING)


def game_menu(env, game, window, mnemonic):
    run(["xdotool", "windowfocus", "--sync", window], env)
    run(["xdotool", "key", "--window", window, "alt+g"], env)
    game.wait_menu_open("Game", timeout=WAIT)
    run(["xdotool", "key", mnemonic], env)


def whole_screen(env):
    return screenshot(env, 0, 0, 1400, 900)


def choose_file(env, game, title, path, before, workdir, picture):
    """Types a path into the file box of that title and accepts it; before is the screen
    before the box was asked for. The box must show the path typed."""
    box = wait_until(lambda: find_windows(env, title), WAIT, f"the {title} box")[0]
    run(["xdotool", "windowfocus", "--sync", str(box)], env)
    if title.startswith("Import"):
        # A slash opens the box's line for a path, with the slash in it.
        run(["xdotool", "type", "/"], env)
        game.wait_entry(title, lambda entry: entry[0] == "/", WAIT,
                        f"the line for a path in the {title} box", focused=True)
        run(["xdotool", "type", "--delay", "5", path[1:]], env)
    else:
        # The name is selected, all of it once Ctrl+A is handled, so typing replaces it.
        game.wait_entry(title, lambda entry: True, WAIT, f"the name in the {title} box",
                        focused=True)
        run(["xdotool", "key", "ctrl+a"], env)
        game.wait_entry(title, lambda entry: entry[1] == (0, len(entry[0])), WAIT,
                        f"the whole name in the {title} box selected", focused=True)
        run(["xdotool", "type", "--delay", "5", path], env)
    game.wait_entry(title, lambda entry: entry[0] == path, WAIT,
                    f"{path} typed into the {title} box", focused=True)
    game.wait_box_drawn(env, title, before, lambda o: o.getRole() == pyatspi.ROLE_TEXT and
                        o.queryText().getText(0, -1) == path, WAIT).save(
        os.path.join(workdir, picture))
    run(["xdotool", "key", "Return"], env)
    wait_until(lambda: box not in find_windows(env, title), WAIT, f"the {title} box to close")


def message_label(text):
    """Picks the label of a message box that starts so."""
    return lambda o: o.getRole() == pyatspi.ROLE_LABEL and o.name.startswith(text)


def close_box(env, box, title):
    """Answers a message box with Enter and waits for it to go."""
    run(["xdotool", "windowfocus", "--sync", str(box)], env)
    run(["xdotool", "key", "Return"], env)
    wait_until(lambda: not find_windows(env, title) or None, WAIT, "the box to close")


def play(test):
    """The whole test, on the display and bus the run set up."""
    workdir, env = test.workdir, test.env
    records = os.path.join(data_folder(env), "records")

    # Two windows on the same records: the games of both are kept, in whatever order.
    first, _ = start(test, env, (0, 0))
    second, _ = start(test, env, (700, 0))
    expected = []
    for number, game in enumerate((first, second, first, second), start=1):
        play_and_give_up(game)
        expected = (number, 0, number)
        wait_until(lambda: records_in(records) == expected, WAIT,
                   f"{number} games in the records, not {records_in(records)}")
    for game in (first, second):
        game.proc.send_signal(signal.SIGTERM)
        check(game.wait_exit(WAIT) == 0, "SIGTERM should end each window with 0")
    check(records_in(records) == (4, 0, 4), f"the records after both: {records_in(records)}")

    # A records folder that cannot be made: the data folder is a file.
    data = os.path.join(workdir, "data")
    with open(data, "w") as f:
        f.write("not a folder\n")
    blocked = dict(env, XDG_DATA_HOME=data)
    game, window = start(test, blocked, (0, 0))
    before, width = game.area(), game.window()[2]
    check(not notice_shown(game), "the notice shows before anything failed")
    idle = whole_screen(blocked)
    game.click(NEXT_BUTTON)
    wait_described(game, lambda said: PLAYING.search(said), "a game after Next")
    # The instruction stays as it is when the game is given up: the game has not moved
    # when the screen shows it where it was.
    playing = wait_for_picture(lambda: whole_screen(blocked), (idle,), WAIT,
                               shifted(INSTRUCTIONS, before))
    check(differs(playing, idle, shifted(INSTRUCTIONS, before)),
          "the screen shows no instruction after Next")
    game.click(NEXT_BUTTON)
    wait_described(game, lambda said: "Given up" in said, "the game given up")
    wait_until(lambda: notice_shown(game), WAIT, "the notice that the records are not saved")
    check(game.area() == before, f"the notice moved the game: {before} -> {game.area()}")
    check(game.window()[2] == width, f"the notice widened the window from {width}")
    notice = check_notice_drawn(blocked, game, playing, before)
    notice.save(os.path.join(workdir, "notice.png"))
    play_and_give_up(game)

    # The folder can be made again: the program tries again by itself while the games
    # wait, so both are written and the notice goes with no game played.
    os.remove(data)
    os.makedirs(data)
    moved = os.path.join(data_folder(blocked), "records")
    wait_until(lambda: records_in(moved) == (2, 0, 2), RETRY + WAIT,
               f"the kept games written without a new game, not {records_in(moved)}")
    wait_until(lambda: not notice_shown(game), WAIT, "the notice to go")
    check(game.area() == before, f"the notice's going moved the game: {game.area()}")
    play_and_give_up(game)
    wait_until(lambda: records_in(moved) == (3, 0, 3), WAIT,
               f"the next game written, not {records_in(moved)}")

    # Export, remove the records, import twice: they come back once.
    exported = os.path.join(workdir, "exported records.txt")
    before = whole_screen(blocked)
    game_menu(blocked, game, window, "o")
    choose_file(blocked, game, "Export Records", exported, before, workdir, "export.png")
    wait_until(lambda: os.path.exists(exported), WAIT, "the exported file")
    check(records_in(exported) == (3, 0, 3), f"the exported file: {records_in(exported)}")
    # The player is told where it went.
    told = wait_until(lambda: find_windows(blocked, "Export Records"), WAIT,
                      "the box that says where the records went")[0]
    wait_until(lambda: box_text(game, "Records exported"), WAIT, "the export's message")
    check(box_text(game, "Records exported") == f"Records exported to {exported}.",
          f"the export's message says {box_text(game, 'Records exported')!r}")
    game.wait_box_drawn(blocked, "Export Records", before,
                        message_label("Records exported"), WAIT).save(
        os.path.join(workdir, "exported.png"))
    close_box(blocked, told, "Export Records")
    game.proc.send_signal(signal.SIGTERM)
    check(game.wait_exit(WAIT) == 0, "SIGTERM should end the program with 0")
    os.remove(moved)

    game, window = start(test, blocked, (0, 0))
    for times in range(2):
        before = whole_screen(blocked)
        game_menu(blocked, game, window, "i")
        choose_file(blocked, game, "Import Records", exported, before, workdir,
                    "import.png")
        told = wait_until(lambda: find_windows(blocked, "Import Records"), WAIT,
                          "what came of the import")[0]
        check(records_in(moved) == (3, 0, 3),
              f"the imported records counted once, not {records_in(moved)}")
        game.wait_box_drawn(blocked, "Import Records", before,
                            message_label(IMPORTED), WAIT).save(
            os.path.join(workdir, f"imported-{times + 1}.png"))
        close_box(blocked, told, "Import Records")
    game.proc.send_signal(signal.SIGTERM)
    check(game.wait_exit(WAIT) == 0, "SIGTERM should end the program with 0")
    check(records_in(moved) == (3, 0, 3), f"the records at the end: {records_in(moved)}")
    print("gtk records: two windows, a folder that could not be written, export and import")


def main():
    return GtkTestRun(sys.argv[1], "kz-records-", (1400, 900)).run(play)


if __name__ == "__main__":
    time_limit(240)
    sys.exit(main())
