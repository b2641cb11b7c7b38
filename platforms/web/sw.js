// The page's service worker: keeps the page's files, so that after one visit it opens and plays
// without a network. The network comes first, so that a new build is seen at once when online.
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
  event.respondWith(fetch(event.request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      caches.open(cacheName).then((cache) => cache.put(event.request, copy));
    }
    return response;
  }).catch(() => caches.match(event.request, { ignoreSearch: true }).then(
    (kept) => kept ?? Response.error())));
});
