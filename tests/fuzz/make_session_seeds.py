#!/usr/bin/env python3
"""Writes the seed inputs of the game session fuzzer into corpus/game_session/.

The fuzzer reads its input with libFuzzer's FuzzedDataProvider, which takes integers from
the end of the input: each seed is written as the values in the order the fuzzer reads
them, then turned around. Keep the operations here in step with game_session_fuzzer.cpp.
"""
import os
import sys

EXIT, MIXED = 40002, 40019


class Seed:
    def __init__(self, field_size, action_type, random_seed):
        self.stream = bytearray()
        self.value(field_size, 0, 5)
        self.value(action_type, 0, 5)
        self.value(random_seed, 0, 2**32 - 1)

    def value(self, v, lo, hi):
        """One ConsumeIntegralInRange(lo, hi): as many bytes as the range needs, high first."""
        span, n = hi - lo, 0
        while n < 8 and span >> (8 * n):
            n += 1
        self.stream += (v - lo).to_bytes(n, "big")

    def op(self, number):
        self.value(number, 0, 9)

    def stick(self, horizontal, index, where=0x88, click=True):
        self.op(2)
        self.value(1 if horizontal else 0, 0, 1)
        self.value(index, 0, 29)
        self.value(where, 0, 255)
        self.value(1 if click else 0, 0, 1)

    def button(self, which, where=0x88, click=True):  # Next, Restart, Give Up, Quit
        self.op(3)
        self.value(which, 0, 3)
        self.value(where, 0, 255)
        self.value(1 if click else 0, 0, 1)

    def command(self, command_id):
        self.op(7)
        if EXIT <= command_id <= MIXED:
            self.value(1, 0, 1)
            self.value(command_id, EXIT, MIXED)
        else:
            self.value(0, 0, 1)
            self.value(command_id, 0, 65535)

    def ticks(self, n):
        for _ in range(n):
            self.op(5)

    def data(self):
        return bytes(reversed(self.stream))


def seeds():
    for action_type in range(6):
        for field_size in (0, 2, 3, 5):
            s = Seed(field_size, action_type, 1000 * action_type + field_size)
            s.button(0)
            s.ticks(2)
            # Every slot of both orientations, hovered and clicked in turn; then once more
            # in reverse, which takes most changes back.
            order = [(h, i) for h in (True, False) for i in range(30)]
            for h, i in order + order[::-1]:
                s.stick(h, i)
            s.button(1)
            s.stick(True, 0)
            s.button(2)
            s.button(0)
            s.stick(False, 3, click=False)
            yield f"play-{action_type}-{field_size}", s.data()
    s = Seed(2, 1, 7)
    s.button(0)
    for command_id in (40003, 40007, 40010, 40011, 40012, 40013, 40014, 40019, 40001, EXIT):
        s.command(command_id)
    s.button(3)
    yield "commands", s.data()


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "game_session")
    os.makedirs(out, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
