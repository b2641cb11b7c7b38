// The page's service worker: keeps the page's files, so that after one visit it opens and plays
// without a network. A kept file is served at once and fetched again behind it, so that a new
// build is seen at the next visit.
const files = ['./', 'index.html', 'vorlan-kidney.js', 'vorlan-kidney.wasm',
               'manifest.webmanifest', 'icon-256.png', 'icon.svg'];
const cacheName = 'vorlan-kidney';

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)));
  self.skipWaiting();
});
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  const fresh = fetch(event.request).then(async (response) => {
    if (response.ok) await (await caches.open(cacheName)).put(event.request, response.clone());
    return response;
  });
  event.waitUntil(fresh.catch(() => {}));
  event.respondWith(caches.match(event.request, { ignoreSearch: true })
    .then((kept) => kept ?? fresh));
});
