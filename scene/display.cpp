#include "platform/glut.h"
#include "scene/ball_state.h"

namespace {

// The square floor the ball bounces on, 100 x 100 at the floor level.
void drawFloor() {
  glColor3f(0.5f, 0.8f, 0.8f);
  glBegin(GL_QUADS);
  glNormal3f(0.0f, -100.0f, 0.0f);
  glVertex3f(-50.0f, -90.0f, 50.0f);
  glVertex3f(-50.0f, -90.0f, -50.0f);
  glVertex3f(50.0f, -90.0f, -50.0f);
  glVertex3f(50.0f, -90.0f, 50.0f);
  glEnd();
}

// The ball; leaves the matrix at the ball's centre for the companion.
void drawBall() {
  glColor3f(0.5f, 0.5f, 1.0f);
  glTranslatef(ball.offsetX, ball.height, 0.0f);
  glutWireSphere(ball.radius, 100, 100);
}

// The flattened companion rides on the ball's transform: the scene's
// turns are applied once more and its lift adds to the ball's, so it
// travels twice as far up and down as the ball does.
void drawCompanion() {
  glPushMatrix();
  {
    glColor3f(0.0f, 1.0f, 1.0f);
    glRotatef(ball.tilt, 1.0f, 0.0f, 0.0f);
    glRotatef(ball.turn, 0.0f, 1.0f, 0.0f);
    glTranslatef(30.0f, ball.height, 0.0f);
    glScalef(1.0f, 1.0f, 0.5f);
    glutWireSphere(static_cast<double>(ball.radius) - 10.0, 50, 50);
  }
  glPopMatrix();
}

}  // namespace

// One whole frame. There is no depth buffer, so the drawing order decides
// what covers what: floor, then ball, then companion.
void display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  {
    glTranslatef(0.0f, 0.0f, -300.0f);
    glRotatef(ball.tilt, 1.0f, 0.0f, 0.0f);
    glRotatef(ball.turn, 0.0f, 1.0f, 0.0f);
    drawFloor();
    drawBall();
    if (ball.showCompanion == 1) drawCompanion();
  }
  glPopMatrix();
  glutSwapBuffers();
}
