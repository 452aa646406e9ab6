// The stage and the numbered windows: window 0 is the drawing under the menu bar, windows 2 and 3
// are frames laid over it. Each window keeps a record of what was drawn on it in drawing
// coordinates and paints it at the shown size times the device's pixel ratio, so that a resize,
// a turned tablet or another pixel ratio repaints it sharp and in its own proportions.
import { newPen, paintFill } from './drawing.js';
import { hasEnded } from './end.js';
import { endLineIn } from './line_input.js';
import { resetKeys } from './keys.js';
import { resetPointer } from './pointer.js';
import { wake } from './start.js';
import { newTextStyle } from './text.js';

export const GuardLimit = 30000;

let stage = null; // the drawing area: the columns of window 0 and the frames of windows 2, 3
let area = null; // the part of the page under the menu bar that the stage fills
const surfaces = {}; // window number -> surface
let output = 0;
let display = null; // drawing-area size at start-up, in drawing pixels
let shown = { scale: 1, ratio: 1 }; // CSS pixels per drawing pixel, device pixels per CSS pixel
let mainOpen = false;
let watching = false;

// A phone held upright; the program is laid out for it turned (the same query is in the page's
// style, where it shows the line asking for that).
const UprightPhone =
  '(orientation: portrait) and (max-width: 599px), ' +
  '(orientation: portrait) and (pointer: coarse) and (max-height: 999px)';

// The page's drawing area, found once at start-up.
export function findStage() {
  area = document.getElementById('stage-area');
  stage = document.getElementById('stage');
  watchRecord();
}

export function stageElement() {
  return stage;
}

// The drawing-area size the program was laid out for; null before the main window opened.
export function displaySize() {
  return display;
}

// The output window, which drawing and text go to.
export function current() {
  return surfaces[output] || null;
}

// Window 0, whose font measures text while no output window is open.
export function mainSurface() {
  return surfaces[0] || null;
}

function deviceScale() {
  return shown.scale * shown.ratio;
}

// Device pixel of a drawing coordinate: the edges of pixels, boxes and clips.
export function devicePixel(value, k) {
  return Math.round(value * k);
}

function makeSurface(element, host, x, y, width, height) {
  // The line input sits in a layer scaled like the drawing, in drawing coordinates.
  var layer = document.createElement('div');
  layer.className = 'layer';
  layer.style.width = width + 'px';
  layer.style.height = height + 'px';
  element.appendChild(layer);
  // The pen and the text style belong to drawing.js and text.js, which alone change them.
  var surface = {
    element: element,
    host: host,
    columns: [], // the canvases the drawing lies on, left to right
    pixels: [1, 1], // device pixels across and down
    layer: layer,
    x: x,
    y: y,
    width: width,
    height: height,
    k: 0,
    ops: [],
    dead: 0,
    keyed: new Map(), // op key -> its place in ops
    anchored: new Map(), // text anchor -> places in ops
    pending: [], // ops recorded, not painted yet
    paintedEnd: 0, // the place in ops where the pending ones begin
    redrawn: new Map(), // a pending op drawn again as before -> its earlier copy's place
    background: 'rgb(255,255,255)',
    pen: newPen(),
    text: newTextStyle(),
  };
  showSurface(surface);
  return surface;
}

// Sizes a window's columns for the present scale and repaints its record when the scale changed.
function showSurface(s) {
  var k = deviceScale();
  if (s.element !== stage) {
    s.element.style.left = devicePixel(s.x, k) / shown.ratio + 'px';
    s.element.style.top = devicePixel(s.y, k) / shown.ratio + 'px';
  }
  s.layer.style.transform = 'scale(' + shown.scale + ')';
  if (s.k === k) return;
  s.k = k;
  layColumns(s, Math.max(1, devicePixel(s.width, k)), Math.max(1, devicePixel(s.height, k)));
  s.pending = []; // painted with the rest below
  s.redrawn.clear();
  compact(s);
  s.paintedEnd = s.ops.length;
  for (var i = 0; i < s.ops.length; ++i) paint(s, s.ops[i]);
}

// A window's drawing lies in columns of this many device pixels, each a canvas of its own.
// Firefox spends about 0.1 ms on the first change of a canvas after each frame, and on a canvas
// of a whole 1024 x 768 drawing area 0.45 ms more to copy its backing store. A key changes a few
// pixels in two places: its segments, one above the other across the graph panels, and the
// switch lever; so it touches two narrow columns and copies little.
const ColumnWidth = 128;

