// What the page shows when the program cannot run, instead of a blank
// canvas: a message in the canvas's place, which screen readers read
// out as an alert. The texts are the page's (kelvaro.html, each under
// its data-failure name).
mergeInto(LibraryManager.library, {
  $webFailure: {
    // Shows the message NAME in the canvas's place, or takes it away.
    show: function(name, shown) {
      document.querySelector('[data-failure="' + name + '"]').hidden = !shown;
      Module['canvas'].hidden = shown;
    },

    // Shows the message NAME for good: the program cannot go on, and
    // its controls are turned off.
    stop: function(name) {
      webFailure.show(name, true);
      document.querySelectorAll('button[data-key]').forEach(function(button) {
        button.disabled = true;
      });
    },
  },

  // GLUT's, except that a window that cannot be made ends the program
  // there, as freeglut ends a program that cannot open its display:
  // without WebGL (turned off, or a GPU the browser does not trust) the
  // page says so, where the program would fail at its first GL call.
  // WebKit with WebGL turned off has no WebGLRenderingContext at all, on
  // which Emscripten's createContext would stop with a ReferenceError.
  glutCreateWindow__deps: ['$GLUT', '$Browser', '$webFailure'],
  glutCreateWindow: function(name) {
    var mode = GLUT.initDisplayMode;
    Module.ctx = typeof WebGLRenderingContext == 'undefined' ? null :
      Browser.createContext(Module['canvas'], true, true, {
        antialias: (mode & 0x80 /* GLUT_MULTISAMPLE */) != 0,
        depth: (mode & 0x10 /* GLUT_DEPTH */) != 0,
        stencil: (mode & 0x20 /* GLUT_STENCIL */) != 0,
        alpha: (mode & 0x08 /* GLUT_ALPHA */) != 0,
      });
    if (Module.ctx) return 1;
    console.error('Kelvaro cannot run: the browser gives it no WebGL context.');
    webFailure.stop('webgl');
    // Leaves main here, as GLUT's main loop leaves it, without an error.
    throw 'unwind';
  },
});
