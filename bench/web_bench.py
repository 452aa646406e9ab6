#!/usr/bin/python3
"""Benchmarks of the browser pages in headless Chromium, each next to a baseline of the same run:
page size, navigation to the title screen's first frame, key event to the new segment on screen,
and the renderer's busy time in every wait with nothing happening. Called by scripts/bench-web
after the builds.

usage: bench/web_bench.py [--build-web DIR] [--build DIR] [--markdown FILE]
--build is a desktop Release build with bench_qt_step, the step baseline."""

import argparse
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
import run_bench  # noqa: E402
import weblib  # noqa: E402
from e2elib import WHITE, coil_steps  # noqa: E402
from run_bench import Row  # noqa: E402
from weblib import check, wait_until  # noqa: E402

SIZE_GOAL = 1024 * 1024
STARTUP_GOAL = 1.5
IDLE_GOAL_PERCENT = 1.0
MINIMAL = os.path.join(HERE, "web", "minimal.html")
PROMPT = "Weiter ?   <RETURN>"

# Runs from the document's start: the first animation frame that shows the title screen's blue
# left panel, and per key the time of the key event, of the end of its handling, and of the next
# frame. The capture listener is registered before the page's own, the bubbling one after it.
# The pixel is copied into a canvas of the watcher's own: a context taken on the page's canvas
# here would become the page's, made before it and without its options.
WATCHER = """
window.benchFirstFrame = null;
(function () {
  const probe = document.createElement('canvas');
  probe.width = probe.height = 1;
  const reader = probe.getContext('2d', { willReadFrequently: true });
  (function watch() {
    const canvas = document.getElementById('screen');
    if (canvas && canvas.width > 1) {
      reader.clearRect(0, 0, 1, 1);
      reader.drawImage(canvas, Math.floor(canvas.width / 4), Math.floor(canvas.height / 2), 1, 1,
                       0, 0, 1, 1);
      const p = reader.getImageData(0, 0, 1, 1).data;
      if (p[0] === 0 && p[1] === 0 && p[2] === 255 && p[3] === 255) {
        window.benchFirstFrame = performance.now();
        return;
      }
    }
    requestAnimationFrame(watch);
  })();
})();
window.benchKeys = [];
window.addEventListener('keydown', function () { window.benchKeyStart = performance.now(); }, true);
window.addEventListener('keydown', function () {
  const start = window.benchKeyStart, handled = performance.now();
  requestAnimationFrame(function () {
    window.benchKeys.push([handled - start, performance.now() - start]);
  });
});
"""


def browser():
    driver = weblib.start_browser()
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCHER})
    return driver


def first_frame(driver, path):
    """Milliseconds from navigation to the first frame with the blue panel, and to the load
    event."""
    driver.get("about:blank")
    driver.get("file://" + path)
    shown = wait_until(lambda: driver.execute_script("return window.benchFirstFrame"), 30,
                       "the first frame of " + os.path.basename(path))
    loaded = wait_until(lambda: driver.execute_script(
        "return performance.getEntriesByType('navigation')[0].loadEventEnd"), 10,
        "the load event of " + os.path.basename(path))
    return shown, loaded


def start_up_rows(driver, build_web, loads):
    pages = {"minimal": MINIMAL}
    pages.update({p: os.path.join(build_web, p + ".html") for p in ("coillab", "caplab")})
    times = {name: [] for name in pages}
    # Round by round, so that a busy moment of the shared machine meets every page alike.
    for _ in range(loads):
        for name, path in pages.items():
            times[name].append(first_frame(driver, path))
    base_shown = statistics.median(t[0] for t in times["minimal"])
    base_loaded = statistics.median(t[1] for t in times["minimal"])
    rows = []
    for name in ("coillab", "caplab"):
        shown = statistics.median(t[0] for t in times[name])
        loaded = statistics.median(t[1] for t in times[name])
        rows.append(Row("navigation to the title screen's first frame, %s, median of %d"
                        % (name, loads), shown, "ms", "minimal page's first frame", base_shown,
                        "<= %gx" % STARTUP_GOAL, shown <= STARTUP_GOAL * base_shown))
        rows.append(Row("navigation to the load event, %s" % name, loaded, "ms",
                        "minimal page's load event", base_loaded, "reference"))
    return rows


