// The mouse and fingers over the drawing: the position mapped back into drawing coordinates, and
// the buttons, with a press kept until it has been read once.
var mouse = { x: 0, y: 0, buttons: 0, pressedSinceRead: 0 };
var touches = {};

function recordPointer(event) {
  var r = stage.getBoundingClientRect();
  if (!display || r.width <= 0 || r.height <= 0) return;
  mouse.x = Math.floor((event.clientX - r.left) * display.width / r.width);
  mouse.y = Math.floor((event.clientY - r.top) * display.height / r.height);
}

function touchButtons() {
  var count = Object.keys(touches).length;
  return count >= 2 ? 3 : count;  // two fingers at once are both buttons
}

function onPointerDown(event) {
  if (ended) return;
  recordPointer(event);
  if (event.pointerType === 'touch') {
    touches[event.pointerId] = true;
    mouse.buttons = touchButtons();
    mouse.pressedSinceRead |= mouse.buttons;
  } else {
    mouse.buttons = event.buttons & 3;
    mouse.pressedSinceRead |= event.button === 0 ? 1 : event.button === 2 ? 2 : 0;
    if (event.target !== (line && line.input)) event.preventDefault();
  }
  try { stage.setPointerCapture(event.pointerId); } catch (e) { /* gone already */ }
  wake();
}

function onPointerMove(event) {
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

function onPointerUp(event) {
  recordPointer(event);
  if (event.pointerType === 'touch') {
    delete touches[event.pointerId];
    mouse.buttons = touchButtons();
  } else {
    mouse.buttons = event.buttons & 3;
  }
  wake();
}

function mouseButtons() {
  var buttons = mouse.buttons | mouse.pressedSinceRead;
  mouse.pressedSinceRead = 0;
  return buttons;
}

Object.assign(exported, {
  mouseX: function () { return mouse.x; }, mouseY: function () { return mouse.y; }, mouseButtons:
  mouseButtons, setCursor: function (crossHair) { stage.style.cursor = crossHair ? 'crosshair' :
  'default'; }
});
