#!/usr/bin/env python3
"""Every parameter dialog typed into with real keys: a refused value brings the prompt back, an
accepted one closes the dialog; the value summary then shows all six new values."""

import time

from e2elib import BLUE, MAGENTA, check, main, says, wait_until, with_program

# (entry in BAUTEILE, refused text, accepted text) in menu order
TYPED = [(2, "12", "5"), (3, "-12", "2"), (4, "5", "2"), (5, "4.5", "1.5"), (6, "0.4", "2"),
         (7, "1", "0.1")]

SUMMARY = {
    "coillab": ["Batteriespg. Uo = 5 V", "Anfangsstrom Spule I = 2 A", "Induktivität L  = 2mH",
                "Widerstand   R  = 2 kOhm", "Widerstand   R2 = 1.5 kOhm",
                "Zeitschritt  dt = 0.1 s"],
    "caplab": ["Batteriespannung Uo = 5 V", "Anfangsspannung/Kondensator U = 2 V",
               "Kapazität C = 2µF", "Widerstand R = 2 MOhm", "Widerstand R2 = 1.5 MOhm",
               "Zeitschritt dt = 0.1 s"],
}


def test(name, env):
    def body(p):
        layout = p.through_title_and_help()
        probe = (layout.sx(10) + 3, layout.sy(15) + 3)

        def dialog_shown():
            return p.pixel(p.screenshot(), *probe) == MAGENTA

        for entry, refused, accepted in TYPED:
            p.menu(1, entry)
            wait_until(dialog_shown, 5, "the dialog of entry %d" % entry)
            p.type_text(refused)
            p.key("Return")
            time.sleep(0.4)
            check(dialog_shown(), "the dialog stays after the refused %s" % refused)
            p.type_text(accepted)
            p.key("Return")
            wait_until(lambda: p.pixel(p.screenshot(), *probe) == BLUE, 5,
                       "the dialog to close after %s" % accepted)
        p.menu(1, 0)
        box = p.box()
        text = p.box_text(box)
        for line in SUMMARY[name]:
            check(says(text, line), "summary line %r missing in %r" % (line, text))
        p.close_box(box)
        check(p.alive(), "program still running")

    with_program(name, env, body)


if __name__ == "__main__":
    main(test)
