#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Pendro as a screen reader sees it.

Starts Pendro with its accessibility bridge switched on, finds windows, fields, buttons and menu
entries over AT-SPI by their accessible names and descriptions, types with real X key events
(xdotool), presses buttons and menu entries through the Action interface and reads the results
back the way a screen reader would. One exercise in every trainer is done with real key presses
alone (Tab, Return, Space, keypad Enter), and the outcome of its check must be announced as a
notification; an "=" box is opened through the action it offers.

Needs an X display with a German keymap, a D-Bus session bus on which the AT-SPI bus can be
activated, and the Debian packages python3-gi, gir1.2-atspi-2.0 and xdotool. scripts/e2e.sh sets
all of that up; run this file with the system interpreter (/usr/bin/python3).

Prints one line per check and closes with "N passed, N failed"; exits non-zero when a check fails.
Every wait is bounded, and the whole run is bounded by --deadline.
"""

import argparse
import os
import signal
import subprocess
import sys
import time
import traceback
import warnings
from decimal import ROUND_HALF_UP, Decimal
from fractions import Fraction
from math import gcd

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

MAIN_TITLE = "Pendro       Version 2.0.0"
HELP_TITLE = "Pendro - Erläuterung"
TAS_TITLE = "Trainer für die Addition und Subtraktion gemeiner Brüche"
TM_TITLE = "Trainer für die Multiplikation gemeiner Brüche"
TD_TITLE = "Trainer für die Division gemeiner Brüche"
TRAINER_TITLES = (TAS_TITLE, TM_TITLE, TD_TITLE)
# menu entry of the main window -> title of the window it opens
MENU_WINDOWS = {
    "Hilfe": HELP_TITLE,
    "Trainer Addition und Subtraktion": TAS_TITLE,
    "Trainer Multiplikation": TM_TITLE,
    "Trainer Division": TD_TITLE,
}

TEXT_ROLES = {Atspi.Role.TEXT, Atspi.Role.ENTRY, Atspi.Role.PASSWORD_TEXT}
# Item lists are not walked: the prime list alone has 12251 items.
UNWALKED_ROLES = {
    Atspi.Role.LIST,
    Atspi.Role.LIST_BOX,
    Atspi.Role.TABLE,
    Atspi.Role.TREE,
    Atspi.Role.TREE_TABLE,
}

# Labels that show results are identified by their accessible description; their accessible name
# must be their caption (an explicit name would hide the value from the screen reader).
MAIN_RESULT_CAPTIONS_AT_START = {"kgV": "", "ggT": "", "Anzahl der Primzahlen": "12251"}
TRAINER_RESULT_CAPTIONS_FRESH = {
    "Lösung Zähler": "",
    "Lösung Nenner": "",
    "Lösung ganze Zahl": "",
    "Lösung Zähler des Rests": "",
    "Lösung Nenner des Rests": "",
    "Lösung als Dezimalzahl": "",
    "Versuche": "0",
    "richtig": "0",
    "Aufgaben": "0",
    "Versuch oder Versuche": "Versuche",
    "Gleichheitszeichen der Lösung": "=",
}

DEFAULT_WAIT = 10.0


class CheckFailed(Exception):
    """A check found the program not doing what it should."""


class Aborted(BaseException):
    """The run's deadline passed or the run was told to stop."""


# Why the run was stopped, once it was. Raising Aborted from the signal handler alone is not
# enough: it may fire inside a call into the AT-SPI library, which turns it into another error.
stop_reason = None


# ---------------------------------------------------------------------------------------------
# AT-SPI helpers


def role_of(acc):
    return Atspi.Accessible.get_role(acc)


def name_of(acc):
    return Atspi.Accessible.get_name(acc) or ""


def description_of(acc):
    return Atspi.Accessible.get_description(acc) or ""


def has_state(acc, state):
    return Atspi.Accessible.get_state_set(acc).contains(state)


def showing(acc):
    return has_state(acc, Atspi.StateType.SHOWING)


def children(acc):
    result = []
    for i in range(Atspi.Accessible.get_child_count(acc)):
        child = Atspi.Accessible.get_child_at_index(acc, i)
        if child is not None:
            result.append(child)
    return result


def text_of(acc):
    return Atspi.Text.get_text(acc, 0, -1) or ""


def describe(acc):
    role = Atspi.Accessible.get_role_name(acc)
    return f"{role} {name_of(acc)!r}"


