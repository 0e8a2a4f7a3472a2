// The keyboard commands. The apply* procedures edit `ball` only, so they
// can be exercised without a window; the GLUT handlers add the redisplay.
#pragma once

// Applies one character key: + - r R x z a; any other changes nothing.
void applyKey(unsigned char key);

// Applies one special key (arrows, Home, F2), then wraps both angles
// into -355..355.
void applySpecialKey(int key);

// GLUT keyboard callback.
void keyboard(unsigned char key, int x, int y);

// GLUT special-key callback.
void specialKeys(int key, int x, int y);
