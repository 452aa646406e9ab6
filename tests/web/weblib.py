"""Shared helpers of the browser tests: a page opened from file:// in one of the engines of
engines.py, real key and mouse events, and the canvas pixels read back. Layout, expected numbers
and pixel helpers are the desktop end-to-end suite's own (tests/e2e)."""

import base64
import os
import sys

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "e2e"))

import e2elib  # noqa: E402
from e2elib import BLUE, MAGENTA, Layout, Screenshot, check, wait_until  # noqa: E402

ROOT = e2elib.ROOT
VIEWPORT = (1024, 768)

# The print dialog would block a headless browser: every page gets a spy in its place, which
# notes how many lines the print page held at each call.
PRINT_SPY = """window.labPrinted = [];
window.print = function () {
  window.labPrinted.push(document.querySelectorAll('#print-page .printed-line').length);
};"""

# Canvas text cannot be read back from pixels: a spy keeps every text painted on a window with
# its id ("stage" for window 0, "window-2", "window-3"). A window lies in columns of canvases,
# and a text reaching over several is painted on each: it is kept once, from the column holding
# its origin (taken to the nearest pixel of the window when it lies outside).
TEXT_SPY = """window.labTexts = [];
const labFillText = CanvasRenderingContext2D.prototype.fillText;
CanvasRenderingContext2D.prototype.fillText = function (text, x) {
  const column = this.canvas;
  const host = column.parentElement;
  let id = host ? host.id : '';
  let holds = true;
  if (host && (host.id === 'screen' || host.className === 'columns')) {
    id = host.id === 'screen' ? 'stage' : host.parentElement.id;
    const ratio = window.devicePixelRatio || 1;
    const left = Math.round(parseFloat(column.style.left) * ratio);
    const width = Math.round(parseFloat(host.style.width) * ratio);
    const at = Math.min(width - 1, Math.max(0, Math.floor(x + this.getTransform().e) + left));
    holds = at >= left && at < left + column.width;
  }
  if (holds) window.labTexts.push([id, String(text)]);
  return labFillText.apply(this, arguments);
};"""

# The window 0 canvas with the canvases of windows 2 and 3 laid over it where their frames sit,
# as RGB bytes in base64, one value per drawing pixel: when the drawing is shown at another scale
# each drawing pixel reads the device pixel under its centre, where a one-pixel line is drawn.
# With "device" and a rectangle, the device pixels of that rectangle.
READ_STAGE = """
const device = arguments.length > 0 && arguments[0] === 'device';
const part = device ? arguments[1] : null;
const screen = window.labWindowCanvas(0);
const layer = document.querySelector('#stage > .layer');
const ratio = window.devicePixelRatio || 1;
const k = parseFloat(layer.style.transform.slice(6)) * ratio;
const all = document.createElement('canvas');
all.width = screen.width;
all.height = screen.height;
const context = all.getContext('2d');
context.drawImage(screen, 0, 0);
for (const frame of document.querySelectorAll('#stage > .frame')) {
  context.drawImage(window.labWindowCanvas(+frame.id.slice(7)),
                    Math.round(parseFloat(frame.style.left) * ratio),
                    Math.round(parseFloat(frame.style.top) * ratio));
}
let width = all.width, height = all.height, at = null;
const rgba = part ? context.getImageData(...part).data
                  : context.getImageData(0, 0, all.width, all.height).data;
if (part) {
  width = part[2];
  height = part[3];
}
if (!device && k !== 1) {
  width = parseInt(layer.style.width);
  height = parseInt(layer.style.height);
  at = (x, y) => 4 * (Math.min(all.height - 1, Math.floor((y + 0.5) * k)) * all.width
                      + Math.min(all.width - 1, Math.floor((x + 0.5) * k)));
}
const rgb = new Uint8Array(width * height * 3);
for (let y = 0, j = 0; y < height; ++y) {
  for (let x = 0; x < width; ++x, j += 3) {
    const i = at ? at(x, y) : 4 * (y * width + x);
    rgb[j] = rgba[i]; rgb[j + 1] = rgba[i + 1]; rgb[j + 2] = rgba[i + 2];
  }
}
let text = '';
for (let i = 0; i < rgb.length; i += 32768) {
  text += String.fromCharCode.apply(null, rgb.subarray(i, i + 32768));
}
return [width, height, btoa(text)];
"""

