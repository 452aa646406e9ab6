"""The pages on other screens: a desktop window grown and moved to a screen of twice the pixel
ratio, an iPad turned from landscape to portrait, a phone started upright and then turned. The
drawing keeps its proportions, fills the area as far as they allow, stays sharp at the device's
pixels, and a pointer or a finger still reads the value under it; on a touch screen every
target is large enough for a finger."""

from weblib import BLUE, check, wait_until

import test_wrap
from e2elib import WHITE
from test_tools import PROMPT, reading

TURN_TEXT = "Bitte das Gerät quer halten."
FINGER = 44  # CSS pixels a target needs each way


def blue_run(pixels):
    """Blue pixels from the first one on."""
    n = 0
    while n < len(pixels) and pixels[n] == BLUE:
        n += 1
    return n


def panel_sides(p):
    """Inner width and height of the circuit panel in device pixels, counted through a point
    near its top left corner where nothing else is drawn."""
    layout, shown = p.layout, p.shown()
    k, (width, height) = shown["k"], shown["backing"]
    x = int((layout.circuit_left + 3.5) * k)
    y = int((layout.voltage_top + 3.5) * k)
    row = p.device_pixels(0, y, width, 1)
    row = [row.pixel(i, 0) for i in range(width)]
    column = p.device_pixels(x, 0, 1, height)
    column = [column.pixel(0, i) for i in range(height)]
    return (blue_run(row[x::-1]) + blue_run(row[x:]) - 1,
            blue_run(column[y::-1]) + blue_run(column[y:]) - 1)


def axis_rows(p):
    """Rows of device pixels that the upper time axis takes up in one column."""
    layout, k = p.layout, p.shown()["k"]
    x = int((layout.sx(100) + 0.5) * k)
    top, bottom = int((layout.voltage_zero - 3) * k), int((layout.voltage_zero + 4) * k)
    column = p.device_pixels(x, top, 1, bottom - top)
    return sum(1 for y in range(bottom - top) if column.pixel(0, y) == WHITE)


def check_shown(p, sides, what):
    """Proportions as at start-up within 1 %, the area filled as far as they allow and centred,
    the canvas at the shown size times the pixel ratio, a one-pixel line one device pixel."""
    shown = p.shown()
    left, top, width, height = shown["rect"]
    area_left, area_top, area_width, area_height = shown["area"]
    check(shown["backing"] == [round(width * shown["ratio"]), round(height * shown["ratio"])],
          "%s: canvas %r for %r CSS px at ratio %g" % (what, shown["backing"], (width, height),
                                                     shown["ratio"]))
    step = 1.01 / shown["ratio"]
    check(abs(width - area_width) <= step or abs(height - area_height) <= step,
          "%s: drawing %r in the area %r" % (what, shown["rect"], shown["area"]))
    check(abs((left - area_left) - (area_left + area_width - left - width)) <= 2 * step
          and abs((top - area_top) - (area_top + area_height - top - height)) <= 2 * step,
          "%s: drawing %r not centred in %r" % (what, shown["rect"], shown["area"]))
    now = panel_sides(p)
    ratio = (now[0] / now[1]) / (sides[0] / sides[1])
    check(abs(ratio - 1) < 0.01, "%s: circuit panel %r, at start-up %r" % (what, now, sides))
    check(abs(now[0] / sides[0] - shown["k"] / sides[2]) * sides[0] <= 2,
          "%s: circuit panel %r at scale %g, %r at %g" % (what, now, shown["k"], sides,
                                                          sides[2]))
    rows = axis_rows(p)
    check(rows == 1, "%s: the time axis is %d device pixels wide" % (what, rows))


def start_sides(p):
    width, height = panel_sides(p)
    return width, height, p.shown()["k"]


def check_reading(p, touch):
    """Mouse measuring: the reading for a point 30 grid units above the upper zero line,
    pointed at with the mouse or tapped with a finger."""
    layout = p.layout
    before = len(p.texts("stage"))
    p.menu(2, 11)  # AUSGABE, "Mausmessen"
    p.box()
    p.close_box()
    d = layout.sy(30)
    x, y = layout.sx(80), layout.voltage_zero - d
    if touch:
        p.tap(x, y)
    else:
        p.move_to(x, y)
    want = {text + " V" for text in reading(d, layout.height)}
    wait_until(lambda: any(t.strip() in want for t in p.texts("stage")[before:]), 5,
               "the reading %r" % want)


