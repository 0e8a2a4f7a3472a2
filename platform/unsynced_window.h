// A window whose swaps do not wait for the display's refresh. GLUT's
// main loop runs a due tick, then draws and swaps; if the swap waited
// for the refresh, so would every tick, and on a 60 Hz screen the ball
// would move at 0.6 of its speed.
#pragma once

// Asks the current window's swaps not to wait for the refresh, where the
// platform offers a way (GLX_EXT_swap_control or GLX_MESA_swap_control;
// WGL_EXT_swap_control); where it offers none, does nothing.
void unsyncSwaps();

// GLUT's own glutCreateWindow, then unsyncSwaps on the new window.
inline int createUnsyncedWindow(const char *title) {
  const int window = glutCreateWindow(title);
  unsyncSwaps();
  return window;
}

// From here on, the program's glutCreateWindow is the one above.
#undef glutCreateWindow
#define glutCreateWindow createUnsyncedWindow