def walk(acc, path=()):
    """Yields (accessible, path) for every descendant of acc, depth first; a path step is the
    child's role, name and index among its siblings."""
    for index, child in enumerate(children(acc)):
        child_path = path + (f"{describe(child)} #{index}",)
        yield child, child_path
        if role_of(child) not in UNWALKED_ROLES:
            yield from walk(child, child_path)


def press(acc):
    """Runs the accessible's press action (the first action if it has none by that name)."""
    count = Atspi.Action.get_n_actions(acc)
    if count == 0:
        raise CheckFailed(f"{describe(acc)} offers no action")
    with warnings.catch_warnings():
        # the replacement, atspi_action_get_name, is not reachable from Python (name clash)
        warnings.simplefilter("ignore", DeprecationWarning)
        names = [Atspi.Action.get_action_name(acc, i) for i in range(count)]
    index = names.index("Press") if "Press" in names else 0
    if not Atspi.Action.do_action(acc, index):
        raise CheckFailed(f"{describe(acc)} refused its action {names[index]!r}")


def wait_for(what, probe, timeout=DEFAULT_WAIT, interval=0.05):
    """Polls probe() until it returns something true; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        if stop_reason:
            raise Aborted(stop_reason)
        try:
            value = probe()
        except GLib.Error as error:  # the object may be gone or not there yet
            value, last_error = None, error
        if value:
            return value
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error.message})" if last_error else ""
            raise CheckFailed(f"timed out after {timeout:g} s waiting for {what}{detail}")
        time.sleep(interval)


def wait_for_value(what, read, expected, timeout=DEFAULT_WAIT):
    """Polls read() until it equals expected; the failure names the last value seen."""
    seen = [None]

    def probe():
        seen[0] = read()
        return seen[0] == expected

    try:
        wait_for(what, probe, timeout)
    except CheckFailed:
        raise CheckFailed(f"{what}: expected {expected!r}, got {seen[0]!r}") from None


# ---------------------------------------------------------------------------------------------
# X helpers (xdotool)


def xdotool(*args, timeout=DEFAULT_WAIT):
    try:
        done = subprocess.run(
            ["xdotool", *args], capture_output=True, text=True, timeout=timeout, check=False
        )
    except subprocess.TimeoutExpired:
        raise CheckFailed(f"xdotool {' '.join(args)} did not finish within {timeout:g} s") from None
    if done.returncode != 0:
        raise CheckFailed(f"xdotool {' '.join(args)} failed: {done.stderr.strip()}")
    return done.stdout


def title_pattern(title):
    # xdotool matches titles with a regular expression: other ASCII characters than letters,
    # digits and blanks match any one character, an umlaut (several bytes) any run of them.
    pattern = "".join(
        c if (c.isascii() and c.isalnum()) or c == " " else ("." if c.isascii() else ".*")
        for c in title
    )
    return f"^{pattern}$"


class Window:
    """One top-level window of the application, found by its title."""

    def __init__(self, acc, title):
        self.acc = acc
        self.title = title
        self._by_name = None
        self._labels_by_description = None

    def _index(self):
        # Controls are made once per window, so one walk serves every later look-up. Names of
        # result labels change with their caption; those are found by their description.
        if self._by_name is None:
            self._by_name = {}
            self._labels_by_description = {}
            for acc, _ in walk(self.acc):
                role = role_of(acc)
                self._by_name.setdefault((role, name_of(acc)), []).append(acc)
                if role == Atspi.Role.LABEL and description_of(acc):
                    self._labels_by_description.setdefault(description_of(acc), []).append(acc)
        return self._by_name

    def _one(self, roles, name):
        found = [acc for role in roles for acc in self._index().get((role, name), [])]
        if len(found) != 1:
            raise CheckFailed(f"{self.title!r}: {len(found)} controls named {name!r}, expected 1")
        return found[0]

    def field(self, name):
        return self._one(TEXT_ROLES, name)

    def button(self, name):
        return self._one({Atspi.Role.PUSH_BUTTON}, name)

    def menu_item(self, name):
        return self._one({Atspi.Role.MENU_ITEM}, name)

    def label_described(self, description):
        self._index()
        found = self._labels_by_description.get(description, [])
        if len(found) != 1:
            raise CheckFailed(
                f"{self.title!r}: {len(found)} labels described {description!r}, expected 1"
            )
        return found[0]

    def x_window(self):
        ids = xdotool("search", "--onlyvisible", "--name", title_pattern(self.title)).split()
        if not ids:
            raise CheckFailed(f"no visible X window titled {self.title!r}")
        return ids[0]

    def bring_to_front(self):
        window = self.x_window()
        xdotool("windowraise", window)
        xdotool("windowfocus", "--sync", window)

    def type_into(self, field_name, text):
        """Types text into the named field with real key events; checks that it arrived."""
        field = self.field(field_name)
        if not showing(field):
            raise CheckFailed(f"{self.title!r}: field {field_name!r} is not shown")
        before = text_of(field)
        self.bring_to_front()
        if not Atspi.Component.grab_focus(field):
            raise CheckFailed(f"{self.title!r}: field {field_name!r} refused the focus")
        wait_for(
            f"the focus in {field_name!r}", lambda: has_state(field, Atspi.StateType.FOCUSED)
        )
        xdotool("type", "--delay", "25", "--", text)
        wait_for_value(f"text of {field_name!r}", lambda: text_of(field), before + text)

    def click(self, acc):
        """A real left click in the middle of the control."""
        self.bring_to_front()
        box = Atspi.Component.get_extents(acc, Atspi.CoordType.SCREEN)
        if box.width <= 0 or box.height <= 0:
            raise CheckFailed(f"{describe(acc)} has no area on the screen")
        x, y = box.x + box.width // 2, box.y + box.height // 2
        xdotool("mousemove", "--sync", str(x), str(y))
        xdotool("click", "1")


class Session:
    """Pendro started for this run, and what the checks share."""

    def __init__(self, args):
        self.args = args
        self.process = None
        self.app = None
        self.windows = {}

    def start(self):
        env = dict(os.environ)
        env.update(
            QT_QPA_PLATFORM="xcb",
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
            QT_ACCESSIBILITY="1",
        )
        # Screen positions from AT-SPI are fed to xdotool, so no scaling may stand between them.
        for variable in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING"):
            env.pop(variable, None)
        log = open(self.args.log, "wb") if self.args.log else subprocess.DEVNULL
        try:
            self.process = subprocess.Popen([self.args.binary], env=env, stdout=log, stderr=log)
        finally:
            if log is not subprocess.DEVNULL:
                log.close()
        if self.args.pid_file:
            with open(self.args.pid_file, "w", encoding="ascii") as pid_file:
                pid_file.write(f"{self.process.pid}\n")

    def stop(self):
        if self.process is None or self.process.poll() is not None:
            return
        self.process.terminate()
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(timeout=5)

    def application(self):
        if self.app is None:
            pid = self.process.pid

            def probe():
                if self.process.poll() is not None:
                    code = self.process.returncode
                    raise CheckFailed(f"Pendro ended early with exit code {code}")
                for app in children(Atspi.get_desktop(0)):
                    try:
                        if Atspi.Accessible.get_process_id(app) == pid:
                            return app
                    except GLib.Error:
                        pass  # an application that is just leaving the bus
                return None

            self.app = wait_for("Pendro on the accessibility bus", probe, timeout=30)
            # No cached names or states: every read goes to the program.
            Atspi.Accessible.set_cache_mask(self.app, Atspi.Cache.NONE)
        return self.app

    def window(self, title, timeout=DEFAULT_WAIT):
        if title not in self.windows:
            app = self.application()

            def probe():
                for acc in children(app):
                    if name_of(acc) == title and showing(acc):
                        return acc
                return None

            self.windows[title] = Window(wait_for(f"the window {title!r}", probe, timeout), title)
        return self.windows[title]

    def main_window(self):
        return self.window(MAIN_TITLE, timeout=30)


# ---------------------------------------------------------------------------------------------
# Expected results, worked out independently of the program


def decimal_text(value):
    """The decimal value as the trainers show it: rounded to 15 significant digits, then to at
    most 14 decimals, trailing zeros dropped, decimal comma kept even for whole values ("2,")."""
    exact = Decimal(value.numerator) / Decimal(value.denominator)
    if exact == 0:
        return "0,"
    significant = exact.quantize(Decimal(1).scaleb(exact.adjusted() - 14), rounding=ROUND_HALF_UP)
    if significant.as_tuple().exponent < -14:
        significant = significant.quantize(Decimal("1e-14"), rounding=ROUND_HALF_UP)
    text = f"{significant:f}"
    if "." in text:
        text = text.rstrip("0")
    else:
        text += "."
    return text.replace(".", ",")


def multiplication_answer(numerators, denominators):
    """What the answer fields (whole part, numerator, denominator) must hold, and the reduced
    fraction as the solution labels show it."""
    product_n = 1
    product_d = 1
    for n in numerators:
        product_n *= n
    for d in denominators:
        product_d *= d
    divisor = gcd(abs(product_n), product_d)
    reduced_n, reduced_d = product_n // divisor, product_d // divisor
    if abs(reduced_n) >= reduced_d:
        # the sign stays with the whole part; the remainder is never negative
        whole = abs(reduced_n) // reduced_d
        rest = abs(reduced_n) - whole * reduced_d
        signed_whole = str(-whole if reduced_n < 0 else whole)
        answer = (signed_whole, "", "") if rest == 0 else (signed_whole, str(rest), str(reduced_d))
    else:
        answer = ("", str(reduced_n), str(reduced_d))
    return product_n, product_d, reduced_n, reduced_d, answer


# ---------------------------------------------------------------------------------------------
# Checks: each returns a short summary or raises CheckFailed


def check_main_window(session):
    main = session.main_window()
    if role_of(main.acc) != Atspi.Role.FRAME:
        raise CheckFailed(f"main window has the role {Atspi.Accessible.get_role_name(main.acc)!r}")
    for k in range(1, 9):
        field = main.field(f"Zahl {k}")
        if not showing(field) or text_of(field) != "":
            raise CheckFailed(f"field 'Zahl {k}' should be shown and empty")
    wait_for_value(
        "count of primes",
        lambda: name_of(main.label_described("Anzahl der Primzahlen")),
        "12251",
    )
    return "title, 8 number fields, 12251 primes"


def check_menu_opens_windows(session):
    main = session.main_window()
    opened = []
    for entry, title in MENU_WINDOWS.items():
        press(main.menu_item(entry))
        window = session.window(title)
        opened.append(window.title)
    # Choosing an entry again shows the same window, not a second one.
    press(main.menu_item("Trainer Multiplikation"))
    time.sleep(0.3)
    same = [acc for acc in children(session.application()) if name_of(acc) == TM_TITLE]
    if len(same) != 1:
        raise CheckFailed(f"{len(same)} multiplication trainers after choosing it twice")
    return f"{len(opened)} windows opened from the menu"


def accessibility_findings(window, result_captions, expected):
    """Problems in one window: text fields without a name, result labels with a name, and
    names or descriptions from the expected list that are missing."""
    findings = []
    fields_by_name = {}
    labels_by_description = {}
    named = {}
    for acc, path in walk(window.acc):
        role = role_of(acc)
        name = name_of(acc)
        where = " > ".join(path) + ("" if showing(acc) else " (hidden)")
        if role in TEXT_ROLES:
            if not name.strip():
                findings.append(f"text field without a name: {where}, text {text_of(acc)!r}")
            else:
                fields_by_name.setdefault(name, []).append(where)
        elif role == Atspi.Role.LABEL:
            description = description_of(acc)
            if description in result_captions:
                labels_by_description.setdefault(description, []).append(where)
                if name != result_captions[description]:
                    findings.append(
                        f"result label described {description!r} reads {name!r} instead of its "
                        f"caption {result_captions[description]!r}: {where}"
                    )
            if name.strip() in ("*", ":"):
                findings.append(f"sign label read as the bare character {name!r}: {where}")
        if role not in TEXT_ROLES:
            named[(role, name)] = named.get((role, name), 0) + 1
    for name, places in sorted(fields_by_name.items()):
        if len(places) > 1:
            findings.append(f"{len(places)} text fields share the name {name!r}: {places}")
    for name in expected.get("fields", ()):
        if name not in fields_by_name:
            findings.append(f"no text field named {name!r}")
    for description in result_captions:
        count = len(labels_by_description.get(description, ()))
        if count != 1:
            findings.append(f"{count} result labels described {description!r}, expected 1")
    for (role, name), count in expected.get("named", {}).items():
        if named.get((role, name), 0) != count:
            role_name = Atspi.role_get_name(role)
            findings.append(
                f"{named.get((role, name), 0)} controls of role {role_name} named {name!r}, "
                f"expected {count}"
            )
    return findings


def expected_controls(title):
    if title == MAIN_TITLE:
        fields = [f"Zahl {k}" for k in range(1, 9)]
        fields += [f"Primfaktoren von Zahl {k}" for k in range(1, 9)]
        return {
            "fields": fields,
            "named": {
                (Atspi.Role.PUSH_BUTTON, "Start"): 1,
                (Atspi.Role.PUSH_BUTTON, "Alle Eingaben löschen"): 1,
                (Atspi.Role.LIST, "Primzahlen bis 131072"): 1,
            },
        }
    if title not in TRAINER_TITLES:
        return {}
    fields = ["Anzahl Glieder"]
    for k in range(1, 9):
        fields += [f"Zähler {k}", f"Nenner {k}", f"Zähler {k} in Zeile 2"]
    fields += [f"Gleichheitszeichen vor Zeile {row}" for row in range(2, 6)]
    fields += ["Zähler in Zeile 3", "Nenner in Zeile 3", "Zähler in Zeile 4", "Nenner in Zeile 4"]
    fields += ["Ganze Zahl der Antwort", "Zähler der Antwort", "Nenner der Antwort"]
    check_caption = "Ergebnis überprüfen" if title == TM_TITLE else "Ergebnis Überprüfen"
    named = {
        (Atspi.Role.PUSH_BUTTON, "Alle Eingaben löschen"): 1,
        (Atspi.Role.PUSH_BUTTON, "Neue Aufgabe"): 1,
        (Atspi.Role.PUSH_BUTTON, check_caption): 1,
    }
    if title == TAS_TITLE:
        for k in range(1, 9):
            fields += [f"Rechenzeichen {k}", f"Rechenzeichen {k} in Zeile 2"]
        fields.append("Hauptnenner in Zeile 2")
    else:
        fields += [f"Nenner {k} in Zeile 2" for k in range(1, 9)]
        named[(Atspi.Role.CHECK_BOX, "negative Zähler erlauben")] = 1
        # 7 signs between the terms, 7 above and 7 below the bar of row 2
        if title == TM_TITLE:
            named[(Atspi.Role.LABEL, "mal")] = 21
        else:
            named[(Atspi.Role.LABEL, "geteilt durch")] = 7
            named[(Atspi.Role.LABEL, "mal")] = 14
    return {"fields": fields, "named": named}


def check_accessible_names(session):
    """Walks every window while the program is fresh (trainers never used, no factorization run)."""
    app = session.application()
    titles = [name_of(acc) for acc in children(app)]
    findings = []
    for title in (MAIN_TITLE, HELP_TITLE) + TRAINER_TITLES:
        if title not in titles:
            findings.append(f"{title}: window not open")
    for acc in children(app):
        title = name_of(acc)
        if title == MAIN_TITLE:
            captions = MAIN_RESULT_CAPTIONS_AT_START
        elif title in TRAINER_TITLES:
            captions = TRAINER_RESULT_CAPTIONS_FRESH
        else:
            captions = {}
        window = Window(acc, title)
        for finding in accessibility_findings(window, captions, expected_controls(title)):
            findings.append(f"{title}: {finding}")
    if findings:
        raise CheckFailed(f"{len(findings)} problems\n" + "\n".join(findings))
    return f"{len(titles)} windows walked"


HELP_EXAMPLE = {
    "18": "2 * 3 * 3",
    "12": "2 * 2 * 3",
    "30": "2 * 3 * 5",
    "42": "2 * 3 * 7",
    "36": "2 * 2 * 3 * 3",
}


def check_help_example(session):
    main = session.main_window()
    for k, number in enumerate(HELP_EXAMPLE, start=1):
        main.type_into(f"Zahl {k}", number)
    press(main.button("Start"))
    for k, factors in enumerate(HELP_EXAMPLE.values(), start=1):
        field = main.field(f"Primfaktoren von Zahl {k}")
        wait_for_value(f"factors of 'Zahl {k}'", lambda f=field: text_of(f), factors)
    for k in range(6, 9):
        if text_of(main.field(f"Primfaktoren von Zahl {k}")) != "":
            raise CheckFailed(f"factors shown for the empty field 'Zahl {k}'")
    wait_for_value("ggT", lambda: name_of(main.label_described("ggT")), "6")
    wait_for_value("kgV", lambda: name_of(main.label_described("kgV")), "1260")
    return "factors of 18, 12, 30, 42, 36; ggT 6, kgV 1260"


def open_row(trainer, box_name, next_field):
    """Clicks an "=" box (the rows behind it open only on a click) and waits for the next row."""
    box = trainer.field(box_name)
    field = trainer.field(next_field)
    for _ in range(3):
        trainer.click(box)
        try:
            wait_for(f"{next_field!r} to be shown", lambda: showing(field), timeout=3)
            break
        except CheckFailed:
            continue  # the click may have gone to a window that was still in front
    else:
        raise CheckFailed(f"clicking {box_name!r} did not show {next_field!r}")
    wait_for_value(f"text of {box_name!r}", lambda: text_of(box), "=")


def check_multiplication(session):
    trainer = session.window(TM_TITLE)
    press(trainer.button("Neue Aufgabe"))
    terms = ("Zähler 1", "Nenner 1", "Zähler 2", "Nenner 2")
    fields = [trainer.field(name) for name in terms]
    wait_for("the new exercise", lambda: all(text_of(f) for f in fields))
    wait_for("row 2", lambda: showing(trainer.field("Zähler 1 in Zeile 2")))
    if showing(trainer.field("Zähler 3")):
        raise CheckFailed("a third term is shown although the exercise has two")
    wait_for_value("exercises counter", lambda: name_of(trainer.label_described("Aufgaben")), "1")
    try:
        z1, n1, z2, n2 = (int(text_of(f)) for f in fields)
    except ValueError:
        raise CheckFailed(f"exercise is not made of whole numbers: {[text_of(f) for f in fields]}")
    for value in (n1, n2):
        if not 1 <= value <= 10:
            raise CheckFailed(f"denominator {value} outside 1 to 10")
    for value in (z1, z2):
        if not 1 <= abs(value) <= 10:
            raise CheckFailed(f"numerator {value} outside 1 to 10")
    product_n, product_d, reduced_n, reduced_d, answer = multiplication_answer((z1, z2), (n1, n2))

    # The user's way through the exercise: row 2, the products, the reduced fraction, the answer.
    trainer.type_into("Zähler 1 in Zeile 2", str(z1))
    trainer.type_into("Zähler 2 in Zeile 2", str(z2))
    trainer.type_into("Nenner 1 in Zeile 2", str(n1))
    trainer.type_into("Nenner 2 in Zeile 2", str(n2))
    open_row(trainer, "Gleichheitszeichen vor Zeile 3", "Zähler in Zeile 3")
    trainer.type_into("Zähler in Zeile 3", str(product_n))
    trainer.type_into("Nenner in Zeile 3", str(product_d))
    open_row(trainer, "Gleichheitszeichen vor Zeile 4", "Zähler in Zeile 4")
    trainer.type_into("Zähler in Zeile 4", str(reduced_n))
    trainer.type_into("Nenner in Zeile 4", str(reduced_d))
    open_row(trainer, "Gleichheitszeichen vor Zeile 5", "Zähler der Antwort")
    for name, text in zip(
        ("Ganze Zahl der Antwort", "Zähler der Antwort", "Nenner der Antwort"), answer
    ):
        if text:
            trainer.type_into(name, text)

    press(trainer.button("Ergebnis überprüfen"))
    counters = {"Versuche": "1", "richtig": "1", "Aufgaben": "1"}
    solution = {
        "Lösung Zähler": str(reduced_n),
        "Lösung Nenner": str(reduced_d),
        "Lösung ganze Zahl": answer[0],
        "Lösung Zähler des Rests": answer[1],
        "Lösung Nenner des Rests": answer[2],
        "Lösung als Dezimalzahl": decimal_text(Fraction(reduced_n, reduced_d)),
    }
    for description, expected in {**counters, **solution}.items():
        wait_for_value(
            f"label {description!r}",
            lambda d=description: name_of(trainer.label_described(d)),
            expected,
        )
    wait_for("'Neue Aufgabe' to come back", lambda: showing(trainer.button("Neue Aufgabe")))
    if showing(trainer.button("Ergebnis überprüfen")):
        raise CheckFailed("'Ergebnis überprüfen' still shown after a right answer")
    shown = " ".join(t or "_" for t in answer)
    return f"{z1}/{n1} * {z2}/{n2} answered {shown}; 1 of 1 right in 1 attempt"


# What the screen reader hears of its own accord: notifications that appear.
announcements = []


def on_showing(event):
    try:
        if event.detail1 and role_of(event.source) == Atspi.Role.NOTIFICATION:
            announcements.append(name_of(event.source))
    except GLib.Error:
        pass


def pump_events():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def key(*names):
    xdotool("key", "--delay", "40", *names)


def focus_by_tab(trainer, acc, limit=30):
    """Presses Tab until the control has the focus."""
    for _ in range(limit):
        if has_state(acc, Atspi.StateType.FOCUSED):
            return
        key("Tab")
        time.sleep(0.05)
    wait_for(f"the focus on {describe(acc)}", lambda: has_state(acc, Atspi.StateType.FOCUSED))


def expect_focus(trainer, name):
    field = trainer.field(name)
    wait_for(f"the focus in {name!r}", lambda: has_state(field, Atspi.StateType.FOCUSED))


def type_then_tab(text):
    if text:
        xdotool("type", "--delay", "25", "--", text)
    key("Tab")


def exercise_result(trainer, title):
    """The exercise's reduced result, read back from row 1."""
    terms = []
    for k in (1, 2):
        numerator = int(text_of(trainer.field(f"Zähler {k}")))
        denominator = int(text_of(trainer.field(f"Nenner {k}")))
        if title == TAS_TITLE and text_of(trainer.field(f"Rechenzeichen {k}")) == "-":
            numerator = -numerator
        terms.append(Fraction(numerator, denominator))
    if title == TAS_TITLE:
        return terms[0] + terms[1]
    if title == TD_TITLE:
        return terms[0] / terms[1]
    return terms[0] * terms[1]


