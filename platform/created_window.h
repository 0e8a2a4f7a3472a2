// What the platform adds to GLUT's glutInit and glutCreateWindow, for
// every file that includes platform/glut.h: the window's size at the
// display's scale, swaps that do not wait for the display's refresh, and
// on X11 the window named as the desktop knows it.
// The work lives in platform/glx/ (X11) and platform/windows/.
#pragma once

// GLUT's main loop runs a due tick, then draws and swaps; if the swap
// waited for the refresh, so would every tick, and on a 60 Hz screen the
// ball would move at 0.6 of its speed. Asks the current window's swaps
// not to wait, where the platform offers a way (GLX_EXT_swap_control or
// GLX_MESA_swap_control; WGL_EXT_swap_control); where it offers none,
// does nothing.
void unsyncSwaps();

// Sizes the window, asked for in 96 DPI pixels, in the screen's own
// pixels. An X11 desktop gives one scale for all its screens, as its
// Xft.dpi resource: called before GLUT makes the window, it sizes the
// window to be made, and at 96 DPI does nothing. Windows scales each
// window apart, by its screen's DPI: called after, it sizes the current
// window, and from then on for any screen it is moved to.
void fitDisplayScale();

#if !defined(_WIN32)
// Gives the current window its class ("kelvaro", "Kelvaro"), its
// process and its icon, which the desktop reads. GLUT shows a window as
// it makes it, with no way in before: they are set at once after, and
// desktops read them again when they change.
void nameWindow();

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
#else
  nameWindow();
#endif
  return window;
}

// From here on, the program's glutCreateWindow is the one above. A macro,
// not the linker's --wrap: freeglut's own header makes these two macros
// on Windows, and a macro works the same with every toolchain.
#undef glutCreateWindow
#define glutCreateWindow createPlatformWindow
