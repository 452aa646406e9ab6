#!/usr/bin/env python3
"""Any window size: restored, resized to a landscape and a portrait size and maximized again, the
drawing is shown whole, centred, in its own proportions, with its one-pixel time axis and a
mouse reading that belongs to the pointer; at a scale of 2 it fills the screen in device pixels
with one-pixel lines one device pixel."""

import os
import re
import time

from e2elib import (BLUE, WHITE, Layout, Program, check, main, run, trunc_div, wait_until,
                    with_program)

MARGIN = (0xd4, 0xd0, 0xc8)  # the grey around a drawing smaller than its window
SIZES = [None, (700, 450), (500, 700), "maximized"]  # None: as restored


def drawing_box(p, shot, bar):
    """The drawing in the window's area under the menu bar: where the margin's grey is not."""
    x, y, w, h = p.client()
    top = y + bar
    middle_row = top + (h - bar) // 2
    xs = [xx for xx in range(x, x + w) if shot.pixel(xx, middle_row) != MARGIN]
    ys = [yy for yy in range(top, y + h) if shot.pixel(x + w // 2, yy) != MARGIN]
    check(xs and ys, "a drawing in the window")
    return (x, top, w, h - bar), (xs[0], ys[0], xs[-1] - xs[0] + 1, ys[-1] - ys[0] + 1)


def reading(d, height):
    """The voltage readout for a pointer d drawing pixels above the zero line, in tenths."""
    return trunc_div(200 * round(10 * d / 3), height)


def read_field(p, x, y, w, h):
    """The numbers character recognition finds in a white-on-blue readout field of the screen,
    in tenths: small serif digits are read several ways, as one reading may mistake a digit."""
    image = os.path.join(p.workdir, "field.png")
    run(["import", "-silent", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), image],
        p.env)
    found = set()
    for scale in ("100%", "200%", "400%"):
        prepared = os.path.join(p.workdir, "prepared.png")
        run(["convert", image, "-resize", scale, "-colorspace", "Gray", "-negate", "-bordercolor",
             "white", "-border", "20", prepared])
        text = run(["tesseract", prepared, "-", "--psm", "6", "-l", "deu"], p.env)
        number = re.search(r"-?\d+[.,]\d", text.decode(errors="replace").replace(" ", ""))
        if number:
            found.add(round(float(number.group(0).replace(",", ".")) * 10))
    return found


def check_size(p, full, bar, what):
    """The drawing whole, centred and in proportion; its one-pixel axis; one mouse reading."""
    shot = p.screenshot()
    (ax, ay, aw, ah), (bx, by, bw, bh) = drawing_box(p, shot, bar)
    s = min(aw / full.width, ah / full.height)
    check(abs(bw - full.width * s) <= 2 and abs(bh - full.height * s) <= 2,
          "%s: drawing %dx%d, expected %.0fx%.0f" % (what, bw, bh, full.width * s,
                                                   full.height * s))
    ratio = (bw / bh) / (full.width / full.height)
    check(abs(ratio - 1) <= 0.01, "%s: proportions %.4f of the drawing's own" % (what, ratio))
    check(abs(bx - ax - (aw - bw) / 2) <= 1 and abs(by - ay - (ah - bh) / 2) <= 1,
          "%s: drawing centred" % what)
    # The upper time axis: white, one device pixel, through the pixel under its centre.
    column = bx + int((full.sx(80) + 0.5) * s)
    row = by + int((full.voltage_zero + 0.5) * s)
    axis = [yy for yy in range(row - 2, row + 3) if shot.pixel(column, yy) == WHITE]
    check(len(axis) == 1, "%s: a one-pixel axis near row %d, white rows %s" % (what, row, axis))
    check(shot.pixel(column, axis[0] - 1) == BLUE and shot.pixel(column, axis[0] + 1) == BLUE,
          "%s: the axis between blue" % what)
    # The pointer 60 drawing pixels above the axis, mapped back from the screen.
    target_y = by + round((full.voltage_zero - 60) * s)
    run(["xdotool", "mousemove", "--sync", str(bx + int(full.sx(100) * s)), str(target_y)],
        p.env)
    drawn = (target_y - by) / s
    expected = {reading(full.voltage_zero - y, full.height)
                for y in (int(drawn), int(drawn) + 1)}
    size = 20 * full.width / 800 * s
    field = (bx + int(full.sx(70) * s) - 6, by + int((full.voltage_zero + full.sy(30)) * s) - 6,
             int(5 * size) + 12, int(1.3 * size) + 12)
    seen = []

    def matches():
        seen.append(read_field(p, *field))
        return seen[-1] & expected

    try:
        wait_until(matches, 10, "a reading")
    except Exception:
        raise AssertionError("%s: a reading of %s tenths expected, read %s" % (
            what, sorted(expected), seen[-3:]))


def test(name, env):
    def body(p):
        full = p.through_title_and_help()
        bar = p.origin[1] - p.client()[1]
        screen_width = int(run(["xwininfo", "-root"], env).decode().split("Width:")[1].split()[0])
        before = p.screenshot()
        circuit = [(x, y) for x in range(full.circuit_left, int(full.circuit_right), 7)
                   for y in range(full.voltage_top, full.current_bottom, 7)]
        p.menu(2, 11)  # AUSGABE, "&Mausmessen"
        p.close_box(p.box())
        for size in SIZES:
            if size is None:
                run(["wmctrl", "-i", "-r", str(p.wid), "-b",
                     "remove,maximized_vert,maximized_horz"], env)
                wait_until(lambda: p.client()[2] < screen_width, 5, "the window restored")
                check(p.client()[2] >= screen_width / 2, "restored at least half the screen wide")
            elif size == "maximized":
                run(["wmctrl", "-i", "-r", str(p.wid), "-b", "add,maximized_vert,maximized_horz"],
                    env)
                wait_until(lambda: p.client()[2] == screen_width, 5, "the window maximized")
            else:
                run(["xdotool", "windowsize", str(p.wid), str(size[0]), str(size[1])], env)
                wait_until(lambda: p.client()[2:] == size, 5, "the window at %s" % (size,))
            time.sleep(0.5)
            check_size(p, full, bar, "window %s" % (size,))
        # Maximized again, the circuit is painted again pixel for pixel as at start-up.
        shot = p.screenshot()
        changed = [at for at in circuit if p.pixel(shot, *at) != p.pixel(before, *at)]
        check(not changed, "circuit pixels changed after maximizing again: %s" % changed[:5])

    with_program(name, env, body)

    # At a scale of 2 the drawing fills the screen in device pixels; its lines stay one pixel.
    scaled = Program(name, dict(env, QT_SCALE_FACTOR="2"))
    try:
        device = scaled.through_title_and_help()
        logical = Layout(device.width // 2, device.height // 2)
        shot = scaled.screenshot()
        x = 2 * logical.sx(80)
        row = 2 * logical.voltage_zero + 1  # the device pixel under the centre of its pixel
        check(scaled.pixel(shot, x, row) == WHITE, "scale 2: the axis at device row %d" % row)
        check(scaled.pixel(shot, x, row - 1) == BLUE and scaled.pixel(shot, x, row + 1) == BLUE,
              "scale 2: the axis one device pixel high")
        check(device.width >= 0.95 * int(run(["xwininfo", "-root"], env).decode().split(
            "Width:")[1].split()[0]), "scale 2: the drawing fills the screen")
    finally:
        scaled.stop()


if __name__ == "__main__":
    main(test)
