// The window at the desktop's scale on X11. A desktop tells its programs
// the scale as the Xft.dpi resource (120 at 125 %, 144 at 150 %, 192 at
// 200 %), one for every screen; the window, asked for in 96 DPI pixels,
// is sized here in the screen's own pixels before it is first shown.
// Documented Xlib only, on a connection of its own to the display that
// GLUT opens, for a moment.
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/glut.h"

namespace {

// Xft.dpi from the display's resource database, or 96 where it is
// missing or no sensible number (a scale from 1/4 to 10).
double xftDpi(Display *display) {
  const char *resources = XResourceManagerString(display);
  if (resources == nullptr) return 96.0;
  XrmInitialize();
  const XrmDatabase database = XrmGetStringDatabase(resources);
  char *type = nullptr;
  XrmValue value{};
  double dpi = 96.0;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) &&
      value.addr != nullptr) {
    char *end = nullptr;
    const double read = std::strtod(value.addr, &end);
    if (end != value.addr && read >= 24.0 && read <= 960.0) dpi = read;
  }
  XrmDestroyDatabase(database);
  return dpi;
}

const char *displayName = nullptr;  // GLUT's -display option, if given

}  // namespace

void noteDisplayOption(int argc, char **argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "-display") == 0) displayName = argv[i + 1];
  }
}

void fitDisplayScale() {
  Display *display = XOpenDisplay(displayName);
  if (display == nullptr) return;
  const double scale = xftDpi(display) / 96.0;
  XCloseDisplay(display);
  if (scale == 1.0) return;
  glutInitWindowSize(
      static_cast<int>(std::lround(glutGet(GLUT_INIT_WINDOW_WIDTH) * scale)),
      static_cast<int>(std::lround(glutGet(GLUT_INIT_WINDOW_HEIGHT) * scale)));
}
