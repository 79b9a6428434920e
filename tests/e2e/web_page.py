# SPDX-License-Identifier: GPL-3.0-or-later
"""What the browser test (web_test.py) and the browser benchmark (bench/web_bench.py) share: a
static file server on 127.0.0.1 that compresses as a web server does and writes down every
request, headless Chromium driven by Selenium, and the ways into the windows that Qt puts into
the page.

Qt for WebAssembly draws each window onto a canvas of its own inside a div.qt-window, with a
title bar of HTML; the windows' controls are readable through the accessibility elements that Qt
adds to each window once its screen-reader button ("Bildschirmleser einschalten", relabelled by
start.js) has been pressed: a button per push button and menu entry, an input per text field
(name attribute: its accessible name; innerHTML: its text once it changed or had the focus), a
textarea per label (innerHTML: its text; aria-description: its description).
"""
import gzip
import http.server
import os
import shutil
import tempfile
import threading
import time
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".wasm": "application/wasm",
    ".webmanifest": "application/manifest+json",
    ".json": "application/json",
    ".svg": "image/svg+xml",
    ".png": "image/png",
    ".txt": "text/plain; charset=utf-8",
    ".patch": "text/plain; charset=utf-8",
    ".gz": "application/gzip",
}
COMPRESSED = {".html", ".js", ".wasm", ".webmanifest", ".json", ".svg", ".txt", ".patch"}


class Server:
    """Serves folders below path prefixes ({"/": dist, "/floor/": floor}) on 127.0.0.1. Text and
    WebAssembly go out gzip-compressed (level 9) when the browser accepts it. Every request is
    kept in `requests` as (path, status, bytes sent). stop() ends it, as a server that goes
    away."""

    def __init__(self, folders):
        self.folders = sorted(folders.items(), key=lambda item: -len(item[0]))
        self.requests = []
        self.break_after = {}  # path -> bytes: the connection drops after so many bytes
        self._compressed = {}
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                server._answer(self)

        self._http = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self._http.daemon_threads = True
        self.port = self._http.server_address[1]
        self.origin = f"http://127.0.0.1:{self.port}"
        self._thread = threading.Thread(target=self._http.serve_forever, daemon=True)
        self._thread.start()

    def _file(self, path):
        path = urllib.parse.unquote(urllib.parse.urlsplit(path).path)
        for prefix, folder in self.folders:
            if path.startswith(prefix):
                relative = path[len(prefix):]
                if relative == "" or relative.endswith("/"):
                    relative += "index.html"
                full = os.path.realpath(os.path.join(folder, relative))
                if full.startswith(os.path.realpath(folder) + os.sep) and os.path.isfile(full):
                    return full
        return None

    def _answer(self, handler):
        full = self._file(handler.path)
        if full is None:
            body = b"not found"
            handler.send_response(404)
            handler.send_header("Content-Length", str(len(body)))
            handler.end_headers()
            handler.wfile.write(body)
            self.requests.append((handler.path, 404, len(body)))
            return
        extension = ".gz" if full.endswith(".tar.gz") else os.path.splitext(full)[1]
        with open(full, "rb") as file:
            body = file.read()
        handler.send_response(200)
        handler.send_header("Content-Type", TYPES.get(extension, "application/octet-stream"))
        handler.send_header("Cache-Control", "no-cache")
        if extension in COMPRESSED and "gzip" in handler.headers.get("Accept-Encoding", ""):
            key = (full, os.path.getmtime(full), len(body))
            if key not in self._compressed:
                self._compressed[key] = gzip.compress(body, 9, mtime=0)
            body = self._compressed[key]
            handler.send_header("Content-Encoding", "gzip")
        handler.send_header("Content-Length", str(len(body)))
        handler.end_headers()
        cut = self.break_after.get(urllib.parse.urlsplit(handler.path).path)
        try:
            if cut is not None:
                # A server that goes away half way: the promised length never arrives.
                handler.wfile.write(body[:cut])
                handler.wfile.flush()
                handler.close_connection = True
                handler.connection.shutdown(2)
            else:
                handler.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError, OSError):
            pass
        self.requests.append((handler.path, 200, len(body) if cut is None else cut))

    def stop(self):
        self._http.shutdown()
        self._http.server_close()