def desktop_step_us(build):
    """The desktop's step on the Qt platform, coil, mean of the first sweep's quarters (CPU)."""
    path = os.path.join(build, "bench", "bench_qt_step")
    check(os.path.exists(path), "%s is not built (scripts/bench-web builds it)" % path)
    run_bench.log("desktop step ...")
    results, _ = run_bench.google_benchmark(path, 0.1, repetitions=3)
    quarters = [results["qtStep/coil/firstSweep/quarter%d" % q]["cpu_us"] for q in range(1, 5)]
    return statistics.mean(quarters)


def metric(page, name):
    """A cumulative figure of the renderer's main thread (CDP Performance domain), seconds."""
    metrics = page.cdp("Performance.getMetrics")["metrics"]
    return next(m["value"] for m in metrics if m["name"] == name)


def busy_percent(page, seconds):
    """The renderer main thread's busy share of the wall time, in per cent of a core."""
    time.sleep(1.0)  # the last check's own script runs out
    before, start = metric(page, "TaskDuration"), time.monotonic()
    time.sleep(seconds)
    return 100.0 * (metric(page, "TaskDuration") - before) / (time.monotonic() - start)


def readout_shown(page, layout):
    """Mouse measuring has written the upper panel's reading in white."""
    size = 20 * layout.width / 800
    x, y = layout.sx(70), layout.voltage_zero + layout.sy(30)
    return page.count(page.screenshot(), x, y, x + 6 * size, y + size, WHITE) > 10


def idle_rows(driver, build_web, seconds):
    run_bench.log("idle ...")
    page = weblib.Page(driver, os.path.dirname(MINIMAL), "minimal")
    page.cdp("Performance.enable")
    wait_until(lambda: page.js("return window.benchFirstFrame"), 10, "the minimal page")
    empty = busy_percent(page, seconds)

    page = weblib.Page(driver, build_web, "coillab")
    page.cdp("Performance.enable")
    layout = page.find_drawing_area()

    def keys_help():
        page.key(" ")
        lines = page.box()
        check(lines[0] == " Tasten <0> u. <1> ", "keys help box: %r" % lines)

    def key_wait():
        page.close_box()
        wait_until(page.graph_shown, 10, "the graph after the keys help")

    def dialog():
        page.menu(1, 2)  # BAUTEILE, "Batteriespannung"
        wait_until(lambda: page.window(2), 5, "the dialog window")
        wait_until(lambda: page.js("return document.activeElement.id;") == "line-input", 5,
                   "the line input to take the keys")

    def table_prompt():
        page.type_text("10")  # the value it has
        page.key("Enter")
        wait_until(lambda: page.window(2) is None, 5, "the dialog to close")
        page.menu(2, 5)  # AUSGABE, "Tabelle zeigen"
        wait_until(lambda: page.texts("window-3")[-1:] == [PROMPT], 5, "the table's prompt")

    def mouse_measuring():
        page.key(" ")
        wait_until(lambda: page.window(3) is None, 5, "the table to close")
        page.menu(2, 11)  # AUSGABE, "Mausmessen"
        lines = page.box()
        check(lines == ["Unbedingt mit Maustaste 3 beenden !"], "measuring box: %r" % lines)
        page.close_box()
        page.move(layout.sx(80), layout.voltage_zero - 90)
        wait_until(lambda: readout_shown(page, layout), 5, "the readout under the pointer")

    waits = [("title screen", lambda: None), ("keys help box", keys_help),
             ("key wait", key_wait), ("dialog's line input", dialog),
             ("table's continue prompt", table_prompt),
             ("mouse measuring, pointer still", mouse_measuring)]
    rows = []
    for name, reach in waits:
        reach()
        share = busy_percent(page, seconds)
        rows.append(Row("renderer busy over %g s, coillab, %s" % (seconds, name), share,
                        "% of a core", "minimal page idle", empty, "< %g %%" % IDLE_GOAL_PERCENT,
                        share < IDLE_GOAL_PERCENT, ratio=share / IDLE_GOAL_PERCENT))
    return rows


