// The one place that names the platform's GLUT header; every other file
// includes this one, so a port changes a single line.
#pragma once

#if defined(__APPLE__)
#include <GLUT/glut.h>
#else
#include <GL/glut.h>
#endif
