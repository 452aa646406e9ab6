// The stage and the numbered windows: window 0 is the canvas under the menu bar, windows 2 and 3
// are frames laid over it; each is a retained canvas at the device's pixels.
var GuardLimit = 30000;

var stage = null;        // the drawing area: canvas of window 0 and the frames of windows 2, 3
var area = null;         // the part of the page under the menu bar that the stage fills
var surfaces = {};       // window number -> surface
var output = 0;
var display = null;      // drawing-area size at start-up, in drawing pixels
var ratio = 1;           // device pixels per drawing pixel, fixed at start-up
var mainOpen = false;
var ended = false;

function makeSurface(element, canvas, width, height) {
  canvas.width = Math.max(1, Math.round(width * ratio));
  canvas.height = Math.max(1, Math.round(height * ratio));
  canvas.style.width = width + 'px';
  canvas.style.height = height + 'px';
  var context = canvas.getContext('2d', { willReadFrequently: true });
  context.setTransform(ratio, 0, 0, ratio, 0, 0);
  return {
    element: element, canvas: canvas, context: context, width: width, height: height,
    fore: 'rgb(0,0,0)', back: 'rgb(255,255,255)', background: 'rgb(255,255,255)',
    lineWidth: 1, fontName: '', fontSize: 12, transparent: false, clip: null, tx: 0, ty: 0
  };
}

function fitStage() {
  if (!display || ended) return;
  // After a resize the picture is shown scaled; the drawing keeps its start-up size.
  var sx = area.clientWidth / display.width;
  var sy = area.clientHeight / display.height;
  stage.style.transform = 'scale(' + sx + ',' + sy + ')';
  wake();
}

function openMain() {
  ratio = Math.max(1, window.devicePixelRatio || 1);
  display = {
    width: Math.max(1, Math.floor(area.clientWidth)),
    height: Math.max(1, Math.floor(area.clientHeight))
  };
  stage.style.width = display.width + 'px';
  stage.style.height = display.height + 'px';
  Object.keys(surfaces).forEach(function (number) { if (number !== '0') closeWindow(+number); });
  surfaces[0] = makeSurface(stage, document.getElementById('screen'), display.width,
                            display.height);
  clearSurface(surfaces[0], true);
  fitStage();
  keys = [];
  mouse = { x: 0, y: 0, buttons: 0, pressedSinceRead: 0 };
  mainOpen = true;
  output = 0;
}

function clamped(value, low, high) {
  return Math.min(high, Math.max(low, value));
}

function openWindow(number, x, y, width, height) {
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
  frame.style.left = x + 'px';
  frame.style.top = y + 'px';
  var canvas = document.createElement('canvas');
  frame.appendChild(canvas);
  stage.appendChild(frame);
  surfaces[number] = makeSurface(frame, canvas, width, height);
  clearSurface(surfaces[number], true);
}

function closeWindow(number) {
  if (number === 0) {
    mainOpen = false;
    return;
  }
  var surface = surfaces[number];
  if (!surface) return;
  if (line && surface.element.contains(line.input)) endLine();
  surface.element.remove();
  delete surfaces[number];
  if (output === number) output = 0;
}

function setBackground(number, rgb) {
  var surface = surfaces[number];
  if (!surface) return false;
  surface.background = rgb;
  clearSurface(surface, true);
  return true;
}

function clearSurface(surface, wholly) {
  withClip(surface, wholly ? null : surface.clip, function (context) {
    context.fillStyle = surface.background;
    context.fillRect(0, 0, surface.width, surface.height);
  });
}

Object.assign(exported, {
  openMain: openMain, openWindow: openWindow, closeWindow: closeWindow, mainExists: function () {
  return mainOpen && !ended; }, activate: function (number) { var s = surfaces[number]; if (s &&
  number) stage.appendChild(s.element); }, setCaption: function (text) { if (!ended)
  document.title = text; }, setBackground: setBackground, setOutput: function (number) { output =
  number; }, clear: function () { var s = current(); if (s) clearSurface(s, false); },
  displayWidth: function () { return display ? display.width : Math.floor(area.clientWidth); },
  displayHeight: function () { return display ? display.height : Math.floor(area.clientHeight); }
});
