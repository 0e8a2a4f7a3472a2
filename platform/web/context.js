// Run as the parser reaches it, just after the canvas: makes the
// canvas's WebGL context now, while the program's script is still being
// fetched and compiled, rather than after. It asks for what a GLUT_DOUBLE
// window asks (window.cpp), and a canvas has one context of a kind: the
// program, asking for its own, is given this one. Without WebGL there is
// none, and the program says so as it always did.
try {
  document.getElementById('canvas').getContext('webgl', {alpha: false, depth: false, stencil: false, antialias: false});
} catch (error) {
  // The program's own attempt reports it.
}
