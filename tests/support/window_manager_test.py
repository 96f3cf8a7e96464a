#!/usr/bin/python3
"""Checks the harness's window manager: once WindowManager is ready, a window mapped at once
is framed, start after start. openbox claims the screen before it handles windows, and a
window mapped in between stays unmanaged for good; readiness must come after that.

usage: window_manager_test.py [STARTS]
"""
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_basics import Failure, time_limit, wait_until  # noqa: E402
from window_manager import WindowManager  # noqa: E402
from x_display import PlainWindow, XServer, window_property  # noqa: E402

# A window openbox handles is framed in well under this many seconds, also on a busy machine.
FRAME_WAIT = 10


def main():
    starts = int(sys.argv[1]) if len(sys.argv) > 1 else 8
    for start in range(1, starts + 1):
        workdir = tempfile.mkdtemp(prefix="kz-wm-")
        try:
            with XServer(640, 480) as xserver:
                env = dict(os.environ, DISPLAY=xserver.display)
                with WindowManager(env, workdir), PlainWindow(xserver.display) as window:
                    wait_until(lambda: window_property(env, window.id, "_NET_FRAME_EXTENTS"),
                               FRAME_WAIT, f"start {start}: a window mapped once openbox was "
                               "ready was not framed")
        except Failure as e:
            print(f"FAIL: {e}")
            return 1
        finally:
            shutil.rmtree(workdir, ignore_errors=True)
    print(f"a window mapped once openbox is ready is framed, {starts} starts of {starts}")
    return 0


if __name__ == "__main__":
    time_limit(240)
    sys.exit(main())
