// The line input of the dialogs: an edit field at the text position of its window, in the
// window's font and colours, ended by Return.
var line = null;         // the line input now reading: {input, state}

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
  s.element.appendChild(input);
  line = { input: input, state: 0 };
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
  line.input.remove();
  line = null;
}

function restoreFocus() {
  if (line && line.input.isConnected && !menu.active && boxes.length === 0) line.input.focus();
}

Object.assign(exported, {
  beginLine: beginLine, lineState: lineState, lineText: lineText, endLine: endLine, restoreFocus:
  restoreFocus
});
