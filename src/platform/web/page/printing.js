// The printer: the job's lines collected page by page, then laid out on the print page, the only
// thing that print media shows, and the browser's print dialog opened on it; emptied after it.
import { clamped } from './windows.js';

let job = null;

export function printerWrite(text, lineEnd) {
  if (!job) job = { pages: [[]], text: '', size: 12, ended: false };
  if (job.ended) {
    job.pages.push([]);
    job.ended = false;
  }
  job.text += text;
  if (lineEnd) {
    job.pages[job.pages.length - 1].push({ text: job.text, size: job.size });
    job.text = '';
  }
}

export function printerFontSize(size) {
  if (!job) printerWrite('', false);
  job.size = isFinite(size) ? clamped(size, 1, 400) : 12;
}

export function printerEndPage() {
  if (job) job.ended = true;
}

// The browser prints only through its own dialog: the page holds only the table, and only until
// the dialog closes, so that the browser's own Print command never prints it again, stale.
export function printerEndJob() {
  if (!job) return;
  if (job.text !== '') printerWrite('', true);
  var page = document.getElementById('print-page');
  page.textContent = '';
  job.pages.forEach(function (lines) {
    var sheet = document.createElement('div');
    sheet.className = 'sheet';
    lines.forEach(function (printed) {
      var row = document.createElement('div');
      row.className = 'printed-line';
      row.style.fontSize = printed.size + 'pt';
      if (printed.text === '') row.appendChild(document.createElement('br'));
      else row.textContent = printed.text;
      sheet.appendChild(row);
    });
    page.appendChild(sheet);
  });
  job = null;
  setTimeout(function () {
    window.print();
  }, 0);
}

export function emptyPrintPage() {
  document.getElementById('print-page').textContent = '';
}
