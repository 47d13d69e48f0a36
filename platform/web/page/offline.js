// Makes the page play offline: registers its service worker (sw.js, beside the page, in
// whatever folder the page is served from) once the page has loaded. Browsers keep
// service workers to secure pages (https, or this machine's own address).
(() => {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  addEventListener('load', () => {
    navigator.serviceWorker.register('sw.js', {updateViaCache: 'none'})
      .catch((error) => console.log('glimmo: the page will not play offline: ' + error));
  });
})();
