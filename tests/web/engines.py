"""The browsers the suite drives, each behind one small interface: open a page, run a script, keys,
the mouse at page coordinates, the console's errors, a screenshot. Chromium is spoken to through
Selenium and its DevTools protocol, WebKitGTK through Selenium and WebKitWebDriver on an X server
of its own, Firefox ESR through WebDriver BiDi (bidi.py)."""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

from selenium.webdriver.remote.command import Command

import weblib

NAMES = ("chromium", "webkit", "firefox")

# Key names of the tests as WebDriver key values: a character stands for itself.
WEBDRIVER_KEYS = {"Enter": "\ue006", "Escape": "\ue00c", "Backspace": "\ue003", "Tab": "\ue004",
                  "Delete": "\ue017", "Alt": "\ue00a", "F10": "\ue03a", "ArrowLeft": "\ue012",
                  "ArrowUp": "\ue013", "ArrowRight": "\ue014", "ArrowDown": "\ue015"}

# WebDriver numbers the buttons 0 (left), 1 (middle), 2 (right).
WEBDRIVER_BUTTONS = {"left": 0, "right": 2}

# WebKit has no console log for a driver to read: the page notes its own uncaught errors.
ERROR_SPY = """window.labErrors = [];
window.addEventListener('error', function (event) {
  window.labErrors.push(String(event.message));
});
window.addEventListener('unhandledrejection', function (event) {
  window.labErrors.push('unhandled rejection: ' + String(event.reason));
});
const labConsoleError = console.error;
console.error = function () {
  window.labErrors.push([...arguments].map(String).join(' '));
  return labConsoleError.apply(this, arguments);
};"""


# The mouse reaches WebKit from the X server: the page counts the pointer events it has seen, so
# that each action is waited for.
POINTER_SPY = """window.labPointerEvents = 0;
for (const type of ['pointermove', 'pointerdown', 'pointerup']) {
  window.addEventListener(type, function () { window.labPointerEvents++; }, true);
}"""


def start(name):
    """A started browser of the given engine with the print and text spies in every page."""
    engine = {"chromium": Chromium, "webkit": WebKit, "firefox": firefox}[name]()
    try:
        engine.start()
        for spy in (weblib.PRINT_SPY, weblib.TEXT_SPY):
            engine.preload(spy)
    except BaseException:
        engine.quit()
        raise
    return engine


def firefox():
    import bidi  # only this engine needs python3-websocket
    return bidi.Firefox()


def end_with_parent():
    """Run in a child before it starts: the kernel ends it when the suite's process dies, so that
    not even a killed run leaves an X server or a browser behind."""
    import ctypes
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def stop_process(process, grace=5):
    if process and process.poll() is None:
        process.terminate()
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class Engine:
    """What every engine offers; page positions are CSS pixels of the viewport."""
    name = ""
    driver = None  # the engine's own connection, for what only that engine can do

    def start(self):
        raise NotImplementedError

    def quit(self):
        raise NotImplementedError

    def version(self):
        raise NotImplementedError

    def preload(self, source):
        """Runs source in every document opened from now on, before the document's own scripts."""
        raise NotImplementedError

    def open(self, url):
        raise NotImplementedError

    def js(self, script, *args):
        """Runs the body of a function called with args and returns its result."""
        raise NotImplementedError

    def js_async(self, script, *args):
        """As js, with a callback as the last argument whose argument is the result."""
        raise NotImplementedError

    def key(self, name):
        """One press and release of a key of weblib.KEYS."""
        raise NotImplementedError

    def hold(self, name, count, rate):
        """A key held for count key characters at rate characters a second, then released."""
        raise NotImplementedError

    def mouse(self, action, x, y, button="left"):
        """action "move", "press" or "release" of a button at a page position."""
        raise NotImplementedError

    def click(self, x, y):
        for action in ("move", "press", "release"):
            self.mouse(action, x, y)

    def errors(self):
        """The page's uncaught errors and console errors since the last call."""
        raise NotImplementedError

    def save_screenshot(self, path):
        raise NotImplementedError


