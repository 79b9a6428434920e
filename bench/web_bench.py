#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Pendro in the browser, measured in headless Chromium against pages served on 127.0.0.1
(gzip-compressed, as a web server would; tests/e2e/web_page.py), all from one run:

  - weight: every file of build/web/dist/ raw and gzip-compressed, and what a first visit
    actually fetches (the service worker's fetches included), against the budget of 4 MiB
    (aim: 3 MiB);
  - start-up: from the navigation to the frame in which the main window stands painted in the
    page, Pendro against the floor (web/floor.cpp: a window of the same size with one label,
    built with the same Qt and served the same way), taken in turns A B A B with the browser's
    cache and the service worker out of the way; medians, the ratio of the medians and the
    median of the pair ratios (target: at most 1.3);
  - trainer: from the key that opens the multiplication trainer (Alt+T, M) to the end of its
    handling and to the frame in which the trainer stands painted, first opening and opening
    again after Ctrl+W closed it (target: one 60 Hz frame, 16.7 ms).

Usage: web_bench.py --dist build/web/dist --floor build/web/floor [--pairs 11] [--trainer-runs 11]
"""
import argparse
import gzip
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from web_page import QtPage, Server, chromium, quit_chromium, wait_for  # noqa: E402

MAIN_TITLE = "Pendro       Version 2.0.0"
TM_TITLE = "Trainer für die Multiplikation gemeiner Brüche"
MIB = 1024 * 1024

# Notes, from the first moment of every page, when each window's picture was first put onto
# its canvas (performance.now(), ms since navigation).
PAINT_WATCH = """
window.pendroPainted = {};
window.pendroKeyAt = null;
addEventListener('keydown', e => {
    if (e.key === 'm') {
        window.pendroKeyAt = performance.now();
        setTimeout(() => { window.pendroHandledAt = performance.now(); }, 0);
    }
}, true);
// Qt paints a window in an animation frame and puts its picture onto the window's canvas with
// putImageData; the browser shows it in that frame. The first put to a shown window's canvas
// is the moment it stands painted. (Reading the canvases back each frame, to see whether they
// hold a picture, would cost more than what it measures.)
const put = CanvasRenderingContext2D.prototype.putImageData;
CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    put.apply(this, args);
    const w = this.canvas.closest && this.canvas.closest('.qt-window');
    const name = w && w.querySelector('.window-name');
    if (name && !(name.textContent in window.pendroPainted) && w.style.display !== 'none')
        window.pendroPainted[name.textContent] = performance.now();
};
"""


def median(values):
    return statistics.median(values) if values else float("nan")


def weight(dist):
    print("== what the browser fetches")
    total_raw = total_gzip = 0
    rows = []
    for folder, _, files in os.walk(dist):
        for name in files:
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, dist)
            with open(path, "rb") as file:
                data = file.read()
            packed = len(gzip.compress(data, 9, mtime=0))
            rows.append((relative, len(data), packed))
    print(f"{'file':42} {'raw':>12} {'gzip -9':>12}")
    for relative, raw, packed in sorted(rows):
        print(f"{relative:42} {raw:>12,} {packed:>12,}")
    page_files = [r for r in rows if "quelltext/" not in r[0] and r[0] != "LICENSE.txt"]
    total_raw = sum(r[1] for r in page_files)
    total_gzip = sum(r[2] for r in page_files)
    print(f"{'the page without the licence and source':42} {total_raw:>12,} {total_gzip:>12,}")

    server = Server({"/": dist})
    driver, profile = chromium()
    try:
        driver.get(server.origin + "/")
        wait_for(lambda: MAIN_TITLE in QtPage(driver).window_titles(), 60, "the main window")
        time.sleep(2)  # the service worker's own fetches
    finally:
        quit_chromium(driver, profile)
        server.stop()
    fetched = sum(size for _, status, size in server.requests if status == 200)
    print(f"first visit: {len(server.requests)} requests, {fetched:,} bytes as sent "
          f"(gzip) = {fetched / MIB:.2f} MiB; budget 4 MiB, aim 3 MiB")
    for path, status, size in server.requests:
        print(f"    {status} {size:>10,} {path}")
    return fetched


def start_up(dist, floor, pairs):
    print(f"== start-up, {pairs} pairs in turns, Pendro (A) against the floor (B), each page "
          "visited before, so that its service worker serves its files, as on a pupil's return")
    server = Server({"/": dist, "/floor/": floor})
    driver, profile = chromium()
    page = QtPage(driver)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PAINT_WATCH})

    stages = {"Pendro": [], "floor": []}

    def one(url, title, program=None):
        driver.get("about:blank")
        driver.get(url)
        wait_for(lambda: driver.execute_script(
            "return window.pendroPainted && window.pendroPainted[arguments[0]]", title), 60,
            f"{title} painted")
        painted, marks = driver.execute_script("""
            return [window.pendroPainted[arguments[0]], Object.fromEntries(
                performance.getEntriesByType('mark').map(m => [m.name, m.startTime]))];""", title)
        if program:
            stages[program].append({**marks, "painted": painted})
        return painted

    try:
        # Pendro's main window as it starts, for the floor's size; each page twice, so that its
        # worker is in charge and keeps its files.
        one(server.origin + "/", MAIN_TITLE)
        one(server.origin + "/", MAIN_TITLE)
        width, height = page.js("""
            const c = byTitle(arguments[0]).querySelector('canvas').getBoundingClientRect();
            return [Math.round(c.width), Math.round(c.height)];""", MAIN_TITLE)
        floor_url = f"{server.origin}/floor/?size={width}x{height}"
        one(floor_url, "Pendro")
        one(floor_url, "Pendro")
        served_before = len(server.requests)
        pendro, floor_times = [], []
        for _ in range(pairs):
            pendro.append(one(server.origin + "/", MAIN_TITLE, "Pendro"))
            floor_times.append(one(floor_url, "Pendro", "floor"))
        from_network = [path for path, _, _ in server.requests[served_before:]]
    finally:
        quit_chromium(driver, profile)
        server.stop()
    print(f"requests that reached the server during the pairs (the pages themselves, which "
          f"come from the network while there is one): {len(from_network)}")
    print("where the time goes, medians in ms from the navigation: the program downloaded, "
          "compiled, instantiated, main() returned (windows made), the window painted")
    for program, runs in stages.items():
        columns = []
        for mark in ("pendro-downloaded", "pendro-compiled", "pendro-instantiated",
                     "pendro-main-returned", "painted"):
            columns.append(f"{median([r[mark] for r in runs if mark in r]):7.0f}")
        print(f"    {program:7} " + " ".join(columns))
    ratios = [a / b for a, b in zip(pendro, floor_times)]
    print(f"main window {width} x {height} px; times from navigation to the painted frame, ms")
    print(f"Pendro: median {median(pendro):.0f} (min {min(pendro):.0f}, max {max(pendro):.0f})")
    print(f"floor:  median {median(floor_times):.0f} (min {min(floor_times):.0f}, "
          f"max {max(floor_times):.0f})")
    print(f"ratio of the medians {median(pendro) / median(floor_times):.2f}, median of the pair "
          f"ratios {median(ratios):.2f} (target at most 1.3)")


def trainer(dist, runs):
    print(f"== trainer window, {runs} openings after the first")
    server = Server({"/": dist})
    driver, profile = chromium()
    page = QtPage(driver)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PAINT_WATCH})
    first = None
    handled, shown = [], []
    try:
        driver.get(server.origin + "/")
        wait_for(lambda: MAIN_TITLE in page.window_titles(), 60, "the main window")
        for run in range(runs + 1):
            driver.execute_script("delete window.pendroPainted[arguments[0]];"
                                  "window.pendroKeyAt = window.pendroHandledAt = null;", TM_TITLE)
            page.key("t", code="KeyT", modifiers=1, virtual=84)
            page.key("m", code="KeyM", text="m", virtual=77)
            wait_for(lambda: driver.execute_script(
                "return window.pendroPainted[arguments[0]]", TM_TITLE), 30, "the trainer painted")
            key_at, handled_at, painted_at = driver.execute_script(
                "return [window.pendroKeyAt, window.pendroHandledAt, "
                "window.pendroPainted[arguments[0]]]", TM_TITLE)
            figures = (handled_at - key_at, painted_at - key_at)
            if run == 0:
                first = figures
            else:
                handled.append(figures[0])
                shown.append(figures[1])
            page.close_window(TM_TITLE)
            wait_for(lambda: TM_TITLE not in page.window_titles(), 30, "the trainer closed")
    finally:
        quit_chromium(driver, profile)
        server.stop()
    print(f"first opening: key handled after {first[0]:.1f} ms, window painted in the frame "
          f"after {first[1]:.1f} ms")
    print(f"opened again: handled median {median(handled):.1f} ms (max {max(handled):.1f}), "
          f"painted median {median(shown):.1f} ms (max {max(shown):.1f}); one 60 Hz frame is "
          f"16.7 ms")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--dist", required=True)
    parser.add_argument("--floor", required=True)
    parser.add_argument("--pairs", type=int, default=11)
    parser.add_argument("--trainer-runs", type=int, default=11)
    args = parser.parse_args()
    weight(args.dist)
    start_up(args.dist, args.floor, args.pairs)
    trainer(args.dist, args.trainer_runs)
    return 0


if __name__ == "__main__":
    sys.exit(main())