function layColumns(s, width, height) {
  var ratio = shown.ratio;
  var count = Math.ceil(width / ColumnWidth);
  while (s.columns.length > count) s.columns.pop().canvas.remove();
  while (s.columns.length < count) {
    var canvas = document.createElement('canvas');
    s.host.appendChild(canvas);
    s.columns.push({
      canvas: canvas,
      // Desynchronized: in Chromium a step's few pixels reach the screen sooner.
      context: canvas.getContext('2d', { willReadFrequently: true, desynchronized: true }),
      x: 0,
    });
  }
  s.pixels = [width, height];
  s.host.style.width = width / ratio + 'px';
  s.host.style.height = height / ratio + 'px';
  for (var i = 0; i < count; ++i) {
    var column = s.columns[i];
    column.x = i * ColumnWidth;
    // Sizing a canvas clears it and resets its context: its offset and face are set again.
    column.canvas.width = Math.min(ColumnWidth, width - column.x);
    column.canvas.height = height;
    column.canvas.style.left = column.x / ratio + 'px';
    column.canvas.style.width = column.canvas.width / ratio + 'px';
    column.canvas.style.height = height / ratio + 'px';
    column.context.setTransform(1, 0, 0, 1, -column.x, 0);
    contextFonts.delete(column.context);
  }
}

// Paints an op on the columns its box reaches, widened for antialiased edges and glyphs that
// stand a little out of their box.
function paint(s, op) {
  var k = s.k;
  var margin = 2 * k + 2;
  var first = Math.max(0, Math.floor((op.box[0] * k - margin) / ColumnWidth));
  var last = Math.min(s.columns.length - 1, Math.floor((op.box[2] * k + margin) / ColumnWidth));
  for (var i = first; i <= last; ++i) op.paint(s.columns[i].context, op, k);
}

// Copies the window's pixels from (x, y) on, in device pixels, into a context at its origin.
export function copyPixels(s, context, x, y) {
  flush(s);
  for (var i = 0; i < s.columns.length; ++i) {
    context.drawImage(s.columns[i].canvas, s.columns[i].x - x, -y);
  }
}

// The face each canvas was last set to: setting it is costly, so it is set only when it changes.
const contextFonts = new WeakMap();

export function setContextFont(context, css) {
  if (contextFonts.get(context) === css) return;
  context.font = css;
  contextFonts.set(context, css);
}

// The retained drawing, as small as the picture however long the lesson runs: an op that is
// painted over is dropped. An op that paints every pixel of its box opaquely (cover) drops the
// ops inside that box and cuts the boxes of those it covers along a whole side; an aliased opaque
// op drawn again the same way (its key) drops its earlier copy wherever it stands; an opaque text
// drops the texts before it at its place (its anchor) that are no wider; an op whose box its clip
// cut away is not kept. A dropped op leaves an
// empty place (null) until the record is compacted; an op never changes (a cut box makes a copy).
export function record(s, op) {
  if (everyOp && s === surfaces[0]) everyOp.push(op);
  // An op cut away by its clip paints nothing.
  var box = op.box;
  if (box[0] >= box[2] || box[1] >= box[3]) return;
  if (op.key !== undefined) {
    var i = s.keyed.get(op.key);
    if (i !== undefined && s.ops[i] && s.ops[i].key === op.key) {
      drop(s, i);
      if (i < s.paintedEnd) s.redrawn.set(op, i);
    }
  }
  if (op.anchor !== undefined) dropAnchored(s, op);
  if (op.cover) cover(s, op.cover);
  if (s.dead > 256 && 2 * s.dead > s.ops.length) compact(s);
  note(s, op, s.ops.length);
  s.ops.push(op);
  s.pending.push(op);
  if (!unpainted.size) queueMicrotask(paintPending);
  unpainted.add(s);
}

// Ops are painted when the program's script hands back to the page, so that ops which only draw
// again what the screen shows are not painted at all: a key draws the switch lever again in
// the same place, two lines on top of each other, and a canvas's first change after a frame is
// costly in Firefox.
const unpainted = new Set();

function paintPending() {
  unpainted.forEach(flush);
  unpainted.clear();
}

function flush(s) {
  var pending = s.pending;
  if (!pending.length) return;
  var kept = new Set();
  s.redrawn.forEach(function (at, op) {
    kept.add(op);
  });
  // An op is kept (not painted) only while each op its pixels meet is kept as well.
  for (var changed = true; changed;) {
    changed = false;
    kept.forEach(function (op) {
      if (!showsAlready(s, op, kept)) changed = kept.delete(op);
    });
  }
  s.pending = [];
  s.redrawn.clear();
  s.paintedEnd = s.ops.length;
  for (var i = 0; i < pending.length; ++i) if (!kept.has(pending[i])) paint(s, pending[i]);
}

