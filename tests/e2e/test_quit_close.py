#!/usr/bin/env python3
"""Ending: "&Quit" from the menu, and closing the window as its close button does, both with
status 0; the close within a second."""

import subprocess
import time

from e2elib import check, main, with_program


def test(name, env):
    def quit_from_menu(p):
        p.through_title_and_help()
        p.menu(0, 0)
        check(p.wait_exit(5) == 0, "exit status after &Quit")

    def close_window(p):
        p.through_title_and_help()
        p.focus()
        p.keys("1", 3)
        start = time.monotonic()
        subprocess.run(["wmctrl", "-i", "-c", str(p.wid)], env=env, check=True)
        status = p.wait_exit(1.0)
        check(status == 0, "exit status %s after closing the window" % status)
        check(time.monotonic() - start < 1.0, "the program ended within a second")

    def close_in_keys_help(p):
        p.find_drawing_area()
        p.focus()
        p.key("space")
        p.box()
        subprocess.run(["wmctrl", "-i", "-c", str(p.wid)], env=env, check=True)
        check(p.wait_exit(1.0) == 0, "exit status after closing during the keys help box")

    with_program(name, env, quit_from_menu)
    with_program(name, env, close_window)
    with_program(name, env, close_in_keys_help)


if __name__ == "__main__":
    main(test)
