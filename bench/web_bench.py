#!/usr/bin/python3
"""Benchmarks of the browser pages in headless Chromium, each next to a baseline of the same run:
page size, navigation to the title screen's first frame, key event to the new segment on screen,
and the renderer's busy time in every wait with nothing happening.

usage: bench/web_bench.py [--build-web DIR] [--build DIR] [--markdown FILE]
--build is a desktop Release build with bench_qt_step (scripts/bench makes build-bench)."""

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
from run_bench import Row  # noqa: E402

SIZE_GOAL = 1024 * 1024
STARTUP_GOAL = 1.5
IDLE_GOAL_PERCENT = 1.0
MINIMAL = os.path.join(HERE, "web", "minimal.html")

# Runs from the document's start: the first animation frame that shows the title screen's blue
# left panel, and per key the time of the key event, of the end of its handling, and of the next
# frame. The capture listener is registered before the page's own, the bubbling one after it.
WATCHER = """
window.benchFirstFrame = null;
(function watch() {
  const canvas = document.getElementById('screen');
  if (canvas && canvas.width > 1) {
    const x = Math.floor(canvas.width / 4), y = Math.floor(canvas.height / 2);
    const p = canvas.getContext('2d').getImageData(x, y, 1, 1).data;
    if (p[0] === 0 && p[1] === 0 && p[2] === 255) {
      window.benchFirstFrame = performance.now();
      return;
    }
  }
  requestAnimationFrame(watch);
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


def first_frame(driver, path, loads):
    times = []
    for _ in range(loads):
        driver.get("about:blank")
        driver.get("file://" + path)
        weblib.wait_until(lambda: driver.execute_script("return window.benchFirstFrame"), 30,
                          "the first frame of " + os.path.basename(path))
        times.append(driver.execute_script("return window.benchFirstFrame"))
    return statistics.median(times)


def desktop_step_us(build):
    """The desktop's step on the Qt platform, coil, mean of the first sweep's quarters (CPU)."""
    path = os.path.join(build, "bench", "bench_qt_step")
    if not os.path.exists(path):
        return None
    results, _ = run_bench.google_benchmark(path, 0.1, repetitions=3)
    quarters = [results["qtStep/coil/firstSweep/quarter%d" % q]["cpu_us"] for q in range(1, 5)]
    return statistics.mean(quarters)


def busy_percent(page, seconds):
    def task_seconds():
        metrics = page.cdp("Performance.getMetrics")["metrics"]
        return next(m["value"] for m in metrics if m["name"] == "TaskDuration")
    before, start = task_seconds(), time.monotonic()
    time.sleep(seconds)
    return 100.0 * (task_seconds() - before) / (time.monotonic() - start)


def idle_rows(driver, build_web, seconds):
    page = weblib.Page(driver, build_web, "coillab")
    page.cdp("Performance.enable")
    page.find_drawing_area()
    waits = [("title screen", lambda: None)]
    waits.append(("keys help box", lambda: page.key(" ")))
    waits.append(("key wait", page.close_box))
    waits.append(("dialog input", lambda: page.menu(1, 2)))
    waits.append(("table prompt", lambda: (page.key("Enter"), page.menu(2, 5))))
    waits.append(("mouse measuring", lambda: (page.key(" "), page.menu(2, 11), page.close_box(),
                                             page.move(200, 200))))
    rows = []
    for name, reach in waits:
        reach()
        time.sleep(0.5)
        share = busy_percent(page, seconds)
        rows.append(Row("renderer busy, coillab %s" % name, share, "%", "goal", IDLE_GOAL_PERCENT,
                        "< 1 %", share < IDLE_GOAL_PERCENT))
    return rows


def key_rows(driver, build_web, build, keys):
    page = weblib.Page(driver, build_web, "coillab")
    page.through_title_and_help()
    # Within one sweep: the right edge's prompt would take a key without a step.
    for i in range(keys):
        page.key("1" if (i // 20) % 2 == 0 else "0")
        time.sleep(0.02)
    weblib.wait_until(lambda: len(page.js("return window.benchKeys")) >= keys, 10, "the keys")
    samples = page.js("return window.benchKeys")
    handled = [s[0] * 1000 for s in samples]
    shown = [s[1] * 1000 for s in samples]
    step = desktop_step_us(build)
    base = step if step else None
    name = "desktop step on Qt, coil (CPU)" if step else "desktop step not built"
    rows = []
    for label, values in (("handling", handled), ("to the next frame", shown)):
        for share, what in ((0.5, "median"), (0.99, "99th percentile")):
            value = statistics.median(values) if share == 0.5 else run_bench.percentile(values,
                                                                                        share)
            rows.append(Row("key to segment, %s, %s" % (label, what), value, "us", name, base,
                            "reference"))
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-web", default=os.path.join(ROOT, "build-web"))
    parser.add_argument("--build", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--markdown", help="also write the table as Markdown to this file")
    parser.add_argument("--idle-seconds", type=float, default=5.0)
    args = parser.parse_args()
    build_web = os.path.abspath(args.build_web)

    rows = []
    minimal_size = os.path.getsize(MINIMAL)
    for program in ("coillab", "caplab"):
        size = os.path.getsize(os.path.join(build_web, program + ".html"))
        rows.append(Row("page size, %s" % program, size / 1024, "KiB", "minimal page",
                        minimal_size / 1024, "<= 1 MiB", size <= SIZE_GOAL))
    driver = browser()
    try:
        baseline = first_frame(driver, MINIMAL, 7)
        for program in ("coillab", "caplab"):
            value = first_frame(driver, os.path.join(build_web, program + ".html"), 7)
            rows.append(Row("navigation to the title screen's first frame, %s" % program, value,
                            "ms", "minimal page's first frame", baseline, "<= 1.5x",
                            value <= STARTUP_GOAL * baseline))
        rows += key_rows(driver, build_web, os.path.abspath(args.build), 200)
        rows += idle_rows(driver, build_web, args.idle_seconds)
    finally:
        driver.quit()

    lines = run_bench.table(rows)
    widths = [max(len(line[i]) for line in lines) for i in range(len(lines[0]))]
    for line in lines:
        print("  ".join(cell.ljust(width) for cell, width in zip(line, widths)))
    if args.markdown:
        with open(args.markdown, "w", encoding="utf-8") as out:
            for i, line in enumerate(lines):
                out.write("| " + " | ".join(line) + " |\n")
                if i == 0:
                    out.write("|" + "---|" * len(line) + "\n")


if __name__ == "__main__":
    main()
