#!/usr/bin/python3
"""The help file of a release builds the same twice: tools/compile-help.py run two times, the
second in a later second of the clock than the whole first, into folders at different depths
and with different environments, gives the same bytes, and both time stamps in it are the time
of day of SOURCE_DATE_EPOCH.

usage: help_reproducible_test.py SOURCE_ROOT
Exit codes: 0 passed, 1 failed (also when chmcmd is not installed).
"""
import os
import runpy
import shutil
import struct
import subprocess
import sys
import tempfile
import time

EPOCH = 1765065600 + 12 * 3600 + 34 * 60 + 56  # 12:34:56 UTC
STAMP = (12 * 3600 + 34 * 60 + 56) * 1000       # as chmcmd writes it: ms since midnight


def wait_for_later_second(after, timeout=5.0):
    """Polls the clock until it shows a whole second later than after (a time.time()), so a
    time the compiler read before after is not the one it reads now."""
    deadline = time.monotonic() + timeout
    while int(time.time()) <= int(after):
        if time.monotonic() > deadline:
            raise OSError(f"the clock did not pass {int(after)} within {timeout:.0f} s")
        time.sleep(0.01)


def main():
    root = sys.argv[1]
    script = os.path.join(root, "tools", "compile-help.py")
    chmcmd = shutil.which("chmcmd")
    if not chmcmd:
        print("FAIL: chmcmd is not installed (tools/install-deps.sh installs it)")
        return 1
    # The script's own reader of the compiled file, without running its main.
    uncompressed_file = runpy.run_path(script)["uncompressed_file"]

    work = tempfile.mkdtemp(prefix="kz-help-twice-")
    try:
        outputs = []
        finished = 0.0
        for i, folder in enumerate(["a", os.path.join("b", "a clone", "further down")]):
            if i:
                wait_for_later_second(finished)  # another time of day for the compiler
            out_dir = os.path.join(work, folder)
            os.makedirs(out_dir)
            output = os.path.join(out_dir, "help.chm")
            env = dict(os.environ, SOURCE_DATE_EPOCH=str(EPOCH), KZ_PADDING="x" * 200 * i)
            subprocess.run([sys.executable, script, chmcmd, os.path.join(root, "resources", "help"),
                            "kestrane-zivadorured.hhp", output], env=env, check=True, timeout=120)
            with open(output, "rb") as f:
                outputs.append(f.read())
            finished = time.time()
        first, second = outputs
        if first != second:
            differing = [i for i, (x, y) in enumerate(zip(first, second)) if x != y]
            print(f"FAIL: the two builds differ ({len(first)} and {len(second)} bytes; "
                  f"{len(differing)} bytes differ, the first at {differing[:8]})")
            return 1
        header = struct.unpack_from(">I", first, 0x10)[0]
        offset, _ = uncompressed_file(first, b"/#SYSTEM")
        code, length, system = struct.unpack_from("<HHI", first, offset + 4)
        if header != STAMP or (code, length, system) != (10, 4, STAMP):
            print(f"FAIL: the stamps are {header} and {system} (entry {code}), not {STAMP}")
            return 1
        print(f"PASS: two builds of {len(first)} bytes are the same, stamped {STAMP}")
        return 0
    except (subprocess.SubprocessError, OSError, TypeError) as e:
        print(f"FAIL: {e}")
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