def mixed_answer(value):
    if abs(value.numerator) < value.denominator:
        return ("", str(value.numerator), str(value.denominator))
    whole = abs(value.numerator) // value.denominator
    rest = abs(value.numerator) - whole * value.denominator
    signed = str(-whole if value < 0 else whole)
    return (signed, "", "") if rest == 0 else (signed, str(rest), str(value.denominator))


def keyboard_exercise(session, title):
    """One exercise with real key presses only: Tab to "Neue Aufgabe", Return, row 2, the "="
    boxes with Space, Return and keypad Enter, the answer, Tab to the check, Return."""
    trainer = session.window(title)
    check_caption = "Ergebnis überprüfen" if title == TM_TITLE else "Ergebnis Überprüfen"
    before = {d: int(name_of(trainer.label_described(d))) for d in ("Versuche", "richtig")}
    trainer.bring_to_front()
    focus_by_tab(trainer, trainer.button("Neue Aufgabe"))
    key("Return")
    first = "Rechenzeichen 1 in Zeile 2" if title == TAS_TITLE else "Zähler 1 in Zeile 2"
    expect_focus(trainer, first)
    answer = mixed_answer(exercise_result(trainer, title))
    for _ in (1, 2):
        if title == TAS_TITLE:
            type_then_tab("+")
        type_then_tab("1")
        if title != TAS_TITLE:
            type_then_tab("1")
    if title == TAS_TITLE:
        type_then_tab("1")
    for row, opener, first_field in (
        (3, "space", "Zähler in Zeile 3"),
        (4, "Return", "Zähler in Zeile 4"),
        (5, "KP_Enter", "Ganze Zahl der Antwort"),
    ):
        expect_focus(trainer, f"Gleichheitszeichen vor Zeile {row}")
        key(opener)
        expect_focus(trainer, first_field)
        if row < 5:
            type_then_tab("1")
            type_then_tab("1")
    for text in answer:
        type_then_tab(text)
    button = trainer.button(check_caption)
    wait_for(f"the focus on {check_caption!r}", lambda: has_state(button, Atspi.StateType.FOCUSED))
    del announcements[:]
    key("Return")
    for description, count in before.items():
        wait_for_value(
            f"label {description!r}",
            lambda d=description: name_of(trainer.label_described(d)),
            str(count + 1),
        )

    def announced():
        pump_events()
        return [a for a in announcements if a.startswith("Richtig!")]

    heard = wait_for("the outcome announced", announced)
    return f"{' '.join(t or '_' for t in answer)}: {heard[0]!r}"


