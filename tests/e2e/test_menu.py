#!/usr/bin/env python3
"""The menu bar with the keyboard (Alt or F10, arrows, Return) and with the mouse; the value
summary."""

from e2elib import check, main, says, wait_until, window_geometry, with_program

SUMMARY = {
    "coillab": ["PARAMETER", "Batteriespg. Uo = 10 V", "Anfangsstrom Spule I = 0 A",
                "Induktivität L  = 1mH", "Widerstand   R  = 1 kOhm",
                "Widerstand   R2 = 0.5 kOhm", "Zeitschritt  dt = 0.05 s"],
    "caplab": ["Batteriespannung Uo = 10 V", "Anfangsspannung/Kondensator U = 0 V",
               "Kapazität C = 1µF", "Widerstand R = 1 MOhm", "Widerstand R2 = 1 MOhm",
               "Zeitschritt dt = 0.05 s"],
}


def test(name, env):
    def keyboard(p):
        p.through_title_and_help()
        p.menu(1, 0)  # BAUTEILE, "W&erte zeigen"
        box = p.box()
        text = p.box_text(box)
        for line in SUMMARY[name]:
            check(says(text, line), "summary line %r missing in %r" % (line, text))
        p.close_box(box)
        p.menu(3, 0, opener="F10")  # the last group, "&Hilfe"
        box = p.box()
        check(says(p.box_text(box), "bedienen den Schalter !"), "keys help from the menu")
        p.close_box(box)
        check(p.alive(), "program still running")

    def mouse(p):
        p.through_title_and_help()
        popup = p.menu_by_mouse(0, 4)  # DESK, "&Autor"

        def author_box():
            for wid in p.windows():
                if wid != p.wid and window_geometry(env, wid)[:4] != popup:
                    return wid
            return None

        box = wait_until(author_box, 5, "the author box")
        text = p.box_text(box)
        check(says(text, "Programmautor:"), "author box text %r" % text)
        p.close_box(box)
        check(p.alive(), "program still running")

    with_program(name, env, keyboard)
    with_program(name, env, mouse)


if __name__ == "__main__":
    main(test)
