// The page's service worker: it keeps the page's files so that the page plays offline,
// and takes each file from the network first while there is one, so that a new version,
// once deployed, is the one that plays (and is kept). Names are relative to this file,
// so the page works from any folder of a host.
const Store = 'glimmo';
const Files = ['./', 'index.html', 'glimmo.js', 'glimmo.wasm', 'hints.js', 'touch.js', 'gamepad.js', 'offline.js',
               'manifest.webmanifest', 'favicon.png', 'glimmo-192.png', 'glimmo-512.png', 'glimmo-maskable-512.png'];
const Kept = new Set(Files.map((file) => new URL(file, self.location).href));

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(Store)
    .then((store) => store.addAll(Files.map((file) => new Request(file, {cache: 'no-cache'}))))
    .then(() => self.skipWaiting()));
});
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

// The same file again (the same validator) is not written again.
const same = (a, b) => ['etag', 'last-modified', 'content-length'].every((h) => a.headers.get(h) === b.headers.get(h));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  url.search = '';
  const name = url.href;
  if (request.method !== 'GET' || !Kept.has(name)) return;
  event.respondWith(fetch(request).then((response) => {
    if (response.ok) {
      const copy = response.clone();
      event.waitUntil(caches.open(Store).then((store) => store.match(name).then((old) => {
        if (!old || !same(old, copy)) return store.put(name, copy);
      })));
    }
    return response;
  }).catch(() => caches.match(name).then((kept) => kept || Response.error())));
});
