// Where the browser's GL emulation differs from GL.
mergeInto(LibraryManager.library, {
  // The emulation stores a glNormal3f between glBegin and glEnd as a
  // vertex attribute, once, ahead of the vertices, which shifts them all
  // and puts the floor's corners in the wrong places. GL only sets the
  // current normal, and with lighting off, as it always is here, the
  // normal changes nothing: so the call is taken and has no effect.
  glNormal3f: function(x, y, z) {},

  // The colour that glColor set last, which the emulation keeps to itself.
  webCurrentColor__deps: ['$GLImmediate'],
  webCurrentColor: function(rgba) {
    HEAPF32.set(GLImmediate.clientColor, rgba >> 2);
  },
});
