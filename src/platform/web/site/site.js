// The site's own start on each of its pages: the offline copy where the browser may keep one,
// and where it may not, one sentence with the reason instead of the promise of offline use.
'use strict';
(function () {
  var worker = null;
  try {
    if (window.isSecureContext && 'serviceWorker' in navigator) worker = navigator.serviceWorker;
  } catch {
    // A sandboxed frame without an origin of its own may not even ask for the worker.
  }
  var why = window.isSecureContext
    ? 'weil der Browser dieser Seite hier keinen Speicher erlaubt'
    : 'weil das nur über HTTPS oder die eigene Adresse des Geräts (localhost) geht';
  var sentence =
    'Ohne Netz starten und als App installieren lassen sich die Programme hier nicht, ' +
    why +
    '; sie laufen nur mit Netz.';

  function tell() {
    var offline = document.getElementById('offline');
    if (offline) {
      offline.textContent = sentence;
      offline.className = 'site-note';
      return;
    }
    // A program page: the note above its menu bar, before the program lays out its drawing.
    var note = document.createElement('p');
    note.id = 'site-note';
    note.className = 'site-note';
    note.setAttribute('role', 'note');
    note.textContent = sentence;
    document.body.insertBefore(note, document.body.firstChild);
  }

  if (!worker) {
    tell();
    return;
  }
  // After the page has loaded, so that the worker's copy of the site does not slow the start.
  window.addEventListener('load', function () {
    worker.register('sw.js').catch(function () {});
  });
})();
