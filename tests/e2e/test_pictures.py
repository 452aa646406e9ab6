#!/usr/bin/env python3
"""Both schematic pictures stretched over the window, the prompt, and the screen back after a
key."""

import os
import subprocess

from e2elib import BLUE, check, main, wait_until, with_program

PICTURES = {"coillab": ["einschemspule.gif", "ausschemspule.gif"],
            "caplab": ["einschemkond.gif", "ausschemkond.gif"]}


def stretched(path, width, height):
    data = subprocess.run(["convert", path, "-resize", "%dx%d!" % (width, height), "-depth",
                           "8", "rgb:-"], capture_output=True, check=True).stdout
    return lambda x, y: tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3])


def picture_shown(p, path, layout):
    """A condition: the picture from path stretched over the window, at most colour noise off."""
    x0, y0, w, h = layout.sx(4), layout.sy(4), layout.sx(310), layout.sy(192)
    expect = stretched(path, w, h)
    samples = [(x, y) for y in range(h // 20, h, h // 10) for x in range(w // 20, w, w // 10)]

    def shown():
        shot = p.screenshot()
        close = sum(1 for x, y in samples
                    if max(abs(a - b) for a, b in zip(p.pixel(shot, x0 + x, y0 + y),
                                                       expect(x, y))) < 60)
        return close >= len(samples) * 0.8
    return shown


def test(name, env):
    def body(p):
        layout = p.through_title_and_help()
        build = os.path.dirname(p.path)
        for entry, picture in zip((8, 9), PICTURES[name]):
            shown = picture_shown(p, os.path.join(build, picture), layout)
            p.menu(2, entry)
            wait_until(shown, 10, "the picture %s over the window" % picture)
            p.focus()
            p.key("space")
            wait_until(lambda: p.pixel(p.screenshot(), layout.sx(100), layout.voltage_zero + 5)
                       == BLUE, 5, "the graph back after %s" % picture)
            shot = p.screenshot()
            check(p.pixel(shot, layout.circuit_left + 3, layout.voltage_top + 3) == BLUE,
                  "the circuit back after %s" % picture)

    with_program(name, env, body)


if __name__ == "__main__":
    main(test)
