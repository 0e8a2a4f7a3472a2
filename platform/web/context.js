// Surviving the loss of the WebGL context, which the browser takes away
// when its GPU process restarts, a driver resets or a phone reclaims a
// background tab's memory. The page asks for the context back at once;
// while it is gone the program goes on ticking but no frame is drawn (a
// lost context draws nothing, and complains of every call). When it comes
// back every GL object is gone, and the GL state is WebGL's default: the
// shader program and the buffers are made anew, and the state that the
// program set is set again, so the animation goes on from where it is.
// If it is not back within five seconds, the page says so until it is.
mergeInto(LibraryManager.library, {
  $webContext__deps: ['$Browser', '$webFailure', 'glutPostRedisplay'],
  $webContext__postset: 'webContext.install();',
  $webContext: {
    // The state the program sets that WebGL does not keep: each method's
    // last arguments, to be given again.
    kept: {},

    // Records the calls of the context's methods that set such state.
    keepState: function() {
      ['clearColor', 'viewport'].forEach(function(name) {
        var method = GLctx[name];
        GLctx[name] = function() {
          webContext.kept[name] = Array.prototype.slice.call(arguments);
          return method.apply(GLctx, arguments);
        };
      });
    },

    patience: 5000,  // ms before the page says the picture is lost
    lateTimer: 0,

    lost: function(event) {
      event.preventDefault();
      webContext.lateTimer = setTimeout(function() { webFailure.show('lost', true); },
                                        webContext.patience);
    },

    // A new context: the program's shader program is started at once.
    created: function() {
      webContext.keepState();
      _webPrepareFixedFunction();
    },

    rebuild: function() {
      clearTimeout(webContext.lateTimer);
      webFailure.show('lost', false);
      _webForgetFixedFunction();
      _webForgetWireSpheres();
      _webPrepareFixedFunction();
      for (var name in webContext.kept) GLctx[name].apply(GLctx, webContext.kept[name]);
      _glutPostRedisplay();
    },

    install: function() {
      var canvas = Module['canvas'];
      canvas.addEventListener('webglcontextlost', webContext.lost);
      canvas.addEventListener('webglcontextrestored', webContext.rebuild);
      Browser.moduleContextCreatedCallbacks.push(webContext.created);
    },
  },

  // GLUT's, but with no drawing while the context is lost; its return
  // asks for the frame.
  glutPostRedisplay__deps: ['$GLUT', '$Browser'],
  glutPostRedisplay: function() {
    if (GLUT.displayFunc && !GLUT.requestedAnimationFrame) {
      GLUT.requestedAnimationFrame = true;
      Browser.requestAnimationFrame(function() {
        GLUT.requestedAnimationFrame = false;
        if (GLctx.isContextLost()) return;
        Browser.mainLoop.runIter(function() {
          {{{ makeDynCall('v', 'GLUT.displayFunc') }}}();
        });
      });
    }
  },
});
