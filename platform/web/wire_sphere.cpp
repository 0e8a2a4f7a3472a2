// glutWireSphere in the browser. It draws what freeglut draws: `stacks` - 1
// circles of latitude and `slices` meridians from pole to pole, with the poles
// on the z axis.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/glut.h"
#include "platform/web/fixed_function.h"

namespace {

// One sphere in GL buffers: the points where its circles of latitude and
// its meridians meet, and its line segments as pairs of indices into
// them, each point given once. They are kept while the sphere's
// parameters stay the same (the segments while its slices and stacks
// do): the scene asks for the same two spheres every frame, and the
// browser then has nothing to copy. A point's index is 16 bits, as
// WebGL 1 draws them without an extension.
struct WireMesh {
  double radius = 0.0;
  GLint slices = 0;
  GLint stacks = 0;
  GLuint points = 0;
  GLuint segments = 0;
  GLsizei indices = 0;
};

constexpr GLint mostPoints = 65536;

std::vector<WireMesh> meshes;

// The points of a sphere of MESH's size where its circles of latitude
// and its meridians meet, (stacks + 1) x (slices + 1) of them: the point
// STACK steps from the north pole and SLICE steps round the axis is at
// [STACK * (slices + 1) + SLICE], x y z. Each sine and cosine is taken
// once, which made the first frame's sphere a third as costly.
std::vector<GLfloat> gridPoints(const WireMesh &mesh) {
  const double pi = std::acos(-1.0);
  std::vector<double> sinPolar, cosPolar, sinAzimuth, cosAzimuth;
  for (GLint stack = 0; stack <= mesh.stacks; ++stack) {
    const double polar = pi * stack / mesh.stacks;
    sinPolar.push_back(std::sin(polar));
    cosPolar.push_back(std::cos(polar));
  }
  for (GLint slice = 0; slice <= mesh.slices; ++slice) {
    const double azimuth = 2.0 * pi * slice / mesh.slices;
    sinAzimuth.push_back(std::sin(azimuth));
    cosAzimuth.push_back(std::cos(azimuth));
  }
  std::vector<GLfloat> points;
  points.reserve(3 * (mesh.stacks + 1) * (mesh.slices + 1));
  for (GLint stack = 0; stack <= mesh.stacks; ++stack) {
    for (GLint slice = 0; slice <= mesh.slices; ++slice) {
      points.push_back(static_cast<GLfloat>(mesh.radius * sinPolar[stack] *
                                            cosAzimuth[slice]));
      points.push_back(static_cast<GLfloat>(mesh.radius * sinPolar[stack] *
                                            sinAzimuth[slice]));
      points.push_back(static_cast<GLfloat>(mesh.radius * cosPolar[stack]));
    }
  }
  return points;
}

void buildPoints(WireMesh &mesh) {
  const std::vector<GLfloat> grid = gridPoints(mesh);
  if (mesh.points == 0) glGenBuffers(1, &mesh.points);
  glBindBuffer(GL_ARRAY_BUFFER, mesh.points);
  glBufferData(GL_ARRAY_BUFFER, grid.size() * sizeof(GLfloat), grid.data(),
               GL_STATIC_DRAW);
}

// The segments, in the order freeglut draws them: the circles of
// latitude, then the meridians from pole to pole.
void buildSegments(WireMesh &mesh) {
  std::vector<GLushort> ends;  // two a segment
  ends.reserve(4 * mesh.stacks * mesh.slices);
  const auto add = [&](GLint stack, GLint slice) {
    ends.push_back(static_cast<GLushort>(stack * (mesh.slices + 1) + slice));
  };
  for (GLint stack = 1; stack < mesh.stacks; ++stack) {
    for (GLint slice = 0; slice < mesh.slices; ++slice) {
      add(stack, slice);
      add(stack, slice + 1);
    }
  }
  for (GLint slice = 0; slice < mesh.slices; ++slice) {
    for (GLint stack = 0; stack < mesh.stacks; ++stack) {
      add(stack, slice);
      add(stack + 1, slice);
    }
  }
  glGenBuffers(1, &mesh.segments);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.segments);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, ends.size() * sizeof(GLushort),
               ends.data(), GL_STATIC_DRAW);
  mesh.indices = static_cast<GLsizei>(ends.size());
}

// Without a GPU the browser draws with a software renderer, which keeps
// every line's set-up in memory until the lines are drawn and then frees
// it. Chromium's allocator hands memory freed in bulk back to the system:
// a sphere's worth, megabytes, went back and was faulted in again page by
// page every frame, which was most of the time the browser took to draw
// a frame. A flush after every 4,000 lines has them drawn in batches
// whose memory is reused (from 5,000 on it is returned again). Firefox,
// which sends WebGL to another process, holds its timers back for every
// flush: 10 a frame cost it a quarter of its ticks, 5 almost none, and
// its page crashed on the ball's 20,000 lines drawn unflushed. With a
// GPU a flush only sends the commands on.
constexpr GLsizei segmentsPerFlush = 4000;

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
  if (found->segments == 0) buildSegments(*found);
  if (found->points == 0 || found->radius != radius) {
    found->radius = radius;
    buildPoints(*found);
  }
  return *found;
}

}  // namespace

// The program's spheres have 10,201 points at most; one with more than
// 16-bit indices reach is not drawn.
void glutWireSphere(GLdouble radius, GLint slices, GLint stacks) {
  if (slices < 1 || stacks < 1) return;
  if ((slices + 1LL) * (stacks + 1LL) > mostPoints) return;
  const WireMesh &mesh = meshFor(radius, slices, stacks);
  useFlatProgram(mesh.points);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.segments);
  for (GLsizei first = 0; first < mesh.indices; first += 2 * segmentsPerFlush) {
    const GLsizei count = std::min(2 * segmentsPerFlush, mesh.indices - first);
    glDrawElements(GL_LINES, count, GL_UNSIGNED_SHORT,
                   reinterpret_cast<const void *>(first * sizeof(GLushort)));
    glFlush();
  }
}

void forgetWireSpheres() {
  meshes.clear();
}
