// The page's controls: a button for each key of the program, pressed with
// a finger, a pen or a mouse (Pointer Events), or from the keyboard as
// any button is. A press hands the program exactly what the key hands
// it; holding a control repeats it as a held key repeats, after a delay,
// until the pointer lifts or slides off.
mergeInto(LibraryManager.library, {
  $webControls__deps: ['$GLUT', '$webKeys'],
  $webControls__postset: 'webControls.install();',
  $webControls: {
    repeatDelay: 500,
    repeatInterval: 33,  // about 30 a second
    delay: 0,
    repeat: 0,

    // Presses the key that BUTTON stands for (its data-key, a
    // KeyboardEvent.key), with no modifier held.
    press: function(button) {
      GLUT.modifiers = 0;
      webKeys.press(button.dataset['key'], 0);
    },

    stop: function() {
      clearTimeout(webControls.delay);
      clearInterval(webControls.repeat);
      webControls.delay = webControls.repeat = 0;
    },

    hold: function(button) {
      webControls.stop();
      webControls.press(button);
      webControls.delay = setTimeout(function() {
        webControls.press(button);
        webControls.repeat = setInterval(function() { webControls.press(button); },
                                         webControls.repeatInterval);
      }, webControls.repeatDelay);
    },

    install: function() {
      document.querySelectorAll('button[data-key]').forEach(function(button) {
        button.addEventListener('pointerdown', function(event) {
          if (event.button != 0) return;
          // A touch would keep the pointer to the button even when the
          // finger slides off; letting it go makes sliding off a release.
          if (button.hasPointerCapture(event.pointerId)) button.releasePointerCapture(event.pointerId);
          webControls.hold(button);
        });
        ['pointerup', 'pointercancel', 'pointerleave'].forEach(function(type) {
          button.addEventListener(type, webControls.stop);
        });
        // A click from the keyboard (Enter, Space) or from assistive
        // technology has no pointer behind it; a pointer's click was
        // already a press at pointerdown.
        button.addEventListener('click', function(event) {
          if (event.detail == 0) webControls.press(button);
        });
        button.addEventListener('contextmenu', function(event) { event.preventDefault(); });
      });
      window.addEventListener('blur', webControls.stop);
    },
  },
});
