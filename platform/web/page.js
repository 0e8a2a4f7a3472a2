// The page's own script, apart from the program's: if the program's
// script (kelvaro.js) does not load, a 404 or a half-copied folder, the
// page says so in the canvas's place, where it would otherwise stay
// blank, and its controls are turned off. The browser has already
// reported the failed request in the console.
addEventListener('error', function(event) {
  var script = event.target;
  if (!(script instanceof HTMLScriptElement) || !/(^|\/)kelvaro\.js$/.test(script.src)) return;
  document.querySelector('[data-failure="script"]').hidden = false;
  document.getElementById('canvas').hidden = true;
  document.querySelectorAll('button[data-key]').forEach(function(button) { button.disabled = true; });
}, true);
