"""The site for a school's web server, served from 127.0.0.1: both programs installable and started
from it, then again with the server gone, and a rebuilt site taken up at the next visit. The page
as a screen reader sees it: axe-core finds nothing in any state, the accessibility tree names the
menus, the drawing and the dialog's input, and the prompt and readouts reach the live region; the
same through the desktop's accessibility interface (AT-SPI) in a shown Chromium.
A page inside another page's frame, as a learning platform shows it."""

import functools
import http.server
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

from weblib import HERE, ROOT, check, wait_until
from e2elib import BLUE, WHITE, Layout, coil_steps, picture_cells

import test_basics
import test_print
import test_tools
import test_wrap
import weblib

SITE_SOURCES = os.path.join(ROOT, "src", "platform", "web", "site")
sys.path.insert(0, os.path.join(ROOT, "src", "platform", "web"))
import make_site  # noqa: E402

PROGRAMS = ["coillab", "caplab"]
AXE = os.path.join(HERE, "node_modules", "axe-core", "axe.min.js")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class ClosingServer(http.server.ThreadingHTTPServer):
    """Keeps the connections it accepted, so that stopping it closes them as a real server does:
    a browser's connection opened in advance must not reach the old folder after a restart."""

    def server_activate(self):
        self.connections = set()
        self.connections_lock = threading.Lock()
        super().server_activate()

    def get_request(self):
        connection, address = super().get_request()
        with self.connections_lock:
            self.connections.add(connection)
        return connection, address

    def shutdown_request(self, request):
        with self.connections_lock:
            self.connections.discard(request)
        super().shutdown_request(request)

    def close_connections(self):
        with self.connections_lock:
            open_connections, self.connections = self.connections, set()
        for connection in open_connections:
            try:
                connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            connection.close()


class SiteServer:
    """A plain static server on a port of its own, which stays the site's origin when the server
    is stopped, or started again on another folder."""

    def __init__(self, handler=QuietHandler):
        self.port = free_port()
        self.handler = handler
        self.httpd = None

    def start(self, folder):
        handler = functools.partial(self.handler, directory=folder)
        self.httpd = ClosingServer(("127.0.0.1", self.port), handler)
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def stop(self):
        if self.httpd:
            self.httpd.shutdown()
            self.httpd.close_connections()
            self.httpd.server_close()
            self.httpd = None

    def url(self, name):
        return "http://127.0.0.1:%d/%s" % (self.port, name)


APACHE_CONF = """ServerRoot /etc/apache2
ServerName localhost
PidFile {home}/apache2.pid
DefaultRuntimeDir {home}
Mutex file:{home} default
Listen 127.0.0.1:{port}
User www-data
Group www-data
ErrorLog {home}/error.log
IncludeOptional /etc/apache2/mods-enabled/*.load
IncludeOptional /etc/apache2/mods-enabled/*.conf
DocumentRoot {root}
<Directory />
  Options FollowSymLinks
  AllowOverride None
  Require all granted
</Directory>
"""

NGINX_CONF = """daemon off;
user www-data;
worker_processes 1;
pid {home}/nginx.pid;
error_log {home}/error.log;
events {{ worker_connections 64; }}
http {{
  include /etc/nginx/mime.types;
  default_type application/octet-stream;
  access_log off;
  client_body_temp_path {home}/body;
  proxy_temp_path {home}/proxy;
  fastcgi_temp_path {home}/fastcgi;
  uwsgi_temp_path {home}/uwsgi;
  scgi_temp_path {home}/scgi;
  server {{
    listen 127.0.0.1:{port};
    root {root};
{headers}
  }}
}}
"""


