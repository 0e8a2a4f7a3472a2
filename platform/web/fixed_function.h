// The fixed-function pipeline that the program draws with, on WebGL.
#pragma once

#include "platform/glut.h"

// Makes the shader program that draws in the current colour through the
// current modelview and projection matrices current, with positions
// (x y z floats) read from the GL buffer BUFFER; glDrawArrays then draws.
void useFlatProgram(GLuint buffer);

// Starts making the shader program as soon as there is a context, so
// that the GPU process has it ready by the first frame, which would
// otherwise wait for it.
void prepareFixedFunction();

// Forget the GL objects after the context was lost: the shader program,
// the buffers, and every sphere's, which are made anew when next drawn.
// The matrices and the colour are the program's state, not the
// context's, and stay.
void forgetFixedFunction();
void forgetWireSpheres();
