// The animation's whole model and the scene procedures that use it.
#pragma once

// Everything the user or the clock can change. One instance, `ball`,
// lives for the whole run; heights and lengths are world units, angles
// degrees, velocity units per tick.
struct BallState {
  float radius = 20.0f;
  float height = 100.0f;
  float velocity = 0.0f;
  float tilt = 0.0f;
  float turn = 0.0f;
  float offsetX = 0.0f;
  unsigned char showCompanion = 0;
};

extern BallState ball;

// Advances the motion by one tick: bounce, gravity, restart, move.
void bounceStep();

// GLUT timer callback: one tick of the animation, then re-arms itself.
void bounceTimer(int value);

// GLUT display callback: draws floor, ball and companion from `ball`.
void display();
