#!/usr/bin/python3
"""End-to-end test of the Linux program's extra play, keys and screen reader first.

Runs on a private X server and a private accessibility bus (start it under
dbus-run-session). A whole game of Add From None is played with keys alone: the focus is moved with the
arrows to the stick each hint names and Space changes it, with an undo and a redo on the
way; what the test knows of the game it reads, as a screen reader does, from the drawing
area's accessible name, description and text. Then, with the pointer: the focus frame goes,
a copied puzzle code pasted into Play Puzzle Code brings back the same puzzle (pixels and
title), Statistics opens, Past Puzzle refuses a day to come and plays the first day's
puzzle with its day in the title, Hard chosen gives a puzzle whose title and description say so
and which, given up, counts in Hard's row of the Statistics box, and the records file counts
every game that ended once SIGTERM has ended the program, which keeps the game on show (its
grade too) for the next run.

usage: gtk_extras_e2e.py PROGRAM
"""
import datetime
import os
import re
import signal
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_basics import Failure, check, run, time_limit, wait_until  # noqa: E402
from gtk_program import GtkTestRun, data_folder, records_tables  # noqa: E402
from pictures import differs  # noqa: E402
from screen_layout import BOARD, INSTRUCTIONS, NEXT_BUTTON  # noqa: E402
from x_display import find_windows, screenshot, window_ids, xdotool  # noqa: E402
from atspi_harness import BoardReader, FocusEvents  # noqa: E402
import pyatspi  # noqa: E402

TITLE = "Kestrane Zivadorured"
# The first day with a puzzle, and that puzzle's code.
FIRST_DAY = datetime.date(2026, 12, 8)
FIRST_DAY_CODE = "3MNWJ7CXSM"
FOCUS_COLOUR = (0xFF, 0xE0, 0x00)
WAIT = 10.0
# Where the pointer rests, off the window.
REST = (1190, 790)
HINT = re.compile(r"Hint: (?:add|take away|put back|remove|pick up|put it down at) "
                  r"(horizontal|vertical) match, row (\d+), column (\d+)")
FOCUS = re.compile(r"(horizontal|vertical) match, row (\d+), column (\d+), \w+")


def line_of(orientation, row):
    # Rows of horizontal and of vertical matches take turns down the field.
    return 2 * (row - 1) + (0 if orientation == "horizontal" else 1)


def focus_pixels(env, area):
    picture = screenshot(env, area[0], area[1], area[2], area[3])
    return sum(1 for p in picture.getdata() if p[:3] == FOCUS_COLOUR)


