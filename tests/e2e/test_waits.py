#!/usr/bin/env python3
"""Inside the waits: a menu command chosen during the continue prompt and during a dialog's
input leaves the waiting command working; closing the window inside the continue prompt, a
dialog's input and mouse measuring ends the program with status 0 within a second."""

import subprocess
import time

from e2elib import BLUE, MAGENTA, check, main, says, wait_until, with_program
from test_wrap import steps_to_wrap


def close_now(p, env):
    subprocess.run(["wmctrl", "-i", "-c", str(p.wid)], env=env, check=True)
    start = time.monotonic()
    status = p.wait_exit(1.0)
    check(status == 0, "exit status %s" % status)
    check(time.monotonic() - start < 1.0, "ended within a second")


def to_prompt(p):
    layout = p.through_title_and_help()
    p.focus()
    p.keys("1", steps_to_wrap(layout))
    band = [(x, layout.prompt_y(22) + 6) for x in range(19, 19 + layout.sx(50))]

    def prompt_shown():
        shot = p.screenshot()
        return sum(1 for x, y in band if p.pixel(shot, x, y) != BLUE) > 5

    wait_until(prompt_shown, 15, "the continue prompt")
    return layout


def test(name, env):
    def summary_inside_prompt(p):
        layout = to_prompt(p)
        p.menu(1, 0)  # "W&erte zeigen" while the prompt waits
        box = p.box()
        check(says(p.box_text(box), "dt = 0.05"), "the summary inside the prompt")
        p.close_box(box)
        p.focus()
        p.key("space")  # the prompt still waits and takes this key
        p.keys("1", 3)
        check(p.alive(), "program still running")
        wait_until(lambda: p.windows() == [p.wid], 5, "no box left")
        check(p.pixel(p.screenshot(), layout.sx(100), layout.voltage_zero + 5) == BLUE,
              "the graph is still there")

    def dialog_inside_dialog(p):
        layout = p.through_title_and_help()
        probe = (layout.sx(10) + 3, layout.sy(15) + 3)
        p.menu(1, 4)  # resistor R
        wait_until(lambda: p.pixel(p.screenshot(), *probe) == MAGENTA, 5, "the R dialog")
        p.menu_by_mouse(1, 7)  # the time step dialog, nested in the R dialog's input
        time.sleep(0.5)
        p.type_text("0.2")
        p.key("Return")
        time.sleep(0.5)
        p.type_text("3")
        p.key("Return")
        wait_until(lambda: p.pixel(p.screenshot(), *probe) == BLUE, 5, "both dialogs closed")
        p.menu(1, 0)
        box = p.box()
        text = p.box_text(box)
        p.close_box(box)
        check(says(text, "dt = 0.2"), "the nested dialog stored its value: %r" % text)
        check(says(text, "R = 3") or says(text, "R  = 3"), "the waiting dialog read its line")

    def close_in_prompt(p):
        to_prompt(p)
        close_now(p, env)

    def close_in_dialog(p):
        layout = p.through_title_and_help()
        p.menu(1, 2)
        wait_until(lambda: p.pixel(p.screenshot(), layout.sx(10) + 3, layout.sy(15) + 3)
                   == MAGENTA, 5, "the dialog")
        close_now(p, env)

    def close_in_measuring(p):
        p.through_title_and_help()
        p.menu(2, 11)
        p.close_box(p.box())
        p.move(p.layout.sx(80), p.layout.voltage_zero - 30)
        close_now(p, env)

    for case in (summary_inside_prompt, dialog_inside_dialog, close_in_prompt, close_in_dialog,
                 close_in_measuring):
        with_program(name, env, case)


if __name__ == "__main__":
    main(test)
