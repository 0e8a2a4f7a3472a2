// GLUT in the browser, as freeglut behaves on X11: the program's
// callbacks, its timers, the redisplay in the browser's next animation
// frame, and the keys. The window itself is window.cpp's.
#include "platform/web/glut.h"

#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <list>

#include "platform/web/key_table.h"
#include "platform/web/window.h"

namespace {

// A timer armed and not yet run.
struct Timer {
  unsigned int msecs = 0;
  void (*callback)(int) = nullptr;
  int value = 0;
  long id = 0;  // the browser's timeout
};

struct Callbacks {
  void (*display)() = nullptr;
  void (*reshape)(int, int) = nullptr;
  void (*keyboard)(unsigned char, int, int) = nullptr;
  void (*special)(int, int, int) = nullptr;
};

Callbacks callbacks;
std::list<Timer> timers;
bool holding = true;  // the timers are held: at first, until the page is ready
bool frameAsked = false;
bool running = false;

void timerDue(void *data) {
  auto *due = static_cast<Timer *>(data);
  void (*const callback)(int) = due->callback;
  const int value = due->value;
  timers.remove_if([due](const Timer &timer) { return &timer == due; });
  callback(value);
}

// While the context is lost nothing is drawn: a lost context draws
// nothing, and complains of every call.
EM_BOOL frame(double /*time*/, void * /*data*/) {
  frameAsked = false;
  if (callbacks.display != nullptr && !windowLost()) callbacks.display();
  return EM_FALSE;
}

// Whether the key being handled is the browser's: a shortcut (Ctrl, Alt
// or Meta held, but not for AltGr, which types characters) unless the
// key is a modifier itself, or Enter or Space pressing a focused button.
// html5.h's key event tells neither AltGr nor the target, so they are
// read from the event being dispatched.
// clang-format off
EM_JS(int, browsersKey, (int modifierKey), {
  var event = window.event;
  var shortcut = (event.ctrlKey || event.altKey || event.metaKey) &&
                 !event.getModifierState('AltGraph');
  var pressesButton = (event.key == 'Enter' || event.key == ' ') &&
                      event.target instanceof HTMLButtonElement;
  return (shortcut && !modifierKey) || pressesButton;
});
// clang-format on

// A key goes to the program's callback for it. Answering EM_TRUE makes
// html5.h cancel the browser's own action, which only the keys that
// would scroll the page or start a find need: Tab, the function keys
// and the rest stay the browser's.
EM_BOOL keyDown(int /*type*/, const EmscriptenKeyboardEvent *event,
                void * /*data*/) {
  const GlutKey key = glutKeyFor(event->key, event->location);
  const bool modifierKey = key.kind == GlutKey::special && key.code >= 112;
  if (browsersKey(modifierKey)) return EM_FALSE;
  const WindowPoint mouse = windowMouse();
  if (key.kind == GlutKey::special && callbacks.special != nullptr) {
    callbacks.special(key.code, mouse.x, mouse.y);
  } else if (key.kind == GlutKey::character && callbacks.keyboard != nullptr) {
    callbacks.keyboard(static_cast<unsigned char>(key.code), mouse.x, mouse.y);
  }
  return cancelsBrowsersAction(key) ? EM_TRUE : EM_FALSE;
}

}  // namespace

// The window's size in pixels changed: reshape and a new frame, once the
// window is shown.
void windowResized(int width, int height) {
  if (!running) return;
  if (callbacks.reshape != nullptr) callbacks.reshape(width, height);
  glutPostRedisplay();
}

// The options GLUT takes are an X display's; the browser has none.
void glutInit(int * /*argc*/, char ** /*argv*/) {}

void glutDisplayFunc(void (*callback)()) {
  callbacks.display = callback;
}

void glutReshapeFunc(void (*callback)(int, int)) {
  callbacks.reshape = callback;
}

void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
  callbacks.keyboard = callback;
}

void glutSpecialFunc(void (*callback)(int, int, int)) {
  callbacks.special = callback;
}

void glutTimerFunc(unsigned int msecs, void (*callback)(int), int value) {
  Timer &timer = timers.emplace_back();
  timer.msecs = msecs;
  timer.callback = callback;
  timer.value = value;
  if (!holding) timer.id = emscripten_set_timeout(timerDue, msecs, &timer);
}

// Holds the program's timers (HELD 1): none falls due until they are let
// go (0), when each falls due its whole delay later, as after a late
// timer; nothing catches up. The page's Pause, and its start: the program
// starts before the page below the canvas is parsed, and its first tick
// waits for the page to hold it or let it go (page.js).
extern "C" EMSCRIPTEN_KEEPALIVE void webHold(int held) {
  if ((held != 0) == holding) return;
  holding = held != 0;
  for (Timer &timer : timers) {
    if (holding) {
      emscripten_clear_timeout(timer.id);
    } else {
      timer.id = emscripten_set_timeout(timerDue, timer.msecs, &timer);
    }
  }
}

void glutPostRedisplay() {
  if (frameAsked) return;
  frameAsked = true;
  emscripten_request_animation_frame(frame, nullptr);
}

// The browser shows the frame when the animation frame's callback
// returns.
void glutSwapBuffers() {}

// The window is shown: reshape, then the first frame, and from then on
// the keys. The first frame is drawn at once, not in the browser's next
// animation frame: the page shows it with its first paint. Like
// freeglut's, the loop never returns: main stops here, and the browser's
// events and timers call the program from now on.
void glutMainLoop() {
  running = true;
  const WindowPoint size = windowSize();
  if (callbacks.reshape != nullptr) callbacks.reshape(size.x, size.y);
  frame(0.0, nullptr);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr,
                                  EM_TRUE, keyDown);
  windowShown();
  emscripten_exit_with_live_runtime();
}
