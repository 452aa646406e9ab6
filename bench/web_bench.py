#!/usr/bin/python3
"""Benchmarks of the browser pages in headless Chromium, each next to a baseline of the same run:
page size, navigation to the title screen's first frame, key event to the new segment on screen
with the script and CPU time per key and where the script time goes, keys at a typing rate on a
CPU throttled six times, the renderer's busy time in every wait with nothing happening, and the
redraw and memory after a resize, the record, memory, resize and mouse measuring after a lesson's
many sweeps; start-up with the page's own marks of its steps and key to segment in WebKitGTK and
Firefox ESR as well, a key's handling there against Chromium's. Called by scripts/bench-web after
the builds.

usage: bench/web_bench.py [--build-web DIR] [--profile-build DIR] [--build DIR] [--markdown FILE]
                          [--lesson-only | --engines-only]
--build is a desktop Release build with bench_qt_step, the step baseline; --profile-build the
pages linked with --profiling-funcs, for the profile's names of WebAssembly functions."""

import argparse
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
import engines  # noqa: E402
import run_bench  # noqa: E402
import weblib  # noqa: E402
from e2elib import WHITE, coil_steps  # noqa: E402
from run_bench import Row  # noqa: E402
from weblib import check, wait_until  # noqa: E402

SIZE_GOAL = 1024 * 1024
STARTUP_GOAL = 1.5
IDLE_GOAL_PERCENT = 1.0
SCRIPT_GOAL_US = 150.0
KEY_ENGINE_GOAL = 1.5  # Firefox's handling of a key against Chromium's
SLOW_DEVICE_THROTTLE = 6
SLOW_KEY_RATE = 30.0  # key characters a second
REDRAW_GOAL_MS = 50.0
RESIZE_KEYS = 250  # steps drawn before the resizes: most of a sweep
LESSON_SWEEPS = (1, 30, 50, 300)  # a lesson of 45 minutes holds about 250 sweeps
LESSON_RESIZE_GROWTH = 2.0  # a resize 30 sweeps on against one after the first sweep
LESSON_RESIZE_GOAL_MS = 50.0
LESSON_MOVE_GOAL_MS = 1.0
LESSON_HEAP_GOAL_KIB = 2048.0
LESSON_MOVES = 40
MINIMAL = os.path.join(HERE, "web", "minimal.html")
PROMPT = "Weiter ?   <RETURN>"

# Runs from the document's start: the first animation frame that shows the title screen's blue
# left panel; per key (while benchStampKeys is set) the key event's time stamp, the start and end
# of its handling, the next animation frame and the end of that frame; per resize its event and
# the end of the next frame; and every canvas the page makes, for its backing-store bytes. The
# capture listener is registered before the page's own, the bubbling one after it. The pixel is
# copied into a canvas of the watcher's own: a context taken on the page's canvas here would
# become the page's, made before it and without its options.
WATCHER = """
window.benchFirstFrame = null;
// The canvas (the page's own, or the column of its drawing) holding the device pixel at a
// quarter of the drawing's width and half its height, and that pixel's place in it; read from
// the elements' sizes and offsets, so that watching forces no layout.
function watchedPixel() {
  const screen = document.getElementById('screen');
  if (screen instanceof HTMLCanvasElement) {
    return screen.width > 1 ? [screen, Math.floor(screen.width / 4),
                               Math.floor(screen.height / 2)] : [null];
  }
  const ratio = window.devicePixelRatio || 1;
  const x = Math.floor(Math.round(parseFloat(screen && screen.style.width) * ratio) / 4);
  for (const column of screen && x > 0 ? screen.children : []) {
    const left = Math.round(parseFloat(column.style.left) * ratio);
    if (x >= left && x < left + column.width) {
      return [column, x - left, Math.floor(column.height / 2)];
    }
  }
  return [null];
}
(function () {
  const probe = document.createElement('canvas');
  probe.width = probe.height = 1;
  const reader = probe.getContext('2d', { willReadFrequently: true });
  (function watch() {
    const [canvas, x, y] = watchedPixel();
    if (canvas) {
      reader.clearRect(0, 0, 1, 1);
      reader.drawImage(canvas, x, y, 1, 1, 0, 0, 1, 1);
      const p = reader.getImageData(0, 0, 1, 1).data;
      if (p[0] === 0 && p[1] === 0 && p[2] === 255 && p[3] === 255) {
        window.benchFirstFrame = performance.now();
        return;
      }
    }
    requestAnimationFrame(watch);
  })();
})();
// A message posted from an animation frame is handled once that frame's main-thread work (style,
// layout, paint, the commit to the compositor) is done.
function benchAfterFrame(done) {
  requestAnimationFrame(function () {
    const frame = performance.now();
    const channel = new MessageChannel();
    channel.port1.onmessage = function () { done(frame, performance.now()); };
    channel.port2.postMessage(0);
  });
}
window.benchStampKeys = true;
window.benchKeys = [];
window.addEventListener('keydown', function () { window.benchKeyStart = performance.now(); }, true);
window.addEventListener('keydown', function (event) {
  if (!window.benchStampKeys) return;
  const start = window.benchKeyStart, handled = performance.now(), sent = event.timeStamp;
  benchAfterFrame(function (frame, painted) {
    window.benchKeys.push([handled - start, frame - start, painted - sent, sent]);
  });
});
window.benchResizes = [];
window.addEventListener('resize', function () {
  const start = performance.now();
  benchAfterFrame(function (frame, painted) { window.benchResizes.push([start, painted]); });
});
window.benchCanvases = [];
(function () {
  const create = Document.prototype.createElement;
  Document.prototype.createElement = function () {
    const element = create.apply(this, arguments);
    if (element instanceof HTMLCanvasElement) window.benchCanvases.push(new WeakRef(element));
    return element;
  };
  if (window.OffscreenCanvas) {
    const Base = window.OffscreenCanvas;
    window.OffscreenCanvas = function (width, height) {
      const canvas = new Base(width, height);
      window.benchCanvases.push(new WeakRef(canvas));
      return canvas;
    };
    window.OffscreenCanvas.prototype = Base.prototype;
  }
})();
"""

