// The page's own script, apart from the program's: it says so when the
// program's script does not load, offers the full screen, and installs
// the service worker that keeps the page working offline.

// If kelvaro.js does not load (a 404, a half-copied folder), the page
// says so in the canvas's place, where it would otherwise stay blank, and
// its controls are turned off. The browser has already reported the
// failed request in the console.
addEventListener('error', function(event) {
  var script = event.target;
  if (!(script instanceof HTMLScriptElement) || !/(^|\/)kelvaro\.js$/.test(script.src)) return;
  document.querySelector('[data-failure="script"]').hidden = false;
  document.getElementById('canvas').hidden = true;
  document.querySelectorAll('button[data-key]').forEach(function(button) { button.disabled = true; });
}, true);

// The canvas and its controls full screen, and back. The stylesheet
// makes the canvas fill the screen, and the canvas tells the program its
// new size as any resize does. Without the Fullscreen API (an iPhone's
// Safari), there is no button.
(function() {
  var app = document.getElementById('app');
  var button = document.getElementById('fullscreen');
  if (!document.fullscreenEnabled || !app.requestFullscreen) return;
  button.hidden = false;
  button.addEventListener('click', function() {
    if (document.fullscreenElement) document.exitFullscreen();
    else app.requestFullscreen().catch(function() {});
  });
  document.addEventListener('fullscreenchange', function() {
    button.textContent = document.fullscreenElement ? 'Leave full screen' : 'Full screen';
  });
})();

// The service worker, where there can be one: served over HTTPS or from
// this machine, not opened from a file. A new build's worker waits until
// this page has loaded all of its files, so that no page is ever served
// files of two builds; then it may take over, for the next visit.
if ('serviceWorker' in navigator && /^https?:$/.test(location.protocol) && isSecureContext) {
  navigator.serviceWorker.register('sw.js').then(function(registration) {
    var offer = function() {
      if (document.readyState != 'complete') return addEventListener('load', offer, {once: true});
      if (registration.waiting) registration.waiting.postMessage('take over');
    };
    registration.addEventListener('updatefound', function() {
      var worker = registration.installing;
      worker.addEventListener('statechange', function() {
        if (worker.state == 'installed') offer();
      });
    });
    offer();
  }).catch(function(error) {
    console.warn('Kelvaro will not work offline: ' + error.message);
  });
}
