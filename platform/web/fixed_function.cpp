// The part of fixed-function GL 1.1 and of GLU that the program calls,
// drawn on WebGL, which has neither: the modelview and projection matrix
// stacks, gluPerspective, the current colour, and quadrilaterals between
// glBegin and glEnd (the program's only primitive; others draw nothing).
// glClear, glClearColor and glViewport are WebGL's own.
//
// Everything is drawn by one shader program with the colour as a
// uniform: every pixel gets the colour exactly, as GL rounds it (0.5 is
// 127.5 in 8 bits, which GL rounds to 128), where a colour interpolated
// as a varying lands some pixels one step off.

#include "platform/web/fixed_function.h"

#include <vector>

#include "platform/web/matrix.h"

namespace {

struct FlatProgram {
  GLuint id = 0;
  bool ready = false;  // its uniforms are known and it is current
  GLint modelView = -1;
  GLint projection = -1;
  GLint colour = -1;
};

struct FixedFunction {
  MatrixStack modelView;
  MatrixStack projection;
  MatrixStack *current = &modelView;
  GLfloat colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  GLenum primitive = 0;
  std::vector<GLfloat> corners;  // x y z of each vertex since glBegin
  std::vector<GLfloat> triangles;
  GLuint quadBuffer = 0;
  FlatProgram program;
};

FixedFunction fixed;

const char *const vertexShader = R"(
attribute vec4 a_position;
uniform mat4 u_modelView;
uniform mat4 u_projection;
void main() {
  vec4 ecPosition = u_modelView * a_position;
  gl_Position = u_projection * ecPosition;
})";

const char *const fragmentShader = R"(
precision mediump float;
uniform vec4 u_colour;
void main() {
  gl_FragColor = u_colour;
})";

GLuint compile(GLenum type, const char *source) {
  const GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

// Compiles and links the program. The GL runs that in the browser's GPU
// process while the page goes on, until something asks for the result.
void startProgram(FlatProgram &program) {
  program.id = glCreateProgram();
  const GLuint vertex = compile(GL_VERTEX_SHADER, vertexShader);
  const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentShader);
  glAttachShader(program.id, vertex);
  glAttachShader(program.id, fragment);
  glBindAttribLocation(program.id, 0, "a_position");
  glLinkProgram(program.id);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
}

// Asks for the linked program's uniforms, and makes it current.
void finishProgram(FlatProgram &program) {
  program.modelView = glGetUniformLocation(program.id, "u_modelView");
  program.projection = glGetUniformLocation(program.id, "u_projection");
  program.colour = glGetUniformLocation(program.id, "u_colour");
  glUseProgram(program.id);
  glEnableVertexAttribArray(0);
  program.ready = true;
}

void uniformMatrix(GLint location, const Matrix4 &matrix) {
  GLfloat values[16] = {};
  for (int i = 0; i < 16; ++i) values[i] = static_cast<GLfloat>(matrix.m[i]);
  glUniformMatrix4fv(location, 1, GL_FALSE, values);
}

}  // namespace

void useFlatProgram(GLuint buffer) {
  FlatProgram &program = fixed.program;
  if (program.id == 0) startProgram(program);
  if (!program.ready) finishProgram(program);
  uniformMatrix(program.modelView, fixed.modelView.top);
  uniformMatrix(program.projection, fixed.projection.top);
  glUniform4fv(program.colour, 1, fixed.colour);
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
}

void glMatrixMode(GLenum mode) {
  if (mode == GL_MODELVIEW) fixed.current = &fixed.modelView;
  if (mode == GL_PROJECTION) fixed.current = &fixed.projection;
}

void glLoadIdentity() {
  fixed.current->top = Matrix4();
}

void glPushMatrix() {
  push(*fixed.current);
}

void glPopMatrix() {
  pop(*fixed.current);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  translate(fixed.current->top, x, y, z);
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  rotate(fixed.current->top, angle, x, y, z);
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
  scale(fixed.current->top, x, y, z);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear,
                    GLdouble zFar) {
  multiply(fixed.current->top, perspective(fovy, aspect, zNear, zFar));
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
  fixed.colour[0] = red;
  fixed.colour[1] = green;
  fixed.colour[2] = blue;
  fixed.colour[3] = 1.0f;
}

// With lighting off, as it always is here, a normal changes nothing.
void glNormal3f(GLfloat, GLfloat, GLfloat) {}

void glBegin(GLenum mode) {
  fixed.primitive = mode;
  fixed.corners.clear();
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  fixed.corners.insert(fixed.corners.end(), {x, y, z});
}

// Each quadrilateral a b c d is drawn as the triangles a b c and a c d.
void glEnd() {
  if (fixed.primitive != GL_QUADS) return;
  const size_t quads = fixed.corners.size() / 12;
  if (quads == 0) return;
  fixed.triangles.clear();
  for (size_t quad = 0; quad < quads; ++quad) {
    for (const size_t corner : {0, 1, 2, 0, 2, 3}) {
      const GLfloat *xyz = &fixed.corners[(4 * quad + corner) * 3];
      fixed.triangles.insert(fixed.triangles.end(), xyz, xyz + 3);
    }
  }
  if (fixed.quadBuffer == 0) glGenBuffers(1, &fixed.quadBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, fixed.quadBuffer);
  glBufferData(GL_ARRAY_BUFFER, fixed.triangles.size() * sizeof(GLfloat),
               fixed.triangles.data(), GL_STREAM_DRAW);
  useFlatProgram(fixed.quadBuffer);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(quads * 6));
}

void prepareFixedFunction() {
  startProgram(fixed.program);
}

void forgetFixedFunction() {
  fixed.program = FlatProgram();
  fixed.quadBuffer = 0;
}