class Chromium(Engine):
    """Headless Chromium; keys and the mouse through the DevTools protocol, as a keyboard's."""
    name = "chromium"

    def __init__(self):
        self.buttons = 0

    def start(self):
        self.driver = weblib.start_browser()

    def quit(self):
        if self.driver:
            self.driver.quit()
            self.driver = None

    def version(self):
        return "Chromium %s" % self.driver.capabilities.get("browserVersion", "?")

    def preload(self, source):
        self.cdp("Page.addScriptToEvaluateOnNewDocument", source=source)

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def open(self, url):
        self.driver.get(url)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def js_async(self, script, *args):
        return self.driver.execute_async_script(script, *args)

    def key(self, name):
        # Keys without a character go down "raw", as a keyboard's.
        code, text, vk = weblib.KEYS[name]
        down = {"type": "keyDown" if text else "rawKeyDown", "key": name, "code": code,
                "windowsVirtualKeyCode": vk}
        if text:
            down["text"] = text
        self.cdp("Input.dispatchKeyEvent", **down)
        self.cdp("Input.dispatchKeyEvent", type="keyUp", key=name, code=code,
                 windowsVirtualKeyCode=vk)

    def hold(self, name, count, rate):
        # One press, then auto-repeated key-downs, one key character each.
        code, text, vk = weblib.KEYS[name]
        for i in range(count):
            self.cdp("Input.dispatchKeyEvent", type="keyDown", key=name, code=code, text=text,
                     windowsVirtualKeyCode=vk, autoRepeat=i > 0)
            time.sleep(1.0 / rate)
        self.cdp("Input.dispatchKeyEvent", type="keyUp", key=name, code=code,
                 windowsVirtualKeyCode=vk)

    def mouse(self, action, x, y, button="left"):
        bit = {"left": 1, "right": 2}[button]
        if action == "press":
            self.buttons |= bit
        elif action == "release":
            self.buttons &= ~bit
        kind = {"move": "mouseMoved", "press": "mousePressed", "release": "mouseReleased"}[action]
        self.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y,
                 button="none" if action == "move" else button, buttons=self.buttons,
                 clickCount=0 if action == "move" else 1)

    def errors(self):
        return [entry["message"] for entry in self.driver.get_log("browser")
                if entry["level"] == "SEVERE"]

    def save_screenshot(self, path):
        self.driver.save_screenshot(path)


class WebDriverInput:
    """Keys and the mouse as WebDriver action sequences, which the W3C protocol and BiDi share;
    perform() sends them."""

    def perform(self, actions):
        raise NotImplementedError

    def key_actions(self, name, presses, rate=None, release_each=True):
        value = WEBDRIVER_KEYS.get(name, name)
        steps = []
        for i in range(presses):
            if i and rate:
                steps.append({"type": "pause", "duration": round(1000 / rate)})
            steps.append({"type": "keyDown", "value": value})
            if release_each:
                steps.append({"type": "keyUp", "value": value})
        if not release_each:
            steps.append({"type": "keyUp", "value": value})
        self.perform([{"type": "key", "id": "keyboard", "actions": steps}])

    def key(self, name):
        self.key_actions(name, 1)

    def mouse(self, action, x, y, button="left"):
        steps = [{"type": "pointerMove", "x": round(x), "y": round(y), "origin": "viewport",
                  "duration": 0}]
        if action != "move":
            steps.append({"type": "pointerDown" if action == "press" else "pointerUp",
                          "button": WEBDRIVER_BUTTONS[button]})
        self.perform([{"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                       "actions": steps}])


class Xvfb:
    """An X server on a display number it chooses itself among the free ones."""

    def __init__(self):
        read, write = os.pipe()
        try:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten",
                 "tcp"], pass_fds=(write,), stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, preexec_fn=end_with_parent)
        finally:
            os.close(write)
        try:
            number = b""
            end = time.monotonic() + 20
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read], [], [], max(0, end - time.monotonic()))
                chunk = os.read(read, 16) if ready else b""
                weblib.check(chunk, "Xvfb gave no display number")
                number += chunk
        except BaseException:
            stop_process(self.process)
            raise
        finally:
            os.close(read)
        self.display = ":" + number.decode().strip()

    def stop(self):
        stop_process(self.process)