def play(test):
    """The whole test, on the display and bus the run set up."""
    workdir, env = test.workdir, test.env
    game = test.start()
    # Named by the application id, its drawing area "Game field": wait_shown checks both.
    game.wait_shown(WAIT * 6)
    area = game.area()
    window = window_ids(env, TITLE)[0]
    reader = BoardReader(game, WAIT)

    def key(*names):
        run(["xdotool", "key", "--window", window, *names], env)

    run(["xdotool", "mousemove", *map(str, REST)], env)
    run(["xdotool", "windowfocus", "--sync", window], env)

    # Keys alone: to Next and press it.
    for _ in range(6):
        if reader.after(lambda: key("Right"), "an arrow key") == "Next":
            break
    check(reader.text() == "Next", f"the arrows never reached Next: {reader.text()!r}")
    check(focus_pixels(env, area) > 100, "the focus frame is not on the screen")
    said = reader.after(lambda: key("Return"), "Next")
    instruction = re.compile(r"(Add|Remove|Move) (\d+) match(es)? to form \d+ squares?\.")
    started = wait_until(lambda: instruction.match(reader.board.description), WAIT,
                         "the instruction in the description after Next")
    # The game's instruction is said first; the focus may follow it onto the field.
    told = FOCUS.fullmatch(said)
    check(instruction.fullmatch(said) or told, f"Next should say the instruction: {said!r}")
    code = re.search(r" \u2014 ([2-9A-Z]{10})$", xdotool(env, "getwindowname", window).strip())
    check(code, "the window title should show the puzzle's code")

    # A screen reader follows the focus: each arrow that moves it, over the field and
    # the buttons, brings one focus event on an object named as the arrow says it.
    events = FocusEvents(game)
    events.clear()  # any of the start of the game
    said = []
    for arrow in ("Right", "Down", "Right", "Up", "Left", "Left", "Left", "Right", "Right"):
        said.append(reader.after(lambda: key(arrow), arrow))
    # Each arrow's events came before the answer that told its announcement.
    events.wait_for(len(said), WAIT)
    events.stop()
    check(all(a != b for a, b in zip(said, said[1:])) and "Restart" in said and
          FOCUS.fullmatch(said[0]), f"each arrow should move the focus: {said}")
    check(events.focused == said,
          f"focus events {events.focused} should follow the arrows {said}")
    check(events.active == said,
          f"active descendants {events.active} should follow the arrows {said}")
    told = FOCUS.fullmatch(said[-1])

    # The clock in the description goes on with no move made.
    clock = re.compile(r"time (\d\d:\d\d(?::\d\d)?)\.")
    first = clock.search(reader.board.description)
    check(first, f"the description should tell the time: {reader.board.description!r}")
    wait_until(lambda: clock.search(reader.board.description).group(1) != first.group(1),
               WAIT, "the clock in the description to go on")

    # Where the focus is, as the last announcement of it said.
    at = (told.group(1), int(told.group(2)), int(told.group(3))) if told else None
    moves = 0
    for _ in range(40):
        hint = reader.after(lambda: key("h"), "Hint")
        found = HINT.fullmatch(hint)
        check(found, f"a hint should name a match: {hint!r}")
        target = (found.group(1), int(found.group(2)), int(found.group(3)))
        for _ in range(30):
            if at == target:
                break
            if at is None:
                step = "Right"
            elif line_of(at[0], at[1]) != line_of(target[0], target[1]):
                step = "Down" if line_of(at[0], at[1]) < line_of(*target[:2]) else "Up"
            else:
                step = "Right" if at[2] < target[2] else "Left"
            told = FOCUS.fullmatch(reader.after(lambda: key(step), step))
            at = (told.group(1), int(told.group(2)), int(told.group(3))) if told else None
        check(at == target, f"the arrows never reached {target}, only {at}")
        said = reader.after(lambda: key("space"), "Space on a match")
        if said.startswith("Move "):
            moves += 1
            if moves == 1:
                undone = reader.after(lambda: key("ctrl+z"), "Ctrl+Z")
                check(undone.startswith("Undo, move 0 of"), f"Ctrl+Z said {undone!r}")
                redone = reader.after(lambda: key("ctrl+shift+z"), "Ctrl+Shift+Z")
                check(redone.startswith("Redo, move 1 of"), f"Ctrl+Shift+Z said {redone!r}")
                check(" Move 1 of " in reader.board.description,
                      f"the description after a move: {reader.board.description!r}")
        if reader.board.description.startswith("You win!"):
            break
    check(moves >= 1, "no move was undone and redone on the way")
    check(reader.board.description.startswith("You win!"),
          f"hints followed with keys alone should win: {reader.board.description!r}")
    required = int(started.group(2))
    made = int(re.match(r"You win! (\d+) moves", reader.board.description).group(1))
    check(made == required, f"the game took {made} moves, not the {required} it asks for")

    # The pointer hides the focus frame.
    run(["xdotool", "mousemove", str(area[0] + 600), str(area[1] + 400)], env)
    wait_until(lambda: focus_pixels(env, area) == 0, WAIT, "the focus frame to go")

    # A copied code brings back its puzzle: Next, copy, Give Up and Next, paste the code
    # into the box.
    def game_menu(mnemonic):
        key("alt+g")
        game.wait_menu_open("Game", timeout=WAIT)
        run(["xdotool", "key", mnemonic], env)

    def whole_screen():
        return screenshot(env, 0, 0, 1200, 800)

    def puzzle_picture():
        # One picture, so the field and the instruction come from one frame.
        shot = screenshot(env, *area)
        return [shot.crop(box) for box in (BOARD, INSTRUCTIONS)]

    def new_puzzle_picture(before, what):
        """The field and the instruction once the instruction on the screen is no longer
        that of before: the frame that shows a new puzzle, drawn whole."""
        def shown():
            picture = puzzle_picture()
            return picture if differs(picture[1], before[1]) else None
        return wait_until(shown, WAIT, f"the instruction of {what} on the screen")

    def wait_same_puzzle(wanted, what):
        """Waits until the screen shows the field and instruction of wanted."""
        seen = {}

        def same():
            seen["shown"] = puzzle_picture()
            return not any(differs(a, b) for a, b in zip(seen["shown"], wanted))
        try:
            wait_until(same, WAIT, "the same puzzle on the screen")
        except Failure:
            parts = [part for a, b, part in zip(seen["shown"], wanted, ("field", "instruction"))
                     if differs(a, b)]
            raise Failure(f"{what} should bring back the same {' and '.join(parts)}")

    def given_up():
        try:
            wait_until(lambda: "Given up" in reader.description(), WAIT, "the game given up")
        except Failure as e:
            raise Failure(f"{e}, not {reader.description()!r}")

    def title():
        return xdotool(env, "getwindowname", window).strip()

    won = puzzle_picture()
    game.click(NEXT_BUTTON, REST)
    wait_until(lambda: title() != f"{TITLE} \u2014 {code.group(1)}", WAIT, "a new puzzle")
    shared_title, shared = title(), new_puzzle_picture(won, "the next puzzle")
    shared_code = shared_title.split(" \u2014 ")[1]
    copied = reader.after(lambda: game_menu("c"), "Copy Puzzle Code")
    check(copied == f"Puzzle code {shared_code} copied.", f"Copy Puzzle Code said {copied!r}")
    game.click(NEXT_BUTTON, REST)  # Give Up, where Next was
    given_up()
    game.click(NEXT_BUTTON, REST)
    wait_until(lambda: title() != shared_title, WAIT, "another puzzle")
    game_menu("p")
    wait_until(lambda: find_windows(env, "Play Puzzle Code"), WAIT, "the Play Puzzle Code box")
    key("ctrl+v")
    # The paste comes from the clipboard a little later than the key.
    game.wait_entry("Play Puzzle Code", lambda entry: entry[0] == shared_code, WAIT,
                    f"the code {shared_code} pasted into the box")
    run(["xdotool", "key", "Return"], env)
    wait_until(lambda: title() == shared_title, WAIT, f"the title {shared_title!r} again")
    wait_same_puzzle(shared, "the code")

    before = whole_screen()
    game_menu("a")
    statistics = game.wait_box_drawn(
        env, "Statistics", before,
        lambda o: o.name == "Records of the games played" and
        o.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE), WAIT)
    statistics.save(os.path.join(workdir, "statistics.png"))
    run(["xdotool", "key", "Escape"], env)
    wait_until(lambda: not find_windows(env, "Statistics"), WAIT, "the box to close")

    # Past Puzzle...: the calendar opens on today; a day still to come is refused, and the
    # first day with a puzzle plays the puzzle it had, its day in the title.
    before = whole_screen()
    game_menu("z")
    game.wait_box_drawn(env, "Past Puzzle", before,
                        lambda o: o.getRole() == pyatspi.ROLE_CALENDAR, WAIT).save(
        os.path.join(workdir, "past-puzzle.png"))
    ok = wait_until(lambda: game.in_box("Past Puzzle", lambda o: o.name == "OK" and
                                        o.getRole() == pyatspi.ROLE_PUSH_BUTTON),
                    WAIT, "the OK button of the Past Puzzle box")
    check(game.sensitive(ok), "OK should take today")
    before = title()
    run(["xdotool", "key", "Right"], env)
    wait_until(lambda: not game.sensitive(ok), WAIT, "OK greyed for a day still to come")
    # Return refused; then Left, back to today, is handled after it, so once OK can be
    # used again the Return has had its effect.
    run(["xdotool", "key", "Return", "Left"], env)
    wait_until(lambda: not find_windows(env, "Past Puzzle") or game.sensitive(ok), WAIT,
               "the Left key after Return to be handled")
    check(find_windows(env, "Past Puzzle") and title() == before,
          f"a day still to come was taken: {title()!r}")
    back = (datetime.datetime.now(datetime.timezone.utc).date() - FIRST_DAY).days
    run(["xdotool", "key", "--delay", "20", "--repeat", str(back), "Left"], env)
    run(["xdotool", "key", "Return"], env)
    wait_until(lambda: not find_windows(env, "Past Puzzle"), WAIT, "the box to close")
    wait_until(lambda: f" — {FIRST_DAY_CODE} — puzzle of {FIRST_DAY}" in title(),
               WAIT, f"the first day's puzzle in the title, not {title()!r}")

    # Hard chosen in the Options menu: the next Next draws a Hard puzzle, and the title
    # and the description say so.
    key("alt+o")
    game.wait_menu_open("Options", timeout=WAIT)
    run(["xdotool", "key", "d"], env)
    game.wait_menu_open("Options", "Difficulty", timeout=WAIT)
    run(["xdotool", "key", "h"], env)
    game.wait_marked("Difficulty", "Hard", WAIT)
    game.click(NEXT_BUTTON, REST)  # Give Up
    given_up()
    game.click(NEXT_BUTTON, REST)
    wait_until(lambda: " \u2014 Hard" in title(), WAIT, "the grade in the title")
    wait_until(lambda: reader.board.description.startswith("Hard puzzle: "), WAIT,
               "the grade in the description")

    # Given up, the Hard game counts in Hard's row of the Statistics box.
    game.click(NEXT_BUTTON, REST)  # Give Up
    given_up()
    before = whole_screen()
    game_menu("a")
    wait_until(lambda: find_windows(env, "Statistics"), WAIT, "the Statistics box again")
    grades = wait_until(lambda: game.table_rows("Records of the games by grade"), WAIT,
                        "the grades' table")
    check([row[:4] for row in grades] == [["Hard", "1", "0", "1"],
                                           ["Ungraded", "5", "1", "2"]],
          f"the grades' table should count the Hard game given up: {grades}")
    game.wait_box_drawn(
        env, "Statistics", before,
        lambda o: o.name == "Records of the games by grade" and
        o.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE), WAIT).save(
        os.path.join(workdir, "statistics-grades.png"))
    run(["xdotool", "key", "Escape"], env)
    wait_until(lambda: not find_windows(env, "Statistics"), WAIT, "the box to close again")
    given_up_title = title()
    game.click(NEXT_BUTTON, REST)
    wait_until(lambda: title() != given_up_title and " \u2014 Hard" in title(), WAIT,
               "another Hard puzzle")

    hard_code = title().split(" \u2014 ")[1]

    # The end of a session from outside: the game on show is kept, not counted.
    game.proc.send_signal(signal.SIGTERM)
    check(game.wait_exit(WAIT) == 0, "SIGTERM should end the program with 0")
    data = data_folder(env)
    with open(os.path.join(data, "game")) as f:
        kept = f.read()
    check(f"puzzle={hard_code}\n" in kept and "\ngrade=3\n" in kept,
          f"the game on show should be kept with its grade: {kept!r}")
    # Won, given up, left for the code's game, that one left for the first day's, that one
    # given up for the Hard one, and the Hard one given up.
    tables = records_tables(os.path.join(data, "records")) or []
    played = sum(int(t["played"]) for t in tables)
    won = sum(int(t["won"]) for t in tables)
    hints = sum(int(t["hints"]) for t in tables)
    given_up = sum(int(t["given-up"]) for t in tables)
    check((played, won, given_up) == (6, 1, 3),
          f"the records should hold 6 games, 1 won and 3 given up: {tables}")
    with open(os.path.join(data, "records")) as f:
        stored = f.read()
    check(re.search(r"^grade difficulty=3 played=1 won=0 given-up=1 ", stored, re.M),
          f"the records should keep the Hard game under its grade: {stored!r}")
    check(hints >= required, f"the hints of the won game should count: {tables}")
    print(f"gtk extras: a {required}-move game won with keys alone; code {shared_title}")


def main():
    # Add From None on 2 x 2: every puzzle takes several moves, so one can be undone.
    return GtkTestRun(sys.argv[1], "kz-extras-", (1200, 800), settings=(2, 1)).run(play)


if __name__ == "__main__":
    time_limit(240)
    sys.exit(main())
