#!/usr/bin/python3
"""Runs the browser tests against the pages of a build folder: every case in headless Chromium, a
short subset in WebKitGTK and in Firefox ESR, one browser per engine. Prints one PASS or FAIL line
per case and engine, each engine's time, and "N passed, N failed".
Usage: tests/web/run.py [BUILD_DIR] [WORD ...]   (default build-web; only the cases whose title,
program or engine holds a word)"""

import glob
import importlib
import os
import signal
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import engines  # noqa: E402
import weblib  # noqa: E402

# What WebKit and Firefox run: the page's every service once, in a few minutes. Printing stays
# out: headless Firefox's print preview keeps the focus, and print media need Chromium's protocol.
SUBSET = [("startup", "coillab"), ("hold 1 then 0", "coillab"), ("hold 1 then 0", "caplab"),
          ("menu", "coillab"), ("dialog", "coillab"), ("table on screen", "coillab"),
          ("mouse measuring", "coillab"), ("quit", "coillab")]


def cases():
    found = []
    for path in sorted(glob.glob(os.path.join(HERE, "test_*.py"))):
        found += importlib.import_module(os.path.basename(path)[:-3]).CASES
    return found


def plan(words):
    """(engine, title, program, test) of every case to run, engine by engine; a subset entry
    without its case is a failure of its own."""
    every = cases()
    by_name = {(title, program): test for title, program, test in every}
    missing = [entry for entry in SUBSET if entry not in by_name]
    runs = [("chromium",) + case for case in every]
    for engine in ("webkit", "firefox"):
        runs += [(engine, title, program, by_name.get((title, program)))
                 for title, program in SUBSET]
    chosen = [run for run in runs
              if not words or any(w in "%s %s %s" % (run[1], run[2], run[0]) for w in words)]
    return chosen, missing


def run_case(engine, build, program, test, artifacts, name):
    """Runs one case; returns the engine, None where it must be renewed."""
    try:
        engine.errors()
        weblib.check(test is not None, "no such case")
        test(weblib.Page(engine, build, program))
        errors = engine.errors()
        weblib.check(not errors, "errors on the page: %s" % "; ".join(errors[:3]))
        return engine, ""
    except Exception as error:  # every failure is reported, the next case still runs
        why = "%s: %s" % (type(error).__name__, error)
        os.makedirs(artifacts, exist_ok=True)
        try:
            engine.save_screenshot(os.path.join(artifacts, name.replace(" ", "-") + ".png"))
        except Exception:
            engine.quit()  # a browser that cannot even take a screenshot is renewed
            engine = None
        return engine, why


def main():
    # A terminated run still ends its browsers and X server (the finally below).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    args = sys.argv[1:]
    build = os.path.abspath(args.pop(0) if args else os.path.join(weblib.ROOT, "build-web"))
    artifacts = os.path.join(build, "web-artifacts")
    chosen, missing = plan(args)
    passed = failed = 0
    for title, program in missing:
        print("FAIL %s %s: not a case of the suite, but in the engines' subset" % (title, program))
        failed += 1
    times = {}
    engine = None
    try:
        for engine_name in engines.NAMES:
            runs = [run for run in chosen if run[0] == engine_name]
            if not runs:
                continue
            start = time.monotonic()
            broken = None  # why the engine did not start: its remaining cases fail at once
            for _, title, program, test in runs:
                name = "%s %s %s" % (title, program, engine_name)
                case_start = time.monotonic()
                if not engine and not broken:
                    try:
                        engine = engines.start(engine_name)
                    except Exception as error:
                        broken = "%s did not start: %s: %s" % (engine_name, type(error).__name__,
                                                              error)
                if broken:
                    why = broken
                else:
                    engine, why = run_case(engine, build, program, test, artifacts, name)
                if why:
                    failed += 1
                else:
                    passed += 1
                print("%s %-44s %5.1f s" % ("FAIL" if why else "PASS", name,
                                            time.monotonic() - case_start))
                if why:
                    print("    " + why.strip().replace("\n", "\n    "))
                sys.stdout.flush()
            if engine:
                engine.quit()
                engine = None
            times[engine_name] = (len(runs), time.monotonic() - start)
    finally:
        if engine:
            engine.quit()
    for engine_name, (count, seconds) in times.items():
        print("%s: %d cases in %.1f s" % (engine_name, count, seconds))
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
