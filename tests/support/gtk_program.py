"""The environment the Linux program runs in under test: a private display, its own settings,
caches and runtime files, and a fake browser that notes the pages the program opens. What
the program shows to assistive technology is read in atspi_harness."""
import os


def gtk_environment(workdir, display, accessible=False):
    """The environment of the Linux program under test: the private display, settings, caches
    and runtime files under workdir, no Wayland, no desktop services. accessible=True lets the
    program join the accessibility bus (atspi_harness.AccessibilityBus starts a private one);
    otherwise its accessibility bridge stays off."""
    env = dict(os.environ)
    env.update({
        "DISPLAY": display,
        "XDG_CONFIG_HOME": os.path.join(workdir, "config"),
        "XDG_CACHE_HOME": os.path.join(workdir, "cache"),
        "XDG_RUNTIME_DIR": workdir,
        "HOME": workdir,
        "GDK_BACKEND": "x11",
        "GSETTINGS_BACKEND": "memory",
    })
    if not accessible:
        env["NO_AT_BRIDGE"] = "1"
    env.pop("WAYLAND_DISPLAY", None)
    env.pop("GDK_SCALE", None)
    # The program finds the private accessibility bus as on a desktop, never a desktop's own.
    env.pop("AT_SPI_BUS_ADDRESS", None)
    # GTK and fontconfig keep caches for the life of the process; under the sanitizer build
    # they would be reported as leaks.
    env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
    return env


def install_fake_browser(workdir, env):
    """Makes a script the user's browser for HTML files; it notes each address it is given in
    the file whose path this returns."""
    opened = os.path.join(workdir, "opened.txt")
    browser = os.path.join(workdir, "browser.sh")
    with open(browser, "w") as f:
        f.write(f"#!/bin/sh\necho \"$1\" >> '{opened}'\n")
    os.chmod(browser, 0o755)
    apps = os.path.join(workdir, "data", "applications")
    os.makedirs(apps)
    with open(os.path.join(apps, "kz-test-browser.desktop"), "w") as f:
        f.write("[Desktop Entry]\nType=Application\nName=Test Browser\n"
                f"Exec={browser} %u\nMimeType=text/html;x-scheme-handler/file;\n")
    os.makedirs(env["XDG_CONFIG_HOME"], exist_ok=True)
    with open(os.path.join(env["XDG_CONFIG_HOME"], "mimeapps.list"), "w") as f:
        f.write("[Default Applications]\ntext/html=kz-test-browser.desktop\n"
                "x-scheme-handler/file=kz-test-browser.desktop\n")
    env["XDG_DATA_HOME"] = os.path.join(workdir, "data")
    return opened


def opened_addresses(opened):
    """The addresses the fake browser was given so far."""
    if not os.path.exists(opened):
        return []
    with open(opened) as f:
        return f.read().split()


def records_tables(path):
    """The table lines of a records file the program wrote, each as a dict of its fields;
    None while there is no such file."""
    try:
        with open(path) as f:
            return [dict(item.split("=", 1) for item in line.split()[1:])
                    for line in f if line.startswith("table ")]
    except (FileNotFoundError, NotADirectoryError):
        return None
