// The shader program that draws the wire spheres' lines in the browser,
// in place of the GL emulation's own.
#pragma once

// Makes the program current, with the emulation's modelview and
// projection matrices and its current colour; glUseProgram(0) hands the
// drawing back to the emulation.
void useLineProgram();

// Forgets the program after the GL context was lost; it is built anew
// when next used.
void forgetLineProgram();
