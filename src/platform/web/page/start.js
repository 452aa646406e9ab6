// Waking the suspended program, and the page's start-up: the WebAssembly compiled while the fonts
// load, and every DOM event that a wait may be waiting for wired to its service.
import { nameDrawing } from './access.js';
import { closeBox } from './boxes.js';
import { requestPictures } from './images.js';
import { onKeyDown, onKeyUp, setUpTouchKey, stopTouchRepeat } from './keys.js';
import { closeMenuOutside, findMenuBar } from './menu_bar.js';
import { onPointerDown, onPointerMove, onPointerUp } from './pointer.js';
import { emptyPrintPage } from './printing.js';
import { findStage, fitStage, stageElement } from './windows.js';

let pendingWake = null;
let fontsLoaded = null;
let compiled = null;

export function sleep(wakeUp) {
  pendingWake = wakeUp;
  requestPictures();
}

export function wake() {
  if (!pendingWake) return;
  var wakeUp = pendingWake;
  pendingWake = null;
  wakeUp();
}

export function base64Bytes(text) {
  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(text);
  var binary = atob(text);
  var bytes = new Uint8Array(binary.length);
  for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

// The WebAssembly stands as base64 in an element of its own, so the script engine never scans
// it; it compiles in the background while the fonts load and the program's script is read.
export function start() {
  buildPage();
  // In a promise, so that a browser without WebAssembly gets the failure page.
  compiled = Promise.resolve().then(function () {
    return WebAssembly.compile(base64Bytes(document.getElementById('lab-wasm').textContent));
  });
  compiled.catch(failToStart);
  fontsLoaded = Promise.all(
    Object.keys(LabAssets.fonts).map(function (family) {
      var face = new FontFace(family, base64Bytes(LabAssets.fonts[family].data));
      document.fonts.add(face);
      return face.load();
    })
  );
}

// A failed compile has shown the failure page already (start).
export function instantiateProgram(imports, receiveInstance) {
  compiled.then(
    function (module) {
      WebAssembly.instantiate(module, imports).then(function (instance) {
        receiveInstance(instance, module);
      }, failToStart);
    },
    function () {}
  );
}

// The fonts are ready before the program's first call measures or draws anything.
export function prepare(module) {
  module.addRunDependency('lab-page');
  fontsLoaded.then(function () {
    module.removeRunDependency('lab-page');
  }, failToStart);
}

// The 0 and 1 keys show while the device has a finger but no hovering pointer, and follow the
// device when it changes (a convertible turned into a tablet and back).
function setUpTouchKeys() {
  var touchKeys = document.getElementById('touch-keys');
  touchKeys.querySelectorAll('button').forEach(setUpTouchKey);
  var touchOnly = window.matchMedia('(hover: none) and (pointer: coarse)');
  function follow() {
    if (touchKeys.hidden === !touchOnly.matches) return;
    touchKeys.hidden = !touchOnly.matches;
    if (touchKeys.hidden) stopTouchRepeat();
    fitStage(); // the drawing area changed its size
  }
  touchKeys.hidden = !touchOnly.matches;
  if (touchOnly.addEventListener) touchOnly.addEventListener('change', follow);
  else touchOnly.addListener(follow); // Safari before 14
}

function failToStart(error) {
  document.body.textContent = 'Die Seite kann nicht geladen werden: ' + error;
}

function buildPage() {
  document.title = LabAssets.program;
  nameDrawing();
  findMenuBar();
  findStage();
  var stage = stageElement();
  setUpTouchKeys();
  window.addEventListener('keydown', onKeyDown, true);
  window.addEventListener('keyup', onKeyUp, true);
  window.addEventListener('resize', fitStage);
  stage.addEventListener('pointerdown', onPointerDown);
  stage.addEventListener('pointermove', onPointerMove);
  stage.addEventListener('pointerup', onPointerUp);
  stage.addEventListener('pointercancel', onPointerUp);
  stage.addEventListener('contextmenu', function (event) {
    event.preventDefault();
  });
  document.addEventListener('pointerdown', closeMenuOutside);
  // Inside a learning platform's frame a click must bring the keys here: the drawing and the
  // menu bar cancel the pointer's default, which would have focused the frame.
  window.addEventListener(
    'pointerdown',
    function () {
      window.focus();
    },
    true
  );
  document.getElementById('box-ok').addEventListener('click', closeBox);
  window.addEventListener('afterprint', emptyPrintPage);
}