def check_keyboard_exercises(session):
    listener = Atspi.EventListener.new(on_showing)
    listener.register("object:state-changed:showing")
    try:
        return "; ".join(keyboard_exercise(session, title) for title in TRAINER_TITLES)
    finally:
        listener.deregister("object:state-changed:showing")


def check_equals_box_action(session):
    """An "=" box offers its row as an action that a screen reader can run."""
    trainer = session.window(TD_TITLE)
    exercises = int(name_of(trainer.label_described("Aufgaben")))
    press(trainer.button("Neue Aufgabe"))
    wait_for_value(
        "exercises counter", lambda: name_of(trainer.label_described("Aufgaben")), str(exercises + 1)
    )
    for k in (1, 2):
        trainer.type_into(f"Zähler {k} in Zeile 2", "1")
        trainer.type_into(f"Nenner {k} in Zeile 2", "1")
    box = trainer.field("Gleichheitszeichen vor Zeile 3")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", DeprecationWarning)
        names = [Atspi.Action.get_action_name(box, i) for i in range(Atspi.Action.get_n_actions(box))]
    if not names or names[0] != "Zeile 3 öffnen":
        raise CheckFailed(f"the box's actions are {names}")
    if "Eingabetaste" not in description_of(box):
        raise CheckFailed(f"the box's description {description_of(box)!r} names no key")
    Atspi.Action.do_action(box, 0)
    row = trainer.field("Zähler in Zeile 3")
    wait_for("row 3 to open", lambda: showing(row))
    wait_for_value("text of the box", lambda: text_of(box), "=")
    return f"actions {names}; row 3 opened"


