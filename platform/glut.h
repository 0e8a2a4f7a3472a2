// The one place that names the platform's GLUT header; every other file
// includes this one, so a port changes a single line.
#pragma once

#if defined(__EMSCRIPTEN__)
#include "platform/web/glut.h"
#elif defined(__APPLE__)
#include <GLUT/glut.h>
#else
#include <GL/glut.h>
#endif

// GLX and WGL hold every swap until the display's next refresh, and GLUT
// has no call to stop them, nor one for the display's scale; there, the
// window is sized at the scale and asked for swaps that do not wait as
// it is made. Apple's OpenGL does not hold a windowed swap, and the
// browser ticks apart from its frames and scales by itself.
#if !defined(__APPLE__) && !defined(__EMSCRIPTEN__)
#include "platform/created_window.h"
#endif
