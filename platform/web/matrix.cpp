#include "platform/web/matrix.h"

#include <cmath>

namespace {
const double pi = std::acos(-1.0);
}  // namespace

void translate(Matrix4 &matrix, double x, double y, double z) {
  double *m = matrix.m;
  for (int row = 0; row < 4; ++row) {
    m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
  }
}

void scale(Matrix4 &matrix, double x, double y, double z) {
  double *m = matrix.m;
  for (int row = 0; row < 4; ++row) {
    m[row] *= x;
    m[4 + row] *= y;
    m[8 + row] *= z;
  }
}

void rotate(Matrix4 &matrix, double degrees, double x, double y, double z) {
  double length = std::sqrt(x * x + y * y + z * z);
  if (length == 0.0) return;
  if (length != 1.0) {
    length = 1.0 / length;
    x *= length;
    y *= length;
    z *= length;
  }
  const double radians = degrees * pi / 180.0;
  const double s = std::sin(radians);
  const double c = std::cos(radians);
  const double t = 1.0 - c;
  // The rotation's three columns; the translation column stays.
  const double r[3][3] = {
      {x * x * t + c, y * x * t + z * s, z * x * t - y * s},
      {x * y * t - z * s, y * y * t + c, z * y * t + x * s},
      {x * z * t + y * s, y * z * t - x * s, z * z * t + c}};
  double *m = matrix.m;
  const Matrix4 before = matrix;
  const double *a = before.m;
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 4; ++row) {
      m[4 * column + row] = a[row] * r[column][0] + a[4 + row] * r[column][1] +
                            a[8 + row] * r[column][2];
    }
  }
}

void multiply(Matrix4 &matrix, const Matrix4 &by) {
  const Matrix4 a = matrix;
  for (int column = 0; column < 4; ++column) {
    const double *b = &by.m[4 * column];
    for (int row = 0; row < 4; ++row) {
      matrix.m[4 * column + row] = b[0] * a.m[row] + b[1] * a.m[4 + row] +
                                   b[2] * a.m[8 + row] + b[3] * a.m[12 + row];
    }
  }
}

Matrix4 perspective(double fovy, double aspect, double nearPlane,
                    double farPlane) {
  const double top = nearPlane * std::tan(fovy * pi / 360.0);
  const double right = top * aspect;
  Matrix4 result;
  double *m = result.m;
  m[0] = nearPlane * 2.0 / (right + right);
  m[5] = nearPlane * 2.0 / (top + top);
  m[10] = -(farPlane + nearPlane) / (farPlane - nearPlane);
  m[11] = -1.0;
  m[14] = -(farPlane * nearPlane * 2.0) / (farPlane - nearPlane);
  m[15] = 0.0;
  return result;
}

void push(MatrixStack &stack) {
  if (stack.count == MatrixStack::depth) return;
  stack.saved[stack.count++] = stack.top;
}

void pop(MatrixStack &stack) {
  if (stack.count == 0) return;
  stack.top = stack.saved[--stack.count];
}
