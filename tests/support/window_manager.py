"""openbox as the window manager of a private X server, for the tests of what a program's
window asks of a window manager and what it is granted."""
import os
import subprocess

from e2e_basics import Service, check, require_tools, wait_until
from x_display import window_property


class WindowManager(Service):
    """openbox on a private X server, ready once it has announced itself on the root. Its
    iconify animation is off: the frames it draws over the screen would be in the pictures."""

    def __init__(self, env, workdir):
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
                   20, "openbox did not start")
        check(self.proc.poll() is None, "openbox ended at start")
