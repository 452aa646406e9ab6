"""The site for a school's web server, served from 127.0.0.1: both programs installable and started
from it, then again with the server gone, and a rebuilt site taken up at the next visit."""

import functools
import http.server
import os
import shutil
import socket
import sys
import tempfile
import threading

from weblib import ROOT, check, wait_until

import test_basics

SITE_SOURCES = os.path.join(ROOT, "src", "platform", "web", "site")
sys.path.insert(0, os.path.join(ROOT, "src", "platform", "web"))
import make_site  # noqa: E402

PROGRAMS = ["coillab", "caplab"]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class SiteServer:
    """A plain static server on a port of its own, which stays the site's origin when the server
    is stopped, or started again on another folder."""

    def __init__(self):
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]
        self.httpd = None

    def start(self, folder):
        handler = functools.partial(QuietHandler, directory=folder)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", self.port), handler)
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def stop(self):
        if self.httpd:
            self.httpd.shutdown()
            self.httpd.server_close()
            self.httpd = None

    def url(self, name):
        return "http://127.0.0.1:%d/%s" % (self.port, name)


def visit(p, url, program=None):
    p.url = url
    p.name = program or p.name
    p.load()


def async_js(p, script):
    return p.driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "(async () => { " + script + " })().then(done, e => done('failed: ' + e));")


def worker_caches(p):
    return async_js(p, "return await caches.keys();")


def wait_for_build(p, build):
    """Until the page is served by the worker of the build and its cache is the only one."""
    def ready():
        names = worker_caches(p)
        controlled = p.js("return !!navigator.serviceWorker.controller;")
        return controlled and len(names) == 1 and names[0].endswith(" " + build)
    wait_until(ready, 20, "the worker of build %s with its cache alone" % build)


def build_of(site):
    with open(os.path.join(site, "sw.js"), encoding="utf-8") as file:
        worker = file.read()
    return worker.split("var BUILD = '")[1].split("'")[0]


def program_links(p):
    return p.js("return [...document.querySelectorAll('.programs a')]"
                ".map(a => a.getAttribute('href'));")


def start_each_program(p, server, online):
    """Online each program is installable and shows its title screen; offline it passes the
    whole start-up case."""
    for program in PROGRAMS:
        visit(p, server.url(program + ".html"), program)
        check(p.js("return !!navigator.serviceWorker.controller;"),
              "%s not served by the worker" % program)
        if online:
            errors = p.cdp("Page.getInstallabilityErrors")["installabilityErrors"]
            check(not errors, "%s is not installable: %r" % (program, errors))
            p.find_drawing_area()
        else:
            test_basics.startup(p)


def offline_and_update(p):
    site = os.path.join(os.path.dirname(p.url[len("file://"):]), "site")
    server = SiteServer()
    server.start(site)
    changed = tempfile.mkdtemp()
    try:
        visit(p, server.url(""))
        check(program_links(p) == [name + ".html" for name in PROGRAMS],
              "programs on the index: %r" % program_links(p))
        wait_for_build(p, build_of(site))
        start_each_program(p, server, True)
        # No network: the server gone and the browser's own cache off.
        server.stop()
        p.cdp("Network.enable")
        p.cdp("Network.setCacheDisabled", cacheDisabled=True)
        visit(p, server.url(""))
        check(program_links(p) == [name + ".html" for name in PROGRAMS],
              "programs on the index without network: %r" % program_links(p))
        start_each_program(p, server, False)
        # A new build on the server with a changed index: the visit after the worker
        # has fetched it shows it, from the new build's cache alone.
        shutil.copytree(site, changed, dirs_exist_ok=True)
        index = os.path.join(changed, "index.html")
        with open(index, encoding="utf-8") as file:
            text = file.read()
        with open(index, "w", encoding="utf-8") as file:
            file.write(text.replace("<main>", "<main id=\"x\">", 1))
        build = make_site.write_worker(changed, SITE_SOURCES)
        check(build != build_of(site), "the changed site kept its build name")
        server.start(changed)
        visit(p, server.url("index.html"))
        wait_for_build(p, build)
        visit(p, server.url("index.html"))
        check(p.js("return !!document.getElementById('x');"), "the changed index is not shown")
    finally:
        server.stop()
        shutil.rmtree(changed, ignore_errors=True)
        p.cdp("Network.setCacheDisabled", cacheDisabled=False)
        async_js(p, "for (const r of await navigator.serviceWorker.getRegistrations())"
                    " await r.unregister();"
                    "for (const name of await caches.keys()) await caches.delete(name);")


CASES = [("site offline and update", "coillab", offline_and_update)]