# Bytes of every canvas's backing store (width x height x 4) that the page still holds, in the
# document or not, and their number.
CANVAS_BYTES = """
const all = new Set(document.querySelectorAll('canvas'));
for (const ref of window.benchCanvases) { const c = ref.deref(); if (c) all.add(c); }
let bytes = 0;
for (const c of all) bytes += c.width * c.height * 4;
return [bytes, all.size];
"""


def browser(name="chromium"):
    """A started engine of the suite's (tests/web/engines.py) with the watcher in every page."""
    engine = engines.start(name)
    try:
        engine.preload(WATCHER)
    except BaseException:
        engine.quit()
        raise
    return engine


def first_frame(engine, path):
    """Milliseconds from navigation to the first frame with the blue panel, and to the load
    event; and the page's own marks of its start-up steps (start.js), name -> milliseconds."""
    engine.open("about:blank")
    engine.open("file://" + path)
    shown = wait_until(lambda: engine.js("return window.benchFirstFrame"), 30,
                       "the first frame of " + os.path.basename(path))
    loaded = wait_until(lambda: engine.js(
        "return performance.getEntriesByType('navigation')[0].loadEventEnd"), 10,
        "the load event of " + os.path.basename(path))
    marks = engine.js("const m = {}; for (const e of performance.getEntriesByType('mark'))"
                      " m[e.name] = e.startTime; return m;")
    return shown, loaded, marks


# The page's start-up steps as start.js marks them, in their order.
START_STEPS = [("lab-script", "the page's script runs (the HTML read up to it)"),
               ("lab-compiled", "fonts made, WebAssembly decoded and compiled"),
               ("lab-runtime", "main starts (instantiated, the runtime set up)"),
               ("lab-first-wait", "title screen drawn, main's first wait")]


def start_up_rows(engine, build_web, loads, label=""):
    pages = {"minimal": MINIMAL}
    pages.update({p: os.path.join(build_web, p + ".html") for p in ("coillab", "caplab")})
    times = {name: [] for name in pages}
    # Round by round, so that a busy moment of the shared machine meets every page alike; every
    # other round in the reverse order, so that no page always follows the same one (a page's
    # load meets the end of the one before it).
    order = list(pages.items())
    for round_ in range(loads):
        for name, path in (order if round_ % 2 == 0 else order[:1] + order[:0:-1]):
            times[name].append(first_frame(engine, path))
    base_shown = statistics.median(t[0] for t in times["minimal"])
    base_loaded = statistics.median(t[1] for t in times["minimal"])
    rows = []
    for name in ("coillab", "caplab"):
        shown = statistics.median(t[0] for t in times[name])
        loaded = statistics.median(t[1] for t in times[name])
        rows.append(Row("%snavigation to the title screen's first frame, %s, median of %d"
                        % (label, name, loads), shown, "ms", "minimal page's first frame",
                        base_shown, "<= %gx" % STARTUP_GOAL, shown <= STARTUP_GOAL * base_shown))
        rows.append(Row("%snavigation to the load event, %s" % (label, name), loaded, "ms",
                        "minimal page's load event", base_loaded, "reference"))
        for mark, what in START_STEPS:
            at = [t[2][mark] for t in times[name] if mark in t[2]]
            if at:
                rows.append(Row("%sstart-up step, %s: %s, median" % (label, name, what),
                                statistics.median(at), "ms", "minimal page's first frame",
                                base_shown, "reference"))
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


def idle_rows(engine, build_web, seconds):
    run_bench.log("idle ...")
    page = weblib.Page(engine, os.path.dirname(MINIMAL), "minimal")
    page.cdp("Performance.enable")
    wait_until(lambda: page.js("return window.benchFirstFrame"), 10, "the minimal page")
    empty = busy_percent(page, seconds)

    page = weblib.Page(engine, build_web, "coillab")
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


