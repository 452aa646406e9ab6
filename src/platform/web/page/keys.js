// The keyboard and the on-screen 0 and 1 keys: key characters queued as the desktop's window
// records them, and the keys a box, the menu bar or a line input takes first.
import { boxCount, closeBox } from './boxes.js';
import { hasEnded } from './end.js';
import {
  giveKeysToKeyWait,
  lineKey,
  lineTakesKeys,
  noteKeyQueued,
  typeIntoLine,
} from './line_input.js';
import { menuActive, menuKey, toggleMenuFromKeyboard } from './menu_bar.js';
import { wake } from './start.js';

let keys = [];
let altAlone = false; // Alt went down with no other key since: its release works the menu bar

export function resetKeys() {
  keys = [];
  pointKeys = [];
}

// Drops the newest count keys of the queue.
export function dropNewestKeys(count) {
  keys.splice(Math.max(0, keys.length - count));
}

const KeyTexts = { Enter: '\r', Escape: '\x1b', Backspace: '\b', Tab: '\t', Delete: '\x7f' };
const ModifierKeys = [
  'Shift',
  'Control',
  'Alt',
  'AltGraph',
  'Meta',
  'OS',
  'CapsLock',
  'NumLock',
  'ScrollLock',
  'Hyper',
  'Super',
  'Fn',
  'Dead',
  'Unidentified',
];

// One entry per key press as the desktop's window records it; other keys give "{key}".
export function keyEntry(event) {
  if (ModifierKeys.indexOf(event.key) >= 0) return null;
  if (KeyTexts[event.key] !== undefined) return KeyTexts[event.key];
  if ([...event.key].length === 1) return event.key;
  return '{key}';
}

function pushKey(text) {
  keys.push(text);
  noteKeyQueued();
  wake();
}

export function onKeyDown(event) {
  if (hasEnded()) return;
  var key = event.key;
  if (key !== 'Alt') altAlone = false;
  if (boxCount() > 0) {
    // A box takes Return, Escape and the space for its button, and nothing reaches the program;
    // Tab and Shift+Tab stay on its one button, as in a desktop program.
    if (key === 'Enter' || key === 'Escape' || key === ' ') closeBox();
    else if (key === 'Tab') document.getElementById('box-ok').focus();
    event.preventDefault();
    return;
  }
  if (key === 'F10') {
    event.preventDefault();
    toggleMenuFromKeyboard();
    return;
  }
  if (key === 'Alt') {
    altAlone = !event.repeat;
    event.preventDefault();
    return;
  }
  if (menuActive()) {
    event.preventDefault();
    menuKey(event);
    return;
  }
  if (lineTakesKeys()) {
    lineKey(event);
    return;
  }
  if (event.ctrlKey || event.metaKey) return;
  event.preventDefault();
  var entry = keyEntry(event);
  if (entry === null) return;
  notePointKey(event, entry);
  pushKey(entry);
}

// The arrow keys (with Shift ten pixels) and Escape, for measuring: kept apart with their entry in
// the key queue, which is taken back when measuring reads them. Outside measuring nobody reads
// them: only the newest few are kept.
let pointKeys = [];
const PointMoves = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };

function notePointKey(event, entry) {
  var move = PointMoves[event.key];
  if (!move && event.key !== 'Escape') return;
  var step = event.shiftKey ? 10 : 1;
  // one number for the C++ side: 1 Escape, else 2 + (dx + 16) * 32 + (dy + 16)
  var code = move ? 2 + (move[0] * step + 16) * 32 + (move[1] * step + 16) : 1;
  if (pointKeys.length >= 64) pointKeys.shift();
  pointKeys.push({ code: code, entry: entry });
}

export function readPointKey() {
  if (pointKeys.length === 0) return 0;
  var key = pointKeys.shift();
  var twin = keys.indexOf(key.entry);
  if (twin >= 0) keys.splice(twin, 1);
  return key.code;
}

export function onKeyUp(event) {
  if (hasEnded() || event.key !== 'Alt') return;
  event.preventDefault();
  var alone = altAlone;
  altAlone = false;
  if (alone && boxCount() === 0) toggleMenuFromKeyboard();
}

export function readKey() {
  giveKeysToKeyWait();
  return keys.length > 0 ? keys.shift() : '';
}

// One character of an on-screen key goes where a keyboard's would: an open box or menu takes it
// (and has no use for a digit), a waiting line input types it, otherwise it is queued.
function touchKeyCharacter(text) {
  if (hasEnded() || boxCount() > 0 || menuActive()) return;
  if (lineTakesKeys()) typeIntoLine(text);
  else pushKey(text);
}

// Like a keyboard, one key repeats at a time: pressing another ends the first one's repeat.
let touchRepeat = null;

export function stopTouchRepeat() {
  if (!touchRepeat) return;
  clearTimeout(touchRepeat.delay);
  clearInterval(touchRepeat.every);
  touchRepeat = null;
}

export function setUpTouchKey(button) {
  button.addEventListener('pointerdown', function (event) {
    event.preventDefault(); // the press takes no focus from a line input
    stopTouchRepeat();
    var text = button.dataset.key;
    touchKeyCharacter(text);
    // Held like a key of a keyboard: characters come at its repeat rate after a delay.
    var repeat = { button: button, every: null };
    repeat.delay = setTimeout(function () {
      repeat.every = setInterval(function () {
        touchKeyCharacter(text);
      }, 40);
    }, 500);
    touchRepeat = repeat;
  });
  ['pointerup', 'pointercancel', 'pointerleave'].forEach(function (type) {
    button.addEventListener(type, function () {
      if (touchRepeat && touchRepeat.button === button) stopTouchRepeat();
    });
  });
  // A long press selects nothing and opens no menu.
  button.addEventListener('contextmenu', function (event) {
    event.preventDefault();
  });
}
