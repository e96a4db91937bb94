// Storage that lasts and a page that installs. A browser may clear the
// storage of a site that was not marked persistent (Safari after seven days
// unused, unless the page was added to the home screen): it is asked to keep
// it at the program's first save. Served over http(s) the page is a web app
// (manifest, icon) whose service worker keeps it for use without a network;
// opened from a file it stays one file and asks for nothing else.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  // The program's saves come through here; the seed of the first visit does
  // not, and is no save of the user's.
  const storage = Module.qvStorage, replace = storage.replace;
  let asked = false;
  storage.replace = function () {
    if (!asked && navigator.storage && navigator.storage.persist) {
      asked = true;
      navigator.storage.persist().catch(function () {});
    }
    return replace.apply(this, arguments);
  };
});
if (typeof location !== 'undefined' && /^https?:$/.test(location.protocol)) {
  const links = [['manifest', 'quorvane.webmanifest'], ['apple-touch-icon', 'quorvane-256.png']];
  for (let i = 0; i < links.length; ++i) {
    const link = document.createElement('link');
    link.rel = links[i][0];
    link.href = links[i][1];
    document.head.appendChild(link);
  }
  if (navigator.serviceWorker)
    navigator.serviceWorker.register('quorvane-sw.js?page=' + encodeURIComponent(location.pathname)).catch(function () {});
}