def send_keys(page, keys, interval):
    """Sends keys "1" at fixed times `interval` seconds apart; a late key does not shift the ones
    after it. A protocol key command returns once the renderer has taken the key, so a renderer
    that cannot keep up holds the keys back. Returns the keys a second reached."""
    start = time.monotonic()
    for i in range(keys):
        wait = start + i * interval - time.monotonic()
        if wait > 0:
            time.sleep(wait)
        page.key("1")
    return keys / (time.monotonic() - start)


def key_run(page, keys, interval, stamps):
    """`keys` keys from the working screen, `interval` seconds apart; the watcher's stamps of
    each key (with `stamps`), the keys a second reached, and per key the renderer main thread's
    script seconds and CPU seconds (the key events, their script, the frames). Without stamps the
    figures are the page's own: the watcher requests no frames. CPU time, unlike the script's
    wall time, stays the same when other processes take the cores meanwhile."""
    page.js("window.benchKeys = []; window.benchStampKeys = arguments[0];", stamps)
    page.cdp("Performance.enable")
    names = ("ScriptDuration", "ThreadTime")
    before = [metric(page, name) for name in names]
    rate = send_keys(page, keys, interval)
    samples = []
    if stamps:
        samples = wait_until(lambda: (lambda s: s if len(s) >= keys else None)(
            page.js("return window.benchKeys")), 10, "every key's frame")
        check(len(samples) == keys, "%d frames for %d keys" % (len(samples), keys))
    else:
        page.rendered()
    script, cpu = (metric(page, name) - b for name, b in zip(names, before))
    return samples, rate, script / keys, cpu / keys


def working_screen(engine, build_web, keys):
    """coillab after the title and the keys help; checks that a sweep takes `keys` keys."""
    page = weblib.Page(engine, build_web, "coillab")
    layout = page.through_title_and_help()
    # Fewer keys than a sweep has steps: at the right edge a key answers the prompt instead.
    check(keys < run_bench.steps_to_wrap(layout), "%d keys would reach the right edge" % keys)
    return page, layout


def key_rows(engine, build_web, keys, step_us):
    """Key to segment unthrottled, and the script time per key; returns the rows and the script
    microseconds per key."""
    run_bench.log("keys ...")
    page, layout = working_screen(engine, build_web, keys)
    samples, _, _, _ = key_run(page, keys, 0.02, True)
    # Every key a step: the point of the last one is on the curve where Euler's steps put it.
    samples_of_euler, _ = coil_steps(keys, "1")
    t, U, _, _ = samples_of_euler[keys - 1]
    point = (layout.plot_x(t), layout.plot_y(U, layout.voltage_zero))
    wait_until(lambda: page.near(page.screenshot(), point[0], point[1], WHITE), 5,
               "the point of key %d" % keys)
    page, _ = working_screen(engine, build_web, keys)
    _, _, script, cpu = key_run(page, keys, 0.02, False)
    script_us, cpu_us = script * 1e6, cpu * 1e6
    # The same keys on the minimal page, which neither listens nor draws: the key events alone.
    page = weblib.Page(engine, os.path.dirname(MINIMAL), "minimal")
    wait_until(lambda: page.js("return window.benchFirstFrame"), 10, "the minimal page")
    _, _, _, events_cpu = key_run(page, keys, 0.02, False)

    base = "desktop step on Qt, coil, mean of the sweep (CPU)"
    rows = []
    for label, values in (("handling", [s[0] * 1000 for s in samples]),
                          ("to the next frame", [s[1] * 1000 for s in samples])):
        rows.append(Row("key to segment, %s, median of %d" % (label, keys),
                        statistics.median(values), "us", base, step_us, "reference"))
        rows.append(Row("key to segment, %s, 99th percentile" % label,
                        run_bench.percentile(values, 0.99), "us", base, step_us, "reference"))
    rows.append(Row("key to segment, script time per key, mean", script_us, "us", base, step_us,
                    "<= %g us" % SCRIPT_GOAL_US, script_us <= SCRIPT_GOAL_US))
    rows.append(Row("renderer main thread CPU per key (event, script, frame), mean", cpu_us,
                    "us", "minimal page, same keys", events_cpu * 1e6, "reference"))
    # The same figure as the other engines': their clocks are too coarse for a median.
    mean_us = statistics.mean(s[0] for s in samples) * 1000
    rows.append(Row("key to segment, handling, mean of %d" % keys, mean_us, "us", base, step_us,
                    "reference"))
    return rows, script_us, cpu_us, mean_us


