#!/usr/bin/env python3
"""Start-up: the title screen, a key, the keys help box closed with Return, the working screen."""

from e2elib import BLUE, MAGENTA, WHITE, check, main, wait_until, with_program


def test(name, env):
    def body(p):
        layout = p.find_drawing_area()
        shot = p.screenshot()
        # Two blue panels with white frames on the magenta background.
        for x1, x2 in ((4, 158), (164, 318)):
            check(p.pixel(shot, layout.sx(x1) + 4, layout.sy(4) + 4) == BLUE, "title panel fill")
            check(p.pixel(shot, layout.sx(x2) - 4, layout.sy(196) - 4) == BLUE,
                  "title panel fill, lower right")
            check(p.near(shot, layout.sx(x1), layout.sy(100), WHITE), "title panel frame")
        check(p.pixel(shot, layout.sx(161), layout.sy(100)) == MAGENTA, "gap between panels")
        check(p.pixel(shot, 1, layout.height - 2) == MAGENTA, "window background")
        # Title letters in the left panel, the prompt on row 22.
        check(p.count(shot, layout.sx(30), layout.sy(30), layout.sx(150), layout.sy(60),
                      WHITE) > 50, "title text")
        prompt_y = layout.prompt_y(22)
        check(p.count(shot, 19, prompt_y, 19 + layout.sx(60), prompt_y + layout.sy(10),
                      WHITE) > 20, "the Weiter prompt")

        layout = p.through_title_and_help()
        shot = p.screenshot()
        check(p.pixel(shot, layout.sx(80), layout.voltage_zero) == WHITE, "upper time axis")
        check(p.pixel(shot, layout.sx(80), layout.current_zero) == WHITE, "lower time axis")
        check(p.pixel(shot, layout.sx(80), layout.voltage_zero + 5) == BLUE, "upper panel")
        check(p.pixel(shot, layout.sx(80), layout.current_zero + 5) == BLUE, "lower panel")
        check(p.pixel(shot, 10, layout.voltage_zero - layout.sy(20)) == WHITE, "vertical axis")
        check(p.pixel(shot, layout.circuit_left + 3, layout.voltage_top + 3) == BLUE,
              "circuit panel")
        check(p.pixel(shot, (layout.graph_right + layout.circuit_left) // 2, layout.sy(100))
              == MAGENTA, "gap between graph and circuit")
        # The battery's long plate is drawn 3 pixels wide in white.
        check(p.near(shot, layout.gx(190), layout.sy(98), WHITE), "battery plate")
        check(p.alive(), "program still running")
        wait_until(lambda: p.alive(), 1, "program alive")

    with_program(name, env, body)


if __name__ == "__main__":
    main(test)
