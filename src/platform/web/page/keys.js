// The keyboard and the on-screen 0 and 1 keys: key characters queued as the desktop's window
// records them, and the keys a box, the menu bar or a line input takes first.
var keys = [];

var KeyTexts = { Enter: '\r', Escape: '\x1b', Backspace: '\b', Tab: '\t', Delete: '\x7f' };
var ModifierKeys = ['Shift', 'Control', 'Alt', 'AltGraph', 'Meta', 'OS', 'CapsLock', 'NumLock',
                    'ScrollLock', 'Hyper', 'Super', 'Fn', 'Dead', 'Unidentified'];

// One entry per key press as the desktop's window records it; other keys give "{key}".
function keyEntry(event) {
  if (ModifierKeys.indexOf(event.key) >= 0) return null;
  if (KeyTexts[event.key] !== undefined) return KeyTexts[event.key];
  if ([...event.key].length === 1) return event.key;
  return '{key}';
}

function pushKey(text) {
  keys.push(text);
  // Counted so that what a key wait nested in a line input left unread can be dropped.
  if (line) ++line.queued;
  wake();
}

function onKeyDown(event) {
  if (ended) return;
  var key = event.key;
  if (key !== 'Alt') altAlone = false;
  if (boxes.length > 0) {
    // A box takes Return, Escape and the space for its button, and nothing reaches the program.
    if (key === 'Enter' || key === 'Escape' || key === ' ') closeBox();
    if (key !== 'Tab') event.preventDefault();
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
  if (menu.active) {
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
  if (entry !== null) pushKey(entry);
}

function onKeyUp(event) {
  if (ended || event.key !== 'Alt') return;
  event.preventDefault();
  var alone = altAlone;
  altAlone = false;
  if (alone && boxes.length === 0) toggleMenuFromKeyboard();
}

function readKey() {
  // A key wait nested inside a line input takes the keys until the line's own wait goes on.
  if (line) {
    line.keyWait = true;
    if (document.activeElement === line.input) line.input.blur();
  }
  return keys.length > 0 ? keys.shift() : '';
}

// One character of an on-screen key goes where a keyboard's would: an open box or menu takes it
// (and has no use for a digit), a waiting line input types it, otherwise it is queued.
function touchKeyCharacter(text) {
  if (ended || boxes.length > 0 || menu.active) return;
  if (lineTakesKeys()) typeIntoLine(text);
  else pushKey(text);
}

// Like a keyboard, one key repeats at a time: pressing another ends the first one's repeat.
var touchRepeat = null;

function stopTouchRepeat() {
  if (!touchRepeat) return;
  clearTimeout(touchRepeat.delay);
  clearInterval(touchRepeat.every);
  touchRepeat = null;
}

function setUpTouchKey(button) {
  button.addEventListener('pointerdown', function (event) {
    event.preventDefault();  // the press takes no focus from a line input
    stopTouchRepeat();
    var text = button.dataset.key;
    touchKeyCharacter(text);
    // Held like a key of a keyboard: characters come at its repeat rate after a delay.
    var repeat = { button: button, every: null };
    repeat.delay = setTimeout(function () {
      repeat.every = setInterval(function () { touchKeyCharacter(text); }, 40);
    }, 500);
    touchRepeat = repeat;
  });
  ['pointerup', 'pointercancel', 'pointerleave'].forEach(function (type) {
    button.addEventListener(type, function () {
      if (touchRepeat && touchRepeat.button === button) stopTouchRepeat();
    });
  });
  // A long press selects nothing and opens no menu.
  button.addEventListener('contextmenu', function (event) { event.preventDefault(); });
}

Object.assign(exported, {
  readKey: readKey
});