def reload_as(p, width, height, ratio, mobile, touch):
    p.driver.get("about:blank")
    p.emulate(width, height, ratio, mobile, touch)
    p.load()


def window_resized(p):
    """1024 x 768 grown to 1600 x 900, then the same window on a screen of pixel ratio 2."""
    try:
        p.through_title_and_help()
        p.keys("1", 10)
        sides = start_sides(p)
        p.emulate(1600, 900)
        wait_until(lambda: p.shown()["rect"][3] > 800, 5, "the drawing to grow")
        check_shown(p, sides, "1600 x 900")
        p.emulate(1600, 900, 2)
        wait_until(lambda: p.shown()["ratio"] == 2 and p.shown()["backing"][1] > 1600, 5,
                   "the drawing at pixel ratio 2")
        check_shown(p, sides, "1600 x 900 at ratio 2")
        check_reading(p, touch=False)
    finally:
        p.emulate_desktop()


def small_targets(p, selector):
    """The elements of a selector shown smaller than a finger, with their sizes."""
    return p.js("return [...document.querySelectorAll(arguments[0])]"
                ".map(e => [e.textContent, e.getBoundingClientRect()])"
                ".filter(([t, r]) => r.width > 0 && (r.width < arguments[1]"
                " || r.height < arguments[1])).map(([t, r]) => [t, r.width, r.height]);",
                selector, FINGER)


def check_targets(p):
    """The box's button, the menu titles, a menu's entries and the 0 and 1 keys."""
    p.find_drawing_area()
    p.key(" ")
    p.box()
    small = small_targets(p, "#box-ok")
    p.close_box()
    wait_until(p.graph_shown, 10, "the working screen")
    p.key("F10")
    p.key("ArrowRight")
    p.key("ArrowDown")
    wait_until(lambda: p.js("return !document.querySelectorAll('#menubar .menu')[1].hidden;"),
               5, "the menu BAUTEILE to open")
    small += small_targets(p, "#menubar .menu-title, #menubar .menu-entry, #touch-keys button")
    p.key("F10")
    check(not small, "targets smaller than %d x %d CSS px: %r" % (FINGER, FINGER, small))


def ipad_turned(p):
    """An iPad held landscape, turned to portrait."""
    try:
        reload_as(p, 1024, 768, 2, True, True)
        check_targets(p)
        p.keys("1", 10)
        sides = start_sides(p)
        p.emulate(768, 1024, 2, True, True)
        wait_until(lambda: p.shown()["rect"][2] < 770, 5, "the drawing to turn")
        check_shown(p, sides, "portrait")
        check_reading(p, touch=True)
    finally:
        p.emulate_desktop()


def phone_turned(p):
    """A phone started upright asks to be turned and lays itself out for landscape; turned, the
    drawing takes the whole area."""
    turn_shown = ("const t = document.getElementById('turn-device');"
                  "return t && getComputedStyle(t).display !== 'none' ? t.textContent : null;")
    try:
        reload_as(p, 360, 800, 3, True, True)
        layout = p.find_drawing_area()
        check(p.js(turn_shown) == TURN_TEXT, "the line asking to turn: %r" % p.js(turn_shown))
        check(layout.width == 800 and layout.height < 360,
              "laid out for %d x %d, upright" % (layout.width, layout.height))
        p.through_title_and_help()
        # Upright, every menu stays on the screen, the ones under the right-hand titles too.
        p.key("F10")
        for group in range(len(p.MENU_SIZES)):
            p.key("ArrowDown")
            p.rendered()
            edges = p.js("const m = [...document.querySelectorAll('#menubar .menu')]"
                         ".find(m => !m.hidden); const r = m.getBoundingClientRect();"
                         "return [r.left, r.right, document.documentElement.clientWidth];")
            check(edges[0] >= 0 and edges[1] <= edges[2],
                  "menu %d at %r off the upright phone" % (group, edges))
            p.key("Escape")
            p.key("ArrowRight")
        p.key("F10")
        sides = start_sides(p)
        p.emulate(800, 360, 3, True, True)
        wait_until(lambda: p.js(turn_shown) is None, 5, "the line to go when turned")
        wait_until(lambda: p.shown()["k"] == 3, 5, "the drawing at its own size")
        shown = p.shown()
        check(abs(shown["rect"][2] - shown["area"][2]) < 0.5
              and abs(shown["rect"][3] - shown["area"][3]) < 0.5,
              "turned, the drawing %r in the area %r" % (shown["rect"], shown["area"]))
        check_shown(p, sides, "turned")
        check_reading(p, touch=True)
    finally:
        p.emulate_desktop()


