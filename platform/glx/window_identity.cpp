// What an X11 desktop reads of a window to show it as Kelvaro's: its
// class (ICCCM's WM_CLASS), which matches it to the menu entry, with
// its name and icon, in the dock and the task switcher; the process
// that owns it (EMWH's _NET_WM_PID, beside the WM_CLIENT_MACHINE that
// GLUT sets), for "Force Quit"; and its own icon (_NET_WM_ICON) where
// no entry matched. Documented Xlib only, on GLUT's connection.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <vector>

#include "platform/glut.h"
#include "platform/glx/window_icon_pixels.h"

namespace {

unsigned long firstOwnRequest = 0;
XErrorHandler glutsErrorHandler = nullptr;

// A property that cannot be set stops nothing: errors from the requests
// made here are dropped, any other goes on to GLUT's handler.
int dropOwnErrors(Display *display, XErrorEvent *error) {
  if (error->serial >= firstOwnRequest) return 0;
  return glutsErrorHandler != nullptr ? glutsErrorHandler(display, error) : 0;
}

// _NET_WM_ICON's value: for each size its width, its height, then its
// pixels as ARGB, each in a long, as Xlib hands a 32-bit property over.
std::vector<long> iconProperty() {
  std::vector<long> property;
  const unsigned char *pixel = windowIconPixels;
  for (const int size : windowIconSizes) {
    property.push_back(size);
    property.push_back(size);
    for (int i = 0; i < size * size; ++i, pixel += 4) {
      const unsigned long argb = static_cast<unsigned long>(pixel[3]) << 24 |
                                 pixel[0] << 16 | pixel[1] << 8 | pixel[2];
      property.push_back(static_cast<long>(argb));
    }
  }
  return property;
}

// Sets the 32-bit property NAME of TYPE on WINDOW to VALUES.
void setProperty(Display *display, Window window, const char *name, Atom type,
                 const std::vector<long> &values) {
  XChangeProperty(display, window, XInternAtom(display, name, False), type, 32,
                  PropModeReplace,
                  reinterpret_cast<const unsigned char *>(values.data()),
                  static_cast<int>(values.size()));
}

}  // namespace

void nameWindow() {
  Display *display = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  if (display == nullptr || window == None) return;
  // GLUT's requests are answered first, under its own handler.
  XSync(display, False);
  firstOwnRequest = NextRequest(display);
  glutsErrorHandler = XSetErrorHandler(dropOwnErrors);
  char instance[] = "kelvaro";
  char windowClass[] = "Kelvaro";
  XClassHint hint{instance, windowClass};
  XSetClassHint(display, window, &hint);
  setProperty(display, window, "_NET_WM_PID", XA_CARDINAL, {getpid()});
  setProperty(display, window, "_NET_WM_ICON", XA_CARDINAL, iconProperty());
  XSync(display, False);
  XSetErrorHandler(glutsErrorHandler);
}
