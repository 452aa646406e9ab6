"""Firefox ESR driven through WebDriver BiDi, the protocol Firefox itself serves on a WebSocket
(Debian has no geckodriver): a small client for the commands the suite needs."""

import base64
import json
import os
import re
import shutil
import subprocess
import tempfile

import websocket

import weblib
from engines import Engine, WebDriverInput, end_with_parent, stop_process

FIREFOX = "/usr/bin/firefox-esr"


class BidiError(Exception):
    pass


def value(remote):
    """A result as the protocol serialises it, as a Python value."""
    kind = remote["type"]
    if kind in ("undefined", "null"):
        return None
    if kind == "number" and isinstance(remote["value"], str):  # NaN, -0, Infinity
        return float(remote["value"].replace("Infinity", "inf"))
    if kind in ("string", "number", "boolean"):
        return remote["value"]
    if kind == "bigint":
        return int(remote["value"])
    if kind in ("array", "set"):
        return [value(v) for v in remote.get("value", [])]
    if kind in ("object", "map"):
        return {k if isinstance(k, str) else value(k): value(v)
                for k, v in remote.get("value", [])}
    return remote  # nodes and windows as the protocol describes them


def remote_value(argument):
    if argument is None:
        return {"type": "null"}
    if isinstance(argument, bool):
        return {"type": "boolean", "value": argument}
    if isinstance(argument, (int, float)):
        return {"type": "number", "value": argument}
    if isinstance(argument, str):
        return {"type": "string", "value": argument}
    if isinstance(argument, (list, tuple)):
        return {"type": "array", "value": [remote_value(a) for a in argument]}
    raise TypeError("no script argument for %r" % (argument,))


class Connection:
    """Commands and their answers over the WebSocket; events are kept until asked for."""

    def __init__(self, url, timeout):
        # Firefox refuses a connection that names an origin. The client's own check of the
        # text's UTF-8, in Python, would take seconds for a screenshot's pixels.
        self.socket = websocket.create_connection(url, suppress_origin=True, timeout=timeout,
                                                  skip_utf8_validation=True)
        self.last = 0
        self.events = []

    def command(self, method, **params):
        self.last += 1
        self.socket.send(json.dumps({"id": self.last, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("type") == "event":
                self.events.append(message)
            elif message.get("id") == self.last:
                if message.get("type") == "error":
                    raise BidiError("%s: %s: %s" % (method, message.get("error"),
                                                    message.get("message")))
                return message["result"]
            # an answer to an earlier command that timed out is dropped

    def close(self):
        self.socket.close()


class Firefox(WebDriverInput, Engine):
    """Headless Firefox ESR with a fresh empty profile."""
    name = "firefox"

    def __init__(self):
        self.process = None
        self.folder = tempfile.mkdtemp(prefix="lab-firefox-")
        self.context = None

    def start(self):
        weblib.check(os.access(FIREFOX, os.X_OK), "%s is missing (package firefox-esr)" % FIREFOX)
        profile = os.path.join(self.folder, "profile")
        os.mkdir(profile)
        with open(os.path.join(profile, "user.js"), "w") as prefs:
            # The benchmarks time single keys: the clock as fine as Chromium's, not 1 ms.
            prefs.write('user_pref("privacy.reduceTimerPrecision", false);\n')
        log_path = os.path.join(self.folder, "firefox.log")
        with open(log_path, "wb") as log:
            # Port 0: Firefox takes a free port and names it in its log.
            self.process = subprocess.Popen(
                [FIREFOX, "--headless", "--remote-debugging-port", "0", "--profile", profile,
                 "--no-remote"], stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                preexec_fn=end_with_parent)

        def listening():
            weblib.check(self.process.poll() is None, "Firefox ended at start-up")
            with open(log_path, encoding="utf-8", errors="replace") as log:
                found = re.search(r"WebDriver BiDi listening on (ws://\S+)", log.read())
            return found and found.group(1)

        url = weblib.wait_until(listening, 60, "Firefox's WebDriver BiDi", 0.1)
        self.driver = Connection(url.rstrip("/") + "/session", 60)
        self.capabilities = self.driver.command("session.new", capabilities={})["capabilities"]
        self.context = self.driver.command("browsingContext.getTree")["contexts"][0]["context"]
        self.driver.command("session.subscribe", events=["log.entryAdded"])
        self.driver.command("browsingContext.setViewport", context=self.context,
                            viewport={"width": weblib.VIEWPORT[0],
                                      "height": weblib.VIEWPORT[1]})

    def quit(self):
        try:
            if self.driver:
                try:
                    self.driver.command("browser.close")
                except Exception:
                    pass  # the process is ended below all the same
                self.driver.close()
        finally:
            self.driver = None
            stop_process(self.process, 20)
            shutil.rmtree(self.folder, ignore_errors=True)

    def version(self):
        return "Firefox %s" % self.capabilities.get("browserVersion", "?")

    def preload(self, source):
        self.driver.command("script.addPreloadScript",
                            functionDeclaration="() => {\n%s\n}" % source)

    def open(self, url):
        self.driver.command("browsingContext.navigate", context=self.context, url=url,
                            wait="complete")

    def call(self, function, args, wait):
        answer = self.driver.command(
            "script.callFunction", functionDeclaration=function, awaitPromise=wait,
            arguments=[remote_value(a) for a in args], target={"context": self.context},
            resultOwnership="none")
        if answer["type"] == "exception":
            raise BidiError("script error: %s" % answer["exceptionDetails"].get("text"))
        return value(answer["result"])

    def js(self, script, *args):
        return self.call("function () {\n%s\n}" % script, args, False)

    def js_async(self, script, *args):
        return self.call("function () {\n  const args = [...arguments];\n"
                         "  return new Promise(function (resolve) {\n    args.push(resolve);\n"
                         "    (function () {\n%s\n    }).apply(null, args);\n  });\n}" % script,
                         args, True)

    def perform(self, actions):
        self.driver.command("input.performActions", context=self.context, actions=actions)

    def hold(self, name, count, rate):
        # Key-downs one after the other without a key-up arrive as a held key's repeats.
        self.key_actions(name, count, rate, release_each=False)

    def errors(self):
        self.driver.command("session.status")  # the events sent before its answer are in
        found = [event["params"].get("text") or "" for event in self.driver.events
                 if event.get("method") == "log.entryAdded"
                 and event["params"].get("level") == "error"]
        self.driver.events = []
        return found

    def save_screenshot(self, path):
        shot = self.driver.command("browsingContext.captureScreenshot", context=self.context)
        with open(path, "wb") as out:
            out.write(base64.b64decode(shot["data"]))
