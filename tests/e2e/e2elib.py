"""Shared helpers of the end-to-end tests: a virtual X server with openbox, the real programs,
real key and mouse events through xdotool, screenshots read as raw RGB, and the screen layout
computed from the drawing-area size alone."""

import decimal
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

BLUE = (0, 0, 255)
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)


class Failure(Exception):
    """A check of a test did not hold."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(condition, timeout, what, interval=0.05):
    """Polls condition until it returns a true value; fails after timeout seconds."""
    end = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > end:
            raise Failure("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def run(args, env=None, check_status=True, timeout=30, input_text=None):
    result = subprocess.run(args, env=env, capture_output=True, timeout=timeout,
                            input=input_text)
    if check_status and result.returncode != 0:
        raise Failure("%s failed: %s" % (" ".join(args), result.stderr.decode(errors="replace")))
    return result.stdout


# ---------------------------------------------------------------- the layout of the programs


def trunc_div(a, b):
    """Integer division truncated toward zero."""
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


class Layout:
    """The 320 x 200 grid mapped onto a drawing area, and the plot mapping of the curves."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.xf = width / 320
        self.yf = height / 200
        self.graph_right = round(159 * self.xf + 1)
        self.voltage_top = self.sy(2)
        self.voltage_bottom = self.sy(92)
        self.current_top = self.sy(95)
        self.current_bottom = self.sy(186)
        self.voltage_zero = round((self.voltage_top + self.voltage_bottom) * 0.5)
        self.current_zero = round((self.current_top + self.current_bottom) * 0.5)
        self.circuit_left = self.gx(164)
        self.circuit_right = width - 4 * self.xf
        self.snapshot_bottom = self.sy(199)

    def sx(self, v):
        return trunc_div(v * self.width, 320)

    def sy(self, v):
        return trunc_div(v * self.height, 200)

    def gx(self, v):
        return round(v * self.xf)

    def plot_x(self, t):
        return round(t * 10 * self.xf + 10)

    def plot_y(self, value, zero_y):
        a = round(value * -300)
        b = trunc_div(a * self.height, 200)
        return round(b * 0.01 + zero_y)

    def wraps(self, x):
        return x > 159 * self.xf

    def prompt_y(self, row):
        return round(row * self.yf)


# ---------------------------------------------------------------- the circuits, independently


def coil_steps(n, key, I=0.0, Uo=10.0, R=1.0, R2=0.5, L=1.0, dt=0.05, t=None):
    """n Euler steps of the coil circuit; each sample is (t, U, I, dI) at the start of the step."""
    t = -dt if t is None else t
    samples = []
    for _ in range(n):
        t = t + dt
        U = I * R - Uo if key == "1" else I * (R + R2)
        dI = ((-U) * dt) * (1 / L)
        samples.append((t, U, I, dI))
        I = I + dI
    return samples, I


def cap_steps(n, key, U=0.0, Uo=10.0, R=1.0, R2=1.0, C=1.0, dt=0.05, t=None):
    """n Euler steps of the capacitor circuit; each sample is (t, U, I, dU)."""
    t = -dt if t is None else t
    samples = []
    for _ in range(n):
        t = t + dt
        I = (Uo - U) * (1 / R) if key == "1" else (-U) * (1 / (R + R2))
        dU = (I * dt) * (1 / C)
        samples.append((t, U, I, dU))
        U = U + dU
    return samples, U


def picture_text(value, cents=None):
    """A value through the number picture " -###,##": blank, sign place, three digit places,
    decimal comma, two decimals."""
    cents = round(abs(value) * 100) if cents is None else cents
    negative = value < 0 and cents != 0
    whole, frac = divmod(cents, 100)
    return " " + ("-" if negative else " ") + ("%3d" % whole) + "," + ("%02d" % frac)