class DebianServer:
    """Debian's Apache or nginx as installed, with its stock modules and MIME types, serving a
    copy of a folder at the server's root or under a sub-path, on a loopback port of its own.
    Stopping it closes its connections, as stopping a school's server does."""

    def __init__(self, kind, prefix="", headers=None):
        self.kind, self.prefix, self.headers = kind, prefix, headers or {}
        self.port = free_port()
        self.home = tempfile.mkdtemp(prefix="lab-%s-" % kind)
        os.chmod(self.home, 0o755)  # the server's workers run as www-data
        self.process = None

    def start(self, folder):
        root = os.path.join(self.home, "root")
        shutil.rmtree(root, ignore_errors=True)
        served = os.path.join(root, self.prefix)
        shutil.copytree(folder, served)
        for path, folders, files in os.walk(root):
            for name in folders + files:
                os.chmod(os.path.join(path, name), 0o755 if name in folders else 0o644)
        conf = os.path.join(self.home, self.kind + ".conf")
        with open(conf, "w", encoding="utf-8") as file:
            template = APACHE_CONF if self.kind == "apache2" else NGINX_CONF
            headers = "".join('    add_header %s "%s" always;\n' % item
                              for item in self.headers.items())
            file.write(template.format(home=self.home, port=self.port, root=root,
                                       headers=headers))
        if self.kind == "apache2":
            command = ". /etc/apache2/envvars && exec apache2 -f %s -DFOREGROUND" % conf
        else:
            command = "exec nginx -c %s" % conf
        self.process = subprocess.Popen(["sh", "-c", command], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        wait_until(self.accepts, 10, "%s on port %d" % (self.kind, self.port))

    def accepts(self):
        check(self.process.poll() is None, "%s ended: %s" % (self.kind, self.log()))
        with socket.socket() as probe:
            return probe.connect_ex(("127.0.0.1", self.port)) == 0

    def log(self):
        try:
            with open(os.path.join(self.home, "error.log"), encoding="utf-8") as file:
                return file.read()[-500:]
        except OSError:
            return "no error log"

    def stop(self):
        if self.process:
            self.process.terminate()
            self.process.wait(10)
            self.process = None

    def url(self, name, host="127.0.0.1"):
        return "http://%s:%d/%s%s" % (host, self.port, self.prefix + "/" if self.prefix else "",
                                        name)

    def remove(self):
        self.stop()
        shutil.rmtree(self.home, ignore_errors=True)


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


def offline_and_update(p, server):
    site = os.path.join(os.path.dirname(p.url[len("file://"):]), "site")
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
        server.remove()
        shutil.rmtree(changed, ignore_errors=True)
        p.cdp("Network.setCacheDisabled", cacheDisabled=False)
        async_js(p, "for (const r of await navigator.serviceWorker.getRegistrations())"
                    " await r.unregister();"
                    "for (const name of await caches.keys()) await caches.delete(name);")


# What hardened servers send; the site's pages declare the same themselves.
STRICT_POLICY = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'"


def strict_by_name(p, server):
    """By a plain host name over http (no secure context) and under the strict policy that the
    server sends too: the index and each program say, in place of the offline promise, that
    offline use and installing need HTTPS; both programs start with no console error (the suite
    checks the console). With scripts refused, a page says why it does not start."""
    server.start(os.path.join(os.path.dirname(p.url[len("file://"):]), "site"))
    try:
        def says_https(element):
            return "HTTPS" in p.js("const e = document.getElementById(arguments[0]);"
                                   "return e ? e.textContent : '';", element)
        visit(p, server.url("", "schulserver"))
        check(says_https("offline"), "the index promises offline use over plain http")
        for program in PROGRAMS:
            visit(p, server.url(program + ".html", "schulserver"), program)
            check(says_https("site-note"), "%s says nothing of offline use" % program)
            errors = [e["errorId"] for e in
                      p.cdp("Page.getInstallabilityErrors")["installabilityErrors"]]
            check("not-from-secure-origin" in errors, "%s installability %r" % (program, errors))
            test_basics.startup(p)
        p.cdp("Emulation.setScriptExecutionDisabled", value=True)
        visit(p, server.url("coillab.html", "schulserver"), "coillab")
        shown = ("const e = document.getElementById(arguments[0]);"
                 "return getComputedStyle(e).display != 'none'"
                 " && getComputedStyle(e).visibility == 'visible' ? e.textContent : null;")
        line = wait_until(lambda: p.js(shown, "not-started"), 10, "the line why it does not start")
        check(line.startswith("Das Programm startet nicht: ") and "Skripte" in line,
              "the line %r" % line)
        check(p.js(shown, "turn-device") is None, "the turn line on a page that did not start")
    finally:
        p.cdp("Emulation.setScriptExecutionDisabled", value=False)
        server.remove()


def axe_violations(p, state):
    check(os.path.exists(AXE), "%s is missing: run scripts/setup" % AXE)
    if not p.js("return !!window.axe;"):
        with open(AXE, encoding="utf-8") as file:
            p.js("const s = document.createElement('script'); s.textContent = arguments[0];"
                 "document.head.appendChild(s);", file.read())
    found = async_js(p, "const r = await axe.run(document, {resultTypes: ['violations']});"
                        "return r.violations.map(v => v.id + ' ' + v.impact + ': '"
                        " + v.nodes.map(n => n.target.join(' ')).join(', '));")
    check(found == [], "axe in the state %s: %r" % (state, found))


def named(p, role):
    """The names the accessibility tree gives to the shown nodes of a role."""
    nodes = p.cdp("Accessibility.getFullAXTree")["nodes"]
    return [node.get("name", {}).get("value", "") for node in nodes
            if node.get("role", {}).get("value") == role and not node.get("ignored")]


def spoken(p):
    return p.js("return document.getElementById('spoken').textContent.trim();")


PROMPT_SPOKEN = "Weiter mit einer Taste."
SWITCH_ON = "Schalter geschlossen: Die Batterie treibt Strom durch die Spule."
SWITCH_OFF = "Schalter offen: Die Batterie ist abgetrennt."
LEVER = (128, 0, 128)  # the lever under high contrast


def press(p, key, code, vk, modifiers=0, text="", commands=None):
    """One key with modifiers (2 Ctrl, 8 Shift) and the editing commands it stands for."""
    down = {"type": "keyDown" if text else "rawKeyDown", "key": key, "code": code,
            "windowsVirtualKeyCode": vk, "modifiers": modifiers}
    if text:
        down["text"] = text
    if commands:
        down["commands"] = commands
    p.cdp("Input.dispatchKeyEvent", **down)
    p.cdp("Input.dispatchKeyEvent", type="keyUp", key=key, code=code, windowsVirtualKeyCode=vk,
          modifiers=modifiers)


def switch_spoken(p):
    """The drawing is an application region with the keys: held 1 speaks the closed switch once,
    0 the open one; each key still steps."""
    layout = p.through_title_and_help()
    check(p.js("return document.activeElement.id;") == "stage",
          "the keys with %r" % p.js("return document.activeElement.id;"))
    regions = named(p, "application")
    check(any(name.startswith("Schaltlabor: Taste 1") for name in regions),
          "application regions %r" % regions)
    p.keys("1", 3)
    test_tools.wait_point(p, test_tools.voltage_point(layout, 2), "the steps of key 1")
    wait_until(lambda: spoken(p) == SWITCH_ON, 5, "the closed switch spoken")
    p.js("document.getElementById('spoken').textContent = '';")
    p.keys("1", 2)  # held in place: nothing new to say
    test_tools.wait_point(p, test_tools.voltage_point(layout, 4), "two steps more")
    check(spoken(p) == "", "spoken again while held: %r" % spoken(p))
    p.keys("0", 1)
    wait_until(lambda: spoken(p) == SWITCH_OFF, 5, "the open switch spoken")


def sweep_end_spoken(p):
    """At the right edge the last time, U and I as the table writes them, with the prompt;
    after the key nothing of it is left to be read."""
    layout = p.through_title_and_help()
    n = test_wrap.steps_to_wrap(layout)
    t, U, I, _ = coil_steps(n, "1")[0][n - 1]
    test_wrap.sweep_to_prompt(p, layout, n, [])
    want = {"Ende des Durchlaufs: Zeit %s s, Spannung U %s V, Strom I %s µA. %s"
            % (a, b, c, PROMPT_SPOKEN)
            for a in picture_cells(t) for b in picture_cells(U) for c in picture_cells(I)}
    wait_until(lambda: spoken(p) in want, 5, "the end of the sweep spoken, one of %r" % want)
    p.key(" ")
    wait_until(lambda: spoken(p) == "", 5, "the prompt taken back")


def table_read(p):
    """While the table shows, the same rows as a table in the accessibility tree, and Ctrl+C
    copies them tab-separated with their decimal commas; the copy does not end the prompt."""
    layout = p.through_title_and_help()
    steps = test_print.STEPS
    p.keys("1", steps)
    test_tools.wait_point(p, test_tools.voltage_point(layout, steps - 1), "the curve")
    p.menu(2, 5)  # AUSGABE, "Tabelle zeigen"
    wait_until(lambda: p.window(3), 5, "the table window")
    wait_until(lambda: named(p, "table") == ["Wertetabelle"], 5, "the table in the tree")
    headings = ["t(s)", "I(µA)", "I.R (V)", "U (V)", "dI(µA)", "I+dI (µA)"]
    check(named(p, "columnheader") == headings, "headings %r" % named(p, "columnheader"))
    want = test_print.expected_rows(p.name) + [[{"0,00"}] * 6] * 5
    cells = named(p, "cell")
    rows = [cells[k:k + 6] for k in range(0, len(cells), 6)]
    check(len(rows) == 31 and all(cell in options for row, expect in zip(rows, want)
                                  for cell, options in zip(row, expect)),
          "table rows %r" % rows[:3])
    p.js("window.labCopied = null; window.addEventListener('copy', e => "
         "window.labCopied = e.clipboardData.getData('text/plain'));")
    press(p, "c", "KeyC", 67, modifiers=2, commands=["copy"])
    copied = wait_until(lambda: p.js("return window.labCopied;"), 5, "the copy")
    check(copied.split("\n") == ["\t".join(headings)] + ["\t".join(row) for row in rows] + [""],
          "copied %r" % copied[:200])
    check(p.window(3) is not None, "the copy ended the table")
    p.key(" ")
    wait_until(lambda: p.window(3) is None, 5, "the table window to close")
    check(named(p, "table") == [], "a table left in the tree")


def spoken_readings(tenths, t):
    value = "%s%d" % ("-" if tenths < 0 else "", abs(tenths) // 10)
    if tenths % 10:
        value += ",%d" % (abs(tenths) % 10)
    return {"Spannung %s V bei %s s" % (value, time) for time in picture_cells(t)}


def keyboard_measuring(p):
    """Measuring from the keyboard: Shift+Up ten pixels, Right one, each reading drawn and
    spoken; Escape ends it and key 1 steps again."""
    layout = p.through_title_and_help()
    p.menu(2, 11)  # AUSGABE, "Mausmessen"
    p.box()
    for key in ("Tab", "Tab"):  # the focus stays in the box
        p.key(key)
        focused = p.js("return document.activeElement.id;")
        check(focused == "box-ok", "Tab took the focus to %r" % focused)
    p.close_box()
    for _ in range(3):  # from time 0 on the voltage's zero line, 30 pixels up
        press(p, "ArrowUp", "ArrowUp", 38, modifiers=8)
    press(p, "ArrowRight", "ArrowRight", 39)
    n = round(10 * 30 / 3)
    tenths = 200 * n // layout.height
    at = (12 - 10) / (10 * layout.width / 320)  # x 12: two pixels right of time 0
    want = spoken_readings(tenths, at)
    wait_until(lambda: spoken(p) in want, 5, "the reading spoken, one of %r" % want)
    drawn = {text + " V   " for text in test_tools.reading(30, layout.height)}
    check(p.texts("stage")[-1] in drawn, "drawn %r, expected %r" % (p.texts("stage")[-1], drawn))
    # the cross marks the drawing pixel (12, zero - 30) as the page shows the drawing
    box = p.js("const m = document.getElementById('measuring-point');"
               "const s = document.getElementById('stage').getBoundingClientRect();"
               "if (!m) return null; const r = m.getBoundingClientRect();"
               "return [r.left - s.left, r.top - s.top, r.width, s.width];")
    check(box is not None, "no measuring point shown")
    scale = box[3] / layout.width
    check(abs(box[0] - 12 * scale) < 0.5 and abs(box[1] - (layout.voltage_zero - 30) * scale) < 0.5
          and abs(box[2] - scale) < 0.5, "the measuring point at %r, scale %r" % (box, scale))
    p.key("Escape")
    wait_until(lambda: p.js("return !document.getElementById('measuring-point');"), 5,
               "the measuring point taken away by Escape")
    p.keys("1", 3)
    test_tools.wait_point(p, test_tools.voltage_point(layout, 1), "the curve after Escape")


def atspi_nodes(node, depth=0):
    """node and every node below it, as AT-SPI hands them out (a node may be gone meanwhile)."""
    yield node
    for k in range(node.childCount if depth < 40 else 0):
        child = node.getChildAtIndex(k)
        if child is not None:
            yield from atspi_nodes(child, depth + 1)


def atspi_text(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return ""


def atspi_inside(build, program):
    """In the D-Bus session and on the X server the case gave it: a shown Chromium whose page
    AT-SPI reads, as a screen reader on the desktop would."""
    import pyatspi
    import engines
    engine = engines.Chromium()
    engine.driver = weblib.start_browser(shown=True)
    try:
        for spy in (weblib.PRINT_SPY, weblib.TEXT_SPY):
            engine.preload(spy)
        p = weblib.Page(engine, build, program)

        def application():
            desktop = pyatspi.Registry.getDesktop(0)
            for app in (desktop.getChildAtIndex(k) for k in range(desktop.childCount)):
                if app is None or app.name.lower() != "chromium":
                    continue
                documents = [n for n in atspi_nodes(app)
                             if n.getRole() == pyatspi.ROLE_DOCUMENT_WEB]
                for document in documents:
                    # Chromium gives the role application to AT-SPI as "embedded"
                    if any(n.getRole() == pyatspi.ROLE_EMBEDDED
                           and n.name.startswith("Schaltlabor: Taste 1")
                           for n in atspi_nodes(document)):
                        return document
            return None

        document = wait_until(application, 30, "the application region (embedded) in Chromium")
        p.through_title_and_help()
        p.keys("1", 1)

        def live_texts():
            return [atspi_text(n) for n in atspi_nodes(document)
                    if "live:polite" in n.getAttributes()]

        wait_until(lambda: SWITCH_ON in live_texts(), 10, "the closed switch in the live region")
        print(ATSPI_PASSED)
    finally:
        engine.quit()


ATSPI_PASSED = "read through AT-SPI"


def through_atspi(p):
    """The drawing's region and the spoken switch as the desktop's accessibility interface gives
    them to a screen reader: Chromium shown on an X server of its own in a D-Bus session of its
    own, with everything it started ended with the case."""
    for tool, package in (("/usr/bin/dbus-run-session", "dbus-daemon"),
                          ("/usr/libexec/at-spi-bus-launcher", "at-spi2-core"),
                          ("/usr/lib/python3/dist-packages/pyatspi", "python3-pyatspi")):
        check(os.path.exists(tool), "%s is missing (package %s): run scripts/setup"
              % (tool, package))
    import engines
    build = os.path.dirname(p.url[len("file://"):])
    x = engines.Xvfb()
    child = None
    try:
        # Chromium gives AT-SPI its tree only where it is told that assistive technology runs.
        child = subprocess.Popen(
            ["dbus-run-session", "--", sys.executable, os.path.abspath(__file__), "atspi", build,
             p.name], env=dict(os.environ, DISPLAY=x.display, ACCESSIBILITY_ENABLED="1"),
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True,
            preexec_fn=engines.end_with_parent)
        try:
            said = child.communicate(timeout=150)[0].decode(errors="replace")
        except subprocess.TimeoutExpired:
            said = "no end after 150 s"
        # what the buses say of themselves is no news
        said = "\n".join(line for line in said.splitlines()
                         if not line.startswith(("dbus-daemon[", "SpiRegistry daemon")))
        check(child.returncode == 0 and ATSPI_PASSED in said,
              "through AT-SPI: %s" % said.strip()[-1500:])
    finally:
        if child:
            # the bus, its accessibility bus and registry, the driver and the browser
            for signal_number in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(child.pid, signal_number)
                except ProcessLookupError:
                    break
                time.sleep(0.5)
            child.wait()
        x.stop()


def high_contrast(p):
    """Under forced colours the drawing is dark on white, the lever dark purple, its lines two
    pixels at least; ?kontrast=hoch gives the same without the system's setting."""
    def drawn_white():
        size = p.js("const c = window.labWindowCanvas && labWindowCanvas(0);"
                    "const l = document.querySelector('#stage > .layer');"
                    "return l && c.width > 1 ? [parseInt(l.style.width),"
                    " parseInt(l.style.height)] : null;")
        if not size:
            return None
        shot = p.screenshot()
        # the title screen's frame and ground: white where the default has magenta and blue
        return size if p.pixel(shot, 1, 1) == WHITE and p.pixel(shot, 40, 40) == WHITE else None

    p.cdp("Emulation.setEmulatedMedia", media="",
          features=[{"name": "forced-colors", "value": "active"}])
    try:
        p.load()
        width, height = wait_until(drawn_white, 20, "the title screen dark on white")
    finally:
        p.cdp("Emulation.setEmulatedMedia", media="", features=[])
    layout = p.layout = Layout(width, height)
    p.key(" ")
    p.box()
    p.close_box()
    shot = wait_until(lambda: (lambda s: s if p.pixel(s, layout.sx(100), layout.voltage_top + 3)
                                == WHITE else None)(p.screenshot()), 10, "the white graph")
    check(p.count(shot, 0, 0, width - 1, height - 1, BLUE) == 0, "blue left in the drawing")
    p.keys("1", 3)
    x, y = test_tools.voltage_point(layout, 2)
    wait_until(lambda: p.near(p.screenshot(), x, y, (0, 0, 0)), 5, "the curve in black")
    shot = p.screenshot()
    circuit = (layout.circuit_left, layout.voltage_top, width - 1, layout.sy(60))
    check(p.count(shot, *circuit, LEVER) > 0, "no dark purple lever")
    # the voltage panel's zero line, one pixel in the default look, is two pixels thick
    column = [p.pixel(shot, layout.sx(100), layout.voltage_zero + dy) for dy in (-1, 0, 1)]
    check(column.count((0, 0, 0)) >= 2, "the zero line %r" % column)
    p.engine.open(p.url + "?kontrast=hoch")
    wait_until(drawn_white, 20, "the title screen dark on white with ?kontrast=hoch")


def audit(p):
    """Every state of the page through axe, with what a screen reader reads in it."""
    layout = p.find_drawing_area()
    wait_until(lambda: spoken(p).startswith("Titelbild: Ein- und Ausschaltvorgänge bei der Spule.")
               and spoken(p).endswith(PROMPT_SPOKEN), 5, "the title and prompt in the live region")
    check(any(name.startswith("Spule schalten: Zeichnung") for name in named(p, "image")),
          "the drawing's name: %r" % named(p, "image"))
    axe_violations(p, "title screen")
    p.key(" ")
    p.box()
    axe_violations(p, "keys help box")
    p.close_box()
    wait_until(p.graph_shown, 10, "the working screen")
    axe_violations(p, "key wait")
    # A menu from the keyboard: the focus on the highlighted entry, on the menu for a divider.
    p.key("Alt")
    p.key("ArrowRight")
    p.key("ArrowDown")
    focused = "return document.activeElement.textContent;"
    check(p.js(focused) == "Werte zeigen", "focus on %r" % p.js(focused))
    p.key("ArrowDown")
    check(p.js("return document.activeElement.getAttribute('role');") == "menu",
          "a divider highlighted, the focus on %r" % p.js(focused))
    p.key("ArrowDown")
    check(p.js(focused) == "Batteriespannung", "focus on %r" % p.js(focused))
    check(named(p, "menubar") == ["Menüleiste"], "menu bar %r" % named(p, "menubar"))
    check(named(p, "menu") == ["BAUTEILE |"], "open menu %r" % named(p, "menu"))
    items = named(p, "MenuItem") or named(p, "menuitem")
    check(all(name in items for name in test_basics.TITLES + ["Werte zeigen", "Zeitschritt dt"]),
          "menu items %r" % items)
    axe_violations(p, "menu opened from the keyboard")
    p.key("Enter")  # "Batteriespannung"
    wait_until(lambda: p.js("return document.activeElement.id;") == "line-input", 5,
               "the dialog's input")
    prompt = p.texts("window-2")[-1]
    check(prompt.startswith("Batteriespannung Uo")
          and " ".join(prompt.split()) in named(p, "textbox"), "the input named %r, prompt %r"
          % (named(p, "textbox"), prompt))
    axe_violations(p, "dialog")
    p.key("Enter")
    wait_until(lambda: p.window(2) is None, 5, "the dialog to close")
    p.menu(2, 5)  # AUSGABE, "Tabelle zeigen"
    wait_until(lambda: p.window(3), 5, "the table window")
    wait_until(lambda: spoken(p).endswith(PROMPT_SPOKEN), 5, "the table's prompt spoken")
    axe_violations(p, "table")
    p.key(" ")
    wait_until(p.graph_shown, 5, "the graph after the table")
    p.menu(2, 11)  # AUSGABE, "Mausmessen"
    p.box()
    p.close_box()
    p.move(layout.sx(80), layout.voltage_zero - 90)
    at = (layout.sx(80) - 10) / (10 * layout.width / 320)  # the time under the pointer
    upper = {"Spannung %s V bei %s s" % (text.replace(".", ","), time)
             for text in test_tools.reading(90, layout.height) for time in picture_cells(at)}
    wait_until(lambda: spoken(p) in upper, 5, "the reading %r spoken" % upper)
    p.move(layout.sx(80), layout.current_zero + 90)
    lower = {"Strom %s µA bei %s s" % (text.replace(".", ","), time)
             for text in test_tools.reading(-90, layout.height) for time in picture_cells(at)}
    wait_until(lambda: spoken(p) in lower, 5, "the reading %r spoken" % lower)
    axe_violations(p, "mouse measuring")
    for kind in ("press", "release"):
        for button in ("left", "right"):
            getattr(p, kind)(layout.sx(80), layout.current_zero + 90, button)
    p.menu(2, 8)  # AUSGABE, "Einschalten - Schema zeigen"
    wait_until(lambda: spoken(p).startswith("Bild Spule: Einschalten.")
               and spoken(p).endswith(PROMPT_SPOKEN), 5, "the picture's text and prompt")
    axe_violations(p, "picture")
    p.key(" ")
    wait_until(p.graph_shown, 5, "the graph after the picture")
    p.menu(0, 0)  # DESK, "Quit"
    wait_until(lambda: p.js("return !!document.getElementById('ended');"), 5, "the ended page")
    axe_violations(p, "after Quit")


# A course page of a learning platform with the program in a frame, and more below to scroll to.
COURSE_PAGE = """<!doctype html><html lang="de"><head><meta charset="utf-8"><title>Kurs</title>
<link rel="icon" href="data:,"></head>
<body style="margin: 0"><p style="height: 100px; margin: 0">Kursseite</p>
<iframe id="lab" src="%s.html" style="width: 800px; height: 500px; border: 0"></iframe>
<div style="height: 3000px"></div></body></html>"""


def click_at(p, x, y):
    """A left click at a point of the top page."""
    for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
        p.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y,
              button="none" if kind == "mouseMoved" else "left",
              buttons=1 if kind == "mousePressed" else 0, clickCount=1)


def in_frame(p):
    """One click into the framed page gives it the keys, also after a click on the course page
    took them away: held 1 draws the curve, and neither the switch keys, the arrows nor the
    space bar scroll the course page."""
    folder = tempfile.mkdtemp()
    server = SiteServer()
    try:
        with open(os.path.join(folder, "course.html"), "w", encoding="utf-8") as file:
            file.write(COURSE_PAGE % p.name)
        os.symlink(p.url[len("file://"):], os.path.join(folder, p.name + ".html"))
        server.start(folder)
        p.driver.get(server.url("course.html"))
        frame = p.js("const r = document.getElementById('lab').getBoundingClientRect();"
                     "return [r.left, r.top];")
        p.driver.switch_to.frame(p.driver.find_element("id", "lab"))
        layout = p.find_drawing_area()
        fits = p.js("const r = document.getElementById('screen').getBoundingClientRect();"
                    "return r.left >= 0 && r.top >= 0 && r.right <= innerWidth + 0.5"
                    " && r.bottom <= innerHeight + 0.5 && r.width >= innerWidth - 1;")
        check(fits, "the drawing does not fit the frame")
        left, top = p.stage_offset()
        drawing = (frame[0] + left + layout.sx(250), frame[1] + top + layout.sy(150))
        click_at(p, *drawing)
        p.box()  # the click ended the title screen: the keys help
        p.close_box()
        wait_until(p.graph_shown, 10, "the working screen in the frame")
        click_at(p, frame[0] + 10, frame[1] - 50)  # on the course page's text
        click_at(p, *drawing)
        steps = 10
        points = test_basics.curve_points(layout, test_tools.coil_steps(steps, "1")[0])
        p.hold("1", steps)
        for key in ("0", "ArrowDown", "ArrowRight", " "):
            p.key(key)
        wait_until(lambda: not test_basics.missing_points(p, p.screenshot(), points[1:-1]), 5,
                   "the curve in the frame")
        p.driver.switch_to.default_content()
        scrolled = p.js("return [scrollX, scrollY];")
        check(scrolled == [0, 0], "the course page scrolled to %r" % scrolled)
    finally:
        p.driver.switch_to.default_content()
        server.stop()
        shutil.rmtree(folder, ignore_errors=True)


def on(kind, prefix, case):
    return lambda p: case(p, DebianServer(kind, prefix))


CASES = [("site offline and update, Apache at the root", "coillab",
          on("apache2", "", offline_and_update)),
         ("site offline and update, nginx under a sub-path", "coillab",
          on("nginx", "physik/schaltlabor", offline_and_update)),
         ("site by a plain host name under a strict policy", "coillab",
          lambda p: strict_by_name(p, DebianServer(
              "nginx", "physik", {"Content-Security-Policy": STRICT_POLICY}))),
         ("accessibility", "coillab", audit), ("in a frame", "coillab", in_frame),
         ("spoken switch in an application region", "coillab", switch_spoken),
         ("spoken end of a sweep", "coillab", sweep_end_spoken),
         ("table read and copied", "coillab", table_read),
         ("measuring from the keyboard", "coillab", keyboard_measuring),
         ("application region and spoken switch through AT-SPI", "coillab", through_atspi),
         ("high contrast", "coillab", high_contrast)]


if __name__ == "__main__":
    # through_atspi runs this file again inside its D-Bus session: atspi BUILD PROGRAM
    if sys.argv[1:2] == ["atspi"]:
        try:
            atspi_inside(sys.argv[2], sys.argv[3])
        except Exception as error:
            print("%s: %s" % (type(error).__name__, error))
            sys.exit(1)
