// Modal message boxes with the single button "OK"; a box shown from inside another stacks on it.
import { blurLine, restoreFocus } from './line_input.js';
import { blockMenuBar, closeMenu } from './menu_bar.js';
import { wake } from './start.js';

const boxes = [];

export function showBox(text, symbol) {
  closeMenu();
  blurLine();
  boxes.push({ text: text, symbol: symbol });
  renderBox();
  return boxes.length;
}

function renderBox() {
  var layer = document.getElementById('box-layer');
  var top = boxes[boxes.length - 1];
  layer.hidden = !top;
  blockMenuBar(!!top);
  if (!top) return;
  document.getElementById('box-symbol').className = 'symbol-' + top.symbol;
  var textBox = document.getElementById('box-text');
  textBox.textContent = '';
  top.text.split('|').forEach(function (part) {
    var row = document.createElement('div');
    row.textContent = part;
    textBox.appendChild(row);
  });
  document.getElementById('box-ok').focus();
}

export function closeBox() {
  if (boxes.length === 0) return;
  boxes.pop();
  renderBox();
  if (boxes.length === 0) restoreFocus();
  wake();
}

export function boxCount() {
  return boxes.length;
}