# key name -> (code, text, Windows virtual key code) for Chromium's key events
KEYS = {"Enter": ("Enter", "\r", 13), "Alt": ("AltLeft", "", 18), "F10": ("F10", "", 121),
        " ": ("Space", " ", 32), "ArrowRight": ("ArrowRight", "", 39),
        "ArrowDown": ("ArrowDown", "", 40), "Tab": ("Tab", "", 9), "Escape": ("Escape", "", 27),
        ".": ("Period", ".", 190)}
KEYS.update({str(d): ("Digit%d" % d, str(d), 48 + d) for d in range(10)})


def start_browser(shown=False):
    """Headless Chromium through Selenium (engines.start adds the spies); shown, a window on the
    X server of DISPLAY whose page the desktop's accessibility interface (AT-SPI) reads."""
    options = webdriver.ChromeOptions()
    mode = ("--force-renderer-accessibility",) if shown else ("--headless=new",)
    for argument in mode + ("--no-sandbox", "--disable-gpu",
                            "--disable-background-networking", "--disable-component-update",
                            "--disable-sync", "--no-first-run",
                            # a school server by its plain name, as pupils' devices reach it
                            "--host-resolver-rules=MAP schulserver 127.0.0.1",
                            "--window-size=%d,%d" % VIEWPORT):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "SEVERE"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    # A page that hangs fails its case instead of stopping the run.
    driver.set_page_load_timeout(30)
    driver.set_script_timeout(30)
    # Without the override the headless viewport is shorter than the window.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": VIEWPORT[0], "height": VIEWPORT[1], "deviceScaleFactor": 1, "mobile": False})
    return driver


