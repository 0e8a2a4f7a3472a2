// Keys for the browser's GLUT, read as freeglut reads them on X11.
//
// That GLUT builds characters from the legacy keyCode, so "+" typed on a
// key of its own arrives as "=", and a capital typed with Caps Lock as a
// small letter. Here the character is KeyboardEvent.key, what the user
// typed on whatever layout; special keys get GLUT's codes. Every key the
// program is given is kept from the page, so the arrows, Home, Page
// Up/Down and space never scroll it. Shortcuts held with Ctrl, Alt or
// Meta stay the browser's, and so do Enter and Space on a focused button,
// which press it as on any page.
mergeInto(LibraryManager.library, {
  $webKeys__deps: ['$GLUT', '$Browser'],
  // Replaces GLUT's handler before glutInit adds it to the window.
  $webKeys__postset: 'GLUT.onKeydown = webKeys.onKeydown;',
  $webKeys: {
    special: {
      F1: 1, F2: 2, F3: 3, F4: 4, F5: 5, F6: 6,
      F7: 7, F8: 8, F9: 9, F10: 10, F11: 11, F12: 12,
      ArrowLeft: 100, ArrowUp: 101, ArrowRight: 102, ArrowDown: 103,
      PageUp: 104, PageDown: 105, Home: 106, End: 107, Insert: 108,
      NumLock: 109, Clear: 110,
    },
    // freeglut reports the modifier keys too: left code, right code + 1.
    modifiers: {Shift: 112, Control: 114, Alt: 116},
    // Keys with a name that type a control character.
    characters: {Backspace: 8, Tab: 9, Enter: 13, Escape: 27, Delete: 127},

    // Hands the key NAME (a KeyboardEvent.key; LOCATION tells left from
    // right) to the program's callback for it, as GLUT does with a key
    // press. Returns false if the program has no use for such a key.
    press: function(name, location) {
      var special = webKeys.special[name];
      if (name in webKeys.modifiers) special = webKeys.modifiers[name] + (location == 2 ? 1 : 0);
      var character = name.length == 1 ? name.charCodeAt(0) : webKeys.characters[name];
      if (special !== undefined && GLUT.specialFunc) {
        {{{ makeDynCall('viii', 'GLUT.specialFunc') }}}(special, Browser.mouseX, Browser.mouseY);
      } else if (character !== undefined && character <= 255 && GLUT.keyboardFunc) {
        {{{ makeDynCall('viii', 'GLUT.keyboardFunc') }}}(character, Browser.mouseX, Browser.mouseY);
      } else {
        return false;
      }
      return true;
    },

    onKeydown: function(event) {
      var name = event['key'];
      var shortcut = (event['ctrlKey'] || event['altKey'] || event['metaKey']) &&
                     !event.getModifierState('AltGraph');
      if (shortcut && !(name in webKeys.modifiers)) return;
      if ((name == 'Enter' || name == ' ') && event.target instanceof HTMLButtonElement) return;
      GLUT.saveModifiers(event);
      if (webKeys.press(name, event['location'])) event.preventDefault();
    },
  },
  // Pulls the page's handlers in with GLUT: the keys, the controls
  // (controls.js), the canvas's size (canvas.js) and the GL context's
  // loss (context.js).
  glutInit__deps: ['$Browser', '$webKeys', '$webControls', '$webCanvas', '$webContext'],
});
