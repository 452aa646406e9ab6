#!/usr/bin/env python3
"""Runs every benchmark of the programs and prints each figure next to its baseline measured in
the same run, as a ratio, and against its goal. Called by scripts/bench after the build.

Step cost (Google Benchmark, offscreen 1920 x 1080), key latency offscreen and under Xvfb,
idle CPU in the four waits, start-up time to the first painted frame and peak memory after
1,000 steps. The X figures run the real programs on Xvfb with openbox, driven by xdotool."""

import argparse
import json
import math
import os
import platform
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import e2elib  # noqa: E402

SCREEN = "1920x1080x24"
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
STEP_GOAL_US = 20.0
IDLE_GOAL_PERCENT = 1.0
RATIO_GOAL = 1.3
RESIZE_GOAL_MS = 50.0


class Row:
    def __init__(self, figure, value, unit, baseline, base_value, goal="", met=None, ratio=None):
        self.figure = figure
        self.value = value
        self.unit = unit
        self.baseline = baseline
        self.base_value = base_value
        if ratio is None and base_value:
            ratio = value / base_value
        self.ratio = ratio
        self.goal = goal
        self.met = met


def fmt(value):
    if value is None:
        return "-"
    if value == 0 or abs(value) >= 100:
        return "%.0f" % value
    if abs(value) >= 10:
        return "%.1f" % value
    return "%.3g" % value


def percentile(values, share):
    """Nearest-rank percentile."""
    ordered = sorted(values)
    return ordered[max(0, math.ceil(share * len(ordered)) - 1)]


def log(text):
    print(text, file=sys.stderr, flush=True)


# ---------------------------------------------------------------- 1. step cost


def google_benchmark(path, min_time, repetitions=5):
    """Per benchmark the median of the repetitions, and their best CPU time (best_us): the
    machine is shared, so the best is the fairest view of growth."""
    out = subprocess.run([path, "--benchmark_format=json", "--benchmark_min_time=%g" % min_time,
                          "--benchmark_repetitions=%d" % repetitions],
                         capture_output=True, check=True, timeout=900).stdout
    data = json.loads(out)
    runs = {}
    for entry in data["benchmarks"]:
        if entry.get("run_type") != "iteration":
            continue
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[entry["time_unit"]]
        name = entry["run_name"].replace("/manual_time", "")
        runs.setdefault(name, []).append(
            (entry["real_time"] * scale, entry.get("cpu_us", entry["cpu_time"] * scale)))
    results = {}
    for name, values in runs.items():
        results[name] = {"wall_us": statistics.median(v[0] for v in values),
                         "cpu_us": statistics.median(v[1] for v in values),
                         "best_us": min(v[1] for v in values)}
    return results, data.get("context", {})