def slow_device_rows(engine, build_web, keys, script_us, cpu_us):
    """Keys at a typing rate with the renderer's CPU throttled: each key's time from its event
    to the end of the frame that shows it, against the time until the next key arrives."""
    run_bench.log("keys on a slow device ...")
    interval = 1.0 / SLOW_KEY_RATE
    results = []
    for stamps in (True, False):
        page, _ = working_screen(engine, build_web, keys)
        page.cdp("Emulation.setCPUThrottlingRate", rate=SLOW_DEVICE_THROTTLE)
        try:
            results.append(key_run(page, keys, interval, stamps))
        finally:
            page.cdp("Emulation.setCPUThrottlingRate", rate=1)
    (samples, rate, _, _), (_, _, script, cpu) = results
    shown = [s[2] for s in samples]
    worst = run_bench.percentile(shown, 0.99)
    backlog = sum(1 for value in shown if value > interval * 1000)
    setting = "%gx CPU throttling, %g keys/s" % (SLOW_DEVICE_THROTTLE, SLOW_KEY_RATE)
    gap = "time to the next key"
    return [
        Row("key to its frame on screen, %s, median of %d" % (setting, keys),
            statistics.median(shown), "ms", gap, interval * 1000, "reference"),
        Row("key to its frame on screen, %s, 99th percentile" % setting, worst, "ms", gap,
            interval * 1000, "<= %.1f ms" % (interval * 1000), worst <= interval * 1000),
        Row("keys on screen after the next key arrived, %s" % setting, backlog, "keys",
            "keys sent", keys, "0 (no backlog)", backlog == 0),
        Row("keys a second taken by the renderer, %s" % setting, rate, "keys/s",
            "keys a second sent", SLOW_KEY_RATE, ">= %g keys/s" % (SLOW_KEY_RATE * 0.99),
            rate >= SLOW_KEY_RATE * 0.99),
        Row("script time per key, mean, %s" % setting, script * 1e6, "us", "unthrottled",
            script_us, "reference"),
        Row("renderer main thread CPU per key, mean, %s" % setting, cpu * 1e6, "us",
            "unthrottled", cpu_us, "reference"),
    ]


# Where the script time of a key goes: a sampling profile over a run of keys, each sample's
# function sorted into a part. The page's scripts stand in the page one after the other, so a
# function's line tells its script; the emscripten runtime is one line, where the Asyncify
# object's span and the names tell its parts. Canvas calls are the browser's own functions.
PAGE_DIR = os.path.join(ROOT, "src", "platform", "web", "page")
STRING_FUNCTIONS = {"UTF8ToString", "UTF8ArrayToString", "allocateUTF8", "stringToUTF8",
                    "stringToUTF8Array", "lengthBytesUTF8"}
ASYNCIFY_FUNCTIONS = {"runAndAbortIfError", "callUserCallback", "maybeExit", "ret.<computed>",
                      "_lab_wait_event"}
CANVAS_CALLS = {"fillRect": "fillRect", "save": "save and restore", "restore": "save and restore",
                "clip": "clip path", "rect": "clip path", "beginPath": "clip path"}
PROFILE_INTERVAL_US = 50


