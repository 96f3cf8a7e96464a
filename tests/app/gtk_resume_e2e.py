#!/usr/bin/python3
"""End-to-end test of the Linux program keeping a game in progress between runs.

Runs on a private X server and a private accessibility bus (start it under
dbus-run-session). A game of Add From None on 3 x 3: two hints, each followed by a click on
the match it names, a few seconds of the clock, then SIGTERM. Started again, the program
shows the same puzzle (title, field and instruction pictures), the same moves and the clock
where it stopped (give or take a second), and undo walks back to the start. The game comes
back after every other way the program ends too (Ctrl+W, the close box, SIGINT, SIGHUP, the
X server going away as at a log-out); it is counted in the records once, when it is given up,
and is then kept no longer. A damaged file in its place is passed over, and a second window
opened while one plays neither takes the game up nor keeps its own over it.

usage: gtk_resume_e2e.py PROGRAM
"""
import os
import re
import signal
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_basics import Failure, check, run, time_limit, wait_until  # noqa: E402
from gtk_program import GtkTestRun, data_folder, records_tables  # noqa: E402
from pictures import differs, wait_for_picture  # noqa: E402
from screen_layout import (BOARD, CONTROLS_PANEL, FELT, GIVE_UP_BUTTON,  # noqa: E402
                           INSTRUCTIONS, MOVES_PANEL, NEXT_BUTTON, stick_centre)
from x_display import close_window, screenshot, window_ids, xdotool  # noqa: E402
from PIL import Image  # noqa: E402
from atspi_harness import BoardReader  # noqa: E402

TITLE = "Kestrane Zivadorured"
WAIT = 10.0
SIZE = 3
# Where the pointer rests, off the window.
REST = (1190, 790)
HINT = re.compile(r"Hint: add (horizontal|vertical) match, row (\d+), column (\d+)")
PLAYING = re.compile(r"Add (\d+) matches to form \d+ squares?\. Move (\d+) of \d+, "
                     r"time (?:(\d+):)?(\d\d):(\d\d)\.")

# The screen of a game in play drawn headless: its buttons are those of every game in play
# with no pointer over them.
AT_REST = Image.open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "golden",
                                  "playing.png")).convert("RGB")


class Session:
    """One run of the program: its window, the drawing area as a screen reader reads it."""

    def __init__(self, test):
        self.env = test.env
        self.game = test.start()
        self.game.wait_shown(WAIT * 6)
        self.area = self.game.area()
        self.window = window_ids(self.env, TITLE)[0]
        self.reader = BoardReader(self.game, WAIT)
        self.rest_pointer()
        run(["xdotool", "windowfocus", "--sync", self.window], self.env)

    def rest_pointer(self):
        run(["xdotool", "mousemove", *map(str, REST)], self.env)

    def click(self, point):
        self.game.click(point, REST)

    def key(self, *names):
        run(["xdotool", "key", "--window", self.window, *names], self.env)

    def title(self):
        return xdotool(self.env, "getwindowname", self.window).strip()

    def playing(self):
        """(required, moves, seconds) as the description says them while a game runs."""
        found = PLAYING.fullmatch(self.reader.description())
        check(found, f"a game should be running: {self.reader.description()!r}")
        hours, minutes, seconds = (int(found.group(i) or 0) for i in (3, 4, 5))
        return int(found.group(1)), int(found.group(2)), hours * 3600 + minutes * 60 + seconds

    def pointer_at(self, point):
        run(["xdotool", "mousemove", str(self.area[0] + point[0]),
             str(self.area[1] + point[1])], self.env)

    def pictures(self):
        """The field, the instruction and the moves counter as the screen shows them, the
        pointer on the felt (which takes the keyboard's focus frame away, and the look a
        match has under the pointer). The pointer goes over Give Up first: once its look
        changes, and then is that of the buttons at rest again, the screen shows what the
        pointer on the felt leaves."""
        grab = lambda: screenshot(self.env, *self.area)  # noqa: E731
        self.pointer_at(GIVE_UP_BUTTON)
        hovered = wait_for_picture(grab, (AT_REST,), WAIT, CONTROLS_PANEL)
        check(differs(hovered, AT_REST, CONTROLS_PANEL), "Give Up did not show the pointer over it")
        self.pointer_at(FELT)
        shown = wait_for_picture(grab, AT_REST, WAIT, CONTROLS_PANEL)
        check(not differs(shown, AT_REST, CONTROLS_PANEL),
              "with the pointer on the felt the buttons should be at rest")
        return [shown.crop(box) for box in (BOARD, INSTRUCTIONS, MOVES_PANEL)]

    def end(self, how):
        """Ends the program one of the ways it can end; it must exit with 0."""
        if how == "Ctrl+W":
            # As typed on the keyboard: sent to the window, the key's release would find it
            # gone already.
            run(["xdotool", "windowfocus", "--sync", self.window], self.env)
            run(["xdotool", "key", "ctrl+w"], self.env)
        elif how == "close box":
            close_window(self.env["DISPLAY"], self.window)
        else:
            self.game.proc.send_signal(getattr(signal, how))
        code = self.game.wait_exit(WAIT)
        check(code == 0, f"{how} should end the program with 0, not {code}")


