#include "platform/glut.h"
#include "scene/ball_state.h"

// The one model record; it holds its start values from the moment the
// program is loaded.
BallState ball;

namespace {
constexpr float floorLevel = -90.0f;
constexpr float restartBelow = -91.0f;
constexpr float startHeight = 100.0f;
constexpr unsigned int tickMs = 10;
}  // namespace

// Both tests look at the height before this tick's move. Gravity acts in
// the same tick as a reversal, so every rebound is one unit slower than
// the fall and the peaks shrink until the ball sinks through the floor.
void bounceStep() {
  if (ball.height <= floorLevel) ball.velocity = -ball.velocity;
  ball.velocity = ball.velocity - 1.0f;
  if (ball.height < restartBelow) {
    ball.height = startHeight;
    ball.velocity = 0.0f;
  }
  ball.height = ball.height + ball.velocity;
}

// One animation tick; the chain keeps exactly one tick pending.
void bounceTimer(int /*value*/) {
  bounceStep();
  glutPostRedisplay();
  glutTimerFunc(tickMs, bounceTimer, 1);
}
