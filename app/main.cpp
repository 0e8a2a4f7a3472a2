// Kelvaro: a wire-frame ball bouncing on a floor, steered from the keyboard.
#include "app/window.h"
#include "controls/keys.h"
// GLUT: glutInit and glutCreateWindow gain platform/created_window.h's work
#include "platform/glut.h"
#include "scene/ball_state.h"

// Opens the window, installs the handlers, arms the first tick and hands
// control to GLUT for good. Any command-line options are GLUT's.
int main(int argc, char **argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE);
  glutInitWindowSize(300, 400);
  glutCreateWindow("Kelvaro");
  glutSpecialFunc(specialKeys);
  glutDisplayFunc(display);
  glutKeyboardFunc(keyboard);
  glutReshapeFunc(reshape);
  glutTimerFunc(10, bounceTimer, 1);
  initScene();
  glutMainLoop();
  return 0;
}
