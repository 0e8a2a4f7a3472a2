// The web build's fixed-function matrices, against products worked out
// by hand: where points land, and gluPerspective's matrix for the
// 300 x 400 window.
#include "platform/web/matrix.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

using Point = std::array<double, 4>;

// MATRIX times the column (x, y, z, 1).
Point apply(const Matrix4 &matrix, double x, double y, double z) {
  Point out{};
  for (int row = 0; row < 4; ++row) {
    out[row] = matrix.m[row] * x + matrix.m[4 + row] * y +
               matrix.m[8 + row] * z + matrix.m[12 + row];
  }
  return out;
}

struct Case {
  const char *what;
  std::function<void(Matrix4 &)> build;
  Point from;  // x y z, and w = 1
  Point to;
};

const Case cases[] = {
    {"translation",
     [](Matrix4 &m) { translate(m, 1.0, -2.0, -300.0); },
     {0.0, 0.0, 0.0, 1.0},
     {1.0, -2.0, -300.0, 1.0}},
    {"scaling, depth halved",
     [](Matrix4 &m) { scale(m, 1.0, 1.0, 0.5); },
     {10.0, 20.0, 30.0, 1.0},
     {10.0, 20.0, 15.0, 1.0}},
    // Tilted by 90 degrees the floor's near edge rises to face the eye.
    {"a quarter turn about x",
     [](Matrix4 &m) { rotate(m, 90.0, 1.0, 0.0, 0.0); },
     {0.0, -90.0, 50.0, 1.0},
     {0.0, -50.0, -90.0, 1.0}},
    {"a quarter turn about y",
     [](Matrix4 &m) { rotate(m, 90.0, 0.0, 1.0, 0.0); },
     {1.0, 0.0, 0.0, 1.0},
     {0.0, 0.0, -1.0, 1.0}},
    {"the axis need not be of unit length",
     [](Matrix4 &m) { rotate(m, -90.0, 0.0, 0.0, 2.0); },
     {1.0, 0.0, 0.0, 1.0},
     {0.0, -1.0, 0.0, 1.0}},
    {"a turn by zero about no axis changes nothing",
     [](Matrix4 &m) { rotate(m, 30.0, 0.0, 0.0, 0.0); },
     {1.0, 2.0, 3.0, 1.0},
     {1.0, 2.0, 3.0, 1.0}},
    // Each call acts in the frame that the calls before it made, as in
    // the scene: the shift is along the turned x axis.
    {"a turn, then a shift",
     [](Matrix4 &m) {
       rotate(m, 90.0, 0.0, 0.0, 1.0);
       translate(m, 30.0, 0.0, 0.0);
     },
     {0.0, 0.0, 0.0, 1.0},
     {0.0, 30.0, 0.0, 1.0}},
    {"the ball's centre at the start",
     [](Matrix4 &m) {
       translate(m, 0.0, 0.0, -300.0);
       rotate(m, 0.0, 1.0, 0.0, 0.0);
       rotate(m, 0.0, 0.0, 1.0, 0.0);
       translate(m, 0.0, 100.0, 0.0);
     },
     {0.0, 0.0, 0.0, 1.0},
     {0.0, 100.0, -300.0, 1.0}},
};

TEST(Matrix, TransformsLandPointsWhereWorkedOut) {
  for (const Case &c : cases) {
    Matrix4 matrix;
    c.build(matrix);
    const Point got = apply(matrix, c.from[0], c.from[1], c.from[2]);
    for (int i = 0; i < 4; ++i)
      EXPECT_NEAR(got[i], c.to[i], 1e-12) << c.what << ", [" << i << "]";
  }
}

TEST(Matrix, PerspectiveForThe300By400Window) {
  Matrix4 projection;
  multiply(projection, perspective(45.0, 300.0 / 400.0, 1.0, 400.0));
  // cot(22.5 degrees) = 1 + sqrt(2); x is scaled by that over the aspect.
  const double cot = 2.414213562373095;
  const double want[16] = {
      cot / 0.75,     0, 0, 0, 0, cot, 0, 0, 0, 0, -401.0 / 399.0, -1, 0, 0,
      -800.0 / 399.0, 0};
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(projection.m[i], want[i], 1e-12) << "[" << i << "]";

  // The near and far planes land on -1 and 1 in depth.
  const Point nearest = apply(projection, 0.0, 0.0, -1.0);
  const Point farthest = apply(projection, 0.0, 0.0, -400.0);
  EXPECT_NEAR(nearest[2] / nearest[3], -1.0, 1e-12);
  EXPECT_NEAR(farthest[2] / farthest[3], 1.0, 1e-12);
}

TEST(Matrix, MultiplyAppliesTheRightHandMatrixFirst) {
  Matrix4 shifted;
  translate(shifted, 5.0, 0.0, 0.0);
  Matrix4 doubled;
  scale(doubled, 2.0, 2.0, 2.0);
  multiply(shifted, doubled);
  const Point got = apply(shifted, 1.0, 1.0, 1.0);
  EXPECT_EQ(got, (Point{7.0, 2.0, 2.0, 1.0}));
}

TEST(MatrixStack, PopGivesBackWhatPushKept) {
  MatrixStack stack;
  translate(stack.top, 1.0, 2.0, 3.0);
  push(stack);
  rotate(stack.top, 45.0, 0.0, 1.0, 0.0);
  pop(stack);
  EXPECT_EQ(apply(stack.top, 0.0, 0.0, 0.0), (Point{1.0, 2.0, 3.0, 1.0}));
  EXPECT_EQ(stack.count, 0);
}

TEST(MatrixStack, PushingAFullStackOrPoppingAnEmptyOneChangesNothing) {
  MatrixStack stack;
  translate(stack.top, 1.0, 0.0, 0.0);
  pop(stack);
  EXPECT_EQ(apply(stack.top, 0.0, 0.0, 0.0), (Point{1.0, 0.0, 0.0, 1.0}));
  for (int i = 0; i < MatrixStack::depth + 3; ++i) push(stack);
  EXPECT_EQ(stack.count, MatrixStack::depth);
  for (int i = 0; i < MatrixStack::depth + 3; ++i) pop(stack);
  EXPECT_EQ(stack.count, 0);
  EXPECT_EQ(apply(stack.top, 0.0, 0.0, 0.0), (Point{1.0, 0.0, 0.0, 1.0}));
}

}  // namespace
