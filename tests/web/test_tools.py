"""The pages' tools: the table on the screen and on the print page, mouse measuring and its end,
a schematic picture, and the wrap at the right edge in both drawing modes."""

import os

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from weblib import BLUE, ROOT, check, wait_until

import test_pictures
import test_print
import test_wrap
from e2elib import WHITE, coil_steps, picture_row_cells

PRINTED_HEADING = "".join(("    t(s) ", "  I(µA)  ", "  I.R (V)  ", " U (V)  ", "  dI(µA)  ",
                           " I+dI (µA)"))
PROMPT = "Weiter ?   <RETURN>"
DEEPEST = 100  # commands running inside one another that the programs take
REFUSED = ["Zu viele Befehle ineinander: erst die offenen beenden."]


def reading(d, height):
    """The readout of mouse measuring for a pointer d pixels above a zero line."""
    n = round(10 * d / 3)
    tenths = abs(200 * n) // height * (1 if n >= 0 else -1)  # truncated toward zero
    text = "%g" % (tenths / 10)  # as many digits as needed, at most one decimal
    return {text, text.replace(".", ",")}  # either decimal separator


def voltage_point(layout, step, **circuit):
    """Where the coil's voltage curve has its point of the given step after a start."""
    samples, _ = coil_steps(step + 1, "1", **circuit)
    t, U, _, _ = samples[step]
    return layout.plot_x(t), layout.plot_y(U, layout.voltage_zero)


def wait_point(p, point, what):
    wait_until(lambda: p.near(p.screenshot(), point[0], point[1], WHITE), 5, what)


def check_rows(lines, want):
    """Each line six number pictures of eight characters, each one of the expected texts."""
    for k, (line, expect) in enumerate(zip(lines, want)):
        cells = picture_row_cells(line)
        check(len(line) == 48 and len(cells) == 6
              and all(cell in options for cell, options in zip(cells, expect)),
              "row %d is %r, expected %r" % (k, line, expect))


def table_screen(p):
    """The table window over the graph, its heading, 31 rows and the prompt, until a key; then
    a blank graph and time from 0."""
    layout = p.through_title_and_help()
    steps = test_print.STEPS
    p.keys("1", steps)
    drawn = voltage_point(layout, steps - 1)
    wait_point(p, drawn, "the curve")
    p.menu(2, 5)  # AUSGABE, "Tabelle zeigen"
    frame = wait_until(lambda: p.window(3), 5, "the table window")
    # The window may grow from its given size to hold every line legibly.
    check(frame[:2] == [layout.sx(6), layout.sy(40)] and frame[2] >= 310
          and frame[3] >= layout.sy(125) and frame[0] + frame[2] <= layout.width
          and frame[1] + frame[3] <= layout.height, "table window at %r" % frame)
    def written():
        lines = p.texts("window-3")
        return lines if lines and lines[-1] == PROMPT else None

    lines = wait_until(written, 5, "the table's prompt")
    check(len(lines) == 33 and lines[0] == PRINTED_HEADING and lines[-1] == PROMPT,
          "table window texts %r" % lines)
    check_rows(lines[1:-1], test_print.expected_rows(p.name) + [[{"0,00"}] * 6] * 5)
    # Dark text on the light ground of a new window, legible where it is drawn.
    check(p.count(p.screenshot(), frame[0], frame[1], frame[0] + frame[2] - 1,
                  frame[1] + frame[3] - 1, (0, 0, 0)) > 500, "the table text is not shown")
    p.key(" ")
    wait_until(lambda: p.window(3) is None, 5, "the table window to close")
    wait_until(p.graph_shown, 5, "the graph back after the table")
    check(not p.near(p.screenshot(), drawn[0], drawn[1], WHITE), "the curve is gone")
    p.keys("1", 3)
    wait_point(p, voltage_point(layout, 1), "a fresh run after the table")


