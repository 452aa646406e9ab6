// The line input of the dialogs: an edit field at the text position of its window, in the
// window's font and colours, ended by Return. While it waits, every key typed reaches it.
import { focusDrawing, promptOf } from './access.js';
import { boxCount } from './boxes.js';
import { hasEnded } from './end.js';
import { dropNewestKeys, keyEntry } from './keys.js';
import { menuActive } from './menu_bar.js';
import { wake } from './start.js';
import { fontOf } from './text.js';
import { current } from './windows.js';

let line = null; // the line input now reading: {input, state, keyWait, queued}

export function beginLine() {
  endLine();
  var s = current();
  if (!s) return false;
  var font = fontOf(s);
  var input = document.createElement('input');
  input.id = 'line-input';
  input.type = 'text';
  input.autocomplete = 'off';
  input.spellcheck = false;
  input.inputMode = 'decimal'; // the number keyboard of a tablet
  input.setAttribute('aria-label', promptOf(s) || 'Eingabe');
  input.style.left = s.text.x + 'px';
  input.style.top = s.text.y + 'px';
  input.style.width = Math.max(s.width - s.text.x, 8) + 'px';
  input.style.height = Math.max(font.lineHeight, font.size + 2) + 'px';
  input.style.font = font.css;
  input.style.color = s.pen.fore;
  input.style.background = s.pen.back;
  s.layer.appendChild(input); // scaled with the drawing
  // keyWait: a key wait nested in the line takes the keys; queued: keys it was given.
  line = { input: input, state: 0, keyWait: false, queued: 0 };
  document.addEventListener('mousedown', keepLineFocus, true);
  input.focus();
  return true;
}

// 0 waiting, 1 entered, -1 gone with its window.
export function lineState() {
  if (!line) return -1;
  if (!line.input.isConnected) return -1;
  return line.state;
}

export function lineText() {
  return line ? line.input.value : '';
}

export function endLine() {
  if (!line) return;
  document.removeEventListener('mousedown', keepLineFocus, true);
  line.input.remove();
  line = null;
}

// Ends the line input if it stands in the element (a window that closes).
export function endLineIn(element) {
  if (line && element.contains(line.input)) endLine();
}

export function isLineInput(element) {
  return !!line && element === line.input;
}

// The line lets go of the focus (a box or the menu bar takes the keys).
export function blurLine() {
  if (line && document.activeElement === line.input) line.input.blur();
}

// A key wait nested inside the line input takes the keys until the line's own wait goes on.
export function giveKeysToKeyWait() {
  if (!line) return;
  line.keyWait = true;
  blurLine();
}

// Counted so that what a key wait nested in the line input left unread can be dropped.
export function noteKeyQueued() {
  if (line) ++line.queued;
}

// Whether the keys go to the line: not while a box, the menu or a nested key wait has them.
export function lineTakesKeys() {
  return (
    !!line &&
    line.state === 0 &&
    line.input.isConnected &&
    !line.keyWait &&
    boxCount() === 0 &&
    !menuActive() &&
    !hasEnded()
  );
}

// A press elsewhere (the menu bar's empty part, the drawing, a finger anywhere) leaves the focus
// in the line; the menu titles and entries still work, they act on pointer events and clicks.
function keepLineFocus(event) {
  if (lineTakesKeys() && event.target !== line.input) event.preventDefault();
}

export function typeIntoLine(text) {
  var input = line.input;
  input.setRangeText(text, input.selectionStart, input.selectionEnd, 'end');
  input.dispatchEvent(
    new InputEvent('input', { bubbles: true, inputType: 'insertText', data: text })
  );
}

function deleteBeforeCaret() {
  var input = line.input;
  var start = input.selectionStart;
  var end = input.selectionEnd;
  if (start === end && start > 0) --start;
  if (start === end) return;
  input.setRangeText('', start, end, 'end');
  input.dispatchEvent(
    new InputEvent('input', { bubbles: true, inputType: 'deleteContentBackward' })
  );
}

export function lineKey(event) {
  var key = event.key;
  if (key === 'Enter') {
    event.preventDefault();
    line.state = 1;
    wake();
    return;
  }
  if (key === 'Tab') {
    event.preventDefault(); // the focus stays in the line
    line.input.focus();
    return;
  }
  if (event.target === line.input) return; // the field edits itself
  // The focus went astray all the same (the browser's own bar, a device's keyboard): the key
  // still goes to the line.
  line.input.focus();
  if (event.ctrlKey || event.metaKey || event.altKey) return;
  var entry = keyEntry(event);
  if (entry === null) return;
  event.preventDefault();
  if (entry === '\b') deleteBeforeCaret();
  else if ([...entry].length === 1 && entry >= ' ' && entry !== '\x7f') typeIntoLine(entry);
}

// After a box or a menu the field takes the keys again, unless a nested key wait has them.
export function restoreFocus() {
  if (lineTakesKeys()) line.input.focus();
  else if (boxCount() === 0 && !menuActive() && !hasEnded()) focusDrawing();
}

// The line's own wait goes on after a nested command: what a nested key wait left unread was
// typed while the dialog waited and never becomes a step later.
export function resumeLine() {
  if (!line) return;
  if (line.keyWait) {
    dropNewestKeys(line.queued);
    line.keyWait = false;
  }
  line.queued = 0;
  restoreFocus();
}
