// Keeps the page's own files for use offline, under a cache whose name changes
// with every new page; the old caches go once the new worker takes over.
const CACHE = '@CACHE@';
const FILES = ['./', 'index.html', 'manifest.webmanifest', 'icon.svg'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
                      .then((cache) => cache.addAll(FILES))
                      .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
                      .then(
                          (names) => Promise.all(
                              names
                                  .filter(
                                      (name) => name.startsWith('zorvik-') &&
                                          name !== CACHE)
                                  .map((name) => caches.delete(name))))
                      .then(() => self.clients.claim()));
});

// The page's files from the cache first; anything else (nothing, today) from
// the network.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.match(event.request, {ignoreSearch: true})
                        .then((cached) => cached || fetch(event.request)));
});
