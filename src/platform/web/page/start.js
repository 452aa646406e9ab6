// Waking the suspended program, and the page's start-up: the WebAssembly compiled and the fonts
// made, and every DOM event that a wait may be waiting for wired to its service.
import { nameDrawing } from './access.js';
import { closeBox } from './boxes.js';
import { requestPictures } from './images.js';
import { onKeyDown, onKeyUp, setUpTouchKey, stopTouchRepeat } from './keys.js';
import { closeMenuOutside, findMenuBar } from './menu_bar.js';
import { onPointerDown, onPointerMove, onPointerUp } from './pointer.js';
import { emptyPrintPage } from './printing.js';
import { findStage, fitStage, stageElement } from './windows.js';

let pendingWake = null;
let fontsLoaded = null; // a promise while the faces load, null once they are ready
let waited = false;

// The steps of the start-up, marked on the page's performance timeline for the benchmarks to
// read back in every engine.
function mark(step) {
  if (window.performance && performance.mark) performance.mark('lab-' + step);
}

export function sleep(wakeUp) {
  if (!waited) mark('first-wait');
  waited = true;
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

// The page for a stick starts in one go, while its scripts run: the WebAssembly it carries as
// base64 in an element of its own (which the script engine never scans) is compiled and
// instantiated at once, and the faces it carries are ready as soon as they are made, so that main
// draws the title screen before the page's first frame instead of after a wait for each. The
// site's page fetches its WebAssembly and faces as files, the WebAssembly compiled as it streams
// in where the server names its type; there, and in an engine that compiles only small modules at
// once, main runs when both have arrived.
let program = null; // the compiled module, or a promise of it

function compileProgram() {
  var inside = document.getElementById('lab-wasm');
  if (inside) {
    var bytes = base64Bytes(inside.textContent);
    mark('decoded');
    try {
      return new WebAssembly.Module(bytes);
    } catch (error) {
      if (!(error instanceof RangeError)) throw error;
      return WebAssembly.compile(bytes);
    }
  }
  return fetch(LabAssets.wasm).then(function (response) {
    if (!response.ok) throw new Error(LabAssets.wasm + ': ' + response.status);
    var type = (response.headers.get('Content-Type') || '').split(';')[0].trim();
    if (WebAssembly.compileStreaming && type === 'application/wasm') {
      return WebAssembly.compileStreaming(response);
    }
    return response.arrayBuffer().then(function (bytes) {
      return WebAssembly.compile(bytes);
    });
  });
}

// The site's page loads its faces as files of their own; the page for a stick carries them.
function fontSource(font) {
  return font.url ? 'url("' + font.url + '")' : base64Bytes(font.data);
}

function loadFonts() {
  var faces = Object.keys(LabAssets.fonts).map(function (family) {
    var face = new FontFace(family, fontSource(LabAssets.fonts[family]));
    document.fonts.add(face);
    return face;
  });
  var ready = faces.every(function (face) {
    return face.status === 'loaded';
  });
  if (ready) {
    mark('fonts');
    return null;
  }
  return Promise.all(
    faces.map(function (face) {
      return face.load();
    })
  ).then(function (loaded) {
    mark('fonts');
    return loaded;
  });
}

export function start() {
  mark('script');
  // The script runs: from here on a failure says its own cause (failToStart).
  document.getElementById('not-started').hidden = true;
  buildPage();
  try {
    fontsLoaded = loadFonts();
    program = compileProgram();
  } catch (error) {
    // No WebAssembly, or a page whose parts are damaged: the failure line.
    failToStart(error);
    return;
  }
  if (program instanceof WebAssembly.Module) mark('compiled');
  else program.then(programCompiled, failToStart);
}

function programCompiled(module) {
  mark('compiled');
  program = module;
}

// A failed compile has shown the failure page already (start). A module at hand is instantiated
// at once, so that main can run as soon as the program's script has set up its runtime.
export function instantiateProgram(imports, receiveInstance) {
  if (program instanceof WebAssembly.Module) {
    var instance = null;
    try {
      instance = new WebAssembly.Instance(program, imports);
    } catch (error) {
      if (!(error instanceof RangeError)) {
        failToStart(error);
        return;
      }
    }
    if (instance) {
      mark('instantiated');
      receiveInstance(instance, program);
      return;
    }
  }
  if (!program) return;
  Promise.resolve(program).then(
    function (module) {
      WebAssembly.instantiate(module, imports).then(function (instance) {
        mark('instantiated');
        receiveInstance(instance, module);
      }, failToStart);
    },
    function () {}
  );
}

// The fonts are ready before the program's first call measures or draws anything.
export function prepare(module) {
  mark('runtime');
  if (!fontsLoaded) {
    document.getElementById('turn-device').hidden = false;
    return;
  }
  module.addRunDependency('lab-page');
  fontsLoaded.then(function () {
    document.getElementById('turn-device').hidden = false;
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
  var line = document.getElementById('not-started');
  line.textContent =
    'Das Programm startet nicht: ' +
    (typeof WebAssembly === 'object'
      ? 'Eine Datei des Programms ließ sich nicht laden (' + error + ').'
      : 'Dieser Browser kann kein WebAssembly ausführen; bitte einen aktuellen Browser nehmen.');
  line.className = 'now';
  line.hidden = false;
  document.getElementById('turn-device').hidden = true;
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