def page_lines(path):
    """Line ranges of the page's scripts in the page, and the column span of the Asyncify object
    on the runtime's line."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    ranges = []
    for name in sorted(os.listdir(PAGE_DIR)):
        with open(os.path.join(PAGE_DIR, name), encoding="utf-8") as f:
            source = f.read()
        at = text.find(source)
        if at >= 0:
            first = text.count("\n", 0, at)
            ranges.append((first, first + source.count("\n"), name))
    start = text.find("var Asyncify={")
    check(start >= 0, "no Asyncify object in %s" % path)
    line = text.count("\n", 0, start)
    column = start - (text.rfind("\n", 0, start) + 1)
    depth, end = 0, text.index("{", start)
    for i in range(end, len(text)):
        depth += {"{": 1, "}": -1}.get(text[i], 0)
        if depth == 0:
            end = i
            break
    return ranges, (line, column, column + end - start)


def script_part(frame, ranges, asyncify):
    name, url, line = frame["functionName"], frame["url"], frame["lineNumber"]
    if name in ("(idle)", "(program)", "(root)"):
        return None
    if name == "(garbage collector)":
        return "garbage collection"
    if name in ("wasm-to-js", "js-to-wasm") or name.startswith("js-to-wasm:"):
        return "calls between WebAssembly and script"
    if url.startswith("wasm://"):
        return "Asyncify" if name.startswith("asyncify_") else "WebAssembly (the program)"
    if not url:
        if line < 0:
            return "canvas: %s" % CANVAS_CALLS.get(name, "other browser functions")
        return "benchmark and test spies"
    for first, last, script in ranges:
        if first <= line <= last:
            return "page: %s" % script
    if name in STRING_FUNCTIONS:
        return "runtime: string conversions"
    if name in ASYNCIFY_FUNCTIONS or name.startswith("Asyncify") or (
            line == asyncify[0] and asyncify[1] <= frame["columnNumber"] <= asyncify[2]):
        return "Asyncify"
    if name.startswith("_lab_"):
        return "runtime: lab_library.js calls"
    return "runtime: other"


def script_part_rows(engine, build_web, keys, script_us):
    """The script time per key from a sampling profile, in all and by part, against the script
    time per key measured without the profiler (`script_us`)."""
    run_bench.log("where a key's script time goes ...")
    page, _ = working_screen(engine, build_web, keys)
    page.js("window.benchStampKeys = false;")
    page.cdp("Profiler.enable")
    page.cdp("Profiler.setSamplingInterval", interval=PROFILE_INTERVAL_US)
    page.cdp("Profiler.start")
    send_keys(page, keys, 0.02)
    page.rendered()
    profile = page.cdp("Profiler.stop")["profile"]
    page.cdp("Profiler.disable")

    ranges, asyncify = page_lines(os.path.join(build_web, "coillab.html"))
    frames = {node["id"]: node["callFrame"] for node in profile["nodes"]}
    parts = {}
    # Samples are counted, not weighed by the time to the next one: on a busy machine that time
    # holds whatever else ran meanwhile, and it falls on whichever function was running.
    for node in profile["samples"]:
        part = script_part(frames[node], ranges, asyncify)
        if part:
            parts[part] = parts.get(part, 0) + 1
    total = sum(parts.values())
    check(total > 0, "no script in the profile")
    named = any(f["url"].startswith("wasm://") and not f["functionName"].startswith("wasm-function")
                for f in frames.values())
    base = "script time per key (ScriptDuration)"
    # A sample is taken when the sampled thread runs: their count times the interval comes near
    # the script's CPU time, which other processes on the machine do not stretch.
    sampled_us = total * PROFILE_INTERVAL_US / keys
    rows = [Row("script per key, profile's samples x %d us (near its CPU time)"
                % PROFILE_INTERVAL_US, sampled_us, "us", base, script_us,
                "<= %g us" % SCRIPT_GOAL_US, sampled_us <= SCRIPT_GOAL_US)]
    for part, sampled in sorted(parts.items(), key=lambda item: -item[1]):
        if sampled / total < 0.005:
            continue
        # Without the profiling build's function names Asyncify's WebAssembly is not told apart.
        note = "" if named or not part.startswith("WebAssembly") else ", Asyncify's part included"
        rows.append(Row("script per key: %s%s" % (part, note),
                        sampled * PROFILE_INTERVAL_US / keys, "us", "all the samples",
                        sampled_us, "reference"))
    return rows


# Resizes from the start-up size and back: a desktop window grown, and an iPad (touch, no hover)
# turned from landscape to portrait. Emulated from about:blank on, before the page loads.
DESKTOP = {"deviceScaleFactor": 1, "mobile": False}
IPAD = {"deviceScaleFactor": 2, "mobile": True}
LANDSCAPE = {"type": "landscapePrimary", "angle": 90}
PORTRAIT = {"type": "portraitPrimary", "angle": 0}
RESIZES = [
    ("window 1024 x 768 grown to 1600 x 900", dict(DESKTOP, width=1024, height=768),
     dict(DESKTOP, width=1600, height=900), False),
    ("iPad 1024 x 768 at pixel ratio 2 turned to portrait",
     dict(IPAD, width=1024, height=768, screenOrientation=LANDSCAPE),
     dict(IPAD, width=768, height=1024, screenOrientation=PORTRAIT), True),
]
TOUCH_MEDIA = [{"name": "hover", "value": "none"}, {"name": "pointer", "value": "coarse"},
               {"name": "any-hover", "value": "none"}, {"name": "any-pointer", "value": "coarse"}]


def emulate(engine, metrics, touch):
    engine.open("about:blank")
    engine.cdp("Emulation.setDeviceMetricsOverride", **metrics)
    engine.cdp("Emulation.setTouchEmulationEnabled", enabled=touch,
               maxTouchPoints=5 if touch else 1)
    engine.cdp("Emulation.setEmulatedMedia", features=TOUCH_MEDIA if touch else [])


def page_memory(page):
    """The JavaScript and DOM heaps in use after a garbage collection, and the bytes of every
    canvas's backing store with the number of canvases."""
    page.cdp("HeapProfiler.collectGarbage")
    heap = page.cdp("Runtime.getHeapUsage")
    canvas_bytes, canvases = page.js(CANVAS_BYTES)
    return heap["usedSize"] + heap.get("embedderHeapUsedSize", 0), canvas_bytes, canvases


def resize_times(page, start, new, turns):
    """Resizes to `new` and back, `turns` times to `new`, ending there. Per resize to `new` the
    milliseconds from its event to the end of the next frame (the first event and the last frame
    when one resize brings several events), and the renderer's script milliseconds and main
    thread CPU milliseconds for it."""
    page.cdp("Performance.enable")
    times, scripts, cpus = [], [], []
    for i in range(2 * turns - 1):
        page.js("window.benchResizes = [];")
        before = [metric(page, name) for name in ("ScriptDuration", "ThreadTime")]
        page.cdp("Emulation.setDeviceMetricsOverride", **(new if i % 2 == 0 else start))
        time.sleep(0.5)  # the resize, its frame and any work the page leaves for later
        script, cpu = (metric(page, name) - b
                       for name, b in zip(("ScriptDuration", "ThreadTime"), before))
        stamps = page.js("return window.benchResizes;")
        check(stamps, "no frame after the resize to %r" % (new if i % 2 == 0 else start))
        if i % 2 == 0:
            times.append(max(s[1] for s in stamps) - min(s[0] for s in stamps))
            scripts.append(script * 1000)
            cpus.append(cpu * 1000)
    return times, scripts, cpus