def print_table(p):
    """The print page holds the printed table when the page calls print, once."""
    layout = p.through_title_and_help()
    steps = test_print.STEPS
    p.keys("1", steps)
    wait_point(p, voltage_point(layout, steps - 1), "the last step before printing")
    p.menu(2, 6)  # AUSGABE, "Tabelle drucken"
    calls = wait_until(lambda: p.js("return window.labPrinted;"), 10, "the call of print")
    sheets = p.js("return [...document.querySelectorAll('#print-page .sheet')].map("
                  "s => [...s.querySelectorAll('.printed-line')].map(l => l.textContent));")
    check(len(sheets) == 1, "%d printed pages, one expected" % len(sheets))
    lines = sheets[0]
    check(calls == [len(lines)], "print called %r with %d lines on the page" % (calls, len(lines)))
    check(len(lines) == 32, "%d printed lines, 32 expected: %r" % (len(lines), lines))
    check(lines[:3] == ["", "", ""] and lines[4] == "" and lines[31] == "",
          "empty lines around the heading and the rows: %r" % lines)
    check(lines[3] == PRINTED_HEADING, "heading %r" % lines[3])
    check_rows(lines[5:31], test_print.expected_rows(p.name))
    check(p.box_lines() is None, "a box beside the print")
    # In print media only the page shows, its lines as they stand, blanks kept.
    p.cdp("Emulation.setEmulatedMedia", media="print")
    try:
        shown = p.js("const page = document.getElementById('print-page');"
                     "const hidden = [...document.body.children].filter(e => e !== page)"
                     ".every(e => getComputedStyle(e).display === 'none');"
                     "return hidden && getComputedStyle(page).display !== 'none'"
                     " && [...page.querySelectorAll('.printed-line')]"
                     ".map(l => l.innerText.replace(/\\n$/, ''));")
    finally:
        p.cdp("Emulation.setEmulatedMedia", media="")
    check(shown == lines, "printed as %r" % (shown,))
    # The sheet has margins of its own, so the browser adds no header or footer to it.
    margins = p.js("const rules = s => [...s.cssRules].flatMap(r => [r, ...(r.cssRules ?"
                   " rules(r) : [])]); return [...document.styleSheets].flatMap(rules)"
                   ".filter(r => r instanceof CSSPageRule).map(r => r.style.margin);")
    check(margins and all(margins), "page rules with margins: %r" % margins)
    # After the print dialog the print page is empty: the browser's own Print prints no stale
    # table.
    p.js("window.dispatchEvent(new Event('afterprint'));")
    left = p.js("return document.getElementById('print-page').textContent.length;")
    check(left == 0, "%d characters left on the print page" % left)
    # Printing leaves the run as it was: the next key draws the next step.
    p.keys("1", 1)
    wait_point(p, voltage_point(layout, steps), "the step after printing")


def mouse_measure(p):
    """The readout under the pointer's panel, the other field blanked, nothing of a longer
    reading left beside a shorter one; one button goes on, both buttons together end it, and
    end only the inner one of a measuring chosen inside measuring."""
    layout = p.through_title_and_help()
    before = len(p.texts("stage"))
    p.menu(2, 11)  # AUSGABE, "Mausmessen"
    lines = p.box()
    check(lines == ["Unbedingt mit Maustaste 3 beenden !"], "measuring box %r" % lines)
    p.close_box()
    size = 20 * layout.width / 800
    fields = {"upper": (layout.sx(70), layout.voltage_zero + layout.sy(30)),
              "lower": (layout.sx(70), layout.current_zero + layout.sy(30))}
    pointer = {"upper": (layout.sx(80), layout.voltage_zero - 90),
               "lower": (layout.sx(80), layout.current_zero + 90)}

    def shows(panel):
        shot = p.screenshot()
        white = {name: p.count(shot, x, y, x + 6 * size, y + size, WHITE)
                 for name, (x, y) in fields.items()}
        other = "lower" if panel == "upper" else "upper"
        return white[panel] > 10 and white[other] == 0

    p.move(*pointer["upper"])
    wait_until(lambda: shows("upper"), 5, "the upper readout")
    p.move(*pointer["lower"])
    wait_until(lambda: shows("lower"), 5, "the lower readout, the upper one blanked")
    # Both fields blanked; then, each reading as often as it is written, the lower field
    # blanked and the upper reading, the upper field blanked and the lower reading.
    texts = p.texts("stage")[before:]
    upper = {text + " V   " for text in reading(90, layout.height)}
    lower = {text + " µA   " for text in reading(-90, layout.height)}
    written = texts[2:3] + [t for t, last in zip(texts[3:], texts[2:]) if t != last]
    check(texts[:2] == [" " * 17] * 2 and len(written) == 4 and written[0] == " " * 15
          and written[1] in upper and written[2] == " " * 15 and written[3] in lower,
          "readouts %r, expected %r and %r" % (texts, upper, lower))
    # A long negative reading, then "0 V": beyond the new text's width the field is all blue.
    x, y = fields["upper"]
    long_text = reading(layout.voltage_zero - layout.current_top + 2, layout.height)
    widths = p.js("const c = document.createElement('canvas').getContext('2d');"
                  "c.font = arguments[0] + 'px LabSans';"
                  "return arguments[1].map(t => c.measureText(t).width);",
                  size, ["0 V   ", sorted(long_text)[0] + " V"])
    beside = (x + widths[0] + 1, y, x + widths[1], y + size)
    p.move(layout.sx(80), layout.current_top - 2)
    wait_until(lambda: p.texts("stage")[-1] in {t + " V   " for t in long_text}, 5,
               "the long reading")
    check(p.count(p.screenshot(), *beside, WHITE) > 0, "the long reading reaches further")
    p.move(layout.sx(80), layout.voltage_zero)
    wait_until(lambda: p.texts("stage")[-1] == "0 V   ", 5, "the zero reading")
    left = (int(beside[2]) - int(beside[0]) + 1) * (int(beside[3]) - int(beside[1]) + 1) - \
        p.count(p.screenshot(), *beside, BLUE)
    check(left == 0, "%d pixels of the long reading left beside \"0 V\"" % left)
    p.press(*pointer["lower"], "left")
    p.release(*pointer["lower"], "left")
    p.move(*pointer["upper"])
    wait_until(lambda: shows("upper"), 5, "measuring on after the left button alone")

    def both_buttons(at):
        p.press(*at, "left")
        p.press(*at, "right")
        p.release(*at, "right")
        p.release(*at, "left")

    # Measuring chosen inside measuring: one press of both buttons ends only the inner one.
    p.menu(2, 11)
    p.box()
    p.close_box()
    both_buttons(pointer["upper"])
    p.move(*pointer["lower"])
    wait_until(lambda: shows("lower"), 5, "the outer measuring still reading")
    both_buttons(pointer["lower"])
    p.move(layout.sx(200), layout.sy(100))
    p.keys("1", 3)
    wait_point(p, voltage_point(layout, 1), "the curve after measuring")