def step_cost(build, min_time):
    log("step cost ...")
    bare, _ = google_benchmark(os.path.join(build, "bench", "bench_model_update"), min_time)
    qt, context = google_benchmark(os.path.join(build, "bench", "bench_qt_step"), min_time)
    rows = []
    for variant in ("coil", "capacitor"):
        base = bare["modelUpdate/" + variant]
        quarters = {(sweep, q): qt["qtStep/%s/%s/quarter%d" % (variant, sweep, q)]
                    for sweep in ("firstSweep", "afterWrap") for q in range(1, 5)}
        worst = max(quarters.values(), key=lambda e: e["cpu_us"])
        mean_cpu = statistics.mean(e["cpu_us"] for e in quarters.values())
        rows.append(Row("step on Qt, %s, mean of the sweep (CPU)" % variant, mean_cpu, "us",
                        "bare model update, CPU", base["cpu_us"],
                        "<= %g us" % STEP_GOAL_US, mean_cpu <= STEP_GOAL_US))
        rows.append(Row("step on Qt, %s, worst quarter (CPU)" % variant, worst["cpu_us"], "us",
                        "bare model update, CPU", base["cpu_us"],
                        "<= %g us" % STEP_GOAL_US, worst["cpu_us"] <= STEP_GOAL_US))
        wall = max(e["wall_us"] for e in quarters.values())
        rows.append(Row("step on Qt, %s, worst quarter (wall)" % variant, wall, "us",
                        "bare model update, wall", base["wall_us"],
                        "<= %g us" % STEP_GOAL_US, wall <= STEP_GOAL_US))
        first, last = quarters[("firstSweep", 1)], quarters[("firstSweep", 4)]
        growth = last["best_us"] / first["best_us"]
        rows.append(Row("step on Qt, %s, last quarter of the sweep (best CPU)" % variant,
                        last["best_us"], "us", "first quarter", first["best_us"],
                        "no growth (<= 1.3x)", growth <= RATIO_GOAL))
        after = statistics.mean(quarters[("afterWrap", q)]["best_us"] for q in range(1, 5))
        before = statistics.mean(quarters[("firstSweep", q)]["best_us"] for q in range(1, 5))
        rows.append(Row("step on Qt, %s, sweep after a wrap (best CPU)" % variant, after, "us",
                        "first sweep", before, "no growth (<= 1.3x)", after / before <= RATIO_GOAL))
        paint = qt["qtStepAndPaint/" + variant]
        rows.append(Row("step and its repaint, %s (wall)" % variant, paint["wall_us"], "us",
                        "goal of the step alone", STEP_GOAL_US, "reference"))
        loop = qt["mainLoopPass/" + variant]
        rows.append(Row("main loop pass for one key, %s (CPU)" % variant, loop["cpu_us"], "us",
                        "goal of the step alone", STEP_GOAL_US, "reference"))
    resize = qt["qtResize/coil"]["wall_us"] / 1000
    rows.append(Row("redraw after a resize, 1280x720 <-> full (wall)", resize, "ms",
                    "empty Qt window's resize", qt["qtResize/emptyWindow"]["wall_us"] / 1000,
                    "<= %g ms" % RESIZE_GOAL_MS, resize <= RESIZE_GOAL_MS))
    return rows, context.get("drawing_area", "?")


# ---------------------------------------------------------------- 2. latency offscreen


def offscreen_latency(build):
    log("latency offscreen ...")
    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    out = subprocess.run([os.path.join(build, "bench", "bench_offscreen_latency")], env=env,
                         capture_output=True, check=True, timeout=300).stdout.decode()
    results = {}
    for line in out.splitlines():
        if line.startswith("{"):
            data = json.loads(line)
            results[data["subject"]] = data["micros"]
    program, base = results["coillab"], results["baseline"]
    return [
        Row("latency offscreen, median", statistics.median(program), "us",
            "empty window, median", statistics.median(base), "reference"),
        Row("latency offscreen, 99th percentile", percentile(program, 0.99), "us",
            "empty window, 99th percentile", percentile(base, 0.99), "reference"),
    ]


# ---------------------------------------------------------------- the X server side


def steps_to_wrap(layout, dt=0.05):
    """Steps of a sweep, the one that reaches the right edge included."""
    t, k = -dt, 0
    while True:
        t = t + dt
        k += 1
        if layout.wraps(layout.plot_x(t)):
            return k


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime, stime


def vm_hwm_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise e2elib.Failure("no VmHWM for %d" % pid)


def idle_percent(pid, seconds):
    time.sleep(1.0)
    before = cpu_seconds(pid)
    time.sleep(seconds)
    return 100.0 * (cpu_seconds(pid) - before) / seconds


def wait_quiet(pid, timeout=60):
    """Waits until the process has used no CPU for half a second."""
    end = time.monotonic() + timeout
    last = cpu_seconds(pid)
    while time.monotonic() < end:
        time.sleep(0.5)
        now = cpu_seconds(pid)
        if now == last:
            return
        last = now


class Baseline:
    """The empty-window program on the X server."""

    def __init__(self, build, env, *args):
        self.env = env
        self.proc = subprocess.Popen([os.path.join(build, "bench", "qt_baseline"), *args],
                                     env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.wid = e2elib.wait_until(self._window, 15, "the baseline window")

    def _window(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid)],
                             env=self.env, capture_output=True).stdout.decode().split()
        for wid in out:
            try:
                _, _, w, h, viewable = e2elib.window_geometry(self.env, int(wid))
            except e2elib.Failure:
                continue
            if viewable and w >= 400 and h >= 300:
                return int(wid)
        return None

    def focus(self):
        for action in ("windowactivate", "windowfocus"):
            subprocess.run(["xdotool", action, "--sync", str(self.wid)], env=self.env,
                           capture_output=True)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            self.proc.wait(10)


