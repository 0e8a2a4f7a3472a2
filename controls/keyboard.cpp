#include "controls/keys.h"
#include "platform/glut.h"
#include "scene/ball_state.h"

// Case matters: only "r" has a capital twin; "X", "Z" and "A" do nothing.
void applyKey(unsigned char key) {
  switch (key) {
    case '+': ball.radius += 3.0f; break;
    case '-': ball.radius -= 3.0f; break;
    case 'r':
    case 'R':
      ball.radius = 20.0f;
      ball.offsetX = 0.0f;
      break;
    case 'x': ball.offsetX += 4.0f; break;
    case 'z': ball.offsetX -= 4.0f; break;
    case 'a': ball.showCompanion = 1; break;
    default: break;
  }
}

// Every key redraws, listed or not.
void keyboard(unsigned char key, int /*x*/, int /*y*/) {
  applyKey(key);
  glutPostRedisplay();
}
