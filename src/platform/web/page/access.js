// What a screen reader gets of the drawing: an application region with its name, so that every
// key reaches the program; the texts the program speaks, through a polite live region; what the
// drawing shows when it is not the graph; the table of values as a table, copied with Ctrl+C.
// Also whether the drawing takes the high-contrast palette: forced colours, more contrast or
// ?kontrast=hoch (the colours themselves are the core's, mapped on the C++ side).
import { stageElement } from './windows.js';

const DrawingNames = {
  coillab:
    'Spule schalten: Zeichnung mit dem Stromkreis aus Batterie, Widerständen, Spule und ' +
    'Schalter und den Kurven von Induktions-Spannung und Spulen-Strom über der Zeit',
  caplab:
    'Kondensator laden: Zeichnung mit dem Stromkreis aus Batterie, Widerständen, ' +
    'Kondensator und Schalter und den Kurven von Kondensator-Spannung und ' +
    'Kondensator-Strom über der Zeit',
};
const ApplicationName =
  'Schaltlabor: Taste 1 schließt den Schalter, Taste 0 öffnet ihn; beim Messen Pfeiltasten ' +
  'und Escape';

let highContrast = false;
let tableText = '';

// The page's accessible parts, set up once before the program draws anything.
export function nameDrawing() {
  var asked = new URLSearchParams(location.search).get('kontrast');
  highContrast =
    asked === 'hoch' ||
    (asked !== 'normal' &&
      !!window.matchMedia &&
      window.matchMedia('(forced-colors: active), (prefers-contrast: more)').matches);
  document
    .getElementById('screen')
    .setAttribute('aria-label', DrawingNames[LabAssets.program] || '');
  var stage = document.getElementById('stage');
  stage.setAttribute('role', 'application');
  stage.setAttribute('aria-label', ApplicationName);
  stage.setAttribute('aria-describedby', 'drawing-text');
  stage.tabIndex = 0;
  var described = document.createElement('p');
  described.id = 'drawing-text';
  described.className = 'spoken';
  stage.parentNode.appendChild(described);
  document.addEventListener('copy', copyTable);
}

// The keys go to the application region whenever nothing else (a box, a menu, a line) has them.
export function focusDrawing() {
  var stage = stageElement();
  if (stage) stage.focus({ preventScroll: true });
}

export function isHighContrast() {
  return highContrast;
}

// The same text again is made to differ by a blank, so that it is spoken again.
export function announce(text) {
  var region = document.getElementById('spoken');
  if (text === '') region.textContent = '';
  else region.textContent = region.textContent === text ? text + '\u00a0' : text;
}

export function describeDrawing(text) {
  document.getElementById('drawing-text').textContent = text;
}

// Tab-separated lines, the heading first; an empty text takes the table away.
export function showTable(text) {
  tableText = text;
  var old = document.getElementById('value-table');
  if (old) old.remove();
  if (!text) return;
  var rows = text.replace(/\n$/, '').split('\n');
  var table = document.createElement('table');
  table.id = 'value-table';
  table.className = 'spoken';
  table.createCaption().textContent = 'Wertetabelle';
  var head = table.createTHead().insertRow();
  rows[0].split('\t').forEach(function (name) {
    var cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = name;
    head.appendChild(cell);
  });
  var body = table.createTBody();
  rows.slice(1).forEach(function (line) {
    var row = body.insertRow();
    line.split('\t').forEach(function (value) {
      row.insertCell().textContent = value;
    });
  });
  document.getElementById('stage-area').appendChild(table);
}

// Ctrl+C while the table shows: its rows as a spreadsheet takes them, decimal commas kept.
function copyTable(event) {
  if (!tableText) return;
  event.clipboardData.setData('text/plain', tableText);
  event.preventDefault();
}

// The last text printed on each window: the prompt of a line input that follows it.
const prompts = new WeakMap();

export function promptOf(s) {
  return prompts.get(s);
}

// Every text drawn on a window passes here.
export function noteText(s, text, printed) {
  if (printed && text.trim() !== '') prompts.set(s, text);
}
