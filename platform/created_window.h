// What the platform adds to GLUT's glutCreateWindow: the window's size
// at the display's scale, and swaps that do not wait for the display's
// refresh.
#pragma once

// GLUT's main loop runs a due tick, then draws and swaps; if the swap
// waited for the refresh, so would every tick, and on a 60 Hz screen the
// ball would move at 0.6 of its speed. Asks the current window's swaps
// not to wait, where the platform offers a way (GLX_EXT_swap_control or
// GLX_MESA_swap_control; WGL_EXT_swap_control); where it offers none,
// does nothing.
void unsyncSwaps();

#if defined(_WIN32)
// Windows scales each window apart, by its screen's DPI. Sizes the
// current window, asked for in 96 DPI pixels, in its screen's own
// pixels, and from then on for any screen it is moved to.
void fitDisplayScale();
#else
// An X11 desktop gives one scale for all its screens, as its Xft.dpi
// resource. Sizes the window that GLUT is about to make, asked for in 96
// DPI pixels, in the screen's own pixels; at 96 DPI it does nothing.
void fitDisplayScale();

// Notes the display that GLUT's -display option names, if any.
void noteDisplayOption(int argc, char **argv);

// GLUT's own glutInit, once the display it will open is noted.
inline void initPlatformGlut(int *argc, char **argv) {
  noteDisplayOption(*argc, argv);
  glutInit(argc, argv);
}
#undef glutInit
#define glutInit initPlatformGlut
#endif

// GLUT's own glutCreateWindow, with the above on the new window.
inline int createPlatformWindow(const char *title) {
#if !defined(_WIN32)
  fitDisplayScale();
#endif
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
