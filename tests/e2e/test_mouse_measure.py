#!/usr/bin/env python3
"""Mouse measuring: the readout under the pointer's panel, the other field blanked, a shorter
reading covering a longer one, the end on both buttons held together, also of a measuring
chosen inside measuring, which leaves the outer one measuring."""

from e2elib import WHITE, check, main, run, says, wait_until, with_program


def test(name, env):
    def body(p):
        layout = p.through_title_and_help()
        p.menu(2, 11)  # AUSGABE, "&Mausmessen"
        box = p.box()
        check(says(p.box_text(box), "Unbedingt mit Maustaste 3 beenden !"), "the measuring box")
        p.close_box(box)
        size = 20 * layout.width / 800
        upper = (layout.sx(70), layout.voltage_zero + layout.sy(30))
        lower = (layout.sx(70), layout.current_zero + layout.sy(30))

        def field(shot, at):
            return p.count(shot, at[0], at[1], at[0] + 6 * size, at[1] + size, WHITE)

        p.move(layout.sx(80), layout.voltage_zero - 30)
        wait_until(lambda: field(p.screenshot(), upper) > 10, 5, "the upper readout")
        p.move(layout.sx(80), layout.current_zero + 30)
        wait_until(lambda: field(p.screenshot(), lower) > 10, 5, "the lower readout")
        check(field(p.screenshot(), upper) == 0, "the upper field blanked")
        # A shorter reading after a longer one looks as it does written into a blank field:
        # nothing of the longer one stays beside it.
        def upper_pixels(shot):
            return [p.pixel(shot, x, y) for y in range(upper[1], upper[1] + int(1.2 * size))
                    for x in range(upper[0], upper[0] + int(6 * size))]

        zero_line = (layout.sx(80), layout.voltage_zero)  # "0 V"
        p.move(*zero_line)
        wait_until(lambda: field(p.screenshot(), upper) > 10, 5, "the zero reading")
        fresh = upper_pixels(p.screenshot())
        p.move(layout.sx(80), layout.current_top - 2)  # a long negative reading, "-15.x V"
        wait_until(lambda: upper_pixels(p.screenshot()) != fresh, 5, "the long reading")
        p.move(*zero_line)
        wait_until(lambda: upper_pixels(p.screenshot()) == fresh, 5,
                   "the zero reading with nothing of the longer one beside it")
        # Measuring chosen inside measuring: one press of both buttons ends only the inner one.
        p.menu(2, 11)
        p.close_box(p.box())
        run(["xdotool", "mousedown", "1", "mousedown", "3"], env)
        run(["xdotool", "mouseup", "3", "mouseup", "1"], env)
        p.move(layout.sx(80), layout.current_zero + 30)
        wait_until(lambda: field(p.screenshot(), lower) > 10 and field(p.screenshot(), upper) == 0,
                   5, "the outer measuring still reading")
        # Both buttons together end the command.
        run(["xdotool", "mousedown", "1", "mousedown", "3"], env)
        run(["xdotool", "mouseup", "3", "mouseup", "1"], env)
        p.move(layout.sx(200), layout.sy(100))
        p.focus()
        p.keys("1", 3)
        U = -9.5 if name == "coillab" else 0.5
        wait_until(lambda: p.near(p.screenshot(), layout.plot_x(0.05),
                                  layout.plot_y(U, layout.voltage_zero), WHITE), 5,
                   "the curve after measuring")

    with_program(name, env, body)


if __name__ == "__main__":
    main(test)
