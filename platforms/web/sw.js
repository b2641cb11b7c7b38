// The page's service worker: keeps one build of the page's files whole, so that after one visit
// the page opens and plays without a network, and never runs the files of two builds together.
// make web writes the build's name below: a hash of the files' contents.
const build = '@VK_BUILD@';
const prefix = 'vorlan-kidney-';
const cacheName = prefix + build;
const files = ['./', 'index.html', 'vorlan-kidney.js', 'vorlan-kidney.wasm',
               'manifest.webmanifest', 'icon-256.png', 'icon.svg'];

// One file as the server sends it, refused unless its status is good and its body whole.
async function whole(file) {
  // Revalidated, so that what the page has just loaded comes from the browser's cache.
  const response = await fetch(file, { cache: 'no-cache' });
  if (!response.ok) throw new Error(`${file}: status ${response.status}`);
  const body = await response.arrayBuffer();  // a connection cut off rejects here
  const length = response.headers.get('Content-Length');
  // A body shorter than it was announced (the announced length is of the encoded body, which is
  // never longer than the decoded one).
  if (length !== null && body.byteLength < Number(length)) throw new Error(`${file}: cut short`);
  return new Response(body, { status: response.status, statusText: response.statusText,
                              headers: response.headers });
}

// Every file of this build, or none: a failed install leaves the build before serving.
self.addEventListener('install', (event) => event.waitUntil((async () => {
  const responses = await Promise.all(files.map(whole));
  const cache = await caches.open(cacheName);
  try {
    await Promise.all(files.map((file, i) => cache.put(file, responses[i])));
  } catch (error) {
    await caches.delete(cacheName);
    throw error;
  }
})()));

// The build before is let go only once no page of it is open, so that an open page keeps its
// own build to the end: the new one serves from the next visit on.
self.addEventListener('activate', (event) => event.waitUntil((async () => {
  for (const name of await caches.keys()) {
    if (name.startsWith(prefix) && name !== cacheName) await caches.delete(name);
  }
  await self.clients.claim();
})()));

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith((async () => {
    const cache = await caches.open(cacheName);
    return (await cache.match(event.request, { ignoreSearch: true })) ?? fetch(event.request);
  })());
});
