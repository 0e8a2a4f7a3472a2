// The matrices of the fixed-function pipeline, which WebGL leaves to its
// programs: column-major 4 x 4, as glLoadMatrix takes them. The
// arithmetic is double precision with the operations in the order that
// Emscripten's GL emulation used, so the web build draws the very pixels
// it drew before; a matrix goes to the shaders as floats.
#pragma once

struct Matrix4 {
  double m[16] = {1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0,
                  0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0};
};

// MATRIX times the translation, scaling or rotation, as glTranslate,
// glScale and glRotate multiply the current matrix (DEGREES about the
// axis X Y Z, which need not be of unit length).
void translate(Matrix4 &matrix, double x, double y, double z);
void scale(Matrix4 &matrix, double x, double y, double z);
void rotate(Matrix4 &matrix, double degrees, double x, double y, double z);

// MATRIX times BY.
void multiply(Matrix4 &matrix, const Matrix4 &by);

// gluPerspective's matrix: FOVY degrees from bottom to top, ASPECT the
// width over the height, and the near and far planes' distances.
Matrix4 perspective(double fovy, double aspect, double nearPlane,
                    double farPlane);

// A matrix and the stack beneath it, as glPushMatrix and glPopMatrix
// keep them. Like GL's, a push onto a full stack and a pop from an empty
// one change nothing.
struct MatrixStack {
  static constexpr int depth = 32;  // what GL promises the modelview
  Matrix4 saved[depth];
  int count = 0;
  Matrix4 top;
};

void push(MatrixStack &stack);
void pop(MatrixStack &stack);