def resize_rows(engine, build_web, keys, turns):
    rows = []
    for name, start, new, touch in RESIZES:
        run_bench.log("resize, %s ..." % name)
        emulate(engine, start, touch)
        page = weblib.Page(engine, os.path.dirname(MINIMAL), "minimal")
        wait_until(lambda: page.js("return window.benchFirstFrame"), 10, "the minimal page")
        base_times, base_scripts, base_cpus = resize_times(page, start, new, turns)

        emulate(engine, start, touch)
        page = weblib.Page(engine, build_web, "coillab")
        # Title, keys help and a curve of `keys` steps; the layout's own helpers assume a pixel
        # ratio of 1, so the watcher tells when the title screen is there.
        wait_until(lambda: page.js("return window.benchFirstFrame"), 20, "the title screen")
        page.key(" ")
        page.box()
        page.close_box()
        page.js("window.benchStampKeys = false;")
        for _ in range(keys):
            page.key("1")
        page.rendered()
        heap_before, canvas_before, _ = page_memory(page)
        times, scripts, cpus = resize_times(page, start, new, turns)
        heap_after, canvas_after, canvases = page_memory(page)
        run_bench.log("  %d canvases; window 0 (columns, size) %s" % (canvases, page.js(
            "const c = document.getElementById('screen');"
            "return [c.childElementCount, c.style.width, c.style.height,"
            " document.getElementById('stage').style.transform];")))

        what = "coillab, %s" % name
        rows += [
            Row("resize to the end of the next frame, %s, median of %d" % (what, turns),
                statistics.median(times), "ms", "minimal page, same resize",
                statistics.median(base_times), "<= %g ms" % REDRAW_GOAL_MS,
                statistics.median(times) <= REDRAW_GOAL_MS),
            Row("script for the resize, %s, median of %d" % (what, turns),
                statistics.median(scripts), "ms", "minimal page, same resize",
                statistics.median(base_scripts), "reference"),
            Row("renderer main thread CPU for the resize, %s, median of %d" % (what, turns),
                statistics.median(cpus), "ms", "minimal page, same resize",
                statistics.median(base_cpus), "reference"),
            Row("JavaScript and DOM heaps after the resize, %s" % what, heap_after / 1024, "KiB",
                "at start-up size", heap_before / 1024, "reference"),
            Row("canvas backing stores after the resize, %s" % what, canvas_after / 1024, "KiB",
                "at start-up size", canvas_before / 1024, "reference"),
        ]
    emulate(engine, dict(DESKTOP, width=weblib.VIEWPORT[0], height=weblib.VIEWPORT[1]), False)
    return rows


# Key characters sent inside the page, a sweep's keys in one go: far faster than protocol keys.
KEYS_TO_PAGE = ("for (let i = 0; i < arguments[0]; ++i) window.dispatchEvent("
                "new KeyboardEvent('keydown', {key: '1'}));")
PROMPTS = "return window.labTexts.filter(t => t[1] === arguments[0]).length;"


def lesson_figures(page, layout):
    """The record's ops, the heaps after a collection, the script milliseconds of a resize (the
    window grown and back, median of three) and of a mouse-measuring move (a mean over moves
    between two heights, each writing another readout)."""
    page.rendered()
    ops = page.js("return window.labRecordSize(0);")
    heap, _, _ = page_memory(page)
    start, new = RESIZES[0][1], RESIZES[0][2]
    _, scripts, _ = resize_times(page, start, new, 3)
    page.cdp("Emulation.setDeviceMetricsOverride", **start)
    page.rendered()
    page.menu(2, 11)  # AUSGABE, "Mausmessen", inside the continue prompt
    page.box()
    page.close_box()
    heights = (layout.voltage_zero - 90, layout.voltage_zero - 40)
    page.move(layout.sx(80), heights[1])
    page.rendered()
    before = metric(page, "ScriptDuration")
    for i in range(LESSON_MOVES):
        page.move(layout.sx(80), heights[i % 2])
    page.rendered()
    move = (metric(page, "ScriptDuration") - before) * 1000 / LESSON_MOVES
    # Both buttons together end measuring; the continue prompt waits again.
    for action, button in (("press", "left"), ("press", "right"), ("release", "right"),
                           ("release", "left")):
        page.mouse(action, layout.sx(80), heights[0], button)
    return ops, heap / 1024, statistics.median(scripts), move


