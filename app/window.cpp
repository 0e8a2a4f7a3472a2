#include "app/window.h"

#include "platform/glut.h"

void initScene() {
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
}

// Leaves the modelview matrix selected and at identity, which is where
// every frame starts building its transform.
void reshape(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, aspect, 1.0, 400.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}
