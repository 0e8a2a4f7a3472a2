// The window is the page's canvas. Its size on the page is the
// stylesheet's (300 x 400 CSS pixels, fewer on a small screen, the whole
// screen in full screen); its backing store has a pixel for each of the
// screen's at whatever devicePixelRatio, and follows zoom and screen
// changes. GLUT's reshape gets the backing store's size, as a native
// window's gets its size in pixels: the same picture, with more pixels.
//
// The browser takes the WebGL context away when its GPU process
// restarts, a driver resets or a phone reclaims a background tab's
// memory. The page asks for it back at once; while it is gone the
// program goes on ticking and nothing is drawn. When it comes back every
// GL object is gone and WebGL's state is its default: the objects are
// made anew and the state the program set is set again, so the picture
// goes on from where it is. If it is not back within five seconds the
// page says so until it is.
//
// What the page and the program hand each other: page/contract.md.
#include "platform/web/window.h"

#include <emscripten.h>
#include <emscripten/console.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>

#include "platform/web/fixed_function.h"
#include "platform/web/glut.h"

// Here the names are WebGL's own.
#undef glClearColor
#undef glViewport

namespace {

const char *const canvas = "#canvas";
constexpr double patienceMs = 5000.0;

// The page's messages (start.js), by their data-failure names.
enum Failure { noWebGL, lost };

struct Window {
  unsigned int mode = 0;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
  WindowPoint size;
  WindowPoint mouse;
  GLfloat clearColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  GLint viewport[4] = {0, 0, 0, 0};
  long lostNotice = 0;
};

Window window;

// clang-format off
EM_JS(void, showFailure, (int failure, int shown, int forGood), {
  kelvaroFailure(['webgl', 'lost'][failure], shown, forGood);
});

// The context's attributes as the page made it (start.js), a bit each:
// alpha, depth, stencil, antialias.
EM_JS(int, pageContextAttributes, (), {
  var asked = kelvaroContextAttributes;
  return asked.alpha | asked.depth << 1 | asked.stencil << 2 | asked.antialias << 3;
});

// WebKit with WebGL turned off has no WebGLRenderingContext at all.
EM_JS(int, hasWebGL, (), {
  return typeof WebGLRenderingContext != 'undefined';
});

// Fits the backing store again whenever the canvas's size on the page
// or the screen's pixel ratio may have changed.
EM_JS(void, watchCanvas, (), {
  var fit = function() { Module['_webFitCanvas'](); };
  addEventListener('resize', fit);
  if (typeof ResizeObserver != 'undefined') {
    new ResizeObserver(fit).observe(document.getElementById('canvas'));
  }
  var watchRatio = function() {
    var query = matchMedia('(resolution: ' + devicePixelRatio + 'dppx)');
    query.addEventListener('change', function() {
      fit();
      watchRatio();
    }, {once: true});
  };
  watchRatio();
});

// The program has started: the page, once parsed, lets its timers go
// or holds them (page.js).
EM_JS(void, sayRunning, (), {
  Module['running'] = true;
});
// clang-format on

void sayLost(void * /*data*/) {
  showFailure(lost, 1, 0);
}

EM_BOOL contextLost(int /*type*/, const void * /*reserved*/, void * /*data*/) {
  window.lostNotice = emscripten_set_timeout(sayLost, patienceMs, nullptr);
  return EM_TRUE;  // asks for the context back
}

EM_BOOL contextRestored(int /*type*/, const void * /*reserved*/,
                        void * /*data*/) {
  emscripten_clear_timeout(window.lostNotice);
  showFailure(lost, 0, 0);
  forgetFixedFunction();
  forgetWireSpheres();
  prepareFixedFunction();
  const GLfloat *colour = window.clearColour;
  glClearColor(colour[0], colour[1], colour[2], colour[3]);
  const GLint *view = window.viewport;
  glViewport(view[0], view[1], view[2], view[3]);
  glutPostRedisplay();
  return EM_TRUE;
}

EM_BOOL mouseMoved(int /*type*/, const EmscriptenMouseEvent *event,
                   void * /*data*/) {
  const double ratio = emscripten_get_device_pixel_ratio();
  window.mouse.x = static_cast<int>(event->targetX * ratio);
  window.mouse.y = static_cast<int>(event->targetY * ratio);
  return EM_FALSE;
}

}  // namespace

