#!/usr/bin/env python3
"""The table window over the graph, dismissed with a key: the graph comes back blank and time
starts again at 0."""

from e2elib import BLUE, WHITE, check, main, wait_until, with_program


def test(name, env):
    def body(p):
        layout = p.through_title_and_help()
        p.focus()
        p.keys("1", 12)
        x1, y1 = layout.plot_x(0.1), layout.plot_y(-9.025 if name == "coillab" else 0.975,
                                                   layout.voltage_zero)
        wait_until(lambda: p.near(p.screenshot(), x1, y1, WHITE), 5, "the curve")
        before = p.screenshot()
        p.menu(2, 5)  # AUSGABE, "Tabelle &zeigen"
        # The table window covers part of the graph with lines of dark text on a light ground.
        region = (layout.sx(6), layout.sy(40), layout.sx(6) + 300, layout.sy(40) + 200)

        def table_shown():
            shot = p.screenshot()
            changed = sum(1 for y in range(region[1], region[3], 4)
                          for x in range(region[0], region[2], 4)
                          if p.pixel(shot, x, y) != p.pixel(before, x, y))
            return changed > 500

        wait_until(table_shown, 5, "the table window")
        p.focus()
        p.key("space")
        wait_until(lambda: p.pixel(p.screenshot(), layout.sx(100), layout.voltage_zero + 5)
                   == BLUE, 5, "the graph back after the table")
        shot = p.screenshot()
        check(not p.near(shot, x1, y1, WHITE), "the curve is gone after the table")
        p.keys("1", 3)
        # Time starts at 0 again from the initial value: the second point of a fresh run.
        wait_until(lambda: p.near(p.screenshot(), layout.plot_x(0.05), layout.plot_y(
            -9.5 if name == "coillab" else 0.5, layout.voltage_zero), WHITE), 5,
                   "a fresh run after the table")

    with_program(name, env, body)


if __name__ == "__main__":
    main(test)
