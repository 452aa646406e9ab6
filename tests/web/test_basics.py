"""The pages' shell and model: the title screen and the keys help, holding the switch keys, the
menu bar with the keyboard and the mouse, a dialog with a refused and an accepted value, a dialog
that keeps its keys, the on-screen keys of a touch screen, and "&Quit"."""

import time

from weblib import BLUE, MAGENTA, check, wait_until

import test_charge_discharge
import test_dialogs
import test_menu
from e2elib import WHITE, coil_steps

CAPTIONS = {"coillab": "Ein-/Ausschaltvorgänge bei der Spule",
            "caplab": "Ein-/Ausschaltvorgänge beim Kondensator"}
KEYS_HELP = [" Tasten <0> u. <1> ", " bedienen den Schalter !", "", " Die Zeit läuft, wenn eine",
             " der Tasten gedrückt ist."]
TITLES = ["DESK |", "BAUTEILE |", "AUSGABE |", "Umschalten - <0> oder <1> ! |"]


def startup(p):
    layout = p.find_drawing_area()
    check(p.js("return document.getElementById('menubar').children.length;") == 0,
          "a menu bar during the title screen")
    shot = p.screenshot()
    for x1, x2 in ((4, 158), (164, 318)):
        check(p.pixel(shot, layout.sx(x1) + 4, layout.sy(4) + 4) == BLUE, "title panel fill")
        check(p.pixel(shot, layout.sx(x2) - 4, layout.sy(196) - 4) == BLUE,
              "title panel fill, lower right")
        check(p.pixel(shot, layout.sx(x1), layout.sy(100)) == WHITE, "title panel frame")
    check(p.pixel(shot, layout.sx(161), layout.sy(100)) == MAGENTA, "gap between the panels")
    check(p.count(shot, layout.sx(30), layout.sy(30), layout.sx(150), layout.sy(60), WHITE) > 50,
          "title text")
    prompt_y = layout.prompt_y(22)
    check(p.count(shot, 19, prompt_y, 19 + layout.sx(60), prompt_y + layout.sy(10), WHITE) > 20,
          "the Weiter prompt")

    p.key(" ")
    lines = p.box()
    check(lines == KEYS_HELP, "keys help box %r" % lines)
    heights = p.box_line_heights()
    empty, text = heights[lines.index("")], heights[0]
    check(text > 0 and abs(empty - text) < 0.5, "the empty line is %.1f px high, a text line %.1f"
          % (empty, text))
    check(p.js("return document.title;") == CAPTIONS[p.name], "caption %r"
          % p.js("return document.title;"))
    p.close_box()
    wait_until(p.graph_shown, 10, "the working screen after the keys help")
    shot = p.screenshot()
    check(p.pixel(shot, layout.sx(80), layout.voltage_zero) == WHITE, "upper time axis")
    check(p.pixel(shot, layout.sx(80), layout.current_zero) == WHITE, "lower time axis")
    check(p.pixel(shot, layout.sx(80), layout.voltage_zero + 5) == BLUE, "upper panel")
    check(p.pixel(shot, 10, layout.voltage_zero - layout.sy(20)) == WHITE, "vertical axis")
    check(p.pixel(shot, layout.circuit_left + 3, layout.voltage_top + 3) == BLUE,
          "circuit panel")
    check(p.pixel(shot, (layout.graph_right + layout.circuit_left) // 2, layout.sy(100))
          == MAGENTA, "gap between graph and circuit")


def curve_points(layout, samples):
    return [(layout.plot_x(t), layout.plot_y(U, layout.voltage_zero),
             layout.plot_y(I, layout.current_zero)) for t, U, I, _ in samples]


def missing_points(p, shot, points):
    missing = []
    for k, (x, yv, yc) in enumerate(points):
        if not p.near(shot, x, yv, WHITE):
            missing.append("U%d(%d,%d)" % (k, x, yv))
        if not p.near(shot, x, yc, WHITE):
            missing.append("I%d(%d,%d)" % (k, x, yc))
    return missing


def hold_keys(p):
    """Key 1 held for 40 characters, then key 0: every point where Euler's arithmetic puts it,
    nothing on the mirror points."""
    layout = p.through_title_and_help()
    steps = test_charge_discharge.STEPS
    points = curve_points(layout, test_charge_discharge.samples(p.name))
    before = p.screenshot()
    check(len(missing_points(p, before, points[1:6])) == 10, "curve pixels before any key")
    p.hold("1", steps)
    p.hold("0", steps)
    x, yv, _ = points[-2]
    wait_until(lambda: p.near(p.screenshot(), x, yv, WHITE), 10, "the last segments")
    shot = p.screenshot()
    missing = missing_points(p, shot, points[1:-1])
    check(not missing, "curve points not drawn: %s" % " ".join(missing[:10]))
    for x, yv, yc in points[5:-1:7]:
        for y, zero in ((yv, layout.voltage_zero), (yc, layout.current_zero)):
            if abs(zero - y) > 6:
                check(p.pixel(shot, x, 2 * zero - y) != WHITE, "stray pixel at (%d, %d)"
                      % (x, 2 * zero - y))


def menu(p):
    p.through_title_and_help()
    titles = p.js("return [...document.querySelectorAll('#menubar > .menu-title')]"
                  ".map(t => t.firstChild.textContent);")
    check(titles == TITLES, "menu titles %r" % titles)
    # Keyboard: BAUTEILE, "Werte zeigen", with the pointer resting where the menu drops down:
    # the entry under it must not become the keyboard's.
    left, top = p.stage_offset()
    x, bottom = p.js("const r = document.querySelectorAll('#menubar > .menu-title')[1]"
                     ".getBoundingClientRect(); return [r.left + 10, r.bottom];")
    p.move(x - left, bottom + 60 - top)
    p.menu(1, 0)
    lines = [line.strip() for line in p.box()]
    for line in test_menu.SUMMARY[p.name]:
        check(line in lines, "summary line %r missing in %r" % (line, lines))
    p.close_box()
    # Keyboard, F10 this time: the last group, "Hilfe".
    p.key("F10")
    for _ in range(3):
        p.key("ArrowRight")
    p.key("ArrowDown")
    p.key("Enter")
    check(p.box() == KEYS_HELP, "keys help from the menu")
    p.close_box()
    # Mouse: DESK, "Autor", and the box closed with a click on its button.
    p.menu_by_mouse(0, 4)
    lines = p.box()
    check(lines[0].strip() == "Programmautor:" and len(lines) == 8, "author box %r" % lines)
    p.click_element("#box-ok")
    p.no_box()
    # The keys reach the program again after the menus and boxes.
    p.keys("1", 3)
    layout = p.layout
    wait_until(lambda: p.near(p.screenshot(), layout.plot_x(0.05),
                              layout.plot_y(-9.5, layout.voltage_zero), WHITE), 5,
               "the curve after the menus")


def dialog(p):
    """The resistor R dialog: a value out of range brings the prompt back, one inside closes
    the dialog, shows in the summary and acts in the next steps."""
    layout = p.through_title_and_help()
    entry, refused, accepted = test_dialogs.TYPED[2]
    p.menu(1, entry)
    frame = wait_until(lambda: p.window(2), 5, "the dialog window")
    # Its width and height fit the prompt in the dialog font; where it opens is fixed.
    check(frame[:2] == [layout.sx(10), layout.sy(15)] and frame[3] >= layout.sy(30)
          and frame[0] + frame[2] <= layout.width, "dialog window at %r" % frame)
    wait_until(lambda: p.js("return document.activeElement.id;") == "line-input", 5,
               "the line input to take the keys")
    check(p.pixel(p.screenshot(), frame[0] + 2, frame[1] + frame[3] - 2) == MAGENTA,
          "dialog background")
    p.js("document.getElementById('line-input').dataset.typed = 'yes';")
    p.type_text(refused)
    p.key("Enter")
    wait_until(lambda: p.js("const i = document.getElementById('line-input');"
                            "return i && i.dataset.typed === undefined && i.value === '';"), 5,
               "the prompt again after the refused %s" % refused)
    check(p.window(2) is not None, "the dialog stays after the refused %s" % refused)
    # The prompt comes back showing the refused value as the present one.
    prompts = p.texts("window-2")
    check(len(prompts) == 2 and prompts[0].endswith("    1")
          and prompts[1] == prompts[0][:-1] + refused, "dialog prompts %r" % prompts)
    p.type_text(accepted)
    p.key("Enter")
    wait_until(lambda: p.window(2) is None, 5, "the dialog to close after %s" % accepted)
    p.menu(1, 0)
    lines = [line.strip() for line in p.box()]
    line = test_dialogs.SUMMARY[p.name][3]
    check(line in lines, "summary line %r missing in %r" % (line, lines))
    p.close_box()
    # The summary restarted the graph: a run from 0 with the new resistor.
    samples, _ = coil_steps(6, "1", R=float(accepted))
    points = curve_points(layout, samples)
    p.keys("1", 6)
    wait_until(lambda: not missing_points(p, p.screenshot(), points[1:-1]), 5,
               "the curve with R = %s" % accepted)


def summary_r(p):
    """The line of R in "Werte zeigen", which restarts the graph."""
    p.menu(1, 0)
    lines = [line.strip() for line in p.box()]
    p.close_box()
    return [line for line in lines if line.startswith("Widerstand   R ")]


def dialog_keeps_keys(p):
    """In the dialog for R, the table shown and then a Tab, or a click on the menu bar's empty
    part, before typing: the value still goes into the line, and nothing typed becomes a step."""
    p.through_title_and_help()
    entry = test_dialogs.TYPED[2][0]
    for away, typed in (("Tab", "1.5"), ("click", "2.5")):
        before = p.screenshot()
        p.menu(1, entry)
        wait_until(lambda: p.js("return document.activeElement.id;") == "line-input", 5,
                   "the line input to take the keys")
        if away == "Tab":
            # A command inside the dialog, from the keyboard: the table's prompt still takes
            # its key, and the line takes the keys again after it.
            p.menu(2, 5)
            wait_until(lambda: p.window(3), 5, "the table inside the dialog")
            p.key(" ")
            wait_until(lambda: p.window(3) is None, 5, "the table to close")
            p.key("Tab")
        else:
            x, y = p.js("const bar = document.getElementById('menubar').getBoundingClientRect();"
                        "const last = bar.right - 4; return [last, bar.top + bar.height / 2];")
            check(p.js("return document.elementFromPoint(arguments[0], arguments[1]).id;", x, y)
                  == "menubar", "no empty part of the menu bar at %r" % ((x, y),))
            p.click_page(x, y)
        focused = p.js("return document.activeElement.id;")
        check(focused == "line-input", "after %s the focus is on %r" % (away, focused))
        p.type_text(typed)
        p.key("Enter")
        wait_until(lambda: p.window(2) is None, 5, "the dialog to close after %s %s"
                   % (away, typed))
        p.rendered()
        check(p.screenshot().data == before.data, "a step drawn after %s %s" % (away, typed))
        r = summary_r(p)
        check(r == ["Widerstand   R  = %s kOhm" % typed], "after %s %s: %r" % (away, typed, r))


def touch_keys(p):
    """The 0 and 1 keys come and go with the touch screen; held behind a box or a menu they run
    no step, and in a dialog they type into the line."""
    try:
        p.through_title_and_help()
        check(not p.touch_keys_shown(), "touch keys without a touch screen")
        p.touch_screen(True)
        wait_until(p.touch_keys_shown, 5, "the touch keys on the touch screen")
        style = p.js("const s = getComputedStyle(document.querySelector('#touch-keys button'));"
                     "return [s.userSelect, s.webkitUserSelect];")
        check(style == ["none", "none"], "a long press selects: %r" % style)
        for behind in ("box", "menu"):
            p.touch_key("1", "touchStart")
            if behind == "box":
                p.menu(3, 0)  # "Hilfe": its box leaves the drawing as it was
                p.box()
            else:
                p.key("Alt")
                p.key("ArrowDown")
                wait_until(lambda: p.js("return [...document.querySelectorAll('#menubar .menu')]"
                                        ".some(m => !m.hidden);"), 5, "the menu to open")
            p.rendered()
            before = p.screenshot()
            time.sleep(1.0)  # held past the key's repeat delay
            p.touch_key("1", "touchEnd")
            if behind == "box":
                p.close_box()
            else:
                p.keys("Escape", 2)
            p.rendered()
            check(p.screenshot().data == before.data, "steps from the key held behind the %s"
                  % behind)
        before = p.screenshot()
        p.menu(1, test_dialogs.TYPED[2][0])  # R
        wait_until(lambda: p.js("return document.activeElement.id;") == "line-input", 5,
                   "the line input to take the keys")
        p.type_text("2.")
        p.tap_touch_key("1")
        typed = p.js("return document.getElementById('line-input').value;")
        check(typed == "2.1", "the line holds %r" % typed)
        p.key("Enter")
        wait_until(lambda: p.window(2) is None, 5, "the dialog to close")
        p.rendered()
        check(p.screenshot().data == before.data, "a step from the touch key in the dialog")
        r = summary_r(p)
        check(r == ["Widerstand   R  = 2.1 kOhm"], "after the touch key in the dialog: %r" % r)
        p.touch_screen(False)
        wait_until(lambda: not p.touch_keys_shown(), 5, "the touch keys to go")
    finally:
        p.touch_screen(False)


def quit_program(p):
    p.through_title_and_help()
    p.menu(0, 0)
    wait_until(lambda: p.js("return !!document.getElementById('ended');"), 5, "the ended page")
    said = p.js("return document.getElementById('ended').textContent;")
    check("Das Programm %s ist beendet." % p.name in said, "ended page %r" % said)
    p.click_element("#restart")
    p.find_drawing_area()


CASES = [("startup", "coillab", startup), ("hold 1 then 0", "coillab", hold_keys),
         ("hold 1 then 0", "caplab", hold_keys), ("menu", "coillab", menu),
         ("dialog", "coillab", dialog), ("dialog keeps the keys", "coillab", dialog_keeps_keys),
         ("touch keys", "coillab", touch_keys), ("quit", "coillab", quit_program)]