# Every op kept since the test asked, painted into a canvas of the screen's size at the scale
# shown; the number of pixels (RGBA) in which the screen differs from it.
REPLAYED_DIFFERENCE = """
const screen = window.labWindowCanvas(0);
const layer = document.querySelector('#stage > .layer');
const k = parseFloat(layer.style.transform.slice(6)) * (window.devicePixelRatio || 1);
const canvas = document.createElement('canvas');
canvas.width = screen.width;
canvas.height = screen.height;
const context = canvas.getContext('2d');
for (const op of window.labEveryOp()) op.paint(context, op, k);
const want = context.getImageData(0, 0, canvas.width, canvas.height).data;
const got = screen.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
let differ = 0;
for (let i = 0; i < want.length; i += 4) {
  if (want[i] !== got[i] || want[i + 1] !== got[i + 1] || want[i + 2] !== got[i + 2]
      || want[i + 3] !== got[i + 3]) ++differ;
}
return [differ, window.labEveryOp().length];
"""
LESSON_SWEEPS = 40
# Each key in a task of its own, as a keyboard's: the page paints a key's ops once its handling
# is done.
KEYS_TO_PAGE = """const keys = arguments[0];
return (async () => {
  for (const key of keys) {
    window.dispatchEvent(new KeyboardEvent('keydown', {key: key}));
    await null;
  }
})();"""


def sweeps(p, layout, count, keys):
    """count sweeps of the keys that keys(sweep, n) gives, sent inside the page, each to the
    continue prompt at the right edge; the steps of a sweep n."""
    n = test_wrap.steps_to_wrap(layout)
    prompts = "return window.labTexts.filter(t => t[1] === arguments[0]).length;"
    shown = p.js(prompts, PROMPT)
    for sweep in range(count):
        p.js(KEYS_TO_PAGE, keys(sweep, n))
        wait_until(lambda: p.js(prompts, PROMPT) > shown + sweep, 10,
                   "the prompt of sweep %d" % (sweep + 1))
    return n


def check_record(p, bound, what):
    """The record at most bound ops, the screen as every op drawn since, replayed."""
    size = p.js("return window.labRecordSize(0);")
    check(size <= bound, "%s: %d ops in the record, at most %d expected" % (what, size, bound))
    differ, drawn = p.js(REPLAYED_DIFFERENCE)
    check(drawn > 10 * bound, "%s: only %d ops kept for the replay" % (what, drawn))
    check(differ == 0, "%s: %d pixels differ from every op replayed" % (what, differ))


def lesson(p):
    """Many sweeps, keys sent inside the page. Emptied at the right edge, each sweep switched
    off at another step: the record holds one sweep's two curves and the screen around them
    (under a hundred ops, the prompt a few). In "Grafik überschreiben", switched on and off in
    turn: the two curves of each panel. Either way the screen's pixels are those of every op
    drawn, replayed."""
    layout = p.through_title_and_help()
    p.js("window.labKeepEveryOp();")
    # Past the first sweep a key ends the continue prompt first; n is over 200.
    n = sweeps(p, layout, LESSON_SWEEPS // 2,
               lambda s, n: "1" * (n // 2 + 5 * s + (1 if s else 0)) + "0" * (n - n // 2 - 5 * s))
    check_record(p, 2 * n + 200, "%d sweeps, each emptied" % (LESSON_SWEEPS // 2))
    p.menu(2, 1)  # AUSGABE, "Grafik überschreiben"
    sweeps(p, layout, LESSON_SWEEPS, lambda s, n: "1" + "10"[s % 2] * n)
    check_record(p, 4 * n + 200, "%d sweeps in \"Grafik überschreiben\"" % LESSON_SWEEPS)


CASES = [("window resized", "coillab", window_resized), ("iPad turned", "coillab", ipad_turned),
         ("phone turned", "caplab", phone_turned), ("a lesson's record", "coillab", lesson)]
