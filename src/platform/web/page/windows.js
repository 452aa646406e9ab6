// The stage and the numbered windows: window 0 is the drawing under the menu bar, windows 2 and 3
// are frames laid over it. Each window keeps a record of what was drawn on it in drawing
// coordinates and paints it at the shown size times the device's pixel ratio, so that a resize,
// a turned tablet or another pixel ratio repaints it sharp and in its own proportions.
import { copyColumns, layColumns } from './columns.js';
import { newPen, paintFill } from './drawing.js';
import { hasEnded } from './end.js';
import { endLineIn } from './line_input.js';
import { resetKeys } from './keys.js';
import { resetPointer } from './pointer.js';
import { everyOpKept, flush, keepEveryOp, record, repaint, restart } from './record.js';
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
  var width = Math.max(1, devicePixel(s.width, k));
  layColumns(s, width, Math.max(1, devicePixel(s.height, k)), shown.ratio);
  repaint(s);
}

// Copies a window's pixels from (x, y) on, in device pixels, into a context at its origin.
export function copyPixels(s, context, x, y) {
  flush(s);
  copyColumns(s, context, x, y);
}

// The tests and benchmarks read how many ops a window's record holds, and may keep every op
// drawn on window 0 (see keepEveryOp).
function watchRecord() {
  window.labRecordSize = function (number) {
    var s = surfaces[number || 0];
    return s ? s.ops.length - s.dead : 0;
  };
  window.labKeepEveryOp = function () {
    keepEveryOp(surfaces[0] || null);
  };
  window.labEveryOp = everyOpKept;
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