def picture_cells(value):
    """The texts a value may take in the picture: a value that lies on a half cent in its
    shortest decimal form may be rounded either way."""
    exact = decimal.Decimal(repr(abs(value)))
    options = {round(abs(value) * 100)}
    for mode in (decimal.ROUND_HALF_UP, decimal.ROUND_HALF_EVEN):
        options.add(int((exact * 100).quantize(decimal.Decimal(1), rounding=mode)))
    return {"".join(picture_text(value, c).split()) for c in options}


def picture_row_cells(line):
    """The cells of a table line: each is a number with its sign, blanks removed."""
    cells, sign = [], ""
    for token in line.split():
        if token == "-":
            sign = "-"
        else:
            cells.append(sign + token)
            sign = ""
    return cells


# ---------------------------------------------------------------- screenshots


class Screenshot:
    def __init__(self, width, height, data):
        self.width = width
        self.height = height
        self.data = data

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise Failure("pixel (%d, %d) is off the screen" % (x, y))
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def save_png(self, path):
        subprocess.run(["convert", "-size", "%dx%d" % (self.width, self.height), "-depth", "8",
                        "rgb:-", path], input=self.data, check=False)


# ---------------------------------------------------------------- the X server


def free_display():
    for n in range(90, 200):
        if not os.path.exists("/tmp/.X%d-lock" % n) and not os.path.exists(
                "/tmp/.X11-unix/X%d" % n):
            return n
    raise Failure("no free X display number")


class XServer:
    """Xvfb with openbox, 1024 x 768 x 24."""

    def __init__(self, size="1024x768x24"):
        self.number = free_display()
        self.display = ":%d" % self.number
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", size, "-nolisten",
                                      "tcp", "-ac"], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.wm = None
        try:
            wait_until(lambda: subprocess.run(["xdpyinfo"], env=self.env,
                                              capture_output=True).returncode == 0,
                       30, "Xvfb to start")
            self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_until(lambda: b"window id" in run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], self.env, check_status=False),
                30, "openbox to start")
        except Exception:
            self.stop()
            raise

    def stop(self):
        for proc in (self.wm, self.xvfb):
            if proc and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()


def x_environment():
    """The X server of the runner (LAB_E2E_DISPLAY), or a new one for a test run on its own."""
    display = os.environ.get("LAB_E2E_DISPLAY")
    if display:
        env = dict(os.environ, DISPLAY=display)
        env.pop("QT_QPA_PLATFORM", None)
        return env, None
    server = XServer()
    return server.env, server


def screenshot(env):
    geometry = run(["xwininfo", "-root"], env).decode()
    width = int(geometry.split("Width:")[1].split()[0])
    height = int(geometry.split("Height:")[1].split()[0])
    data = run(["import", "-silent", "-window", "root", "-depth", "8", "rgb:-"], env)
    if len(data) != width * height * 3:
        raise Failure("screenshot has %d bytes, expected %d" % (len(data), width * height * 3))
    return Screenshot(width, height, data)


# ---------------------------------------------------------------- the programs


def window_geometry(env, wid):
    info = run(["xwininfo", "-id", str(wid)], env).decode()

    def field(name):
        return int(info.split(name)[1].split()[0])

    return (field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"),
            field("Height:"), "IsViewable" in info)