// Whether the screen shows an op redrawn exactly as before: no op painted after its earlier copy
// reaches its box, and the ops since that reach it are earlier copies of kept ops in the same
// order. Boxes are widened by the edges antialiasing may add.
function showsAlready(s, op, kept) {
  var at = s.redrawn.get(op);
  var b = [op.box[0] - 3, op.box[1] - 3, op.box[2] + 3, op.box[3] + 3];
  for (var j = at + 1; j < s.paintedEnd; ++j) if (s.ops[j] && meets(s.ops[j].box, b)) return false;
  var after = false;
  for (var i = 0; i < s.pending.length; ++i) {
    var other = s.pending[i];
    if (other === op) after = true;
    else if (meets(other.box, b) && (!kept.has(other) || s.redrawn.get(other) < at === after)) {
      return false;
    }
  }
  return true;
}

function meets(a, b) {
  return a[0] < b[2] && a[2] > b[0] && a[1] < b[3] && a[3] > b[1];
}

function note(s, op, i) {
  if (op.key !== undefined) s.keyed.set(op.key, i);
  if (op.anchor === undefined) return;
  var places = s.anchored.get(op.anchor);
  if (places) places.push(i);
  else s.anchored.set(op.anchor, [i]);
}

function dropAnchored(s, op) {
  var places = s.anchored.get(op.anchor);
  if (!places) return;
  var kept = [];
  for (var j = 0; j < places.length; ++j) {
    var before = s.ops[places[j]];
    if (!before || before.anchor !== op.anchor) continue;
    if (before.width <= op.width) drop(s, places[j]);
    else kept.push(places[j]);
  }
  s.anchored.set(op.anchor, kept);
}

// The ops under a cover c: dropped when inside it, their boxes cut when it takes a whole side.
function cover(s, c) {
  for (var j = s.ops.length - 1; j >= 0; --j) {
    var op = s.ops[j];
    if (!op) continue;
    var b = op.box;
    if (b[0] >= c[2] || b[2] <= c[0] || b[1] >= c[3] || b[3] <= c[1]) continue;
    var across = c[0] <= b[0] && c[2] >= b[2];
    var down = c[1] <= b[1] && c[3] >= b[3];
    if (across && down) {
      drop(s, j);
      continue;
    }
    var cut = null;
    if (across && c[1] <= b[1]) cut = [b[0], c[3], b[2], b[3]];
    else if (across && c[3] >= b[3]) cut = [b[0], b[1], b[2], c[1]];
    else if (down && c[0] <= b[0]) cut = [c[2], b[1], b[2], b[3]];
    else if (down && c[2] >= b[2]) cut = [b[0], b[1], c[0], b[3]];
    if (cut) s.ops[j] = Object.assign({}, op, { box: cut });
  }
}

// Drops the op at place i of the window's record.
function drop(s, i) {
  s.ops[i] = null;
  ++s.dead;
}

function compact(s) {
  flush(s);
  if (s.dead > 0) {
    s.ops = s.ops.filter(function (op) {
      return op !== null;
    });
    s.dead = 0;
  }
  s.keyed.clear();
  s.anchored.clear();
  for (var i = 0; i < s.ops.length; ++i) note(s, s.ops[i], i);
}

// A window's record starts afresh when the window is cleared wholly.
function restart(s) {
  s.pending = [];
  s.redrawn.clear();
  s.paintedEnd = 0;
  s.ops = [];
  s.dead = 0;
  s.keyed.clear();
  s.anchored.clear();
}

// The tests and benchmarks read how many ops a window's record holds; a test may have every op
// drawn on window 0 from now on kept as well (the record of the moment to begin with), to paint
// the picture again as it would stand without the dropping.
let everyOp = null;

function watchRecord() {
  window.labRecordSize = function (number) {
    var s = surfaces[number || 0];
    return s ? s.ops.length - s.dead : 0;
  };
  window.labKeepEveryOp = function () {
    everyOp = surfaces[0] ? surfaces[0].ops.filter(Boolean) : [];
  };
  window.labEveryOp = function () {
    return everyOp;
  };
  // A window's columns as one canvas of its device pixels.
  window.labWindowCanvas = function (number) {
    var s = surfaces[number || 0];
    if (!s) return null;
    var canvas = document.createElement('canvas');
    canvas.width = s.pixels[0];
    canvas.height = s.pixels[1];
    copyPixels(s, canvas.getContext('2d'), 0, 0);
    return canvas;
  };
}

// The box of a rectangle cut to the window's clip rectangle, [left, top, right, bottom).
export function clippedBox(x0, y0, x1, y1, clip) {
  if (!clip) return [x0, y0, x1, y1];
  return [
    Math.max(x0, clip.x),
    Math.max(y0, clip.y),
    Math.min(x1, clip.x + clip.width),
    Math.min(y1, clip.y + clip.height),
  ];
}