def lesson_rows(engine, build_web):
    """After 1, 30, 50 and 300 sweeps of key 1 in each drawing mode, the lesson's figures against
    those after one sweep."""
    rows = []
    for mode in ("j", "n"):
        run_bench.log("a lesson in mode %s ..." % mode)
        emulate(engine, RESIZES[0][1], False)
        page = weblib.Page(engine, build_web, "coillab")
        page.cdp("Performance.enable")
        layout = page.through_title_and_help()
        if mode == "n":
            page.menu(2, 1)  # AUSGABE, "Grafik überschreiben"
        n = run_bench.steps_to_wrap(layout)
        # Neither the watcher's nor the text spy's notes grow with the sweeps.
        page.js("window.benchStampKeys = false;")
        done, first = 0, None
        for sweeps in LESSON_SWEEPS:
            while done < sweeps:
                page.js("window.labTexts = [];")
                # Past the first sweep a key ends the continue prompt first.
                page.js(KEYS_TO_PAGE, n + (1 if done else 0))
                done += 1
                wait_until(lambda: page.js(PROMPTS, PROMPT), 20, "the prompt of sweep %d" % done)
            figures = lesson_figures(page, layout)
            run_bench.log("  %d sweeps: %d ops, %.0f KiB, resize %.1f ms, move %.3f ms"
                          % ((sweeps,) + figures))
            if first is None:
                first = figures
            what = "coillab, mode %s, after %d sweep%s" % (mode, sweeps, "s" * (sweeps > 1))
            base = "after 1 sweep"
            ops, heap, resize, move = figures
            rows += [
                Row("drawing record, %s" % what, ops, "ops", base, first[0], "reference"),
                Row("JavaScript and DOM heaps after a collection, %s" % what, heap, "KiB", base,
                    first[1], "<= +%g KiB" % LESSON_HEAP_GOAL_KIB,
                    heap <= first[1] + LESSON_HEAP_GOAL_KIB),
                Row("script for a resize (grown to 1600 x 900), %s" % what, resize, "ms", base,
                    first[2], "<= %g ms" % LESSON_RESIZE_GOAL_MS,
                    resize <= LESSON_RESIZE_GOAL_MS)
                if sweeps != 30 else
                Row("script for a resize (grown to 1600 x 900), %s" % what, resize, "ms", base,
                    first[2], "<= %gx" % LESSON_RESIZE_GROWTH,
                    resize <= LESSON_RESIZE_GROWTH * first[2]),
                Row("script for a mouse-measuring move, %s" % what, move, "ms", base, first[3],
                    "<= %g ms" % LESSON_MOVE_GOAL_MS, move <= LESSON_MOVE_GOAL_MS),
            ]
    emulate(engine, dict(DESKTOP, width=weblib.VIEWPORT[0], height=weblib.VIEWPORT[1]), False)
    return rows


def engine_key_samples(engine, build_web, keys):
    """Key to segment through the engine's own key input, 20 ms apart, the last key's point
    checked against Euler's steps: the watcher's stamps of each key and the step of the page's
    clock in milliseconds."""
    page, layout = working_screen(engine, build_web, keys)
    page.js("window.benchKeys = [];")  # not the keys that led here
    send_keys(page, keys, 0.02)
    samples = wait_until(lambda: (lambda s: s if len(s) >= keys else None)(
        page.js("return window.benchKeys")), 10, "every key's frame")
    check(len(samples) == keys, "%d frames for %d keys" % (len(samples), keys))
    samples_of_euler, _ = coil_steps(keys, "1")
    t, U, _, _ = samples_of_euler[keys - 1]
    point = (layout.plot_x(t), layout.plot_y(U, layout.voltage_zero))
    wait_until(lambda: page.near(page.screenshot(), point[0], point[1], WHITE), 5,
               "the point of key %d" % keys)
    # WebKit and Firefox round performance.now() more coarsely than Chromium.
    tick = page.js("let a = performance.now(), b = a; while (b === a) b = performance.now();"
                   "return b - a;")
    return samples, tick


def other_engine_rows(name, build_web, loads, keys, step_us, chromium_mean_us):
    """Start-up and key to segment in WebKit or Firefox, as in Chromium; a key's handling against
    Chromium's (`chromium_mean_us`, the mean of the same keys). Returns the rows and the engine's
    name with its version."""
    run_bench.log("%s ..." % name)
    engine = browser(name)
    try:
        version = engine.version()
        rows = start_up_rows(engine, build_web, loads, version + ", ")
        samples, tick = engine_key_samples(engine, build_web, keys)
    finally:
        engine.quit()
    label = "%s (clock step %g us), key to segment" % (version, tick * 1000)
    base = "desktop step on Qt, coil, mean of the sweep (CPU)"
    for part, values in (("handling", [s[0] * 1000 for s in samples]),
                         ("to the next frame", [s[1] * 1000 for s in samples])):
        rows.append(Row("%s, %s, median of %d" % (label, part, keys), statistics.median(values),
                        "us", base, step_us, "reference"))
        rows.append(Row("%s, %s, 99th percentile" % (label, part),
                        run_bench.percentile(values, 0.99), "us", base, step_us, "reference"))
    # A coarse clock rounds each time, but the mean over keys at random phases is still true.
    mean = statistics.mean(s[0] for s in samples) * 1000
    if name == "firefox":
        rows.append(Row("%s, handling, mean" % label, mean, "us",
                        "Chromium, same keys, handling, mean", chromium_mean_us,
                        "<= %gx" % KEY_ENGINE_GOAL, mean <= KEY_ENGINE_GOAL * chromium_mean_us))
    else:
        rows.append(Row("%s, handling, mean" % label, mean, "us",
                        "Chromium, same keys, handling, mean", chromium_mean_us, "reference"))
    return rows, version