def key_rows(driver, build_web, keys, step_us):
    run_bench.log("keys ...")
    page = weblib.Page(driver, build_web, "coillab")
    layout = page.through_title_and_help()
    page.cdp("Performance.enable")
    page.js("window.benchKeys = [];")  # not the keys that led here
    # Script time, not task time: the protocol's key commands run as tasks of the same thread.
    before = metric(page, "ScriptDuration")
    # Fewer keys than a sweep has steps: at the right edge a key answers the prompt instead.
    check(keys < run_bench.steps_to_wrap(layout), "%d keys would reach the right edge" % keys)
    for _ in range(keys):
        page.key("1")
        time.sleep(0.02)
    samples = wait_until(lambda: (lambda s: s if len(s) >= keys else None)(
        page.js("return window.benchKeys")), 10, "every key's frame")
    script = metric(page, "ScriptDuration") - before
    # Every key a step: the point of the last one is on the curve where Euler's steps put it.
    samples_of_euler, _ = coil_steps(keys, "1")
    t, U, _, _ = samples_of_euler[keys - 1]
    point = (layout.plot_x(t), layout.plot_y(U, layout.voltage_zero))
    wait_until(lambda: page.near(page.screenshot(), point[0], point[1], WHITE), 5,
               "the point of key %d" % keys)
    check(len(samples) == keys, "%d frames for %d keys" % (len(samples), keys))

    base = "desktop step on Qt, coil, mean of the sweep (CPU)"
    rows = []
    for label, values in (("handling", [s[0] * 1000 for s in samples]),
                          ("to the next frame", [s[1] * 1000 for s in samples])):
        rows.append(Row("key to segment, %s, median of %d" % (label, keys),
                        statistics.median(values), "us", base, step_us, "reference"))
        rows.append(Row("key to segment, %s, 99th percentile" % label,
                        run_bench.percentile(values, 0.99), "us", base, step_us, "reference"))
    rows.append(Row("key to segment, script time per key, mean", script / keys * 1e6, "us",
                    base, step_us, "reference"))
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-web", default=os.path.join(ROOT, "build-web"))
    parser.add_argument("--build", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--markdown", help="also write the table as Markdown to this file")
    parser.add_argument("--loads", type=int, default=7, help="loads of each page for start-up")
    parser.add_argument("--keys", type=int, default=300)
    parser.add_argument("--idle-seconds", type=float, default=5.0)
    args = parser.parse_args()
    build_web = os.path.abspath(args.build_web)

    rows = []
    minimal_size = os.path.getsize(MINIMAL)
    for program in ("coillab", "caplab"):
        size = os.path.getsize(os.path.join(build_web, program + ".html"))
        rows.append(Row("page size, %s" % program, size / 1024, "KiB", "minimal page",
                        minimal_size / 1024, "<= 1024 KiB", size <= SIZE_GOAL))
    step_us = desktop_step_us(os.path.abspath(args.build))
    driver = browser()
    try:
        run_bench.log("start-up ...")
        rows += start_up_rows(driver, build_web, args.loads)
        rows += key_rows(driver, build_web, args.keys, step_us)
        rows += idle_rows(driver, build_web, args.idle_seconds)
        version = driver.capabilities.get("browserVersion", "?")
    finally:
        driver.quit()

    setting = "Chromium %s headless, viewport %d x %d" % ((version,) + weblib.VIEWPORT)
    run_bench.report(rows, setting, args.markdown)
    return 0


if __name__ == "__main__":
    sys.exit(main())