def check_quit(session):
    main = session.main_window()
    item = main.menu_item("Beenden")
    try:
        press(item)
    except GLib.Error:
        pass  # the program may end before it answers
    try:
        code = session.process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        raise CheckFailed("Pendro still running 15 s after 'Beenden'") from None
    if code != 0:
        raise CheckFailed(f"Pendro ended with exit code {code}")
    return "program ended with exit code 0"


CHECKS = [
    ("main window", check_main_window),
    ("menu opens help and trainers", check_menu_opens_windows),
    ("accessible names", check_accessible_names),
    ("help example in the main window", check_help_example),
    ("multiplication exercise", check_multiplication),
    ("an exercise in every trainer with keys alone", check_keyboard_exercises),
    ("an \"=\" box's action", check_equals_box_action),
    ("Beenden ends the program", check_quit),
]


def show_log_tail(path, lines=40):
    try:
        with open(path, encoding="utf-8", errors="replace") as log:
            tail = log.read().splitlines()[-lines:]
    except OSError:
        return
    if tail:
        print("Pendro's output:")
        for line in tail:
            print(f"     {line}")


def parse_arguments():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument(
        "--binary", default=os.path.join(root, "build", "dev", "app", "pendro"), help="Pendro"
    )
    parser.add_argument("--log", help="file for Pendro's own output")
    parser.add_argument("--pid-file", help="file to write Pendro's process id into")
    parser.add_argument("--deadline", type=int, default=240, help="seconds for the whole run")
    return parser.parse_args()


