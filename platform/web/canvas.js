// The canvas as a window of the right size in pixels. Its size on the
// page is the stylesheet's (300 x 400 CSS pixels, smaller on a small
// screen, the whole screen in full screen); its backing store has one
// pixel for each of the screen's, at
// whatever devicePixelRatio, and follows the ratio when it changes (zoom,
// another screen). The program's reshape gets the backing store's size,
// as a native window's gets its size in pixels, so the picture is the
// same, with more pixels.
mergeInto(LibraryManager.library, {
  $webCanvas__deps: ['$GLUT', 'glutReshapeWindow'],
  $webCanvas__postset: 'webCanvas.install();',
  $webCanvas: {
    // Resizes the backing store to WIDTH x HEIGHT device pixels, as a
    // window system resizes a window: reshape, then a new frame.
    resize: function(width, height) {
      var canvas = Module['canvas'];
      if (width < 1 || height < 1) return;
      if (width != canvas.width || height != canvas.height) _glutReshapeWindow(width, height);
    },

    // Gives the backing store the canvas's size on the page in device
    // pixels.
    fit: function() {
      var box = Module['canvas'].getBoundingClientRect();
      var ratio = window.devicePixelRatio || 1;
      webCanvas.resize(Math.round(box.width * ratio), Math.round(box.height * ratio));
    },

    // Calls fit again when the pixel ratio leaves its present value.
    watchRatio: function() {
      var query = matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
      query.addEventListener('change', function() {
        webCanvas.fit();
        webCanvas.watchRatio();
      }, {once: true});
    },

    install: function() {
      // GLUT turns touches on the canvas into mouse events, and keeps
      // them from scrolling the page, even for a program that takes no
      // mouse input, as this one: then the page scrolls as any page.
      var touchHandler = GLUT.touchHandler;
      GLUT.touchHandler = function(event) {
        if (GLUT.mouseFunc || GLUT.motionFunc || GLUT.passiveMotionFunc) touchHandler(event);
      };
      webCanvas.fit();
      webCanvas.watchRatio();
      window.addEventListener('resize', webCanvas.fit);
      if (typeof ResizeObserver != 'undefined') new ResizeObserver(webCanvas.fit).observe(Module['canvas']);
    },
  },

  // The page, not the program, sets the window's size: its stylesheet
  // gives the canvas the 300 x 400 CSS pixels asked for (fewer on a narrow
  // screen), and the backing store stays at that in device pixels.
  glutInitWindowSize__deps: ['$GLUT', '$webCanvas'],
  glutInitWindowSize: function(width, height) {
    GLUT.initWindowWidth = width;
    GLUT.initWindowHeight = height;
    webCanvas.fit();
  },
});
