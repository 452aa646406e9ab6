#!/usr/bin/env python3
"""Printing the table on a CUPS PDF printer: the job's text holds the heading and the 26 rows
with the numbers of independent Euler arithmetic and no box shows; a queue that refuses jobs
gives the failure box, a stopped queue the box that the job waits there, and without any printer
the German box shows; after each box the program goes on."""

import subprocess
import time

from e2elib import (PRINTER, WHITE, add_pdf_printer, cap_steps, check, coil_steps, main, pdf_text,
                    picture_cells, picture_row_cells, printer_queues, remove_pdf_printer, says,
                    spool_files, wait_until, with_program)

STEPS = 10
HEADING = {"coillab": ["t(s)", "I(µA)", "I.R", "U", "dI(µA)", "I+dI"],
           "caplab": ["t(s)", "U(V)", "Uo-U", "I(µA)", "dU(V)", "U+dU"]}


def expected_rows(name):
    rows = []
    if name == "coillab":
        samples, _ = coil_steps(STEPS, "1")
        for k in range(26):
            t, U, I, dI = samples[k] if k < STEPS else (0, 0, 0, 0)
            rows.append([t, I, I * 1.0, U, dI, I + dI])
    else:
        samples, _ = cap_steps(STEPS, "1")
        for k in range(26):
            t, U, I, dU = samples[k] if k < STEPS else (0, 0, 0, 0)
            rows.append([t, U, 10.0 - U, I, dU, U + dU])
    return [[picture_cells(v) for v in row] for row in rows]


def test(name, env):
    def printed(p):
        p.through_title_and_help()
        p.focus()
        p.keys("1", STEPS)
        before = spool_files()
        p.menu(2, 6)  # AUSGABE, "Tabelle &drucken"

        def new_job():
            now = spool_files()
            fresh = [f for f in now if f not in before or now[f] > before[f]]
            return sorted(fresh, key=lambda f: now[f])[-1] if fresh else None

        job = wait_until(new_job, 30, "the print job in the CUPS spool")
        text = wait_until(lambda: pdf_text("/var/spool/cups/" + job), 10, "the job's text")
        lines = [line for line in text.splitlines() if line.strip()]
        heading = [i for i, line in enumerate(lines) if line.split()[0] == "t(s)"]
        check(heading, "no heading in the printed text: %r" % text)
        for piece in HEADING[name]:
            check(piece in lines[heading[0]].split(), "heading piece %s in %r" % (piece,
                                                                               lines[heading[0]]))
        rows = [picture_row_cells(line) for line in lines[heading[0] + 1:]]
        want = expected_rows(name)
        check(len(rows) == 26, "%d rows printed, 26 expected: %r" % (len(rows), text))
        for k, (got, expect) in enumerate(zip(rows, want)):
            check(len(got) == 6 and all(cell in options for cell, options in zip(got, expect)),
                  "row %d printed %r, expected %r" % (k, got, expect))
        time.sleep(1)
        check(len(p.windows()) == 1, "a box beside the printed job")
        check(p.alive(), "program still running")

    def box_says(first_line):
        def body(p):
            p.through_title_and_help()
            p.menu(2, 6)
            box = p.box()
            text = p.box_text(box)
            check(says(text, first_line), "box text %r" % text)
            p.close_box(box)
            going_on(p)
        return body

    def going_on(p):
        time.sleep(0.3)
        check(p.alive(), "program still running after the box")
        p.focus()
        p.keys("1", 4)
        layout = p.layout
        t, U = 0.05, (-9.5 if name == "coillab" else 0.5)
        wait_until(lambda: p.near(p.screenshot(), layout.plot_x(t),
                                  layout.plot_y(U, layout.voltage_zero), WHITE), 5,
                   "the curve after the box")

    def queue(*command):
        subprocess.run(list(command) + [PRINTER], check=True, capture_output=True, timeout=30)

    remove_pdf_printer()
    if printer_queues():
        print("no-printer case left out: this machine has printers of its own")
    else:
        with_program(name, env, box_says("Kein Drucker gefunden."))
    add_pdf_printer()
    try:
        queue("cupsreject")
        with_program(name, env, box_says("Der Druckauftrag ist fehlgeschlagen."))
        queue("cupsaccept")
        queue("cupsdisable")
        with_program(name, env, box_says("Der Drucker ist angehalten."))
        waiting = subprocess.run(["lpstat", "-o", PRINTER], capture_output=True, timeout=30)
        check(waiting.stdout.strip(), "no job waits in the stopped queue")
        queue("cancel", "-a")
        queue("cupsenable")
        with_program(name, env, printed)
    finally:
        remove_pdf_printer()


if __name__ == "__main__":
    main(test)
