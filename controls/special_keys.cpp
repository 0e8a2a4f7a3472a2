#include "controls/keys.h"
#include "platform/glut.h"
#include "scene/ball_state.h"

namespace {
// Truncates and takes the remainder with the dividend's sign, so a turn
// past a full circle comes back to 0 and negative angles stay negative.
float wrapAngle(float degrees) {
  return static_cast<float>(static_cast<int>(degrees) % 360);
}
}  // namespace

// Home restarts the drop; it leaves size and angles alone.
void applySpecialKey(int key) {
  switch (key) {
    case GLUT_KEY_UP: ball.tilt -= 5.0f; break;
    case GLUT_KEY_DOWN: ball.tilt += 5.0f; break;
    case GLUT_KEY_LEFT: ball.turn -= 5.0f; break;
    case GLUT_KEY_RIGHT: ball.turn += 5.0f; break;
    case GLUT_KEY_HOME:
      ball.height = 100.0f;
      ball.velocity = 0.0f;
      ball.offsetX = 0.0f;
      ball.showCompanion = 0;
      break;
    case GLUT_KEY_F2: ball.showCompanion = 1; break;
    default: break;
  }
  ball.tilt = wrapAngle(ball.tilt);
  ball.turn = wrapAngle(ball.turn);
}

// Every special key redraws, listed or not.
void specialKeys(int key, int /*x*/, int /*y*/) {
  applySpecialKey(key);
  glutPostRedisplay();
}
