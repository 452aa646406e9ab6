#!/usr/bin/python3
"""Benchmarks of the site for a web server, each figure next to a baseline of the same run:
Lighthouse's accessibility, best-practices and SEO scores of the index and both program pages
against the self-contained page served as it is, Chromium's installability errors, the site's
size against the two self-contained pages, the start from the served site with a warm service
worker, also with the server gone, against a cold start, and a first visit to the site's page
(its parts as files) against the self-contained page served alike. Called by scripts/bench-web after the
build; the site is served from 127.0.0.1.

usage: bench/site_bench.py [--build-web DIR] [--markdown FILE] [--loads N]"""

import argparse
import json
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
import run_bench  # noqa: E402
import web_bench  # noqa: E402
import weblib  # noqa: E402
from run_bench import Row  # noqa: E402
from test_site import QuietHandler, SiteServer  # noqa: E402
from weblib import check, wait_until  # noqa: E402

LIGHTHOUSE = os.path.join(ROOT, "tests", "web", "node_modules", "lighthouse", "cli", "index.js")
CATEGORIES = ("accessibility", "best-practices", "seo")
PROGRAMS = ("coillab", "caplab")


def lighthouse(url):
    """Lighthouse's scores (0 to 100) of the three categories for one page, and the audits that
    cost points."""
    check(os.path.exists(LIGHTHOUSE), "%s is missing: run scripts/setup" % LIGHTHOUSE)
    run_bench.log("lighthouse %s ..." % url)
    out = subprocess.run(
        ["node", LIGHTHOUSE, url, "--only-categories=" + ",".join(CATEGORIES), "--quiet",
         "--output=json", "--output-path=stdout",
         "--chrome-flags=--headless=new --no-sandbox --disable-gpu"],
        env=dict(os.environ, CHROME_PATH="/usr/bin/chromium"), check=True,
        capture_output=True, text=True, timeout=300).stdout
    report = json.loads(out)
    scores = {c: round(100 * report["categories"][c]["score"]) for c in CATEGORIES}
    failed = sorted(name for name, audit in report["audits"].items()
                    if audit.get("score") is not None and audit["score"] < 1
                    and audit.get("scoreDisplayMode") in ("binary", "numeric"))
    return scores, failed


def lighthouse_rows(server):
    base, base_failed = lighthouse(server.url("coillab.html"))
    rows = []
    for page in ("index", ) + PROGRAMS:
        scores, failed = lighthouse(server.url("site/%s.html" % page))
        if failed:
            run_bench.log("  %s loses points in: %s" % (page, ", ".join(failed)))
        for category in CATEGORIES:
            rows.append(Row("Lighthouse %s, site's %s" % (category, page), scores[category],
                            "points", "self-contained page served", base[category], "100",
                            scores[category] == 100))
    run_bench.log("  the self-contained page loses points in: %s" % ", ".join(base_failed))
    return rows


def clean_slate(driver, server):
    """No worker, no cache: what a device that has never visited the site has."""
    driver.get("about:blank")
    driver.execute_cdp_cmd("Network.clearBrowserCache", {})
    driver.execute_cdp_cmd("Storage.clearDataForOrigin", {
        "origin": server.url("")[:-1], "storageTypes": "all"})


def first_frame(driver, url):
    """Milliseconds from navigation to the first frame of the title screen."""
    driver.get("about:blank")
    driver.get(url)
    return wait_until(lambda: driver.execute_script("return window.benchFirstFrame"), 30,
                      "the first frame of " + url)


def worker_ready(driver):
    return driver.execute_script("return !!navigator.serviceWorker.controller;")


def installability_rows(driver, server):
    rows = []
    for program in PROGRAMS:
        counts = []
        for url in (server.url(program + ".html"), server.url("site/%s.html" % program)):
            driver.get(url)
            wait_until(lambda: driver.execute_script("return window.benchFirstFrame"), 30, url)
            errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})
            counts.append(len(errors["installabilityErrors"]))
            if errors["installabilityErrors"]:
                run_bench.log("  %s: %s" % (url, ", ".join(
                    e["errorId"] for e in errors["installabilityErrors"])))
        rows.append(Row("installability errors, site's %s" % program, counts[1], "",
                        "self-contained page served", counts[0], "0", counts[1] == 0,
                        ratio=None))
    return rows


