#!/usr/bin/env python3
"""40 key characters 1 then 40 key characters 0: every point of both curves where the plot
mapping puts the independently computed Euler values, and nothing on the mirror points."""

from e2elib import WHITE, cap_steps, check, coil_steps, main, wait_until, with_program

STEPS = 40


def samples(name):
    if name == "coillab":
        on, state = coil_steps(STEPS, "1")
        off, _ = coil_steps(STEPS, "0", I=state, t=on[-1][0])
    else:
        on, state = cap_steps(STEPS, "1")
        off, _ = cap_steps(STEPS, "0", U=state, t=on[-1][0])
    return on + off


def test(name, env):
    def body(p):
        layout = p.through_title_and_help()
        p.focus()
        p.keys("1", STEPS)
        p.keys("0", STEPS)
        points = [(layout.plot_x(t), layout.plot_y(U, layout.voltage_zero),
                   layout.plot_y(I, layout.current_zero)) for t, U, I, _ in samples(name)]
        x, yv, _ = points[-2]
        wait_until(lambda: p.near(p.screenshot(), x, yv, WHITE), 10, "the last segments")
        shot = p.screenshot()
        missing = []
        for k, (x, yv, yc) in enumerate(points[1:-1], start=1):
            if not p.near(shot, x, yv, WHITE):
                missing.append("U%d(%d,%d)" % (k, x, yv))
            if not p.near(shot, x, yc, WHITE):
                missing.append("I%d(%d,%d)" % (k, x, yc))
        check(not missing, "curve points not drawn: %s" % " ".join(missing[:10]))
        # Mirrored about the zero line, away from the axis, nothing is drawn.
        for x, yv, yc in points[5:-1:7]:
            mirror_v = 2 * layout.voltage_zero - yv
            mirror_c = 2 * layout.current_zero - yc
            if abs(mirror_v - yv) > 6:
                check(p.pixel(shot, x, mirror_v) != WHITE, "stray voltage pixel at %d" % x)
            if abs(mirror_c - yc) > 6:
                check(p.pixel(shot, x, mirror_c) != WHITE, "stray current pixel at %d" % x)

    with_program(name, env, body)


if __name__ == "__main__":
    main(test)
