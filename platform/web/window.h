// GLUT's one window in the browser: the canvas and its WebGL context.
#pragma once

struct WindowPoint {
  int x = 0;
  int y = 0;
};

// The window's size in pixels (the canvas's backing store).
WindowPoint windowSize();

// Where the pointer last was over the window, in pixels from its top left.
WindowPoint windowMouse();

// Whether the WebGL context is lost, and nothing can be drawn.
bool windowLost();

// Tells the page that the program runs.
void windowShown();

// GLUT's (glut.cpp): the window has a new size in pixels.
void windowResized(int width, int height);
