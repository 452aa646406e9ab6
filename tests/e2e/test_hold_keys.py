#!/usr/bin/env python3
"""Holding key 1 (the X server's auto-repeat) draws the charging curves, holding 0 switches off."""

from e2elib import WHITE, cap_steps, check, coil_steps, main, with_program


def curve_points(name, layout, n):
    if name == "coillab":
        samples, _ = coil_steps(n, "1")
    else:
        samples, _ = cap_steps(n, "1")
    return [(layout.plot_x(t), layout.plot_y(U, layout.voltage_zero),
             layout.plot_y(I, layout.current_zero)) for t, U, I, _ in samples]


def test(name, env):
    def body(p):
        layout = p.through_title_and_help()
        points = curve_points(name, layout, 5)[1:4]
        before = p.screenshot()
        for x, yv, yc in points:
            check(p.pixel(before, x, yv) != WHITE and p.pixel(before, x, yc) != WHITE,
                  "curve point (%d, %d/%d) white before any key" % (x, yv, yc))
        p.focus()
        p.hold("1", 1.6)
        shot = p.screenshot()
        for x, yv, yc in points:
            check(p.near(shot, x, yv, WHITE), "voltage curve at (%d, %d)" % (x, yv))
            check(p.near(shot, x, yc, WHITE), "current curve at (%d, %d)" % (x, yc))
        upper = p.count(shot, 11, layout.voltage_top + 1, layout.graph_right - 1,
                        layout.voltage_bottom - 1, WHITE)
        p.hold("0", 1.6)
        shot = p.screenshot()
        check(p.count(shot, 11, layout.voltage_top + 1, layout.graph_right - 1,
                      layout.voltage_bottom - 1, WHITE) > upper + 5,
              "holding 0 goes on drawing the voltage curve")
        check(p.alive(), "program still running")

    with_program(name, env, body)


if __name__ == "__main__":
    main(test)
