"""openbox as the window manager of a private X server, for the tests of what a program's
window asks of a window manager and what it is granted."""
import os
import subprocess
import time

from e2e_basics import Failure, Service, check, require_tools, wait_until
from x_display import PlainWindow, window_property


class WindowManager(Service):
    """openbox on a private X server, ready once it has framed a window of the test's own. Its
    iconify animation is off: the frames it draws over the screen would be in the pictures.

    openbox announces itself on the root as soon as it has claimed the screen, but a window
    mapped in the moments after that, while it is still starting, is never managed: it stays
    unmapped and unframed for good. On a busy machine those moments last long enough for a
    program started next to fall into them. So the test maps windows of its own, a new one
    each time one is lost, until openbox frames one."""

    def __init__(self, env, workdir, timeout=60):
        require_tools("openbox")
        config = os.path.join(workdir, "openbox")
        os.makedirs(os.path.join(config, "openbox"), exist_ok=True)
        system_rc = "/etc/xdg/openbox/rc.xml"
        if os.path.exists(system_rc):
            with open(system_rc) as f:
                rc = f.read().replace("<animateIconify>yes</animateIconify>",
                                      "<animateIconify>no</animateIconify>")
            with open(os.path.join(config, "openbox", "rc.xml"), "w") as f:
                f.write(rc)
        wm_env = dict(env)
        wm_env["XDG_CONFIG_HOME"] = config
        self.proc = subprocess.Popen(["openbox"], env=wm_env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        wait_until(lambda: self.proc.poll() is not None or
                   window_property(env, "root", "_NET_SUPPORTING_WM_CHECK") not in (None, ""),
                   timeout, "openbox did not claim the screen", step=0.02)
        check(self.proc.poll() is None, "openbox ended at start")
        deadline = time.monotonic() + timeout
        while not self._frames_a_window(env, self.LOST_AFTER):
            check(self.proc.poll() is None, "openbox ended at start")
            check(time.monotonic() < deadline, f"openbox framed no window within {timeout} s")

    # Seconds after which a window openbox has not framed counts as lost; a frame on a busy
    # machine takes up to about 2 s.
    LOST_AFTER = 4

    def _frames_a_window(self, env, seconds):
        with PlainWindow(env["DISPLAY"]) as window:
            try:
                wait_until(lambda: window_property(env, window.id, "_NET_FRAME_EXTENTS"),
                           seconds, "openbox did not frame a window", step=0.05)
                return True
            except Failure:
                return False
