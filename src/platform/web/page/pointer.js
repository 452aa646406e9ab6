// The mouse and fingers over the drawing: the position mapped back into drawing coordinates, and
// the buttons, with a press kept until it has been read once.
import { hasEnded } from './end.js';
import { isLineInput } from './line_input.js';
import { wake } from './start.js';
import { displaySize, mainSurface, stageElement } from './windows.js';

let mouse = { x: 0, y: 0, buttons: 0, pressedSinceRead: 0 };
const touches = {};

export function resetPointer() {
  mouse = { x: 0, y: 0, buttons: 0, pressedSinceRead: 0 };
}

function recordPointer(event) {
  var r = stageElement().getBoundingClientRect();
  var display = displaySize();
  if (!display || r.width <= 0 || r.height <= 0) return;
  mouse.x = Math.floor(((event.clientX - r.left) * display.width) / r.width);
  mouse.y = Math.floor(((event.clientY - r.top) * display.height) / r.height);
}

function touchButtons() {
  var count = Object.keys(touches).length;
  return count >= 2 ? 3 : count; // two fingers at once are both buttons
}

export function onPointerDown(event) {
  if (hasEnded()) return;
  recordPointer(event);
  if (event.pointerType === 'touch') {
    touches[event.pointerId] = true;
    mouse.buttons = touchButtons();
    mouse.pressedSinceRead |= mouse.buttons;
  } else {
    mouse.buttons = event.buttons & 3;
    mouse.pressedSinceRead |= event.button === 0 ? 1 : event.button === 2 ? 2 : 0;
    if (!isLineInput(event.target)) event.preventDefault();
  }
  try {
    stageElement().setPointerCapture(event.pointerId);
  } catch {
    /* gone already */
  }
  wake();
}

export function onPointerMove(event) {
  recordPointer(event);
  if (event.pointerType !== 'touch') {
    // A second button pressed while one is held arrives as a move: latch it like a first press,
    // so that a quick press of both buttons is seen even if released before it is read.
    var held = event.buttons & 3;
    mouse.pressedSinceRead |= held & ~mouse.buttons;
    mouse.buttons = held;
  }
  wake();
}

export function onPointerUp(event) {
  recordPointer(event);
  if (event.pointerType === 'touch') {
    delete touches[event.pointerId];
    mouse.buttons = touchButtons();
  } else {
    mouse.buttons = event.buttons & 3;
  }
  wake();
}

export function mouseButtons() {
  var buttons = mouse.buttons | mouse.pressedSinceRead;
  mouse.pressedSinceRead = 0;
  return buttons;
}

export function mouseX() {
  return mouse.x;
}

export function mouseY() {
  return mouse.y;
}

export function setCursor(crossHair) {
  stageElement().style.cursor = crossHair ? 'crosshair' : 'default';
}

// Where the arrow keys have put the measuring point, which no pointer shows: a cross in the main
// window's layer, which maps drawing pixels onto the page as the drawing is shown, over the
// canvas and never in it; not shown, it is taken away.
export function showPoint(shown, x, y) {
  var marker = document.getElementById('measuring-point');
  var main = mainSurface();
  if (!shown || !main) {
    if (marker) marker.remove();
    return;
  }
  if (!marker) {
    marker = document.createElement('div');
    marker.id = 'measuring-point';
    marker.setAttribute('aria-hidden', 'true');
  }
  marker.style.left = x + 'px';
  marker.style.top = y + 'px';
  if (marker.parentNode !== main.layer) main.layer.appendChild(marker);
}
