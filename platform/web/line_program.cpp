// The shader program that draws the wire spheres' lines in the browser.
//
// The GL emulation's own program would hand the current colour to every
// pixel as a varying. A software renderer then sets that varying up for
// each of the spheres' 25,000 lines, every frame, and its interpolation
// lands some pixels one step off the colour (127 where the colour says
// 127.5, which GL rounds to 128). A uniform costs nothing per line and
// gives every pixel the colour exactly, as the native build does. The
// position goes through the same two matrices in the same order as in the
// emulation's program, so every line falls on the same pixels.
#include "platform/web/line_program.h"

// GL 2's shaders are declared only on request.
#define GL_GLEXT_PROTOTYPES
#include "platform/glut.h"

// The emulation's current colour (gl.js).
extern "C" void webCurrentColor(GLfloat *rgba);

namespace {

struct LineProgram {
  GLuint id = 0;
  GLint modelView = -1;
  GLint projection = -1;
  GLint color = -1;
};

LineProgram lines;

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
uniform vec4 u_color;
void main() {
  gl_FragColor = u_color;
})";

GLuint compile(GLenum type, const char *source) {
  const GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

void buildProgram() {
  lines.id = glCreateProgram();
  const GLuint vertex = compile(GL_VERTEX_SHADER, vertexShader);
  const GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentShader);
  glAttachShader(lines.id, vertex);
  glAttachShader(lines.id, fragment);
  glBindAttribLocation(lines.id, 0, "a_position");
  glLinkProgram(lines.id);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  lines.modelView = glGetUniformLocation(lines.id, "u_modelView");
  lines.projection = glGetUniformLocation(lines.id, "u_projection");
  lines.color = glGetUniformLocation(lines.id, "u_color");
}

}  // namespace

void useLineProgram() {
  if (lines.id == 0) buildProgram();
  glUseProgram(lines.id);
  GLfloat matrix[16] = {};
  glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
  glUniformMatrix4fv(lines.modelView, 1, GL_FALSE, matrix);
  glGetFloatv(GL_PROJECTION_MATRIX, matrix);
  glUniformMatrix4fv(lines.projection, 1, GL_FALSE, matrix);
  GLfloat color[4] = {};
  webCurrentColor(color);
  glUniform4fv(lines.color, 1, color);
}

void forgetLineProgram() {
  lines = LineProgram();
}
