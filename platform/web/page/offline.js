// Makes the page play offline: registers its service worker (sw.js, beside the page, in
// whatever folder the page is served from) a second after the first frame, so that its
// keeping of the page's files does not slow the start. Browsers keep service workers to
// secure pages (https, or this machine's own address).
(() => {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  function register() {
    navigator.serviceWorker.register('sw.js', {updateViaCache: 'none'})
      .catch((error) => console.log('glimmo: the page will not play offline: ' + error));
  }
  addEventListener('glimmo-frame', () => setTimeout(register, 1000), {once: true});
})();
