// Keeps the page's own files for use offline, under a cache whose name changes
// with every new page. The name begins with the worker's scope, so that copies
// of the page under different paths of one origin each keep their own copy and
// clear out only their own old ones.
const PREFIX = `zorvik ${self.registration.scope} `;
const CACHE = PREFIX + '@CACHE@';
const FILES = [
  './', 'index.html', 'manifest.webmanifest', 'icon.svg', 'icon-192.png',
  'icon-512.png', 'icon-maskable-512.png', 'apple-touch-icon.png'
];

// A new worker stores the files as the host has them now, past the browser's
// HTTP cache (which may hold the old page for as long as the host allows),
// and takes over as soon as it is installed: the page open now keeps running
// as it is, and the next one opened is the new one.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
                      .then(
                          (cache) => cache.addAll(FILES.map(
                              (file) => new Request(file, {cache: 'reload'}))))
                      .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
      caches.keys()
          .then(
              (names) => Promise.all(
                  names
                      .filter(
                          (name) => name.startsWith(PREFIX) && name !== CACHE)
                      .map((name) => caches.delete(name))))
          .then(() => self.clients.claim()));
});

// The page's files from this copy's cache first; anything else (nothing,
// today) from the network.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(
      caches.open(CACHE)
          .then((cache) => cache.match(event.request, {ignoreSearch: true}))
          .then((cached) => cached || fetch(event.request)));
});