def engines_rows(build_web, loads, keys, step_us):
    """Page size, start-up with its steps and a key's handling in all three engines."""
    rows = page_size_rows(build_web)
    engine = browser()
    try:
        run_bench.log("start-up ...")
        rows += start_up_rows(engine, build_web, loads)
        run_bench.log("keys ...")
        samples, _ = engine_key_samples(engine, build_web, keys)
        versions = [engine.version()]
    finally:
        engine.quit()
    chromium_mean_us = statistics.mean(s[0] for s in samples) * 1000
    rows.append(Row("key to segment, handling, mean of %d" % keys, chromium_mean_us, "us",
                    "desktop step on Qt, coil, mean of the sweep (CPU)", step_us, "reference"))
    for name in ("webkit", "firefox"):
        engine_rows, version = other_engine_rows(name, build_web, loads, keys, step_us,
                                                 chromium_mean_us)
        rows += engine_rows
        versions.append(version)
    return rows, versions


def page_size_rows(build_web):
    minimal_size = os.path.getsize(MINIMAL)
    rows = []
    for program in ("coillab", "caplab"):
        size = os.path.getsize(os.path.join(build_web, program + ".html"))
        rows.append(Row("page size, %s" % program, size / 1024, "KiB", "minimal page",
                        minimal_size / 1024, "<= 1024 KiB", size <= SIZE_GOAL))
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-web", default=os.path.join(ROOT, "build-web"))
    parser.add_argument("--profile-build", help="the pages linked with --profiling-funcs, whose "
                        "WebAssembly functions the profile can name")
    parser.add_argument("--build", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--markdown", help="also write the table as Markdown to this file")
    parser.add_argument("--loads", type=int, default=7, help="loads of each page for start-up")
    parser.add_argument("--keys", type=int, default=300)
    parser.add_argument("--slow-keys", type=int, default=150, help="keys on the slow device")
    parser.add_argument("--turns", type=int, default=5, help="resizes of each kind")
    parser.add_argument("--idle-seconds", type=float, default=5.0)
    parser.add_argument("--lesson-only", action="store_true",
                        help="only the figures of a lesson's many sweeps")
    parser.add_argument("--engines-only", action="store_true",
                        help="only page size, start-up with its steps and a key's handling, in "
                        "all three engines")
    args = parser.parse_args()
    build_web = os.path.abspath(args.build_web)
    profile_build = os.path.abspath(args.profile_build or args.build_web)

    if args.lesson_only:
        engine = browser()
        try:
            rows = lesson_rows(engine, build_web)
            setting = "%s headless, viewport %d x %d" % ((engine.version(),) + weblib.VIEWPORT)
        finally:
            engine.quit()
        run_bench.report(rows, setting, args.markdown)
        return 0
    step_us = desktop_step_us(os.path.abspath(args.build))
    if args.engines_only:
        rows, versions = engines_rows(build_web, args.loads, args.keys, step_us)
    else:
        rows = page_size_rows(build_web)
        engine = browser()
        try:
            run_bench.log("start-up ...")
            rows += start_up_rows(engine, build_web, args.loads)
            key_figures, script_us, cpu_us, mean_us = key_rows(engine, build_web, args.keys,
                                                                step_us)
            rows += key_figures
            rows += script_part_rows(engine, profile_build, args.keys, script_us)
            rows += slow_device_rows(engine, build_web, args.slow_keys, script_us, cpu_us)
            rows += idle_rows(engine, build_web, args.idle_seconds)
            rows += resize_rows(engine, build_web, RESIZE_KEYS, args.turns)
            rows += lesson_rows(engine, build_web)
            versions = [engine.version()]
        finally:
            engine.quit()
        for name in ("webkit", "firefox"):
            engine_rows, version = other_engine_rows(name, build_web, args.loads, args.keys,
                                                     step_us, mean_us)
            rows += engine_rows
            versions.append(version)

    setting = "%s headless, %s under Xvfb, %s headless, viewport %d x %d" % (
        tuple(versions) + weblib.VIEWPORT)
    run_bench.report(rows, setting, args.markdown)
    return 0


if __name__ == "__main__":
    sys.exit(main())
