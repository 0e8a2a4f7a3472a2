// The window frame's own callbacks and one-time drawing state.
#pragma once

// Sets the drawing state that never changes: the white clear colour.
void initScene();

// GLUT reshape callback: viewport and perspective follow the window.
void reshape(int width, int height);
