#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end test of Pendro in the browser: build/web/dist/ served on 127.0.0.1 (gzip-compressed
as a web server would), opened in headless Chromium (Debian's chromium and chromium-driver,
driven by Debian's python3-selenium) as a pupil would use it: keys typed into the windows,
fields read back through the accessibility elements that Qt puts into the page.

Checks, each printed with its outcome, then a closing line "<n> passed, <m> failed":
  - the page: German, its title, icon, manifest, the service worker, the progress indicator,
    installable as an app (Chromium's own check);
  - the main window stands in the page with its title bar, as large as the page allows (a zoom
    step at which it fits, the next one not), and the screen-reader button is German;
  - accessibility: the controls of the main window by the names they have on the desktop;
  - a factorization typed with the keyboard: the factors, ggT and kgV;
  - the help window by its key, in front, closed by Escape;
  - a 10,000-character paste into a number field: only its digits stay, and it costs no more
    per character than typing does (measured in the page, in the same run);
  - a trainer opened from its menu with keys, one exercise done with keys alone and judged
    right (the counters);
  - a worksheet: Ctrl+P, a sheet number typed, "Speichern" downloads its PDF (read back with
    pdftotext);
  - a window dragged by its title bar with the mouse moves with it;
  - touch: a tap brings a window to the front, a tap into a number field asks a tablet for the
    numeric keyboard, a tap on a button presses it, a double tap on an operator field (which asks
    for the text keyboard) switches it;
  - the browser's own zoom (device pixel ratio 2): the windows are drawn at twice the pixels;
  - "Beenden" (Ctrl+Q): the page says in German that Pendro has ended, with a link to restart;
  - with the server stopped, a reload still starts Pendro (the service worker's copy);
  - every request the page made went to its own server.
Usage: web_test.py --dist build/web/dist [--keep-going]
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from web_page import QtPage, Server, chromium, quit_chromium, wait_for  # noqa: E402

MAIN_TITLE = "Pendro       Version 2.0.0"
TM_TITLE = "Trainer für die Multiplikation gemeiner Brüche"
TAS_TITLE = "Trainer für die Addition und Subtraktion gemeiner Brüche"
HELP_TITLE = "Pendro - Erläuterung"
SHEET_TITLE = "Arbeitsblatt erstellen"
ZOOM_PERCENTS = (100, 125, 150, 175, 200, 250, 300)
WAIT = 30  # seconds: a hang detector, nothing waits this long when all is well


class Failed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failed(message)


def mixed_answer(value):
    """Whole part, numerator and denominator of the answer fields for a fraction."""
    if abs(value.numerator) < value.denominator:
        return ("", str(value.numerator), str(value.denominator))
    whole = abs(value.numerator) // value.denominator
    rest = abs(value.numerator) - whole * value.denominator
    signed = str(-whole if value < 0 else whole)
    return (signed, "", "") if rest == 0 else (signed, str(rest), str(value.denominator))


class Run:
    def __init__(self, dist):
        self.dist = dist
        self.server = Server({"/": dist})
        self.driver, self.profile = chromium(performance_log=True)
        self.page = QtPage(self.driver)
        self.requests = []  # every URL the page asked for, from Chromium's network log

    def collect_requests(self):
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                self.requests.append(message["params"]["request"]["url"])

    def close(self):
        try:
            self.collect_requests()
        finally:
            quit_chromium(self.driver, self.profile)
            self.server.stop()

    def wait_for_main_window(self):
        wait_for(lambda: MAIN_TITLE in self.page.window_titles(), WAIT, "the main window")

    # -- Checks: each returns a short summary or raises Failed.

    def the_page(self):
        start = time.monotonic()
        self.driver.get(self.server.origin + "/")
        facts = self.driver.execute_script("""
            return [document.documentElement.lang, document.title,
                    !!document.querySelector('link[rel=manifest]'),
                    !!document.querySelector('link[rel=icon]'),
                    !!document.getElementById('progress'),
                    document.querySelector('footer a').textContent];""")
        check(facts[0] == "de" and facts[1] == "Pendro", f"lang and title: {facts[:2]}")
        check(facts[2] and facts[3] and facts[4], f"manifest, icon, progress: {facts[2:5]}")
        check(facts[5] == "Lizenz und Quelltext", f"the licence link reads {facts[5]!r}")
        self.wait_for_main_window()
        seconds = time.monotonic() - start
        registered = self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            navigator.serviceWorker.ready.then(r => done(!!r.active), () => done(false));""")
        check(registered, "no active service worker")
        # What Chromium requires of an app that goes on the home screen: manifest, icons, worker.
        errors = self.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})
        check(not errors.get("installabilityErrors"), f"not installable: {errors}")
        return f"German page, main window after {seconds:.1f} s, service worker active, " \
               "installable as an app"

    def main_window(self):
        titles = self.page.window_titles()
        check(titles == [MAIN_TITLE], f"windows shown: {titles}")
        left, top, width, height = self.page.window_rect(MAIN_TITLE)
        page_width, page_height = self.driver.execute_script(
            "const r = document.getElementById('screen').getBoundingClientRect();"
            "return [r.width, r.height];")
        check(left >= 0 and top >= 0 and left + width <= page_width + 1
              and top + height <= page_height + 1,
              f"main window {left},{top} {width}x{height} not inside the page "
              f"{page_width}x{page_height}")
        caption = self.page.enable_accessibility()
        check(caption == "Bildschirmleser einschalten", f"screen-reader button: {caption!r}")
        wait_for(lambda: self.page.field(MAIN_TITLE, "Zahl 1") is not None, WAIT,
                 "accessibility elements")
        # As large as it fits: the next step would not (the window is zoomed from its twips;
        # its size at 100 % is its size divided by the zoom).
        return f"{width:.0f} x {height:.0f} px at ({left:.0f}, {top:.0f}) in a " \
               f"{page_width:.0f} x {page_height:.0f} page, title bar shown"

    def zoom_fits(self):
        # The zoom the page started at, from the font of a field: Pendro's fields are 12 pt at
        # 100 %; the largest step at which the window fits is taken, so the next would not.
        left, top, width, height = self.page.window_rect(MAIN_TITLE)
        page_width, page_height = self.driver.execute_script(
            "const r = document.getElementById('screen').getBoundingClientRect();"
            "return [r.width, r.height];")
        zoomed = [p for p in ZOOM_PERCENTS if p > 100]
        # Ctrl+Plus once more must not grow the window (it would not fit).
        self.page.key("+", code="BracketRight", text="+", modifiers=2, virtual=187)
        time.sleep(0.3)
        after = self.page.window_rect(MAIN_TITLE)
        check(abs(after[2] - width) < 1 and abs(after[3] - height) < 1,
              f"Ctrl+Plus grew the window from {width}x{height} to {after[2]}x{after[3]} although "
              "the page had started at the largest step that fits")
        check(width > page_width / 2 or height > page_height / 2,
              f"{width}x{height} in {page_width}x{page_height}: the page did not zoom up")
        return f"the next step ({zoomed[0]} % or more) does not fit: Ctrl+Plus keeps " \
               f"{width:.0f} x {height:.0f}"

    def accessible_names(self):
        names = self.page.field_names(MAIN_TITLE)
        wanted = [f"Zahl {k}" for k in range(1, 9)] + \
            [f"Primfaktoren von Zahl {k}" for k in range(1, 9)]
        missing = [name for name in wanted if name not in names]
        check(not missing, f"fields without their names: {missing} (have {names})")
        controls = [name for _, name in self.page.controls(MAIN_TITLE)]
        for name in ("Start", "Alle Eingaben löschen", "Beenden", "Trainer Bruchrechnung",
                     "Ansicht", "Hilfe"):
            check(name in controls, f"no control named {name!r}")
        for description in ("kgV", "ggT", "Anzahl der Primzahlen"):
            check(self.page.label(MAIN_TITLE, description) is not None,
                  f"no label described {description!r}")
        return f"{len(wanted)} fields, buttons, menu entries and result labels by name"

    def factorization(self):
        # The focus starts in "Zahl 1"; Tab runs through the number fields to "Start".
        numbers = ("18", "12", "30", "42", "36")
        for k, number in enumerate(numbers):
            self.page.type(number)
            self.page.tab()
        self.page.tab(3)
        self.page.enter()
        expected = ("2 * 3 * 3", "2 * 2 * 3", "2 * 3 * 5", "2 * 3 * 7", "2 * 2 * 3 * 3")
        for k, factors in enumerate(expected, start=1):
            wait_for(lambda k=k, f=factors: self.page.field(
                MAIN_TITLE, f"Primfaktoren von Zahl {k}") == f, WAIT,
                f"factors of Zahl {k} {factors!r} (have "
                f"{self.page.field(MAIN_TITLE, f'Primfaktoren von Zahl {k}')!r})")
        for description, value in (("kgV", "1260"), ("ggT", "6")):
            wait_for(lambda d=description, v=value: self.page.label(MAIN_TITLE, d) == v, WAIT,
                     f"{description} {value} (have {self.page.label(MAIN_TITLE, description)!r})")
        return "18 12 30 42 36: factors right, ggT 6, kgV 1260"

    def help_window(self):
        # Alt+H is "Hilfe"; Escape closes the help window again.
        self.page.key("h", code="KeyH", modifiers=1, virtual=72)
        wait_for(lambda: HELP_TITLE in self.page.window_titles(), WAIT, "the help window")
        check(self.page.front_window() == HELP_TITLE, f"in front: {self.page.front_window()!r}")
        self.page.key("Escape", virtual=27)
        wait_for(lambda: HELP_TITLE not in self.page.window_titles(), WAIT,
                 "the help window closed by Escape")
        self.expect_focus("Start")
        return "opened with Alt+H, in front, closed with Escape"

    def long_paste(self):
        # Typing as the yardstick: 200 characters one by one into "Zahl 7", then 10,000 pasted
        # into "Zahl 8", each handled by Qt's own paste path (the input element's paste and
        # input events) and timed in the page.
        x, y = self.page.centre_of(MAIN_TITLE, "Zahl 7")
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": "mousePressed", "x": x, "y": y, "button": "left", "clickCount": 1})
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": "mouseReleased", "x": x, "y": y, "button": "left", "clickCount": 1})
        pasted = ("1a2b-3,4.5 6\u00e47" * 1000)[:10000]
        timing = self.driver.execute_script("""
            const input = document.activeElement;
            const typeOne = ch => input.dispatchEvent(new InputEvent('input',
                { inputType: 'insertText', data: ch, bubbles: true }));
            let start = performance.now();
            for (let i = 0; i < 200; ++i) typeOne('1234567890'[i % 10]);
            const typed = performance.now() - start;
            return [input.tagName, typed];""")
        check(timing[0] == "INPUT", f"the focus is on {timing[0]}, not Qt's text input")
        self.page.tab()  # to "Zahl 8"
        seconds = self.driver.execute_script("""
            const input = document.activeElement;
            const data = new DataTransfer();
            data.setData('text/plain', arguments[0]);
            const start = performance.now();
            input.dispatchEvent(new ClipboardEvent('paste', { clipboardData: data, bubbles: true }));
            input.dispatchEvent(new InputEvent('input', { inputType: 'insertFromPaste', bubbles: true }));
            return performance.now() - start;""", pasted)
        digits = "".join(ch for ch in pasted if ch.isdigit())
        wait_for(lambda: self.page.field(MAIN_TITLE, "Zahl 8") == digits, WAIT,
                 "the pasted digits in Zahl 8")
        check(self.page.field(MAIN_TITLE, "Zahl 7") == "1234567890" * 20, "typed digits in Zahl 7")
        per_typed = timing[1] / 200
        per_pasted = seconds / len(pasted)
        check(per_pasted < 2 * per_typed,
              f"a pasted character cost {per_pasted * 1000:.1f} µs, a typed one "
              f"{per_typed * 1000:.1f} µs")
        # Clean up for the next checks: "C" by its accessibility element.
        self.page.press_button(MAIN_TITLE, "Alle Eingaben löschen")
        return f"10,000 characters in {seconds:.0f} ms ({per_pasted * 1000:.1f} µs each, typed " \
               f"{per_typed * 1000:.1f} µs each); {len(digits)} digits kept"

    def focused(self):
        """The accessible name of the control that has Qt's focus: the page's focus is then on
        Qt's text input, which carries it as its label (web/page.cpp)."""
        return self.driver.execute_script(
            "const e = document.activeElement;"
            "return e && e.tagName === 'INPUT' ? e.getAttribute('aria-label') : null;")

    def tab_to(self, name, limit=40):
        for _ in range(limit):
            if self.focused() == name:
                return
            self.page.tab()
        raise Failed(f"Tab never reached {name!r} (the focus is on {self.focused()!r})")

    def input_mode(self):
        """The on-screen keyboard a tablet would show for the focused control."""
        return self.driver.execute_script("return document.activeElement.inputMode")

    def expect_focus(self, name):
        wait_for(lambda: self.focused() == name, WAIT,
                 f"the focus on {name!r} (it is on {self.focused()!r})")

    def type_then_tab(self, text):
        self.page.type(text)
        self.page.tab()

    def trainer_by_keys(self):
        # Alt+T opens "Trainer Bruchrechnung", M its entry "Trainer Multiplikation".
        self.page.key("t", code="KeyT", modifiers=1, virtual=84)
        self.page.key("m", code="KeyM", text="m", virtual=77)
        wait_for(lambda: TM_TITLE in self.page.window_titles(), WAIT, "the multiplication trainer")
        wait_for(lambda: self.page.field(TM_TITLE, "Zähler 1") is not None, WAIT,
                 "the trainer's accessibility elements")
        before = {d: int(self.page.label(TM_TITLE, d)) for d in ("Versuche", "richtig")}
        # Keys alone: Tab to "Neue Aufgabe", Return; row 2; the "=" boxes with Space, Return and
        # keypad Enter; the answer; Tab to the check; Return.
        self.tab_to("Neue Aufgabe")
        self.page.enter()
        self.expect_focus("Zähler 1 in Zeile 2")
        terms = []
        for k in (1, 2):
            numerator = self.page.field(TM_TITLE, f"Zähler {k}")
            denominator = self.page.field(TM_TITLE, f"Nenner {k}")
            check(numerator and denominator, f"term {k} of the exercise: {numerator}/{denominator}")
            terms.append(Fraction(int(numerator), int(denominator)))
        answer = mixed_answer(terms[0] * terms[1])
        for _ in (1, 2):
            self.type_then_tab("1")
            self.type_then_tab("1")
        for row, opener, first_field in ((3, "space", "Zähler in Zeile 3"),
                                         (4, "return", "Zähler in Zeile 4"),
                                         (5, "keypad", "Ganze Zahl der Antwort")):
            self.expect_focus(f"Gleichheitszeichen vor Zeile {row}")
            if opener == "space":
                self.page.key(" ", code="Space", text=" ", virtual=32)
            else:
                self.page.enter(keypad=opener == "keypad")
            self.expect_focus(first_field)
            if row < 5:
                self.type_then_tab("1")
                self.type_then_tab("1")
        for text in answer:
            self.type_then_tab(text)
        self.expect_focus("Ergebnis überprüfen")
        self.page.enter()
        for description, count in before.items():
            wait_for(lambda d=description, c=count: self.page.label(TM_TITLE, d) == str(c + 1),
                     WAIT, f"{description} counted ({self.page.label(TM_TITLE, description)!r})")
        shown = " ".join(t or "_" for t in answer)
        return f"{terms[0]} * {terms[1]} answered {shown}: judged right (Versuche and richtig " \
               f"counted)"

    def worksheet(self):
        # Ctrl+P opens the dialog from any window; Alt+B is "Blattnummer", Alt+S "Speichern …",
        # which in a browser hands the PDF to the browser as a download.
        folder = tempfile.mkdtemp(prefix="pendro-download.")
        try:
            self.driver.execute_cdp_cmd("Page.setDownloadBehavior",
                                        {"behavior": "allow", "downloadPath": folder})
            self.page.key("p", code="KeyP", modifiers=2, virtual=80)
            wait_for(lambda: SHEET_TITLE in self.page.window_titles(), WAIT, "the dialog")
            check(self.page.front_window() == SHEET_TITLE, f"in front: {self.page.front_window()!r}")
            self.page.key("b", code="KeyB", modifiers=1, virtual=66)
            wait_for(lambda: (self.focused() or "").startswith("Blattnummer"), WAIT,
                     f"the focus on the sheet number (it is on {self.focused()!r})")
            self.page.type("4711")
            self.page.key("s", code="KeyS", modifiers=1, virtual=83)
            name = "Arbeitsblatt Addition und Subtraktion 4711.pdf"
            path = os.path.join(folder, name)
            wait_for(lambda: os.path.isfile(path), WAIT,
                     f"the download {name!r} (the folder holds {os.listdir(folder)})")
            with open(path, "rb") as pdf:
                check(pdf.read(5) == b"%PDF-", "the download is no PDF")
            text = subprocess.run(["pdftotext", "-raw", path, "-"], capture_output=True,
                                  text=True, check=True).stdout
            for expected in ("Addition und Subtraktion", "Blattnummer 4711", "10."):
                check(expected in text, f"{expected!r} not in the sheet: {text[:300]!r}")
            size = os.path.getsize(path)
            self.page.key("Escape", virtual=27)
            wait_for(lambda: SHEET_TITLE not in self.page.window_titles(), WAIT,
                     "the dialog closed by Escape")
        finally:
            shutil.rmtree(folder, ignore_errors=True)
        return f"Ctrl+P, sheet number 4711, Alt+S: {name!r} downloaded ({size:,} bytes, " \
               "read back with pdftotext), Escape closes the dialog"

    def drag(self, x, y, dx, dy, steps=5):
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": "mousePressed", "x": x, "y": y, "button": "left", "clickCount": 1})
        for k in range(1, steps + 1):
            self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
                "type": "mouseMoved", "x": x + dx * k / steps, "y": y + dy * k / steps,
                "button": "left", "buttons": 1})
        self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": "mouseReleased", "x": x + dx, "y": y + dy, "button": "left", "clickCount": 1})

    def moving(self):
        # The trainer, dragged by its title bar with the mouse, and back.
        before = self.page.window_rect(TM_TITLE)
        point = self.page.title_bar_point(TM_TITLE)
        check(point, "no part of the trainer's title bar is uncovered")
        self.drag(*point, 60, 40)
        wait_for(lambda: self.page.window_rect(TM_TITLE)[:2] != before[:2], WAIT,
                 "the trainer moved")
        moved = self.page.window_rect(TM_TITLE)
        shift = (round(moved[0] - before[0]), round(moved[1] - before[1]))
        check(shift == (60, 40), f"dragged by (60, 40), the trainer moved by {shift}")
        self.drag(point[0] + 60, point[1] + 40, -60, -40)
        wait_for(lambda: self.page.window_rect(TM_TITLE)[:2] == before[:2], WAIT,
                 "the trainer back in its place")
        return f"dragged by its title bar by {shift} and back"

    def touch(self):
        # A tap on the main window's title bar (the trainer covers the rest) brings it to the
        # front; a tap is a click: into "Zahl 1", then on "Start".
        check(self.page.front_window() == TM_TITLE, f"in front: {self.page.front_window()!r}")
        point = self.page.title_bar_point(MAIN_TITLE)
        check(point, "no part of the main window's title bar is uncovered")
        self.page.tap(*point)
        wait_for(lambda: self.page.front_window() == MAIN_TITLE, WAIT,
                 f"the main window in front (it is {self.page.front_window()!r})")
        self.page.tap(*self.page.centre_of(MAIN_TITLE, "Zahl 1"))
        self.expect_focus("Zahl 1")
        check(self.input_mode() == "numeric", f"a field of digits asks for {self.input_mode()!r}")
        self.page.type("12")
        self.page.tap(*self.page.centre_of(MAIN_TITLE, "Start"))
        wait_for(lambda: self.page.field(MAIN_TITLE, "Primfaktoren von Zahl 1") == "2 * 2 * 3",
                 WAIT, "the factors of 12 after a tap on Start")
        # A double tap on an operator field of the addition trainer switches its sign.
        self.page.key("t", code="KeyT", modifiers=1, virtual=84)
        self.page.key("a", code="KeyA", text="a", virtual=65)
        wait_for(lambda: self.page.field(TAS_TITLE, "Rechenzeichen 1") is not None, WAIT,
                 "the addition trainer")
        self.tab_to("Neue Aufgabe")
        self.page.enter()
        wait_for(lambda: self.page.field(TAS_TITLE, "Zähler 1"), WAIT, "the new exercise")
        # The field's text reaches its accessibility element when the field takes the focus.
        self.page.tap(*self.page.centre_of(TAS_TITLE, "Rechenzeichen 1"))
        before = self.page.field(TAS_TITLE, "Rechenzeichen 1")
        check(before in ("+", "-"), f"operator before the double tap: {before!r}")
        self.page.tap(*self.page.centre_of(TAS_TITLE, "Rechenzeichen 1"), times=2)
        self.page.tab()
        self.page.tab(shift=True)
        self.expect_focus("Rechenzeichen 1")
        check(self.input_mode() == "text", f"the operator field asks for {self.input_mode()!r}")
        after = self.page.field(TAS_TITLE, "Rechenzeichen 1")
        check(after == {"+": "-", "-": "+"}[before], f"double tap turned {before!r} into {after!r}")
        return f"tap: main window to the front, a click into Zahl 1 (numeric keyboard) and on " \
               f"Start; operator field: text keyboard; " \
               f"double tap: {before} became {after}"

    def browser_zoom(self):
        # The browser's own zoom changes the device pixel ratio; Qt draws every window anew at
        # the new resolution instead of scaling a picture.
        # At 200 % a page has half the CSS pixels and twice the device pixels per CSS pixel.
        before = self.page.canvas_scale(MAIN_TITLE)
        width, height = self.driver.execute_script("return [innerWidth, innerHeight]")
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width // 2, "height": height // 2, "deviceScaleFactor": 2, "mobile": False})
        try:
            wait_for(lambda: abs(self.page.canvas_scale(MAIN_TITLE) - 2) < 0.01, WAIT,
                     f"the main window drawn at 2 px per px (is {self.page.canvas_scale(MAIN_TITLE)})")
            trainer = self.page.canvas_scale(TM_TITLE)
            check(abs(trainer - 2) < 0.01, f"the trainer drawn at {trainer} px per px")
        finally:
            self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        wait_for(lambda: abs(self.page.canvas_scale(MAIN_TITLE) - before) < 0.01, WAIT,
                 "the main window back at its resolution")
        return f"{before:g} px per px, at 200 % browser zoom 2 px per px in every window"

    def quitting(self):
        # Ctrl+Q is "Beenden" from any window.
        self.page.key("q", code="KeyQ", modifiers=2, virtual=81)
        wait_for(lambda: self.driver.execute_script(
            "return document.getElementById('status').textContent") == "Pendro wurde beendet.",
            WAIT, "the page saying that Pendro has ended")
        link = self.driver.execute_script("""
            const a = document.getElementById('restart');
            return a.hidden ? null : [a.textContent, a.getAttribute('href')];""")
        check(link == ["Pendro neu starten", "./"], f"the restart link: {link}")
        check(self.page.window_titles() == [], f"windows left: {self.page.window_titles()}")
        self.driver.execute_script("document.getElementById('restart').click()")
        self.wait_for_main_window()
        return "\"Pendro wurde beendet.\" with \"Pendro neu starten\", which starts it again"

    def offline(self):
        self.collect_requests()
        kept = self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            caches.keys().then(async names => {
                const files = [];
                for (const name of names)
                    for (const request of await (await caches.open(name)).keys())
                        files.push(new URL(request.url).pathname + new URL(request.url).search);
                done(files);
            });""")
        check(any(f.startswith("/pendro.wasm?") for f in kept), f"the kept files: {kept}")
        self.server.stop()
        self.driver.refresh()
        self.wait_for_main_window()
        return f"server stopped, reload started Pendro from the {len(kept)} kept files"

    def own_server_only(self):
        self.collect_requests()
        foreign = [url for url in self.requests if url.startswith(("http:", "https:", "ws:", "wss:"))
                   and not url.startswith(self.server.origin + "/")]
        check(self.requests, "no requests logged")
        check(not foreign, f"requests elsewhere: {foreign}")
        return f"{len(self.requests)} requests, all to {self.server.origin}"

    def status(self):
        return self.driver.execute_script("return document.getElementById('status').textContent")

    def without_javascript(self):
        self.driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": True})
        try:
            self.driver.get(self.server.origin + "/")
            tree = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})
            texts = " ".join(str(node.get("name", {}).get("value", ""))
                             for node in tree["nodes"])
            check("Pendro braucht JavaScript" in texts,
                  f"the page without JavaScript shows: {texts[:300]!r}")
        finally:
            self.driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": False})
        return "\"Pendro braucht JavaScript ...\" shown"

    def without_webassembly(self):
        script = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                             {"source": "delete globalThis.WebAssembly;"})
        try:
            self.driver.get(self.server.origin + "/")
            wait_for(lambda: self.status().startswith("Dieser Browser kann Pendro nicht"), WAIT,
                     f"the German message (the page shows {self.status()!r})")
        finally:
            self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                        {"identifier": script["identifier"]})
        return f"{self.status()[:60]!r}..."

    def broken_download(self):
        self.server.break_after["/pendro.wasm"] = 300000
        self.driver.get(self.server.origin + "/")
        wait_for(lambda: self.status().startswith("Pendro konnte nicht vollständig geladen"),
                 WAIT, f"the German message (the page shows {self.status()!r})")
        shown = self.driver.execute_script(
            "const b = document.getElementById('retry'); return b.hidden ? null : b.textContent")
        check(shown == "Erneut versuchen", f"the retry button: {shown!r}")
        del self.server.break_after["/pendro.wasm"]
        self.driver.execute_script("document.getElementById('retry').click()")
        self.wait_for_main_window()
        return "broken off after 300,000 bytes: German message, \"Erneut versuchen\" starts Pendro"

    def run(self, checks):
        passed = failed = 0
        for name, method in checks:
            try:
                summary = method()
                passed += 1
                print(f"PASS  {name}: {summary}", flush=True)
            except Exception as error:  # noqa: BLE001 - every failure is reported the same way
                failed += 1
                print(f"FAIL  {name}: {error}", flush=True)
                if not isinstance(error, (Failed, AssertionError)):
                    traceback.print_exc()
                if method in self.fatal:
                    break
        return passed, failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--dist", required=True)
    args = parser.parse_args()
    if not os.path.isfile(os.path.join(args.dist, "index.html")):
        print(f"web_test: no page in {args.dist}; build it with scripts/web.sh", file=sys.stderr)
        return 2
    run = Run(args.dist)
    checks = [
        ("the page", run.the_page),
        ("the main window in the page", run.main_window),
        ("the largest zoom that fits", run.zoom_fits),
        ("accessible names", run.accessible_names),
        ("a factorization typed with the keyboard", run.factorization),
        ("the help window", run.help_window),
        ("a 10,000-character paste", run.long_paste),
        ("a trainer exercise with keys alone", run.trainer_by_keys),
        ("a worksheet as a download", run.worksheet),
        ("a window moved by its title bar", run.moving),
        ("tap and double tap", run.touch),
        ("the browser's zoom stays crisp", run.browser_zoom),
        ("Beenden and the page after it", run.quitting),
        ("offline after the first visit", run.offline),
        ("every request to its own server", run.own_server_only),
    ]
    run.fatal = {run.the_page, run.main_window}
    try:
        passed, failed = run.run(checks)
    finally:
        run.close()
    # What a browser that cannot run Pendro shows, and a download that breaks off, in a fresh
    # browser profile (no worker, no cache) against a fresh server.
    bad = Run(args.dist)
    bad.fatal = set()
    try:
        more_passed, more_failed = bad.run([
            ("a browser without JavaScript", bad.without_javascript),
            ("a browser without WebAssembly", bad.without_webassembly),
            ("a download that breaks off", bad.broken_download),
        ])
    finally:
        bad.close()
    passed += more_passed
    failed += more_failed
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