def main():
    args = parse_arguments()

    def abort(signum, _frame):
        global stop_reason
        if signum == signal.SIGALRM:
            stop_reason = f"the run's deadline of {args.deadline} s passed"
        else:
            stop_reason = signal.Signals(signum).name
        raise Aborted(stop_reason)

    signal.signal(signal.SIGTERM, abort)
    signal.signal(signal.SIGINT, abort)
    signal.signal(signal.SIGALRM, abort)
    signal.alarm(args.deadline)

    Atspi.init()
    Atspi.set_timeout(5000, 30000)
    session = Session(args)
    passed = failed = 0
    try:
        session.start()
    except OSError as error:
        print(f"FAIL starting {args.binary}: {error}")
        print(f"0 passed, {len(CHECKS)} failed")
        return 1
    try:
        for index, (title, check) in enumerate(CHECKS):
            started = time.monotonic()
            try:
                summary = check(session)
                if stop_reason:
                    raise Aborted(stop_reason)
            except Exception as error:  # noqa: BLE001 - a broken check fails, the run goes on
                if stop_reason:
                    failed += len(CHECKS) - index
                    not_run = len(CHECKS) - index - 1
                    print(f"FAIL {title}: run stopped ({stop_reason}); {not_run} not run")
                    break
                failed += 1
                if isinstance(error, CheckFailed):
                    message = str(error)
                elif isinstance(error, GLib.Error):
                    message = f"AT-SPI error: {error.message}"
                else:
                    message = "error in the test\n" + traceback.format_exc().rstrip()
                first, *rest = message.split("\n")
                print(f"FAIL {title}: {first} ({time.monotonic() - started:.1f} s)")
                for line in rest:
                    print(f"     {line}")
            except Aborted as reason:
                failed += len(CHECKS) - index
                print(f"FAIL {title}: run stopped ({reason}); {len(CHECKS) - index - 1} not run")
                break
            else:
                passed += 1
                print(f"PASS {title}: {summary} ({time.monotonic() - started:.1f} s)")
            sys.stdout.flush()
    finally:
        signal.alarm(0)
        session.stop()
    if failed and args.log:
        show_log_tail(args.log)
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
