// The fixed-function pipeline that the program draws with, on WebGL.
#pragma once

#include "platform/glut.h"

// Makes the shader program that draws in the current colour through the
// current modelview and projection matrices current, with positions
// (x y z floats) read from the GL buffer BUFFER; glDrawArrays then draws.
void useFlatProgram(GLuint buffer);