// Gives the backing store the canvas's size on the page in device
// pixels, as a window system resizes a window.
extern "C" EMSCRIPTEN_KEEPALIVE void webFitCanvas() {
  double cssWidth = 0.0;
  double cssHeight = 0.0;
  emscripten_get_element_css_size(canvas, &cssWidth, &cssHeight);
  const double ratio = emscripten_get_device_pixel_ratio();
  const int width = static_cast<int>(std::lround(cssWidth * ratio));
  const int height = static_cast<int>(std::lround(cssHeight * ratio));
  if (width < 1 || height < 1) return;
  if (width == window.size.x && height == window.size.y) return;
  emscripten_set_canvas_element_size(canvas, width, height);
  window.size.x = width;
  window.size.y = height;
  windowResized(width, height);
}

WindowPoint windowSize() {
  return window.size;
}

WindowPoint windowMouse() {
  return window.mouse;
}

bool windowLost() {
  return emscripten_is_webgl_context_lost(window.context);
}

void windowShown() {
  sayRunning();
}

void keptClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
  const GLfloat colour[4] = {red, green, blue, alpha};
  std::copy(colour, colour + 4, window.clearColour);
  glClearColor(red, green, blue, alpha);
}

void keptViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  const GLint view[4] = {x, y, width, height};
  std::copy(view, view + 4, window.viewport);
  glViewport(x, y, width, height);
}

void glutInitDisplayMode(unsigned int mode) {
  window.mode = mode;
}

// The page, not the program, sets the window's size: its stylesheet.
void glutInitWindowSize(int /*width*/, int /*height*/) {}

// Without a context (WebGL turned off, or a GPU the browser does not
// trust) the page says so and main stops here, as freeglut ends a
// program that cannot open its display, where the program would fail
// at its first GL call.
int glutCreateWindow(const char * /*title*/) {
  const int page = pageContextAttributes();
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = (page & 1) != 0;
  attributes.depth = (page & 2) != 0;
  attributes.stencil = (page & 4) != 0;
  attributes.antialias = (page & 8) != 0;
  attributes.enableExtensionsByDefault = EM_FALSE;
  if (hasWebGL())
    window.context = emscripten_webgl_create_context(canvas, &attributes);
  if (window.context <= 0) {
    emscripten_console_error(
        "Kelvaro cannot run: the browser gives it no WebGL context.");
    showFailure(noWebGL, 1, 1);
    emscripten_exit_with_live_runtime();
  }
  // The page makes the context for a GLUT_DOUBLE window; a window of
  // another mode would be given that one all the same, and would not
  // draw as it asks.
  const bool asks[] = {
      (window.mode & GLUT_ALPHA) != 0, (window.mode & GLUT_DEPTH) != 0,
      (window.mode & GLUT_STENCIL) != 0, (window.mode & GLUT_MULTISAMPLE) != 0};
  const bool given[] = {attributes.alpha != 0, attributes.depth != 0,
                        attributes.stencil != 0, attributes.antialias != 0};
  if (!std::equal(asks, asks + 4, given)) {
    emscripten_console_error(
        "Kelvaro's window asks for a WebGL context of another mode than the "
        "page makes (start.js).");
  }
  emscripten_webgl_make_context_current(window.context);
  prepareFixedFunction();
  emscripten_set_webglcontextlost_callback(canvas, nullptr, EM_FALSE,
                                           contextLost);
  emscripten_set_webglcontextrestored_callback(canvas, nullptr, EM_FALSE,
                                               contextRestored);
  emscripten_set_mousemove_callback(canvas, nullptr, EM_FALSE, mouseMoved);
  emscripten_get_canvas_element_size(canvas, &window.size.x, &window.size.y);
  watchCanvas();
  webFitCanvas();
  return 1;
}
