// glutWireSphere for the browser, whose GLUT leaves it out. It draws what
// freeglut draws: `stacks` - 1 circles of latitude and `slices` meridians
// from pole to pole, with the poles on the z axis.
#include <cmath>
#include <vector>

// GL 1.5's buffer objects are declared only on request.
#define GL_GLEXT_PROTOTYPES
#include "platform/glut.h"

namespace {

// The line segments of one sphere, kept in a GL buffer while its
// parameters stay the same: the scene asks for the same two spheres every
// frame, and the browser then has nothing to copy.
struct WireMesh {
  double radius = 0.0;
  GLint slices = 0;
  GLint stacks = 0;
  GLuint buffer = 0;
  GLsizei vertices = 0;
};

std::vector<WireMesh> meshes;

void addPoint(std::vector<GLfloat> &lines, double radius, double polar,
              double azimuth) {
  lines.push_back(static_cast<GLfloat>(radius * std::sin(polar) *
                                       std::cos(azimuth)));
  lines.push_back(static_cast<GLfloat>(radius * std::sin(polar) *
                                       std::sin(azimuth)));
  lines.push_back(static_cast<GLfloat>(radius * std::cos(polar)));
}

void addSegment(std::vector<GLfloat> &lines, double radius, double polar0,
                double azimuth0, double polar1, double azimuth1) {
  addPoint(lines, radius, polar0, azimuth0);
  addPoint(lines, radius, polar1, azimuth1);
}

void buildMesh(WireMesh &mesh) {
  const double pi = std::acos(-1.0);
  const double polarStep = pi / mesh.stacks;
  const double azimuthStep = 2.0 * pi / mesh.slices;
  std::vector<GLfloat> lines;  // x y z per end, two ends per segment
  for (GLint stack = 1; stack < mesh.stacks; ++stack) {
    for (GLint slice = 0; slice < mesh.slices; ++slice) {
      addSegment(lines, mesh.radius, stack * polarStep,
                 slice * azimuthStep, stack * polarStep,
                 (slice + 1) * azimuthStep);
    }
  }
  for (GLint slice = 0; slice < mesh.slices; ++slice) {
    for (GLint stack = 0; stack < mesh.stacks; ++stack) {
      addSegment(lines, mesh.radius, stack * polarStep,
                 slice * azimuthStep, (stack + 1) * polarStep,
                 slice * azimuthStep);
    }
  }
  if (mesh.buffer == 0) glGenBuffers(1, &mesh.buffer);
  glBindBuffer(GL_ARRAY_BUFFER, mesh.buffer);
  glBufferData(GL_ARRAY_BUFFER, lines.size() * sizeof(GLfloat), lines.data(),
               GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  mesh.vertices = static_cast<GLsizei>(lines.size() / 3);
}

WireMesh &meshFor(GLdouble radius, GLint slices, GLint stacks) {
  WireMesh *found = nullptr;
  for (WireMesh &mesh : meshes) {
    if (mesh.slices == slices && mesh.stacks == stacks) found = &mesh;
  }
  if (found == nullptr) {
    found = &meshes.emplace_back();
    found->slices = slices;
    found->stacks = stacks;
  }
  if (found->buffer == 0 || found->radius != radius) {
    found->radius = radius;
    buildMesh(*found);
  }
  return *found;
}

}  // namespace

void glutWireSphere(GLdouble radius, GLint slices, GLint stacks) {
  if (slices < 1 || stacks < 1) return;
  const WireMesh &mesh = meshFor(radius, slices, stacks);
  // An explicit stride keeps the browser's GL emulation on its fast path.
  glBindBuffer(GL_ARRAY_BUFFER, mesh.buffer);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 3 * sizeof(GLfloat), nullptr);
  glDrawArrays(GL_LINES, 0, mesh.vertices);
  glDisableClientState(GL_VERTEX_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}