class Program:
    """One run of coillab or caplab on the X server."""

    def __init__(self, name, env, build_dir=None):
        self.name = name
        self.env = env
        build_dir = build_dir or os.environ.get("LAB_BUILD_DIR", os.path.join(ROOT, "build"))
        self.path = os.path.join(build_dir, name)
        check(os.access(self.path, os.X_OK), "%s is not built" % self.path)
        self.workdir = tempfile.mkdtemp(prefix="lab-e2e-")
        self.log = open(os.path.join(self.workdir, "output.txt"), "w+")
        self.proc = subprocess.Popen([self.path], env=env, cwd=self.workdir,
                                     stdout=self.log, stderr=subprocess.STDOUT,
                                     stdin=subprocess.DEVNULL)
        self.wid = wait_until(self._main_window, 15, "the main window of %s" % name)
        self.origin = None
        self.layout = None

    # -- windows

    def windows(self):
        out = run(["xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid)], self.env,
                  check_status=False).decode().split()
        return [int(w) for w in out]

    def _main_window(self):
        best = None
        for wid in self.windows():
            try:
                x, y, w, h, viewable = window_geometry(self.env, wid)
            except Failure:
                continue
            if viewable and w >= 400 and h >= 300 and (best is None or w * h > best[1]):
                best = (wid, w * h)
        return best[0] if best else None

    def client(self):
        x, y, w, h, _ = window_geometry(self.env, self.wid)
        return x, y, w, h

    def find_drawing_area(self):
        """On the title screen the drawing area starts with magenta below the menu bar."""
        def probe():
            x, y, w, h = self.client()
            shot = self.screenshot()
            for yy in range(y, y + h // 4):
                if shot.pixel(x + 1, yy) == MAGENTA and shot.pixel(x + w - 2, yy) == MAGENTA:
                    return (x, yy, w, y + h - yy)
            return None

        x, y, w, h = wait_until(probe, 15, "the title screen of %s" % self.name, 0.1)
        self.origin = (x, y)
        self.layout = Layout(w, h)
        return self.layout

    def alive(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("%s did not end within %.1f s" % (self.name, timeout))

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait(5)
        self.log.close()
        shutil.rmtree(self.workdir, ignore_errors=True)

    def output(self):
        self.log.flush()
        with open(self.log.name) as f:
            return f.read()

    # -- pixels, in drawing-area coordinates

    def screenshot(self):
        return screenshot(self.env)

    def pixel(self, shot, x, y):
        return shot.pixel(self.origin[0] + int(x), self.origin[1] + int(y))

    def near(self, shot, x, y, colour, radius=1):
        """Whether the colour lies within radius pixels of (x, y)."""
        for dy in range(-radius, radius + 1):
            for dx in range(-radius, radius + 1):
                if self.pixel(shot, x + dx, y + dy) == colour:
                    return True
        return False

    def count(self, shot, x1, y1, x2, y2, colour):
        n = 0
        for y in range(int(y1), int(y2) + 1):
            for x in range(int(x1), int(x2) + 1):
                if self.pixel(shot, x, y) == colour:
                    n += 1
        return n

    # -- input

    def xdo(self, *args):
        run(["xdotool"] + [str(a) for a in args], self.env)

    def focus(self, wid=None):
        wid = wid or self.wid
        run(["xdotool", "windowactivate", "--sync", str(wid)], self.env, check_status=False)
        run(["xdotool", "windowfocus", "--sync", str(wid)], self.env, check_status=False)

    def key(self, *keys):
        self.xdo("key", "--clearmodifiers", *keys)

    def keys(self, key, count, delay_ms=4):
        self.xdo("key", "--delay", delay_ms, "--repeat", count, key)

    def hold(self, key, seconds):
        """Holds a key down so that the X server's auto-repeat delivers it again and again."""
        self.xdo("keydown", key)
        time.sleep(seconds)
        self.xdo("keyup", key)

    def type_text(self, text):
        self.xdo("type", "--delay", 30, "--", text)

    def move(self, x, y):
        self.xdo("mousemove", "--sync", self.origin[0] + int(x), self.origin[1] + int(y))

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdo("click", button)

    def menu(self, group, entry, opener="alt"):
        """Chooses an entry with the keyboard: Alt (or F10), Right to the group, Down to the
        entry."""
        self.focus()
        self.key(opener)
        time.sleep(0.2)
        for _ in range(group):
            self.key("Right")
        self.key("Down")
        time.sleep(0.2)
        for _ in range(entry):
            self.key("Down")
        self.key("Return")

    MENU_SIZES = (5, 8, 12, 1)  # entries per menu group, dividers included

    def menu_titles(self):
        """The x centres of the menu titles, found as clusters of dark text in the bar."""
        x, y, w, _ = self.client()
        bar = (y + self.origin[1]) // 2
        shot = self.screenshot()
        dark = [xx for xx in range(x, x + w)
                if min(sum(shot.pixel(xx, bar + dy)) for dy in range(-5, 6)) < 450]
        clusters = []
        for xx in dark:
            if clusters and xx - clusters[-1][1] <= 10:
                clusters[-1][1] = xx
            else:
                clusters.append([xx, xx])
        return [((a + b) // 2, bar) for a, b in clusters]

    def menu_by_mouse(self, group, entry):
        """Chooses an entry with the mouse: a click on the title, a click on the entry."""
        titles = self.menu_titles()
        check(len(titles) == 4, "four menu titles expected, found %d" % len(titles))
        before = set(self.windows())
        tx, ty = titles[group]
        run(["xdotool", "mousemove", "--sync", str(tx), str(ty), "click", "1"], self.env)
        popup = wait_until(lambda: next(iter(set(self.windows()) - before), None), 5,
                           "menu %d to open" % group)
        px, py, pw, ph, _ = window_geometry(self.env, popup)
        check(py >= ty, "the menu drops below the bar")
        pad = 3
        ey = py + pad + (entry + 0.5) * (ph - 2 * pad) / self.MENU_SIZES[group]
        run(["xdotool", "mousemove", "--sync", str(px + pw // 2), str(int(ey)), "click", "1"],
            self.env)
        wait_until(lambda: popup not in self.windows(), 5, "the menu to close")
        return (px, py, pw, ph)

    # -- message boxes

    def box(self, timeout=10):
        """The window of a message box that is showing now."""
        def find():
            for wid in self.windows():
                if wid != self.wid:
                    return wid
            return None

        return wait_until(find, timeout, "a message box of %s" % self.name)

    def no_box(self, timeout=5):
        wait_until(lambda: all(w == self.wid for w in self.windows()), timeout,
                   "the message box to close")

    def box_text(self, wid):
        """The text of a message box, read from its pixels with tesseract, blanks collapsed; read
        again while the box is mapped but not yet painted (a busy machine)."""
        image = os.path.join(self.workdir, "box.png")

        def read():
            run(["import", "-silent", "-window", str(wid), image], self.env)
            run(["convert", image, "-resize", "400%", "-colorspace", "Gray", "-threshold", "60%",
                 image])
            text = run(["tesseract", image, "-", "-l", "deu", "--psm", "6"], self.env)
            return " ".join(text.decode(errors="replace").split())
        try:
            return wait_until(read, 5, "the box's text")
        except Failure:
            return ""

    def close_box(self, wid):
        self.focus(wid)
        self.key("Return")
        self.no_box()

    def through_title_and_help(self):
        """Title screen, a key, the keys help box closed with Return: the working screen."""
        layout = self.find_drawing_area()
        self.focus()
        self.key("space")
        box = self.box()
        text = self.box_text(box)
        check(says(text, "Tasten <0> u. <1>"), "keys help box text: %r" % text)
        self.close_box(box)
        wait_until(lambda: self.pixel(self.screenshot(), layout.sx(100),
                                      layout.voltage_top + 3) == BLUE, 10,
                   "the graph panel after the keys help")
        return layout


# ---------------------------------------------------------------- printers


def lp(env, *args):
    return subprocess.run(list(args), env=env, capture_output=True, timeout=30)


def ensure_cupsd():
    if subprocess.run(["lpstat", "-r"], capture_output=True).stdout.find(b"is running") < 0:
        subprocess.run(["cupsd"], check=False)
        wait_until(lambda: b"is running" in subprocess.run(
            ["lpstat", "-r"], capture_output=True).stdout, 15, "cupsd to start")


PRINTER = "LabPDF"


def add_pdf_printer():
    """A cups-pdf queue as the default printer; jobs are kept as Qt sent them."""
    ensure_cupsd()
    subprocess.run(["lpadmin", "-p", PRINTER, "-v", "cups-pdf:/", "-E", "-P",
                    "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"], check=True,
                   capture_output=True)
    subprocess.run(["lpadmin", "-d", PRINTER], check=True, capture_output=True)
    subprocess.run(["cupsctl", "PreserveJobFiles=yes"], check=True, capture_output=True)
    subprocess.run(["cupsenable", PRINTER], check=False, capture_output=True)
    subprocess.run(["cupsaccept", PRINTER], check=False, capture_output=True)


def printer_queues():
    ensure_cupsd()
    out = subprocess.run(["lpstat", "-v"], capture_output=True).stdout.decode()
    return [line[len("device for "):].split(":")[0] for line in out.splitlines()
            if line.startswith("device for ")]


def remove_pdf_printer():
    """Deletes the test queue; queues of the machine's own are never touched."""
    if PRINTER in printer_queues():
        subprocess.run(["lpadmin", "-x", PRINTER], capture_output=True)


def spool_files():
    return {p: os.path.getmtime(os.path.join("/var/spool/cups", p))
            for p in os.listdir("/var/spool/cups") if p.startswith("d") and p.endswith("-001")}


def pdf_text(path):
    return subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True,
                          timeout=30).stdout.decode(errors="replace")


# ---------------------------------------------------------------- the test entry


def main(test, programs=("coillab", "caplab")):
    """Runs test(program_name, env) for the programs named on the command line (or both)."""
    names = sys.argv[1:] or list(programs)
    env, server = x_environment()
    status = 0
    try:
        for name in names:
            try:
                test(name, env)
                print("PASS %s %s" % (os.path.basename(sys.argv[0]), name))
            except Exception as error:  # every failure is reported, the next program still runs
                status = 1
                print("FAIL %s %s: %s" % (os.path.basename(sys.argv[0]), name, error))
    finally:
        if server:
            server.stop()
    sys.stdout.flush()
    sys.exit(status)


def with_program(name, env, body):
    """Starts the program, runs body(program), and always ends the program; saves a screenshot
    of a failure in LAB_E2E_ARTIFACTS."""
    program = Program(name, env)
    try:
        body(program)
    except Exception:
        folder = os.environ.get("LAB_E2E_ARTIFACTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            base = os.path.join(folder, "%s-%s" % (os.path.basename(sys.argv[0])[:-3], name))
            try:
                screenshot(env).save_png(base + ".png")
            except Exception:
                pass
            with open(base + ".txt", "w") as f:
                f.write(program.output())
        raise
    finally:
        program.stop()


def is_close(a, b, tolerance=1e-9):
    return math.isclose(a, b, rel_tol=tolerance, abs_tol=tolerance)


_LOOK_ALIKE = str.maketrans({"l": "I", "1": "I", "|": "I", "O": "0", "o": "0", "µ": "u",
                             "y": "u"})


def _canonical(text):
    return "".join(text.split()).translate(_LOOK_ALIKE)


def _edit_cost(a, b):
    # Digits must be read exactly; other letters may be misread now and then.
    return 100 if (a and a.isdigit() and a != "0") or (b and b.isdigit() and b != "0") else 1


def says(text, expected):
    """Whether text read from the screen holds the expected text: blanks ignored, the letters
    that character recognition mistakes for one another taken as one, and a few misread or
    extra letters (never digits) forgiven."""
    needle, hay = _canonical(expected), _canonical(text)
    allowed = 1 + len(needle) // 15
    # Approximate substring search: the best edit distance of needle to any part of hay.
    previous = [0] * (len(hay) + 1)
    for i, a in enumerate(needle, start=1):
        current = [previous[0] + _edit_cost(a, None)]
        for j, b in enumerate(hay, start=1):
            current.append(min(previous[j - 1] + (0 if a == b else max(_edit_cost(a, b), 1)),
                               previous[j] + _edit_cost(a, None),
                               current[j - 1] + _edit_cost(None, b)))
        previous = current
    return min(previous) <= allowed
