#include "controls/keys.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/glut.h"
#include "scene/ball_state.h"

namespace {

// A state away from the start, so every key's effect shows.
BallState midFlight() {
  BallState s;
  s.radius = 26.0f;
  s.height = 42.0f;
  s.velocity = -7.0f;
  s.tilt = -15.0f;
  s.turn = 20.0f;
  s.offsetX = 8.0f;
  return s;
}

bool same(const BallState &a, const BallState &b) {
  return a.radius == b.radius && a.height == b.height &&
         a.velocity == b.velocity && a.tilt == b.tilt && a.turn == b.turn &&
         a.offsetX == b.offsetX && a.showCompanion == b.showCompanion;
}

using Field = float BallState::*;

// One key, the float fields it sets and whether it shows the companion;
// every other field must keep its value.
struct KeyRow {
  bool special;
  int key;
  std::vector<std::pair<Field, float>> sets;
  bool showsCompanion;
};

TEST(Keys, EachListedKeyChangesOnlyItsFields) {
  const KeyRow rows[] = {
      {false, '+', {{&BallState::radius, 29.0f}}, false},
      {false, '-', {{&BallState::radius, 23.0f}}, false},
      {false,
       'r',
       {{&BallState::radius, 20.0f}, {&BallState::offsetX, 0.0f}},
       false},
      {false,
       'R',
       {{&BallState::radius, 20.0f}, {&BallState::offsetX, 0.0f}},
       false},
      {false, 'x', {{&BallState::offsetX, 12.0f}}, false},
      {false, 'z', {{&BallState::offsetX, 4.0f}}, false},
      {false, 'a', {}, true},
      {true, GLUT_KEY_UP, {{&BallState::tilt, -20.0f}}, false},
      {true, GLUT_KEY_DOWN, {{&BallState::tilt, -10.0f}}, false},
      {true, GLUT_KEY_LEFT, {{&BallState::turn, 15.0f}}, false},
      {true, GLUT_KEY_RIGHT, {{&BallState::turn, 25.0f}}, false},
      {true, GLUT_KEY_F2, {}, true},
      {true,
       GLUT_KEY_HOME,
       {{&BallState::height, 100.0f},
        {&BallState::velocity, 0.0f},
        {&BallState::offsetX, 0.0f}},
       false},
  };
  for (const KeyRow &row : rows) {
    BallState want = midFlight();
    for (const auto &[field, value] : row.sets) want.*field = value;
    want.showCompanion = row.showsCompanion ? 1 : 0;
    ball = midFlight();
    if (row.special) {
      applySpecialKey(row.key);
    } else {
      applyKey(static_cast<unsigned char>(row.key));
    }
    EXPECT_TRUE(same(ball, want)) << "key " << row.key;
  }
}

TEST(Keys, UnlistedKeysChangeNothing) {
  const std::string listed = "+-rRxza";
  for (int key = 0; key < 256; ++key) {
    if (listed.find(static_cast<char>(key)) != std::string::npos) continue;
    ball = midFlight();
    ball.showCompanion = 1;
    const BallState before = ball;
    applyKey(static_cast<unsigned char>(key));
    EXPECT_TRUE(same(ball, before)) << "character " << key;
  }
  // Function keys, Page Up/Down, End, Insert, and the modifier keys that
  // freeglut reports as special keys (Shift, Ctrl, Alt: 112 and up).
  for (int key = 0; key < 130; ++key) {
    if (key == GLUT_KEY_F2 || (key >= 100 && key <= 103) ||
        key == GLUT_KEY_HOME)
      continue;
    ball = midFlight();
    const BallState before = ball;
    applySpecialKey(key);
    EXPECT_TRUE(same(ball, before)) << "special key " << key;
  }
}

TEST(Keys, AnglesWrapAtAFullCircleAndKeepTheirSign) {
  ball = BallState{};
  for (int press = 1; press <= 72; ++press) {
    applySpecialKey(GLUT_KEY_UP);
    EXPECT_EQ(ball.tilt, press == 72 ? 0.0f : -5.0f * press) << press;
  }
  ball.tilt = 355.0f;
  applySpecialKey(GLUT_KEY_DOWN);
  EXPECT_EQ(ball.tilt, 0.0f);
  ball.turn = -355.0f;
  applySpecialKey(GLUT_KEY_LEFT);
  EXPECT_EQ(ball.turn, 0.0f);
  applySpecialKey(GLUT_KEY_LEFT);
  EXPECT_EQ(ball.turn, -5.0f) << "negative angles stay negative";
}

TEST(Keys, RadiusRunsNegativeAndRComesBack) {
  ball = BallState{};
  for (int press = 0; press < 7; ++press) applyKey('-');
  EXPECT_EQ(ball.radius, -1.0f);
  applyKey('r');
  EXPECT_EQ(ball.radius, 20.0f);
}

TEST(Keys, HomeInFlightRestartsTheDropAndHidesTheCompanion) {
  ball = BallState{};
  applyKey('a');
  applyKey('+');
  applySpecialKey(GLUT_KEY_DOWN);
  for (int tick = 0; tick < 30; ++tick) bounceStep();
  applySpecialKey(GLUT_KEY_HOME);
  EXPECT_EQ(ball.height, 100.0f);
  EXPECT_EQ(ball.velocity, 0.0f);
  EXPECT_EQ(ball.showCompanion, 0);
  EXPECT_EQ(ball.radius, 23.0f) << "Home keeps the size";
  EXPECT_EQ(ball.tilt, 5.0f) << "Home keeps the angles";
  bounceStep();
  EXPECT_EQ(ball.height, 99.0f);
}

}  // namespace
