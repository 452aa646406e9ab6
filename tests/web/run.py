#!/usr/bin/python3
"""Runs the browser tests against the pages of a build folder in one headless Chromium and
prints one PASS or FAIL line per case and "N passed, N failed".
Usage: tests/web/run.py [BUILD_DIR] [CASE-NAME-PART ...]   (default build-web)"""

import glob
import importlib
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import weblib  # noqa: E402


def cases():
    found = []
    for path in sorted(glob.glob(os.path.join(HERE, "test_*.py"))):
        found += importlib.import_module(os.path.basename(path)[:-3]).CASES
    return found


def page_errors(driver):
    """Uncaught errors the page wrote to the console: a trapped program shows as one."""
    return [entry["message"] for entry in driver.get_log("browser")
            if entry["level"] == "SEVERE"]


def main():
    args = sys.argv[1:]
    build = os.path.abspath(args.pop(0) if args else os.path.join(weblib.ROOT, "build-web"))
    artifacts = os.path.join(build, "web-artifacts")
    chosen = [c for c in cases() if not args or any(a in "%s %s" % c[:2] for a in args)]
    passed = failed = 0
    driver = None
    for title, program, test in chosen:
        name = "%s %s" % (title, program)
        start = time.monotonic()
        try:
            driver = driver or weblib.start_browser()
            page_errors(driver)
            test(weblib.Page(driver, build, program))
            errors = page_errors(driver)
            weblib.check(not errors, "errors on the page: %s" % "; ".join(errors[:3]))
            ok, why = True, ""
        except Exception as error:  # every failure is reported, the next case still runs
            ok, why = False, "%s: %s" % (type(error).__name__, error)
            if driver:
                os.makedirs(artifacts, exist_ok=True)
                try:
                    driver.save_screenshot(os.path.join(artifacts, name.replace(" ", "-")
                                                        + ".png"))
                except Exception:
                    driver.quit()  # a browser that cannot even take a screenshot is renewed
                    driver = None
        seconds = time.monotonic() - start
        if ok:
            passed += 1
        else:
            failed += 1
        print("%s %-28s %5.1f s" % ("PASS" if ok else "FAIL", name, seconds))
        if why:
            print("    " + why.strip().replace("\n", "\n    "))
        sys.stdout.flush()
    if driver:
        driver.quit()
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