def same_pictures(before, after, what):
    for first, second, part in zip(before, after, ("field", "instruction", "moves")):
        check(not differs(first, second), f"{what}: the {part} should look the same")


def wait_clock(session, seconds):
    """Waits until the clock of the game, as the description tells it, has run seconds."""
    try:
        wait_until(lambda: session.playing()[2] >= seconds, WAIT + seconds,
                   f"the clock to reach {seconds} s", step=0.2)
    except Failure as e:
        raise Failure(f"{e}: {session.reader.description()!r}")


def read_tables(data):
    """The records' table lines as dictionaries; none before a game was counted."""
    return records_tables(os.path.join(data, "records")) or []


def play(test):
    """The whole test, on the display and bus the run set up."""
    env = test.env
    data = data_folder(env)
    kept_file = os.path.join(data, "game")

    first = Session(test)
    first.click(NEXT_BUTTON)
    wait_until(lambda: PLAYING.fullmatch(first.reader.description()), WAIT,
               f"a game, not {first.reader.description()!r}")
    code = first.title().rsplit(" ", 1)[-1]
    start_pictures = first.pictures()
    for move in (1, 2):
        hint = HINT.fullmatch(first.reader.after(lambda: first.key("h"), "Hint"))
        check(hint, f"a hint should name a match to add: {first.reader.text()!r}")
        point = stick_centre(SIZE, hint.group(1), int(hint.group(2)), int(hint.group(3)))
        first.reader.after(lambda: first.click(point), "a click on the hinted match")
        wait_until(lambda: first.playing()[1] == move, WAIT, f"move {move}")
    # The clock must have run for the kept clock to tell anything.
    wait_clock(first, 2)
    # An undo and a redo bring the description up to the clock and change nothing.
    first.reader.after(lambda: first.key("ctrl+z"), "Ctrl+Z")
    first.reader.after(lambda: first.key("ctrl+shift+z"), "Ctrl+Shift+Z")
    required, moves, seconds = first.playing()
    check(seconds >= 2, f"the clock should have run: {seconds} s")
    played_pictures = first.pictures()
    first.end("SIGTERM")
    with open(kept_file) as f:
        kept = f.read()
    check(f"puzzle={code}\n" in kept and "hints=2\n" in kept,
          f"the game should be kept with its code and hints: {kept!r}")
    check(re.search(r"^moves=[hv]\d+ [hv]\d+$", kept, re.M), f"two moves kept: {kept!r}")
    kept_clock = re.search(r"^clock=(\d+)$", kept, re.M)
    check(kept_clock and int(kept_clock.group(1)) >= seconds,
          f"the clock at {seconds} s should be kept: {kept!r}")
    kept_seconds = int(kept_clock.group(1))

    # The clock runs on from the kept time while the program starts, so on a busy machine
    # it may be read some seconds later.
    started = time.monotonic()
    second = Session(test)
    check(second.title().endswith(code), f"the same puzzle should be back: {second.title()!r}")
    again = second.playing()
    ran = time.monotonic() - started
    check(again[:2] == (required, 2), f"the game should be back at move 2: {again}")
    check(kept_seconds - 1 <= again[2] <= kept_seconds + ran + 1,
          f"the clock should be back at {kept_seconds} s and run on for at most "
          f"{ran:.1f} s: {again[2]}")
    same_pictures(played_pictures, second.pictures(), "the game taken up again")
    print(f"gtk resume: {code} came back at move 2 of {required}, clock {again[2]} s "
          f"(was {seconds} s)")

    # Every way the program ends keeps the game; nothing is counted on the way.
    for how in ("Ctrl+W", "close box", "SIGINT", "SIGHUP"):
        second.end(how)
        second = Session(test)
        check(second.title().endswith(code) and second.playing()[1] == 2,
              f"the game should come back after {how}: {second.reader.description()!r}")
    check(read_tables(data) == [], f"no game should be counted yet: {read_tables(data)}")


    # Undo walks back to the start.
    for move in (1, 0):
        said = second.reader.after(lambda: second.key("ctrl+z"), "Ctrl+Z")
        check(said.startswith(f"Undo, move {move} of"), f"Ctrl+Z said {said!r}")
    said = second.reader.after(lambda: second.key("ctrl+z"), "Ctrl+Z at the start")
    check(said == "Nothing to undo.", f"Ctrl+Z at the start said {said!r}")
    same_pictures(start_pictures, second.pictures(), "undone to the start")

    # Given up, the game counts once, with both hints, and is kept no longer.
    second.click(GIVE_UP_BUTTON)
    wait_until(lambda: "Given up" in second.reader.description(), WAIT, "Give Up")
    second.end("SIGTERM")
    tables = read_tables(data)
    counts = [(t["played"], t["given-up"], t["hints"]) for t in tables]
    check(counts == [("1", "1", "2")], f"one game given up with two hints: {tables}")
    third = Session(test)
    check(third.reader.description().startswith("Start the game"),
          f"no game should come back after it ended: {third.reader.description()!r}")
    third.end("SIGTERM")

    # A damaged file is passed over: the program starts as it always did.
    with open(kept_file, "w") as f:
        f.write(kept.replace("version=1", "version=1\nversion=1"))
    fourth = Session(test)
    check(fourth.reader.description().startswith("Start the game"),
          f"a damaged game should be passed over: {fourth.reader.description()!r}")
    fourth.click(NEXT_BUTTON)
    wait_until(lambda: PLAYING.fullmatch(fourth.reader.description()), WAIT, "a new game")
    with open(kept_file) as f:
        check("version=1\nversion=1" not in f.read(), "the new game should replace it")

    # A second window while one plays starts idle and leaves the game to the first.
    with open(kept_file) as f:
        kept = f.read()
    other = Session(test)
    check(other.reader.description().startswith("Start the game"),
          f"a second window should not take the game: {other.reader.description()!r}")
    other.click(NEXT_BUTTON)
    wait_until(lambda: PLAYING.fullmatch(other.reader.description()), WAIT, "its own game")
    other.end("SIGTERM")
    with open(kept_file) as f:
        check(f.read() == kept, "a second window should not keep its game over the first's")
    check([t["played"] for t in read_tables(data)] == ["2"],
          f"the second window's game counts as left: {read_tables(data)}")
    run(["xdotool", "windowfocus", "--sync", fourth.window], env)

    # A log-out takes the X server away under the program: the clock is kept too.
    wait_clock(fourth, 2)
    fourth.reader.after(lambda: fourth.key("h"), "Hint")
    shown = fourth.playing()[2]
    test.stop_display()
    code = fourth.game.wait_exit(WAIT)
    with open(kept_file) as f:
        kept = f.read()
    clock = re.search(r"^clock=(\d+)$", kept, re.M)
    check(clock and int(clock.group(1)) >= shown >= 2,
          f"the clock at {shown} s should be kept when the display goes: {kept!r}")
    print(f"gtk resume: the display gone, the program ended with {code} and kept the "
          f"clock at {clock.group(1)} s")


def main():
    # Add From None: every game takes at least four moves, so two never win.
    return GtkTestRun(sys.argv[1], "kz-resume-", (1200, 800), settings=(SIZE, 1)).run(play)


if __name__ == "__main__":
    time_limit(240)
    sys.exit(main())
