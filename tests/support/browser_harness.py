"""What the browser tests share: a static file server on 127.0.0.1 that can be stopped and
started again, and headless Chromium driven through chromedriver, with a fresh profile (or one
that outlives it), the DevTools protocol for input and device emulation, and the canvas read
back as a picture; and the runner of a page's tests.
"""
import base64
import functools
import http.server
import io
import os
import shutil
import sys
import tempfile
import threading
import time

from PIL import Image

from e2e_basics import Failure, check, require_tools

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    # Screenshots in the page's own colours, so they compare with the software surface.
    "--force-color-profile=srgb", "--hide-scrollbars", "--mute-audio",
]


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".webmanifest": "application/manifest+json",
                      ".js": "text/javascript"}

    def log_message(self, *args):
        pass

    def do_GET(self):
        # A document that is no page of the game (as one used to empty the storage) makes the
        # browser ask for the site's icon; the site has none, and that is no failure.
        if self.path == "/favicon.ico":
            self.send_response(204)
            self.end_headers()
            return
        super().do_GET()


class _Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A browser that leaves a page while it loads closes its connections; that is no
        # failure of the page.
        if not isinstance(sys.exc_info()[1], (BrokenPipeError, ConnectionResetError)):
            super().handle_error(request, client_address)


class StaticServer:
    """Serves a folder on 127.0.0.1; stop() and start() keep the same port."""

    def __init__(self, root, port=0):
        self.root = root
        self.port = port
        self.server = None
        self.start()

    def start(self):
        handler = functools.partial(_QuietHandler, directory=self.root)
        self.server = _Server(("127.0.0.1", self.port), handler)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        if self.server:
            self.server.shutdown()
            self.server.server_close()
            self.server = None

    def url(self, path=""):
        return f"http://127.0.0.1:{self.port}/{path}"

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class Browser:
    """Headless Chromium with a profile of its own, removed again at the end; or with the
    profile folder given, which stays for a browser started on it later."""

    def __init__(self, width=1000, height=800, extra_flags=(), profile=None):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service

        require_tools("chromium", "chromedriver")
        self.own_profile = profile is None
        self.profile = tempfile.mkdtemp(prefix="kz-chromium-") if profile is None else profile
        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium")
        for flag in CHROMIUM_FLAGS + [f"--user-data-dir={self.profile}",
                                      f"--window-size={width},{height}", *extra_flags]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        service = Service(shutil.which("chromedriver"))
        try:
            self.driver = webdriver.Chrome(service=service, options=options)
        except Exception:
            self._remove_profile()
            raise
        self.driver.set_page_load_timeout(30)
        self.driver.set_script_timeout(30)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            self._remove_profile()

    def _remove_profile(self):
        if self.own_profile:
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.quit()

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def async_js(self, script, *args):
        return self.driver.execute_async_script(script, *args)

    def console(self):
        """Console entries since the last call."""
        return self.driver.get_log("browser")

    def emulate(self, width, height, ratio, mobile=False):
        self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                 deviceScaleFactor=ratio, mobile=mobile)

    def screenshot(self):
        return Image.open(io.BytesIO(self.driver.get_screenshot_as_png())).convert("RGB")

    def canvas_picture(self, selector="canvas"):
        """The canvas's own pixels, as the page drew them."""
        data = self.js(f"return document.querySelector('{selector}').toDataURL('image/png');")
        check(data and data.startswith("data:image/png;base64,"), "the canvas gave no picture")
        raw = base64.b64decode(data.split(",", 1)[1])
        return Image.open(io.BytesIO(raw)).convert("RGB")

    def box(self, selector):
        """The element's box in CSS pixels of the viewport: left, top, width, height."""
        return self.js(f"const r = document.querySelector('{selector}').getBoundingClientRect();"
                       "return [r.left, r.top, r.width, r.height];")

    def mouse(self, kind, x, y, button="none", buttons=0):
        self.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                 buttons=buttons, clickCount=1 if kind != "mouseMoved" else 0)

    def click(self, x, y):
        self.mouse("mouseMoved", x, y)
        self.mouse("mousePressed", x, y, "left", 1)
        self.mouse("mouseReleased", x, y, "left", 0)

    def tap(self, x, y):
        point = [{"x": x, "y": y, "id": 1, "radiusX": 1, "radiusY": 1, "force": 1}]
        self.cdp("Input.dispatchTouchEvent", type="touchStart", touchPoints=point)
        self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def key(self, key, code, key_code, modifiers=0, text=None):
        """One key pressed and let go; modifiers: 1 Alt, 2 Ctrl, 4 Meta, 8 Shift."""
        down = dict(type="rawKeyDown" if text is None else "keyDown", key=key, code=code,
                    windowsVirtualKeyCode=key_code, nativeVirtualKeyCode=key_code,
                    modifiers=modifiers)
        if text is not None:
            down["text"] = text
        self.cdp("Input.dispatchKeyEvent", **down)
        self.cdp("Input.dispatchKeyEvent", type="keyUp", key=key, code=code,
                 windowsVirtualKeyCode=key_code, nativeVirtualKeyCode=key_code,
                 modifiers=modifiers)


def run_page_tests(pages, tests, chosen=(), browser_size=(1000, 800)):
    """Serves the built pages (name in the address: folder) from one root and runs the tests
    (name, test) chosen by name, all of them when none is, in turn: each test(browser, server)
    with one Browser of browser_size for them all, or test(server) when browser_size is None
    and each starts its own. Prints a line per test and the count; returns the exit status."""
    for folder in pages.values():
        if not os.path.isfile(os.path.join(folder, "index.html")):
            print(f"FAIL: {folder} holds no built page (cmake --preset web && "
                  "cmake --build --preset web)")
            return 1
    unknown = [name for name in chosen if name not in [name for name, _ in tests]]
    if unknown:
        print(f"no such test: {unknown}")
        return 2
    tests = [(name, test) for name, test in tests if not chosen or name in chosen]
    root = tempfile.mkdtemp(prefix="kz-web-")
    for name, folder in pages.items():
        os.symlink(os.path.abspath(folder), os.path.join(root, name))
    failed = 0
    try:
        with StaticServer(root) as server:
            browser = Browser(*browser_size) if browser_size else None
            try:
                for name, test in tests:
                    started = time.monotonic()
                    try:
                        if browser:
                            test(browser, server)
                        else:
                            test(server)
                        print(f"ok: {name} ({time.monotonic() - started:.0f} s)")
                    except Failure as failure:
                        failed += 1
                        print(f"FAILED: {name}: {failure}")
                        if browser:
                            browser.console()
            finally:
                if browser:
                    browser.quit()
    except Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        shutil.rmtree(root, ignore_errors=True)
    print(f"{len(tests) - failed} passed, {failed} failed")
    return 1 if failed else 0
