// The page's own script, apart from the program's: its controls, Pause,
// the full screen, and the service worker that keeps the page working
// offline. It runs once the page is parsed, after the program has
// started. What it and the program hand each other: contract.md. Its
// name tells start.js that it loaded.
var kelvaroPage = true;

// A button for each key of the program, pressed with a finger, a pen or
// a mouse (Pointer Events), or from the keyboard as any button is. A
// press is the key's own press, with no modifier held; holding a button
// repeats it as a held key repeats, after a delay, until the pointer
// lifts or slides off.
(function() {
  var repeatDelay = 500;
  var repeatInterval = 33;  // about 30 a second
  var delay = 0;
  var repeat = 0;
  var press = function(button) {
    dispatchEvent(new KeyboardEvent('keydown', {key: button.dataset['key']}));
  };
  var stop = function() {
    clearTimeout(delay);
    clearInterval(repeat);
    delay = repeat = 0;
  };
  var hold = function(button) {
    stop();
    press(button);
    delay = setTimeout(function() {
      press(button);
      repeat = setInterval(function() { press(button); }, repeatInterval);
    }, repeatDelay);
  };
  document.querySelectorAll('button[data-key]').forEach(function(button) {
    button.addEventListener('pointerdown', function(event) {
      if (event.button != 0) return;
      // A touch would keep the pointer to the button even when the
      // finger slides off; letting it go makes sliding off a release.
      if (button.hasPointerCapture(event.pointerId)) button.releasePointerCapture(event.pointerId);
      hold(button);
    });
    ['pointerup', 'pointercancel', 'pointerleave'].forEach(function(type) {
      button.addEventListener(type, stop);
    });
    // A click from the keyboard (Enter, Space) or from assistive
    // technology has no pointer behind it; a pointer's click was already
    // a press at pointerdown.
    button.addEventListener('click', function(event) {
      if (event.detail == 0) press(button);
    });
    button.addEventListener('contextmenu', function(event) { event.preventDefault(); });
  });
  addEventListener('blur', stop);
})();

// Pause and Play, the page's own, not a key of the program's: held, no
// tick runs, while the keys and the controls still redraw at once. The
// program's timers wait for the page (glut.cpp): here they are let go,
// unless the device asks for less motion, when the page stays held on
// its first frame and says why; the setting turned on later holds it
// too. Nothing but Play ever starts the motion then.
(function() {
  var button = document.getElementById('pause');
  var still = document.querySelector('p.still');
  var lessMotion = matchMedia('(prefers-reduced-motion: reduce)');
  var held = true;
  var hold = function(now) {
    held = now;
    Module['_webHold'](held ? 1 : 0);
    button.textContent = held ? 'Play' : 'Pause';
    if (held) return;
    still.hidden = true;
    button.removeAttribute('aria-describedby');
  };
  // The line is the button's description while it stands.
  var holdForLessMotion = function() {
    if (!lessMotion.matches) return;
    still.hidden = false;
    button.setAttribute('aria-describedby', 'still');
    hold(true);
  };
  if (typeof Module == 'undefined' || !Module['running']) return;
  button.hidden = false;
  if (lessMotion.matches) holdForLessMotion();
  else hold(false);
  lessMotion.addEventListener('change', holdForLessMotion);
  button.addEventListener('click', function() { hold(!held); });
})();

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
