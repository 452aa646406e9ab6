// The line input of the dialogs: an edit field at the text position of its window, in the
// window's font and colours, ended by Return. While it waits, every key typed reaches it.
var line = null;  // the line input now reading: {input, state, keyWait, queued}

function beginLine() {
  endLine();
  var s = current();
  if (!s) return false;
  var font = fontOf(s);
  var input = document.createElement('input');
  input.id = 'line-input';
  input.type = 'text';
  input.autocomplete = 'off';
  input.spellcheck = false;
  input.inputMode = 'decimal';  // the number keyboard of a tablet
  input.setAttribute('aria-label', s.printed || 'Eingabe');
  input.style.left = s.tx + 'px';
  input.style.top = s.ty + 'px';
  input.style.width = Math.max(s.width - s.tx, 8) + 'px';
  input.style.height = Math.max(font.lineHeight, font.size + 2) + 'px';
  input.style.font = font.css;
  input.style.color = s.fore;
  input.style.background = s.back;
  s.layer.appendChild(input);  // scaled with the drawing
  // keyWait: a key wait nested in the line takes the keys; queued: keys it was given.
  line = { input: input, state: 0, keyWait: false, queued: 0 };
  document.addEventListener('mousedown', keepLineFocus, true);
  input.focus();
  return true;
}

// 0 waiting, 1 entered, -1 gone with its window.
function lineState() {
  if (!line) return -1;
  if (!line.input.isConnected) return -1;
  return line.state;
}

function lineText() {
  return line ? line.input.value : '';
}

function endLine() {
  if (!line) return;
  document.removeEventListener('mousedown', keepLineFocus, true);
  line.input.remove();
  line = null;
}

// Whether the keys go to the line: not while a box, the menu or a nested key wait has them.
function lineTakesKeys() {
  return !!line && line.state === 0 && line.input.isConnected && !line.keyWait &&
         boxes.length === 0 && !menu.active && !ended;
}

// A press elsewhere (the menu bar's empty part, the drawing, a finger anywhere) leaves the focus
// in the line; the menu titles and entries still work, they act on pointer events and clicks.
function keepLineFocus(event) {
  if (lineTakesKeys() && event.target !== line.input) event.preventDefault();
}

function typeIntoLine(text) {
  var input = line.input;
  input.setRangeText(text, input.selectionStart, input.selectionEnd, 'end');
  input.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertText',
                                                data: text }));
}

function deleteBeforeCaret() {
  var input = line.input;
  var start = input.selectionStart;
  var end = input.selectionEnd;
  if (start === end && start > 0) --start;
  if (start === end) return;
  input.setRangeText('', start, end, 'end');
  input.dispatchEvent(new InputEvent('input', { bubbles: true,
                                                inputType: 'deleteContentBackward' }));
}

function lineKey(event) {
  var key = event.key;
  if (key === 'Enter') {
    event.preventDefault();
    line.state = 1;
    wake();
    return;
  }
  if (key === 'Tab') {
    event.preventDefault();  // the focus stays in the line
    line.input.focus();
    return;
  }
  if (event.target === line.input) return;  // the field edits itself
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
function restoreFocus() {
  if (lineTakesKeys()) line.input.focus();
}

// The line's own wait goes on after a nested command: what a nested key wait left unread was
// typed while the dialog waited and never becomes a step later.
function resumeLine() {
  if (!line) return;
  if (line.keyWait) {
    keys.splice(Math.max(0, keys.length - line.queued));
    line.keyWait = false;
  }
  line.queued = 0;
  restoreFocus();
}

Object.assign(exported, {
  beginLine: beginLine, lineState: lineState, lineText: lineText, endLine: endLine, resumeLine:
  resumeLine
});