def start_rows(driver, server, build_web, loads):
    """Cold: a device's first visit. Warm: a later visit, served by the worker, and the same
    with the server gone. For reference the self-contained page from file://. Round by round,
    so that a busy moment meets each kind alike."""
    rows = []
    for program in PROGRAMS:
        url = server.url("site/%s.html" % program)
        times = {"cold": [], "warm": [], "offline": [], "file": []}
        for _ in range(loads):
            times["file"].append(first_frame(driver, "file://%s/%s.html" % (build_web, program)))
            clean_slate(driver, server)
            times["cold"].append(first_frame(driver, url))
            wait_until(lambda: worker_ready(driver), 20, "the worker of " + url)
            times["warm"].append(first_frame(driver, url))
            server.stop()
            try:
                times["offline"].append(first_frame(driver, url))
            finally:
                server.start(build_web)
        cold = statistics.median(times["cold"])
        for kind, what in (("warm", "warm worker"), ("offline", "warm worker, server gone"),
                           ("file", "self-contained page from file://")):
            rows.append(Row("start to the title screen's first frame, %s, %s, median of %d"
                            % (program, what, loads), statistics.median(times[kind]), "ms",
                            "cold start (no worker, no cache)", cold, "reference"))
    return rows


class UntypedWasmHandler(QuietHandler):
    """A server that does not know WebAssembly's type, as some older ones."""
    extensions_map = dict(QuietHandler.extensions_map, **{".wasm": "application/octet-stream"})


def file_start_rows(driver, server, build_web, loads):
    """A device's first visit (no worker, no cache) to the site's page, whose parts are files of
    their own, against the self-contained page served alike: with the server's WebAssembly type,
    which lets the program compile as it streams in, and without it (compiled from its bytes)."""
    untyped = SiteServer(UntypedWasmHandler)
    untyped.start(build_web)
    rows = []
    try:
        for program in PROGRAMS:
            times = {"inline": [], "streamed": [], "untyped": []}
            for _ in range(loads):
                for kind, url in (("inline", server.url(program + ".html")),
                                  ("streamed", server.url("site/%s.html" % program)),
                                  ("untyped", untyped.url("site/%s.html" % program))):
                    clean_slate(driver, untyped if kind == "untyped" else server)
                    times[kind].append(first_frame(driver, url))
            inline = statistics.median(times["inline"])
            for kind, what in (("streamed", "WebAssembly typed, compiled as it streams"),
                               ("untyped", "WebAssembly untyped, compiled from its bytes")):
                rows.append(Row("first visit to the first frame, site's %s (parts as files), %s, "
                                "median of %d" % (program, what, loads),
                                statistics.median(times[kind]), "ms",
                                "self-contained page served, first visit", inline, "reference"))
    finally:
        untyped.stop()
    return rows


def size_rows(build_web):
    site = os.path.join(build_web, "site")
    sizes = [os.path.getsize(os.path.join(folder, name))
             for folder, _, names in os.walk(site) for name in names]
    pages = sum(os.path.getsize(os.path.join(build_web, p + ".html")) for p in PROGRAMS)
    return [Row("site's total size, %d files" % len(sizes), sum(sizes) / 1024, "KiB",
                "the two self-contained pages", pages / 1024, "reference")]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-web", default=os.path.join(ROOT, "build-web"))
    parser.add_argument("--markdown", help="also write the table as Markdown to this file")
    parser.add_argument("--loads", type=int, default=7, help="starts of each kind and program")
    args = parser.parse_args()
    build_web = os.path.abspath(args.build_web)

    rows = size_rows(build_web)
    server = SiteServer()
    server.start(build_web)
    driver = weblib.start_browser()
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": web_bench.WATCHER})
    try:
        rows += installability_rows(driver, server)
        run_bench.log("start from the site ...")
        rows += start_rows(driver, server, build_web, args.loads)
        run_bench.log("first visits: parts as files against the self-contained page ...")
        rows += file_start_rows(driver, server, build_web, args.loads)
        version = driver.capabilities.get("browserVersion", "?")
        driver.quit()
        driver = None
        rows += lighthouse_rows(server)
    finally:
        if driver:
            driver.quit()
        server.stop()

    setting = ("Chromium %s headless, viewport %d x %d; Lighthouse 12.2.3 with its own defaults"
               % ((version,) + weblib.VIEWPORT))
    run_bench.report(rows, setting, args.markdown)
    return 0


if __name__ == "__main__":
    sys.exit(main())