class Page:
    """One program's page, loaded afresh in an engine of engines.py; positions are drawing
    coordinates of the canvas."""

    def __init__(self, engine, build, name):
        self.engine = engine
        self.driver = engine.driver
        self.name = name
        self.url = "file://" + os.path.join(build, name + ".html")
        check(os.path.exists(self.url[len("file://"):]), "%s is not built" % self.url)
        self.origin = (0, 0)  # pixel() of the desktop helpers adds it; shots are canvas-sized
        self.layout = None
        self.load()

    def load(self):
        self.engine.open(self.url)

    def js(self, script, *args):
        return self.engine.js(script, *args)

    def cdp(self, command, **params):
        """Chromium only."""
        return self.driver.execute_cdp_cmd(command, params)

    # -- pixels

    def screenshot(self):
        width, height, data = self.js(READ_STAGE)
        return Screenshot(width, height, base64.b64decode(data))

    # The desktop suite's pixel helpers work on any screenshot with an origin.
    pixel = e2elib.Program.pixel
    near = e2elib.Program.near
    count = e2elib.Program.count

    def find_drawing_area(self):
        """The title screen fills the canvas with magenta around its blue panels."""
        def probe():
            size = self.js("const c = window.labWindowCanvas && labWindowCanvas(0);"
                           "const l = document.querySelector('#stage > .layer');"
                           "return l && c.width > 1 ? [parseInt(l.style.width),"
                           " parseInt(l.style.height)] : null;")
            if not size:
                return None
            shot = self.screenshot()
            corners = (shot.pixel(1, 1), shot.pixel(size[0] - 2, size[1] - 2))
            return size if corners == (MAGENTA, MAGENTA) else None

        width, height = wait_until(probe, 20, "the title screen of %s" % self.name, 0.1)
        self.layout = Layout(width, height)
        return self.layout

    def stage_offset(self):
        """Page coordinates of the drawing's top left corner."""
        return self.js("const r = document.getElementById('screen').getBoundingClientRect();"
                       "return [r.left, r.top];")

    def texts(self, where):
        """Every text painted into window 0 ("stage") or a frame ("window-3") since the page
        was loaded, in order."""
        return self.js("return window.labTexts.filter(t => t[0] === arguments[0])"
                       ".map(t => t[1]);", where)

    # -- keys

    def key(self, name):
        """One press and release."""
        self.engine.key(name)

    def keys(self, name, count):
        for _ in range(count):
            self.key(name)

    def hold(self, name, count, rate=25.0):
        """Holds a key for count key characters at the keyboard's repeat rate, and releases it."""
        self.engine.hold(name, count, rate)

    def type_text(self, text):
        for character in text:
            self.key(character)

    # -- mouse

    def mouse(self, action, x, y, button="left"):
        left, top = self.stage_offset()
        self.engine.mouse(action, left + x, top + y, button)

    def move(self, x, y):
        self.mouse("move", x, y)

    def press(self, x, y, button="left"):
        self.mouse("press", x, y, button)

    def release(self, x, y, button="left"):
        self.mouse("release", x, y, button)

    def click_element(self, selector, index=0):
        """A left click at the centre of an element, in page coordinates."""
        x, y = self.js("const r = document.querySelectorAll(arguments[0])[arguments[1]]"
                       ".getBoundingClientRect(); return [r.left + r.width / 2,"
                       " r.top + r.height / 2];", selector, index)
        self.engine.click(x, y)

    # -- the menu bar

    MENU_SIZES = e2elib.Program.MENU_SIZES

    def menu(self, group, entry):
        """Chooses an entry with the keyboard: Alt alone, Right to the group, Down to the entry,
        Return, as on the desktop."""
        self.key("Alt")
        for _ in range(group):
            self.key("ArrowRight")
        self.key("ArrowDown")
        self.rendered()  # the open list, and whatever the pointer now rests on, as a user sees it
        for _ in range(entry):
            self.key("ArrowDown")
        self.key("Enter")

    def rendered(self):
        """Returns after the page has drawn two frames: layout and hover are up to date."""
        self.engine.js_async(
            "const done = arguments[arguments.length - 1];"
            "requestAnimationFrame(() => requestAnimationFrame(() => done(0)));")

    def menu_by_mouse(self, group, entry):
        """A click on the title opens its menu, a click on the entry chooses it."""
        self.click_element("#menubar > .menu-title", group)
        selector = "#menubar > .menu-title:nth-child(%d) .menu-entry" % (group + 1)
        wait_until(lambda: self.js("return !document.querySelectorAll('#menubar .menu')"
                                   "[arguments[0]].hidden;", group), 5, "menu %d to open" % group)
        entries = self.js("return document.querySelectorAll(arguments[0]).length;", selector)
        check(entries == self.MENU_SIZES[group], "menu %d has %d entries, expected %d"
              % (group, entries, self.MENU_SIZES[group]))
        self.click_element(selector, entry)
        wait_until(lambda: self.js("return [...document.querySelectorAll('#menubar .menu')]"
                                   ".every(m => m.hidden);"), 5, "the menu to close")

    # -- message boxes

    def box_lines(self):
        """The lines of the message box showing now, or None."""
        return self.js("const layer = document.getElementById('box-layer');"
                       "if (!layer || layer.hidden) return null;"
                       "return [...document.querySelectorAll('#box-text > div')]"
                       ".map(d => d.textContent);")

    def box(self, timeout=10):
        return wait_until(self.box_lines, timeout, "a message box of %s" % self.name)

    def no_box(self, timeout=5):
        wait_until(lambda: self.box_lines() is None, timeout, "the message box to close")

    def close_box(self):
        self.key("Enter")
        self.no_box()

    def graph_shown(self):
        layout = self.layout
        return self.pixel(self.screenshot(), layout.sx(100), layout.voltage_top + 3) == BLUE

    def through_title_and_help(self):
        """Title screen, a key, the keys help box closed with Return: the working screen."""
        layout = self.find_drawing_area()
        self.key(" ")
        lines = self.box()
        check(lines and lines[0] == " Tasten <0> u. <1> ", "keys help box: %r" % lines)
        self.close_box()
        wait_until(self.graph_shown, 10, "the graph panel after the keys help")
        return layout

    def window(self, number):
        """Left, top, width and height of window 2 or 3, or None while it is closed."""
        return self.js("const f = document.getElementById('window-' + arguments[0]);"
                       "if (!f) return null; const c = window.labWindowCanvas(arguments[0]);"
                       "return [f.offsetLeft, f.offsetTop, c.width, c.height];", number)

    def box_line_heights(self):
        """The heights of the lines of the message box showing now, in CSS pixels."""
        return self.js("return [...document.querySelectorAll('#box-text > div')]"
                       ".map(d => d.getBoundingClientRect().height);")

    # -- a touch device

    def touch_screen(self, on):
        """Gives the page a touch screen, a coarse pointer without hover, or takes it away; the
        browser keeps it for the next pages until then."""
        params = {"enabled": on, "maxTouchPoints": 5} if on else {"enabled": False}
        self.cdp("Emulation.setTouchEmulationEnabled", **params)

    def touch_keys_shown(self):
        return self.js("return !document.getElementById('touch-keys').hidden;")

    def touch_key(self, key, kind):
        """A finger put on ("touchStart") or lifted from ("touchEnd") an on-screen key."""
        x, y = self.js("const r = document.querySelector('#touch-keys [data-key=\"' +"
                       " arguments[0] + '\"]').getBoundingClientRect();"
                       "return [r.left + r.width / 2, r.top + r.height / 2];", key)
        points = [{"x": x, "y": y, "id": 1}] if kind == "touchStart" else []
        self.cdp("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def tap_touch_key(self, key):
        """Exactly one character: the press and the lift in one go, before any repeat."""
        self.js("const b = document.querySelector('#touch-keys [data-key=\"' + arguments[0]"
                " + '\"]'); for (const type of ['pointerdown', 'pointerup']) {"
                "b.dispatchEvent(new PointerEvent(type, {bubbles: true, cancelable: true,"
                " pointerId: 7, pointerType: 'touch', isPrimary: true}));}", key)

    def click_page(self, x, y):
        """A left click at a point of the page, in CSS pixels."""
        self.engine.click(x, y)

    # -- devices: sizes, pixel ratios, turning and touch

    def emulate(self, width, height, ratio=1, mobile=False, touch=False):
        """Shows the page as a device of that size and pixel ratio, turned to match its sides.
        Emulation changes the ratio without telling the page's media queries; emulating a media
        feature makes them look again, as a real change of screen does."""
        portrait = height > width
        self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                 deviceScaleFactor=ratio, mobile=mobile, screenOrientation={
                     "type": "portraitPrimary" if portrait else "landscapePrimary",
                     "angle": 0 if portrait else 90})
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=touch, maxTouchPoints=5)
        self.cdp("Emulation.setEmulatedMedia", media="", features=[
            {"name": "pointer", "value": "coarse" if touch else "fine"},
            {"name": "hover", "value": "none" if touch else "hover"}])

    def emulate_desktop(self):
        self.emulate(*VIEWPORT)
        self.cdp("Emulation.setEmulatedMedia", media="", features=[])

    def shown(self):
        """How the drawing is shown: its size in drawing pixels, device pixels per drawing pixel,
        the canvas's backing size, its rectangle on the page and the area's."""
        return self.js("""
            const c = window.labWindowCanvas(0);
            const l = document.querySelector('#stage > .layer');
            const r = document.getElementById('screen').getBoundingClientRect();
            const a = document.getElementById('stage-area').getBoundingClientRect();
            return {width: parseInt(l.style.width), height: parseInt(l.style.height),
                    k: parseFloat(l.style.transform.slice(6)) * devicePixelRatio,
                    ratio: devicePixelRatio, backing: [c.width, c.height],
                    rect: [r.left, r.top, r.width, r.height],
                    area: [a.left, a.top, a.width, a.height]};""")

    def device_pixels(self, x, y, width, height):
        """The device pixels of a rectangle of the drawing's canvas, windows over it included."""
        width, height, data = self.js(READ_STAGE, "device", [x, y, width, height])
        return Screenshot(width, height, base64.b64decode(data))

    def page_point(self, x, y):
        """Page coordinates of the centre of a drawing pixel."""
        left, top, width, _ = self.shown()["rect"]
        scale = width / self.layout.width
        return left + (x + 0.5) * scale, top + (y + 0.5) * scale

    def move_to(self, x, y):
        """The mouse moved onto a drawing pixel at any scale."""
        px, py = self.page_point(x, y)
        self.engine.mouse("move", px, py)

    def tap(self, x, y):
        """A finger put on a drawing pixel and lifted."""
        px, py = self.page_point(x, y)
        self.cdp("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": px, "y": py}])
        self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