class WebKit(WebDriverInput, Engine):
    """WebKitGTK's MiniBrowser under WebKitWebDriver, shown on an X server of its own. There is
    no way to run a script ahead of a page's own, so each page opens from a copy with the
    preloaded scripts written in at the top. The keys go through WebDriver, the mouse through the
    X server (XTest): WebKitWebDriver releases every button as the left one, which leaves a
    right button held for good."""
    name = "webkit"
    DRIVER = "/usr/bin/WebKitWebDriver"
    BROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"

    def __init__(self):
        self.x = None
        self.server = None
        self.copies = tempfile.mkdtemp(prefix="lab-webkit-")
        self.scripts = [ERROR_SPY, POINTER_SPY]
        self.origin = (0, 0)  # where the page's top left corner is on the X screen
        self.position = None

    def start(self):
        from selenium.webdriver import WebKitGTKOptions
        from selenium.webdriver.common.utils import free_port, is_connectable
        from selenium.webdriver.remote.webdriver import WebDriver
        for path, package in ((self.DRIVER, "webkit2gtk-driver"),
                              (self.BROWSER, "libwebkit2gtk-4.1-0")):
            weblib.check(os.access(path, os.X_OK), "%s is missing (package %s)" % (path, package))
        self.x = Xvfb()
        options = WebKitGTKOptions()
        options.binary_location = self.BROWSER
        options.add_argument("--automation")
        # Started here rather than by Selenium's service, to end with the suite however it ends.
        port = free_port()
        self.server = subprocess.Popen(
            [self.DRIVER, "-p", str(port)], env=dict(os.environ, DISPLAY=self.x.display),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=end_with_parent)

        def listening():
            weblib.check(self.server.poll() is None, "WebKitWebDriver ended at start-up")
            return is_connectable(port)

        weblib.wait_until(listening, 20, "WebKitWebDriver", 0.1)
        self.driver = WebDriver(command_executor="http://localhost:%d" % port, options=options)
        self.driver.set_page_load_timeout(30)
        self.driver.set_script_timeout(30)
        # The window holds a tool bar above the page: the page gets the suite's viewport.
        self.driver.set_window_rect(0, 0, *weblib.VIEWPORT)
        inner = self.js("return [innerWidth, innerHeight];")
        self.driver.set_window_rect(0, 0, 2 * weblib.VIEWPORT[0] - inner[0],
                                    2 * weblib.VIEWPORT[1] - inner[1])
        # The window's tool bar is above the page.
        self.origin = self.js("return [screenX + outerWidth - innerWidth,"
                              " screenY + outerHeight - innerHeight];")
        self.xdotool("mousemove", 0, 0)  # off the page until a case moves it

    def quit(self):
        try:
            if self.driver:
                self.driver.quit()
        finally:
            self.driver = None
            stop_process(self.server)
            self.server = None
            if self.x:
                self.x.stop()
                self.x = None
            shutil.rmtree(self.copies, ignore_errors=True)

    def version(self):
        return "WebKitGTK %s" % self.driver.capabilities.get("browserVersion", "?")

    def preload(self, source):
        self.scripts.append(source)

    def open(self, url):
        if url.startswith("file://"):
            url = self.copy(url[len("file://"):])
        self.driver.get(url)

    def copy(self, path):
        """A copy of the page with the preloaded scripts in front of its first script."""
        with open(path, encoding="utf-8") as page:
            text = page.read()
        at = text.lower().find("<script")
        at = at if at >= 0 else 0
        scripts = "".join("<script>\n%s\n</script>\n" % source for source in self.scripts)
        copy = os.path.join(self.copies, os.path.basename(path))
        with open(copy, "w", encoding="utf-8") as out:
            out.write(text[:at] + scripts + text[at:])
        return "file://" + copy

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def js_async(self, script, *args):
        return self.driver.execute_async_script(script, *args)

    def perform(self, actions):
        self.driver.execute(Command.W3C_ACTIONS, {"actions": actions})

    def hold(self, name, count, rate):
        # WebKitWebDriver gives a held key one key-down only: as many presses as characters.
        self.key_actions(name, count, rate)

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=20,
                       env=dict(os.environ, DISPLAY=self.x.display))

    def mouse(self, action, x, y, button="left"):
        position = (round(self.origin[0] + x), round(self.origin[1] + y))
        # A move to where the pointer is gives no event: it steps aside and back.
        command = ["mousemove", position[0] + 1, position[1]] if position == self.position else []
        command += ["mousemove", position[0], position[1]]
        if action != "move":
            command += ["mousedown" if action == "press" else "mouseup",
                        {"left": 1, "right": 3}[button]]
        seen = self.js("return window.labPointerEvents;")
        self.xdotool(*command)
        self.position = position
        weblib.wait_until(lambda: self.js("return window.labPointerEvents;") != seen, 10,
                          "the page to see the mouse's %s" % action)

    def errors(self):
        return self.js("const e = window.labErrors || []; window.labErrors = []; return e;")

    def save_screenshot(self, path):
        self.driver.save_screenshot(path)