def keys_in_a_row(p, keys, times):
    """Real key events, many of them in one go: each key pressed and released in turn."""
    actions = ActionChains(p.driver)
    for _ in range(times):
        for key in keys:
            actions.key_down(key).key_up(key)
    actions.perform()


def deep_nesting(p):
    """The dialog of R chosen with the keyboard inside its own input as deep as the programs
    take it, then more times: each one beyond is refused with a box, the page goes on without an
    error, and the dialogs then take their lines, innermost first."""
    layout = p.through_title_and_help()
    choose_r = [Keys.F10, Keys.ARROW_RIGHT, Keys.ARROW_DOWN, "w"]  # BAUTEILE, "&Widerstand R"
    keys_in_a_row(p, choose_r, DEEPEST)
    check(p.box_lines() is None and p.window(2) is not None, "%d dialogs open" % DEEPEST)
    for _ in range(3):
        keys_in_a_row(p, choose_r, 1)
        lines = p.box()
        check(lines == REFUSED, "the box of the command beyond: %r" % lines)
        p.close_box()
    keys_in_a_row(p, ["2", Keys.ENTER], DEEPEST)
    wait_until(lambda: p.window(2) is None, 10, "every dialog closed")
    p.keys("1", 3)
    wait_point(p, voltage_point(layout, 1, R=2.0), "the curve with R = 2")


def picture(p):
    """The switched-on picture stretched over the window until a key."""
    layout = p.through_title_and_help()
    name = test_pictures.PICTURES[p.name][0]
    shown = test_pictures.picture_shown(p, os.path.join(ROOT, "assets", name), layout)

    p.menu(2, 8)  # AUSGABE, "Einschalten - Schema zeigen"
    wait_until(shown, 10, "the picture %s over the window" % name)
    p.key(" ")
    wait_until(p.graph_shown, 5, "the graph back after the picture")
    check(p.pixel(p.screenshot(), layout.circuit_left + 3, layout.voltage_top + 3) == BLUE,
          "the circuit back after the picture")


def wrap(p):
    """At the right edge the continue prompt; mode "j" empties the graph, mode "n" (Grafik
    überschreiben) keeps it; the next sweep starts at the left with the current carried on."""
    for overwrite in (False, True):
        p.load()
        layout = p.through_title_and_help()
        if overwrite:
            p.menu(2, 1)  # AUSGABE, "Grafik überschreiben"
        n = test_wrap.steps_to_wrap(layout)
        samples, _ = coil_steps(n + 4, "1")
        zero = layout.current_zero  # the coil current stays away from its time axis
        probes = [(layout.plot_x(t), layout.plot_y(current, zero))
                  for t, _, current, _ in samples[n // 2:n - 2:25]]
        test_wrap.sweep_to_prompt(p, layout, n, probes)
        check(p.texts("stage")[-1] == PROMPT, "the prompt's text %r" % p.texts("stage")[-1])
        shot = p.screenshot()
        kept = sum(1 for x, y in probes if p.near(shot, x, y, WHITE))
        if overwrite:
            check(kept == len(probes), "mode n keeps the curves (%d of %d)" % (kept, len(probes)))
        else:
            check(kept == 0, "mode j empties the graph (%d of %d kept)" % (kept, len(probes)))
            check(p.pixel(shot, *probes[0]) == BLUE, "blank panel")
        p.key(" ")
        p.keys("1", 4)
        point = (layout.plot_x(0.05), layout.plot_y(samples[n + 1][2], zero))
        wait_point(p, point, "the next sweep at the left %r" % (point,))


CASES = [("table on screen", "coillab", table_screen), ("print", "coillab", print_table),
         ("mouse measuring", "coillab", mouse_measure), ("deep nesting", "coillab", deep_nesting),
         ("picture", "coillab", picture),
         ("wrap j and n", "coillab", wrap)]