// Shows the drawing as large as the area allows in its own proportions, centred, with its
// corner on a device pixel.
export function fitStage() {
  if (!display || hasEnded()) return;
  var ratio = window.devicePixelRatio || 1;
  var scale = Math.min(area.clientWidth / display.width, area.clientHeight / display.height);
  if (!(scale > 0)) return; // an area of no size shows nothing; keep the last picture
  shown = { scale: scale, ratio: ratio };
  var k = deviceScale();
  var width = Math.max(1, devicePixel(display.width, k)) / ratio;
  var height = Math.max(1, devicePixel(display.height, k)) / ratio;
  var r = area.getBoundingClientRect();
  var left = Math.round((r.left + (area.clientWidth - width) / 2) * ratio) / ratio - r.left;
  var top = Math.round((r.top + (area.clientHeight - height) / 2) * ratio) / ratio - r.top;
  stage.style.left = left + 'px';
  stage.style.top = top + 'px';
  stage.style.width = width + 'px';
  stage.style.height = height + 'px';
  Object.keys(surfaces).forEach(function (number) {
    showSurface(surfaces[number]);
  });
  wake();
}

// A change of the pixel ratio (another screen, zoom) fires no resize of the area.
function watchPixelRatio() {
  var query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
  query.addEventListener('change', function changed() {
    query.removeEventListener('change', changed);
    watchPixelRatio();
    fitStage();
  });
}

function watchStage() {
  if (watching) return;
  watching = true;
  new ResizeObserver(fitStage).observe(area);
  window.addEventListener('resize', fitStage);
  watchPixelRatio();
}

// The drawing-area size the program lays itself out for: an upright phone gets the turned size,
// the page's height across and its width less the bars above and below the area down.
function startUpSize() {
  var width = Math.floor(area.clientWidth);
  var height = Math.floor(area.clientHeight);
  if (window.matchMedia(UprightPhone).matches) {
    var bars = window.innerHeight - area.clientHeight;
    return { width: Math.floor(window.innerHeight), height: Math.floor(window.innerWidth - bars) };
  }
  return { width: width, height: height };
}

export function openMain() {
  var size = startUpSize();
  display = { width: Math.max(1, size.width), height: Math.max(1, size.height) };
  Object.keys(surfaces).forEach(function (number) {
    if (number !== '0') closeWindow(+number);
  });
  var screen = document.getElementById('screen');
  if (surfaces[0]) surfaces[0].layer.remove();
  surfaces[0] = makeSurface(stage, screen, 0, 0, display.width, display.height);
  fitStage();
  clearSurface(surfaces[0], true);
  watchStage();
  resetKeys();
  resetPointer();
  mainOpen = true;
  output = 0;
}

export function clamped(value, low, high) {
  return Math.min(high, Math.max(low, value));
}

export function openWindow(number, x, y, width, height) {
  closeWindow(number);
  output = number;
  if (!surfaces[0]) return;
  var frame = document.createElement('div');
  frame.id = 'window-' + number;
  frame.className = 'frame';
  x = clamped(x, -GuardLimit, GuardLimit);
  y = clamped(y, -GuardLimit, GuardLimit);
  width = clamped(width, 1, GuardLimit);
  height = clamped(height, 1, GuardLimit);
  var host = document.createElement('div');
  host.className = 'columns';
  frame.appendChild(host);
  stage.appendChild(frame);
  surfaces[number] = makeSurface(frame, host, x, y, width, height);
  clearSurface(surfaces[number], true);
}

export function closeWindow(number) {
  if (number === 0) {
    mainOpen = false;
    return;
  }
  var surface = surfaces[number];
  if (!surface) return;
  endLineIn(surface.element);
  surface.element.remove();
  delete surfaces[number];
  if (output === number) output = 0;
}

export function setBackground(number, rgb) {
  var surface = surfaces[number];
  if (!surface) return false;
  surface.background = rgb;
  clearSurface(surface, true);
  return true;
}

function clearSurface(surface, wholly) {
  var clip = wholly ? null : surface.pen.clip;
  var box = clippedBox(0, 0, surface.width, surface.height, clip);
  // Cleared wholly, nothing drawn before shows any more.
  if (!clip) restart(surface);
  record(surface, { paint: paintFill, box: box, cover: box, fore: surface.background });
}

export function mainExists() {
  return mainOpen && !hasEnded();
}

export function activate(number) {
  var s = surfaces[number];
  if (s && number) stage.appendChild(s.element);
}

export function setCaption(text) {
  if (!hasEnded()) document.title = text;
}

export function setOutput(number) {
  output = number;
}

export function clear() {
  var s = current();
  if (s) clearSurface(s, false);
}

export function displayWidth() {
  return display ? display.width : startUpSize().width;
}

export function displayHeight() {
  return display ? display.height : startUpSize().height;
}
