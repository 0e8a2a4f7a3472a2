// What the platform adds to GLUT's glutCreateWindow, on the window it
// has just made: swaps that do not wait for the display's refresh, and
// on Windows the window's size at its screen's scale.
#pragma once

// GLUT's main loop runs a due tick, then draws and swaps; if the swap
// waited for the refresh, so would every tick, and on a 60 Hz screen the
// ball would move at 0.6 of its speed. Asks the current window's swaps
// not to wait, where the platform offers a way (GLX_EXT_swap_control or
// GLX_MESA_swap_control; WGL_EXT_swap_control); where it offers none,
// does nothing.
void unsyncSwaps();

#if defined(_WIN32)
// Windows scales each window apart, by its screen's DPI (X11 has no such
// scale). Sizes the current window, asked for in 96 DPI pixels, in its
// screen's own pixels, and from then on for any screen it is moved to.
void fitDisplayScale();
#endif

// GLUT's own glutCreateWindow, then the above on the new window.
inline int createPlatformWindow(const char *title) {
  const int window = glutCreateWindow(title);
  unsyncSwaps();
#if defined(_WIN32)
  fitDisplayScale();
#endif
  return window;
}

// From here on, the program's glutCreateWindow is the one above.
#undef glutCreateWindow
#define glutCreateWindow createPlatformWindow
