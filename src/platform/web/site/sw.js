// The offline copy of the site: every file of one build in one cache named by the build's
// content, and the pages served from it. A new build's worker checks every file it fetches
// against the build's list and, only when all of them are there, drops the old cache wholly.
'use strict';
var BUILD = '{{{ BUILD }}}';
var FILES = {{{ FILES }}};  // name -> SHA-256 of its content, in hex
var PREFIX = 'schaltlabor ' + self.registration.scope + ' ';
var CACHE = PREFIX + BUILD;

function hex(buffer) {
  return Array.prototype.map.call(new Uint8Array(buffer), function (b) {
    return (b + 256).toString(16).slice(1);
  }).join('');
}

// A server still half way through copying a build answers with some old files: the install
// fails then, the old build stays in use and the next visit tries again.
function fetchChecked(name) {
  return fetch(new Request(name, { cache: 'reload' })).then(function (response) {
    if (!response.ok) throw new Error(name + ': ' + response.status);
    return response.clone().arrayBuffer().then(function (body) {
      return crypto.subtle.digest('SHA-256', body);
    }).then(function (digest) {
      if (hex(digest) !== FILES[name]) throw new Error(name + ' is not of build ' + BUILD);
      return response;
    });
  });
}

self.addEventListener('install', function (event) {
  var names = Object.keys(FILES);
  event.waitUntil(Promise.all(names.map(fetchChecked)).then(function (responses) {
    return caches.open(CACHE).then(function (cache) {
      return Promise.all(names.map(function (name, i) { return cache.put(name, responses[i]); }));
    });
  }).then(function () { return self.skipWaiting(); }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.indexOf(PREFIX) === 0 && name !== CACHE;
    }).map(function (name) { return caches.delete(name); }));
  }).then(function () { return self.clients.claim(); }));
});

self.addEventListener('fetch', function (event) {
  var request = event.request;
  if (request.method !== 'GET') return;
  // The folder's own address shows the index.
  var name = request.url.split(/[?#]/)[0] === self.registration.scope ? 'index.html' : request;
  event.respondWith(caches.open(CACHE).then(function (cache) {
    return cache.match(name, { ignoreSearch: true });
  }).then(function (hit) {
    return hit || fetch(request);
  }));
});
