// Keeps the page, its manifest and icons, so that the installed program starts
// without a network. The network comes first while there is one: a newer
// page on the server replaces the kept one.
const qvCache = 'quorvane';
const qvPage = new URL(self.location).searchParams.get('page') || 'quorvane.html';

self.addEventListener('install', (ev) => {
  ev.waitUntil(caches.open(qvCache).then((c) => c.addAll([qvPage, 'quorvane.webmanifest', 'quorvane-128.png',
    'quorvane-256.png'])).then(() => self.skipWaiting()));
});
self.addEventListener('activate', (ev) => ev.waitUntil(self.clients.claim()));
self.addEventListener('fetch', (ev) => {
  if (ev.request.method !== 'GET') return;
  ev.respondWith(fetch(ev.request).then((r) => {
    if (r.ok) {
      const copy = r.clone();
      caches.open(qvCache).then((c) => c.put(ev.request, copy));
    }
    return r;
  }).catch(() => caches.match(ev.request, { ignoreSearch: true })));
});
