#include <gtest/gtest.h>

#include <vector>

#include "scene/ball_state.h"

namespace {

class Bounce : public ::testing::Test {
 protected:
  void SetUp() override { ball = BallState{}; }
};

TEST_F(Bounce, FirstTicksFallFasterEachTick) {
  const float heights[] = {99.0f, 97.0f, 94.0f, 90.0f, 85.0f};
  for (int tick = 0; tick < 5; ++tick) {
    bounceStep();
    EXPECT_EQ(ball.height, heights[tick]) << "tick " << tick + 1;
    EXPECT_EQ(ball.velocity, -(tick + 1.0f)) << "tick " << tick + 1;
  }
}

// Runs one whole cycle from the start and records where the ball met the
// floor and where each rise topped out.
TEST_F(Bounce, WholeCycleBouncesLowerAndReturnsToStart) {
  std::vector<int> floorTicks;
  std::vector<float> peaks;
  for (int tick = 1; tick <= 384; ++tick) {
    if (ball.height <= -90.0f) floorTicks.push_back(tick);
    bounceStep();
    if (tick == 19) {
      EXPECT_EQ(ball.height, -90.0f);
    }
    if (tick < 384 && ball.velocity == 0.0f) peaks.push_back(ball.height);
  }
  EXPECT_EQ(floorTicks,
            (std::vector<int>{20,  57,  92,  125, 156, 185, 212, 237,
                              260, 281, 300, 317, 332, 345, 356, 365,
                              372, 377, 380, 381, 382, 383, 384}));
  EXPECT_EQ(peaks, (std::vector<float>{81,  63,  46,  30,  15,  1,   -12,
                                       -24, -35, -45, -54, -62, -69, -75,
                                       -80, -84, -87, -89, -90, -91}));
  EXPECT_EQ(ball.height, 100.0f);
  EXPECT_EQ(ball.velocity, 0.0f);
  bounceStep();
  EXPECT_EQ(ball.height, 99.0f) << "tick 385 repeats tick 1";
}

// The floor and restart tests at their edges, one tick from a set state.
TEST(BounceEdges, FloorAndRestart) {
  struct {
    const char *what;
    float height, velocity;          // before the tick
    float wantHeight, wantVelocity;  // after it
  } const cases[] = {
      {"exactly -90 bounces", -90.0f, -19.0f, -72.0f, 18.0f},
      {"just above the floor falls on", -89.0f, -1.0f, -91.0f, -2.0f},
      {"-91 bounces but does not restart", -91.0f, -1.0f, -91.0f, 0.0f},
      {"below -91 restarts, overriding the bounce", -92.0f, -1.0f, 100.0f,
       0.0f},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    ball = BallState{};
    ball.height = c.height;
    ball.velocity = c.velocity;
    bounceStep();
    EXPECT_EQ(ball.height, c.wantHeight);
    EXPECT_EQ(ball.velocity, c.wantVelocity);
  }
}

}  // namespace