def chromium(width=1280, height=900, scale=1, performance_log=False):
    """Headless Chromium with a fresh profile, without the background connections that this
    machine's closed network would refuse. Returns (driver, profile folder)."""
    profile = tempfile.mkdtemp(prefix="pendro-chromium.")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
                 "--lang=de-DE", f"--user-data-dir={profile}",
                 f"--window-size={width},{height}", f"--force-device-scale-factor={scale}"):
        options.add_argument(flag)
    # The page asks before it is left while Pendro runs; a reload in a test just goes ahead.
    options.set_capability("unhandledPromptBehavior", "accept")
    if performance_log:
        options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
    else:
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    return driver, profile


def quit_chromium(driver, profile):
    try:
        driver.quit()
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def wait_for(condition, seconds, what, interval=0.05):
    """Polls condition() until it returns something true; fails after the given seconds."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {seconds} s waiting for {what}")
        time.sleep(interval)


# The page's Qt windows, read in the page itself: Qt keeps them in the shadow root of an element
# below #screen.
_WINDOWS_JS = """
const screen = document.getElementById('screen');
const host = [...screen.querySelectorAll('*')].find(e => e.shadowRoot);
const windows = host ? [...host.shadowRoot.querySelectorAll('.qt-window')] : [];
const byTitle = title => windows.find(w => {
    const name = w.querySelector('.title-bar .window-name');
    return name && name.textContent === title;
});
"""


class QtPage:
    """Pendro's windows in the page, as a screen reader or a user with a keyboard meets them."""

    def __init__(self, driver):
        self.driver = driver

    def js(self, script, *args):
        return self.driver.execute_script(_WINDOWS_JS + script, *args)

    def window_titles(self):
        """The titles of the windows shown, front last; a window without a title bar is
        listed as ''."""
        return self.js("""
            return windows.filter(w => w.style.display !== 'none').map(w => {
                const bar = w.querySelector('.title-bar');
                const shown = bar && getComputedStyle(bar).display !== 'none';
                return shown ? w.querySelector('.window-name').textContent : '';
            });""")

    def window_rect(self, title):
        return self.js("""
            const w = byTitle(arguments[0]);
            if (!w) return null;
            const r = w.getBoundingClientRect();
            return [r.left, r.top, r.width, r.height];""", title)

    def canvas_scale(self, title):
        """Backing pixels per CSS pixel of the window's canvas (the browser's zoom crisp or
        not)."""
        return self.js("""
            const w = byTitle(arguments[0]);
            const c = w && w.querySelector('canvas');
            return c ? c.width / c.getBoundingClientRect().width : null;""", title)

    def enable_accessibility(self):
        """Presses Qt's (German) screen-reader button; returns its caption."""
        return self.js("""
            for (const w of windows) {
                const b = w.querySelector('.qt-window-a11y-container button.hidden-visually-read-by-screen-reader');
                if (b) { const caption = b.textContent; b.click(); return caption; }
            }
            return null;""")

    def field(self, title, name):
        """The text of the window's field with this accessible name: '' until it changed or had
        the focus, None where there is no such field."""
        return self.js("""
            const w = byTitle(arguments[0]);
            if (!w) return null;
            for (const e of w.querySelectorAll('.qt-window-a11y-container input')) {
                if (e.getAttribute('name') === arguments[1]) return e.textContent;
                if (!e.hasAttribute('name') && e.textContent === arguments[1]) return '';
            }
            return null;""", title, name)

    def field_names(self, title):
        return self.js("""
            const w = byTitle(arguments[0]);
            return w ? [...w.querySelectorAll('.qt-window-a11y-container input')].map(
                e => e.getAttribute('name') ?? e.textContent) : [];""", title)

    def label(self, title, description):
        """The text of the label with this accessible description."""
        return self.js("""
            const w = byTitle(arguments[0]);
            if (!w) return null;
            const e = [...w.querySelectorAll('.qt-window-a11y-container textarea')].find(
                e => e.getAttribute('aria-description') === arguments[1]);
            return e ? e.textContent : null;""", title, description)

    def controls(self, title):
        """(element, name) of the window's accessibility elements: buttons and menu entries by
        caption, fields by name, labels by text."""
        return self.js("""
            const w = byTitle(arguments[0]);
            if (!w) return [];
            return [...w.querySelectorAll('.qt-window-a11y-container *')].map(e => [
                e.tagName.toLowerCase() + (e.getAttribute('role') ? ':' + e.getAttribute('role') : ''),
                e.getAttribute('title') || e.getAttribute('name') || e.textContent]);""", title)

    def press_button(self, title, caption):
        """Runs a push button or menu entry through its accessibility element, as a screen
        reader does."""
        return self.js("""
            const w = byTitle(arguments[0]);
            const b = w && [...w.querySelectorAll('.qt-window-a11y-container button')].find(
                e => e.textContent === arguments[1] || e.getAttribute('title') === arguments[1]);
            if (!b) return false;
            b.click();
            return true;""", title, caption)

    def centre_of(self, title, name):
        """The page coordinates of the middle of a field or button (found by accessible name or
        caption)."""
        return self.js("""
            const w = byTitle(arguments[0]);
            if (!w) return null;
            for (const e of w.querySelectorAll('.qt-window-a11y-container input, .qt-window-a11y-container button')) {
                if (e.getAttribute('name') === arguments[1] || e.textContent === arguments[1]) {
                    const r = e.getBoundingClientRect();
                    return [r.left + r.width / 2, r.top + r.height / 2];
                }
            }
            return null;""", title, name)

    def title_bar_point(self, title):
        """A point on the window's title bar that no other window covers, or None."""
        return self.js("""
            const w = byTitle(arguments[0]);
            if (!w) return null;
            const r = w.querySelector('.title-bar').getBoundingClientRect();
            const root = w.getRootNode();
            const y = r.top + r.height / 2;
            for (let x = r.left + 4; x < r.right - 4; x += 8) {
                const hit = root.elementFromPoint(x, y);
                if (hit && w.querySelector('.title-bar').contains(hit)) return [x, y];
            }
            return null;""", title)

    def close_window(self, title):
        """Closes a window with the close button of its title bar."""
        return self.js("""
            const w = byTitle(arguments[0]);
            const buttons = w ? w.querySelectorAll('.title-bar .image-button.action-button') : [];
            if (!buttons.length) return false;
            buttons[buttons.length - 1].click();
            return true;""", title)

    def front_window(self):
        """The title of the window in front (Qt stacks the page's windows by z-index)."""
        return self.js("""
            const shown = windows.filter(w => w.style.display !== 'none');
            shown.sort((a, b) => Number(getComputedStyle(a).zIndex) - Number(getComputedStyle(b).zIndex));
            const top = shown[shown.length - 1];
            return top ? top.querySelector('.window-name').textContent : null;""")

    def key(self, key, code=None, text="", modifiers=0, location=0, virtual=0):
        """One key pressed and released, as the browser gets it from a keyboard."""
        for kind in ("keyDown", "keyUp"):
            event = {"type": kind if text or kind == "keyUp" else "rawKeyDown", "key": key,
                     "code": code or key, "modifiers": modifiers, "location": location,
                     "windowsVirtualKeyCode": virtual, "nativeVirtualKeyCode": virtual}
            if text and kind == "keyDown":
                event["text"] = text
                event["unmodifiedText"] = text
            self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", event)

    def type(self, text):
        """Typed characters (digits, signs, "="), each a key press."""
        for ch in text:
            self.key(ch, text=ch, virtual=ord(ch.upper()) if ch.isalnum() else 0)

    def tab(self, count=1, shift=False):
        for _ in range(count):
            self.key("Tab", virtual=9, modifiers=8 if shift else 0)

    def enter(self, keypad=False):
        if keypad:
            self.key("Enter", code="NumpadEnter", text="\r", location=3, virtual=13)
        else:
            self.key("Enter", text="\r", virtual=13)

    def tap(self, x, y, times=1):
        """Taps with a finger (touch events), times in a row."""
        for _ in range(times):
            point = [{"x": x, "y": y, "radiusX": 4, "radiusY": 4, "force": 1, "id": 1}]
            self.driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                        {"type": "touchStart", "touchPoints": point})
            self.driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                        {"type": "touchEnd", "touchPoints": []})
            time.sleep(0.05)
