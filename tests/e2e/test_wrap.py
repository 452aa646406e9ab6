#!/usr/bin/env python3
"""The wrap at the right edge: the continue prompt, the graph emptied in drawing mode "j" and
kept in mode "n", and the next sweep from the left with the state carried on."""

from e2elib import BLUE, WHITE, cap_steps, check, coil_steps, main, wait_until, with_program


def steps_to_wrap(layout, dt=0.05):
    t, k = -dt, 0
    while True:
        t = t + dt
        if layout.wraps(layout.plot_x(t)):
            return k + 1
        k += 1


def sweep_to_prompt(p, layout, n, probes):
    """Keys up to the last step before the edge, the curve at the probes, then the step that
    reaches the edge and the continue prompt it brings."""
    p.keys("1", n - 1)
    wait_until(lambda: all(p.near(p.screenshot(), x, y, WHITE) for x, y in probes), 20,
               "the sweep up to the edge")
    prompt_y = layout.prompt_y(22)
    region = [(x, y) for y in range(prompt_y, prompt_y + 12)
              for x in range(19, 19 + layout.sx(50))]
    before = p.screenshot()
    p.keys("1", 1)

    def prompt_shown():
        # The prompt's letters change the band, and it is not the blank panel.
        shot = p.screenshot()
        changed = sum(1 for x, y in region if p.pixel(shot, x, y) != p.pixel(before, x, y))
        marked = sum(1 for x, y in region if p.pixel(shot, x, y) != BLUE)
        return changed > 20 and marked > 20

    wait_until(prompt_shown, 10, "the continue prompt")


def test(name, env):
    def sweep(p, overwrite):
        layout = p.through_title_and_help()
        if overwrite:
            p.menu(2, 1)  # AUSGABE, "&Grafik überschreiben"
        n = steps_to_wrap(layout)
        # The state quantity stays away from the time axis: coil current, capacitor voltage.
        if name == "coillab":
            samples, _ = coil_steps(n + 4, "1")
            zero, value = layout.current_zero, (lambda s: s[2])
        else:
            samples, _ = cap_steps(n + 4, "1")
            zero, value = layout.voltage_zero, (lambda s: s[1])
        probes = [(layout.plot_x(s[0]), layout.plot_y(value(s), zero))
                  for s in samples[n // 2:n - 2:25]]
        p.focus()
        sweep_to_prompt(p, layout, n, probes)
        shot = p.screenshot()
        kept = sum(1 for x, y in probes if p.near(shot, x, y, WHITE))
        if overwrite:
            check(kept == len(probes), "mode n keeps the curves (%d of %d)" % (kept, len(probes)))
        else:
            check(kept == 0, "mode j empties the graph (%d of %d kept)" % (kept, len(probes)))
            check(p.pixel(shot, probes[0][0], probes[0][1]) == BLUE, "blank panel")
        p.key("space")
        p.keys("1", 4)
        # The next sweep starts at time 0 at the left, from the state after n steps.
        x1, y1 = layout.plot_x(0.05), layout.plot_y(value(samples[n + 1]), zero)
        wait_until(lambda: p.near(p.screenshot(), x1, y1, WHITE), 5,
                   "the next sweep at the left (%d, %d)" % (x1, y1))

    with_program(name, env, lambda p: sweep(p, False))
    with_program(name, env, lambda p: sweep(p, True))


if __name__ == "__main__":
    main(test)
