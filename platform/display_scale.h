// A window that keeps its size on the screen at any display scale, where
// the platform scales each window apart (Windows); X11 has no such
// scale. The program still asks for its size in 96 DPI pixels.
#pragma once

// Sizes the current window for its screen's DPI, and from then on for
// the DPI of any screen it is moved to.
void fitDisplayScale();

// The platform's glutCreateWindow so far, then fitDisplayScale.
inline int createScaledWindow(const char *title) {
  const int window = glutCreateWindow(title);
  fitDisplayScale();
  return window;
}

// From here on, the program's glutCreateWindow is the one above.
#undef glutCreateWindow
#define glutCreateWindow createScaledWindow