def start_up(build, env, runs):
    log("start-up ...")
    xwatch = os.path.join(build, "bench", "xwatch")
    workdir = tempfile.mkdtemp(prefix="lab-bench-")
    times = {"coillab": [], "baseline": []}
    for _ in range(runs):
        for name, path in (("baseline", os.path.join(build, "bench", "qt_baseline")),
                           ("coillab", os.path.join(build, "coillab"))):
            out = subprocess.run([xwatch, "first-frame", "30", path], env=env, cwd=workdir,
                                 capture_output=True, timeout=60)
            if out.returncode != 0:
                raise e2elib.Failure("%s: %s" % (name, out.stderr.decode(errors="replace")))
            times[name].append(float(out.stdout))
            time.sleep(0.5)
    program, base = statistics.median(times["coillab"]), statistics.median(times["baseline"])
    return [Row("start-up to the title screen's first frame, median of %d" % runs, program, "ms",
                "empty window's first frame", base, "<= %gx" % RATIO_GOAL,
                program / base <= RATIO_GOAL)]


def x_latency(build, env, program, keys):
    """Key presses delivered to the window and the next damage of its pixels."""
    log("latency under Xvfb ...")
    xwatch = os.path.join(build, "bench", "xwatch")

    def measure(wid):
        watcher = subprocess.Popen([xwatch, "latency", str(wid), str(keys), "120"], env=env,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        if watcher.stdout.readline().strip() != b"ready":
            raise e2elib.Failure("xwatch did not start")
        subprocess.run(["xdotool", "key", "--delay", "40", "--repeat", str(keys), "1"], env=env,
                       check=True, timeout=120)
        out, _ = watcher.communicate(timeout=30)
        samples = [float(v) for v in out.split()]
        if len(samples) < keys * 0.9:
            raise e2elib.Failure("only %d of %d keys were painted" % (len(samples), keys))
        return samples

    program.focus()
    lab = measure(program.wid)
    base = Baseline(build, env, "--draw-on-key")
    try:
        time.sleep(1.0)
        base.focus()
        empty = measure(base.wid)
    finally:
        base.stop()
    return [
        Row("latency under Xvfb, median", statistics.median(lab), "us", "empty window, median",
            statistics.median(empty), "reference"),
        Row("latency under Xvfb, 99th percentile", percentile(lab, 0.99), "us",
            "empty window, 99th percentile", percentile(empty, 0.99), "reference"),
    ]


def idle_cpu(build, env, p, layout, seconds):
    """CPU share in the key wait, a dialog, the continue prompt and mouse measuring."""
    log("idle CPU ...")
    base = Baseline(build, env)
    try:
        empty = idle_percent(base.proc.pid, seconds)
    finally:
        base.stop()
    figures = []
    pid = p.proc.pid
    p.focus()
    figures.append(("key wait", idle_percent(pid, seconds)))

    probe = (layout.sx(10) + 3, layout.sy(15) + 3)
    p.menu(1, 4)  # resistor R
    e2elib.wait_until(lambda: p.pixel(p.screenshot(), *probe) == e2elib.MAGENTA, 10,
                      "the dialog")
    figures.append(("dialog input", idle_percent(pid, seconds)))
    p.type_text("1")
    p.key("Return")
    e2elib.wait_until(lambda: p.pixel(p.screenshot(), *probe) != e2elib.MAGENTA, 10,
                      "the dialog to close")

    p.focus()
    p.keys("1", steps_to_wrap(layout))
    band = [(x, layout.prompt_y(22) + 6) for x in range(19, 19 + layout.sx(50))]
    e2elib.wait_until(
        lambda: sum(1 for x, y in band if p.pixel(p.screenshot(), x, y) != e2elib.BLUE) > 5, 20,
        "the continue prompt")
    figures.append(("continue prompt", idle_percent(pid, seconds)))
    p.key("space")

    p.menu(2, 11)  # mouse measuring
    p.close_box(p.box())
    p.move(layout.sx(80), layout.voltage_zero - 30)
    figures.append(("mouse measuring, pointer still", idle_percent(pid, seconds)))
    return [Row("idle CPU over %g s in the %s" % (seconds, what), value, "% of a core",
                "empty window idle", empty, "< %g %%" % IDLE_GOAL_PERCENT,
                value < IDLE_GOAL_PERCENT, ratio=value / IDLE_GOAL_PERCENT)
            for what, value in figures]


def memory(build, env, steps):
    log("memory ...")
    base = Baseline(build, env)
    try:
        time.sleep(1.5)
        empty = vm_hwm_kib(base.proc.pid)
    finally:
        base.stop()
    p = e2elib.Program("coillab", env, build)
    try:
        layout = p.through_title_and_help()
        per_sweep = steps_to_wrap(layout)
        # The key after each wrap answers the continue prompt instead of stepping.
        prompts = (steps - 1) // per_sweep
        p.focus()
        p.keys("1", steps + prompts, delay_ms=2)
        wait_quiet(p.proc.pid)
        program = vm_hwm_kib(p.proc.pid)
    finally:
        p.stop()
    return [Row("peak resident memory after %d steps" % steps, program / 1024.0, "MiB",
                "empty window", empty / 1024.0, "<= %gx" % RATIO_GOAL,
                program / empty <= RATIO_GOAL)]


def x_figures(build, runs, idle_seconds, latency_keys):
    server = e2elib.XServer(SCREEN)
    rows = []
    try:
        env = server.env
        rows += start_up(build, env, runs)
        rows += memory(build, env, 1000)
        p = e2elib.Program("coillab", env, build)
        try:
            layout = p.through_title_and_help()
            rows += x_latency(build, env, p, latency_keys)
        finally:
            p.stop()
        p = e2elib.Program("coillab", env, build)
        try:
            layout = p.through_title_and_help()
            rows += idle_cpu(build, env, p, layout, idle_seconds)
        finally:
            p.stop()
    finally:
        server.stop()
    return rows


# ---------------------------------------------------------------- report


def machine():
    model = "?"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    return "%d cores (nproc), %s, %s" % (os.cpu_count(), model, platform.platform())


def table(rows):
    header = ("Figure", "Value", "Baseline (same run)", "Baseline", "Ratio", "Goal", "Met")
    lines = [header]
    for r in rows:
        met = "" if r.met is None else ("yes" if r.met else "NO")
        lines.append((r.figure, "%s %s" % (fmt(r.value), r.unit), r.baseline,
                      "%s %s" % (fmt(r.base_value), r.unit),
                      "-" if r.ratio is None else "%sx" % fmt(r.ratio), r.goal, met))
    return lines


def report(rows, setting, markdown):
    """Prints the rows as a table after the machine and the setting, and the missed goals;
    with a file name, writes the table as Markdown there too."""
    lines = table(rows)
    widths = [max(len(line[i]) for line in lines) for i in range(len(lines[0]))]
    print("machine: %s" % machine())
    print(setting)
    for line in lines:
        print("  ".join(cell.ljust(w) for cell, w in zip(line, widths)).rstrip())
    missed = [r.figure for r in rows if r.met is False]
    print("goals missed: %s" % (", ".join(missed) if missed else "none"))
    if markdown:
        with open(markdown, "w", encoding="utf-8") as f:
            f.write("Machine: %s; %s.\n\n" % (machine(), setting))
            f.write("| " + " | ".join(lines[0]) + " |\n")
            f.write("|" + "---|" * len(lines[0]) + "\n")
            for line in lines[1:]:
                f.write("| " + " | ".join(line) + " |\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--quick", action="store_true", help="shorter runs, rougher figures")
    parser.add_argument("--markdown", help="also write the table as Markdown to this file")
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    rows, area = step_cost(build, 0.1 if args.quick else 0.5)
    rows += offscreen_latency(build)
    rows += x_figures(build, runs=5 if args.quick else 15, idle_seconds=10,
                      latency_keys=100 if args.quick else 250)

    report(rows, "offscreen drawing area %s; Xvfb screen %s" % (area, SCREEN), args.markdown)
    return 0


if __name__ == "__main__":
    sys.exit(main())
