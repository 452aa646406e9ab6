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
  if (line && event.target === line.input) {
    if (key === 'Enter') {
      event.preventDefault();
      line.state = 1;
      wake();
    }
    return;  // the field takes the other keys itself
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
  // A key wait nested inside a line input needs the keys the edit field would otherwise take.
  if (line && document.activeElement === line.input) line.input.blur();
  return keys.length > 0 ? keys.shift() : '';
}

function setUpTouchKey(button) {
  var repeat = null;
  function stop() {
    if (repeat) { clearTimeout(repeat.delay); clearInterval(repeat.every); }
    repeat = null;
  }
  button.addEventListener('pointerdown', function (event) {
    event.preventDefault();
    stop();
    if (boxes.length > 0 || menu.active || ended) return;
    var text = button.dataset.key;
    pushKey(text);
    // Held like a key of a keyboard: characters come at its repeat rate after a delay.
    repeat = { delay: setTimeout(function () {
      repeat.every = setInterval(function () { pushKey(text); }, 40);
    }, 500) };
  });
  ['pointerup', 'pointercancel', 'pointerleave'].forEach(function (type) {
    button.addEventListener(type, stop);
  });
  button.addEventListener('contextmenu', function (event) { event.preventDefault(); });
}

Object.assign(exported, {
  readKey: readKey
});
