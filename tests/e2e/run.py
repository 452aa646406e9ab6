#!/usr/bin/env python3
"""Runs every end-to-end test for both programs on one virtual X server and prints
"N passed, N failed"."""

import argparse
import glob
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2elib  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build", help="build folder holding the programs")
    parser.add_argument("--timeout", type=float, default=300, help="seconds per test")
    parser.add_argument("tests", nargs="*", help="test files (default: every test_*.py)")
    args = parser.parse_args()

    here = os.path.dirname(os.path.abspath(__file__))
    tests = args.tests or sorted(glob.glob(os.path.join(here, "test_*.py")))
    build = os.path.abspath(args.build)
    server = e2elib.XServer()
    env = dict(server.env, LAB_E2E_DISPLAY=server.display, LAB_BUILD_DIR=build,
               LAB_E2E_ARTIFACTS=os.path.join(build, "e2e-artifacts"))
    passed = failed = 0
    try:
        for test in tests:
            for program in ("coillab", "caplab"):
                name = "%s %s" % (os.path.basename(test)[:-3], program)
                start = time.monotonic()
                try:
                    result = subprocess.run([sys.executable, test, program], env=env,
                                            capture_output=True, timeout=args.timeout)
                    output = result.stdout.decode(errors="replace") + result.stderr.decode(
                        errors="replace")
                    ok = result.returncode == 0
                except subprocess.TimeoutExpired:
                    output, ok = "timed out after %d s\n" % args.timeout, False
                seconds = time.monotonic() - start
                if ok:
                    passed += 1
                    print("PASS %-28s %5.1f s" % (name, seconds))
                else:
                    failed += 1
                    print("FAIL %-28s %5.1f s" % (name, seconds))
                    print("    " + output.strip().replace("\n", "\n    "))
                sys.stdout.flush()
    finally:
        server.stop()
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
