#!/usr/bin/env python3
"""On a Wayland desktop: weston's X11 back end inside the suite's X server, the program on Qt's
Wayland plugin. Maximized from the start, the keys help box centred over it, holding 1 steps the
circuit, a dialog takes a value, and Quit ends the program. Weston's window is read from the
screen: its surfaces are no X windows."""

import os
import shutil
import subprocess
import tempfile
import time

from e2elib import (BLUE, MAGENTA, WHITE, Failure, Layout, Program, cap_steps, check, coil_steps,
                    main, screenshot, wait_until)

BOX_GREY = (239, 239, 239)  # the face of Qt's boxes


def bounds(shot, colour, area, step=2):
    """The box (x, y, w, h) of the pixels of a colour inside area, or None."""
    x0, y0, w, h = area
    xs, ys = [], []
    for y in range(y0, y0 + h, step):
        for x in range(x0, x0 + w, step):
            if shot.pixel(x, y) == colour:
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


class WestonProgram(Program):
    """The program as weston shows it: found and read on the screen, keys to weston's window."""

    def _main_window(self):
        shot = screenshot(self.env)
        return bounds(shot, MAGENTA, (0, 0, shot.width, shot.height), 8) and 1

    def find_drawing_area(self):
        def probe():
            shot = self.screenshot()
            found = bounds(shot, MAGENTA, (0, 0, shot.width, shot.height))
            return found if found and found[2] > shot.width // 2 else None

        x, y, w, h = wait_until(probe, 15, "the title screen of %s" % self.name, 0.1)
        self.origin = (x, y)
        self.layout = Layout(w, h)
        return self.layout

    def focus(self, wid=None):
        pass  # weston's window has the X focus and hands the keys to the program's surface

    def box_area(self, shot):
        return bounds(shot, BOX_GREY, self.origin + (self.layout.width, self.layout.height))


def test(name, env):
    runtime = tempfile.mkdtemp(prefix="lab-wayland-")
    os.chmod(runtime, 0o700)
    socket = "lab-wayland-%d" % os.getpid()
    wenv = dict(env, XDG_RUNTIME_DIR=runtime)
    width = int(subprocess.run(["xwininfo", "-root"], env=env, capture_output=True).stdout
                .decode().split("Width:")[1].split()[0])
    width -= 8  # weston's window and its frame inside the screen
    weston = subprocess.Popen(["weston", "--backend=x11-backend.so", "--width=%d" % width,
                               "--height=700", "--socket=%s" % socket, "--use-pixman",
                               "--idle-time=0"], env=wenv, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    p = None
    try:
        wait_until(lambda: os.path.exists(os.path.join(runtime, socket)), 20, "weston to start")
        # Until weston paints its desktop, its new window may show what the screen showed before.
        wait_until(lambda: not bounds(screenshot(env), MAGENTA, (0, 0, width, 700), 8), 20,
                   "weston's desktop")
        p = WestonProgram(name, dict(wenv, QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY=socket))
        layout = p.find_drawing_area()
        # Maximized: the drawing spans weston's output but for the window's thin border.
        check(layout.width >= width - 12, "maximized: drawing %d wide on %d" % (layout.width,
                                                                            width))
        p.key("space")
        box = wait_until(lambda: p.box_area(p.screenshot()), 10, "the keys help box")
        bx, by, bw, bh = box
        cx, cy = p.origin[0] + layout.width / 2, p.origin[1] + layout.height / 2
        check(abs(bx + bw / 2 - cx) <= 0.02 * layout.width and
              abs(by + bh / 2 - cy) <= 0.04 * layout.height,
              "keys help box centred over the program: %s, centre (%d, %d)" % (box, cx, cy))
        p.key("Return")
        wait_until(lambda: p.box_area(p.screenshot()) is None, 10, "the box to close")
        wait_until(lambda: p.pixel(p.screenshot(), layout.sx(100), layout.voltage_top + 3) ==
                   BLUE, 10, "the graph panel")
        # Holding 1 steps the circuit: the first steps of the voltage curve are drawn.
        samples = (coil_steps if name == "coillab" else cap_steps)(4, "1")[0]
        p.hold("1", 1.6)
        shot = p.screenshot()
        for t, U, _, _ in samples[1:]:
            x, y = layout.plot_x(t), layout.plot_y(U, layout.voltage_zero)
            check(p.near(shot, x, y, WHITE), "voltage curve at (%d, %d)" % (x, y))
        # A dialog: Uo typed in and taken.
        probe = (layout.sx(10) + 3, layout.sy(15) + 3)
        p.menu(1, 2)
        wait_until(lambda: p.pixel(p.screenshot(), *probe) == MAGENTA, 10, "the Uo dialog")
        p.type_text("5")
        p.key("Return")
        wait_until(lambda: p.pixel(p.screenshot(), *probe) == BLUE, 10, "the dialog closed")
        p.menu(1, 0)  # the value summary, in a box over the program
        wait_until(lambda: p.box_area(p.screenshot()), 10, "the value summary")
        p.key("Return")
        wait_until(lambda: p.box_area(p.screenshot()) is None, 10, "the summary to close")
        # On a busy machine a key of the menu walk can come before weston has shown the menu:
        # the walk is taken again, an open menu closed first.
        for attempt in range(3):
            p.menu(0, 0)  # "&Quit"
            try:
                status = p.wait_exit(10)
                break
            except Failure:
                if attempt == 2:
                    raise
                p.key("Escape")
                p.key("Escape")
        check(status == 0, "the program ended with status 0")
    except Exception:
        folder = os.environ.get("LAB_E2E_ARTIFACTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            screenshot(env).save_png(os.path.join(folder, "test_wayland-%s.png" % name))
        raise
    finally:
        if p:
            p.stop()
        weston.terminate()
        try:
            weston.wait(5)
        except subprocess.TimeoutExpired:
            weston.kill()
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    main(test)
