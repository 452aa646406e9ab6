// The end: the page that stays when the program has ended, with a link that starts it again.
import { endLine } from './line_input.js';
import { closeWindow } from './windows.js';

let ended = false;

// Once ended, the page takes no more input and shows nothing more of the program.
export function hasEnded() {
  return ended;
}

export function endProgram(reason) {
  if (ended) return;
  ended = true;
  closeWindow(0);
  endLine();
  var page = document.createElement('main');
  page.id = 'ended';
  var said = document.createElement('h1');
  said.textContent = 'Das Programm ' + LabAssets.program + ' ist beendet.';
  page.appendChild(said);
  if (reason) {
    var why = document.createElement('p');
    why.textContent = reason;
    page.appendChild(why);
  }
  var again = document.createElement('p');
  var link = document.createElement('a');
  link.id = 'restart';
  link.href = location.href.split('#')[0];
  link.textContent = 'Noch einmal starten';
  again.appendChild(link);
  page.appendChild(again);
  document.body.textContent = '';
  document.body.appendChild(page);
}
