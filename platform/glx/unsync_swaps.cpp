// GLX's swap control: GLX_EXT_swap_control sets the window's interval,
// GLX_MESA_swap_control the current one's. GLX_SGI_swap_control cannot
// ask for 0, so it is left alone.
#include <GL/glx.h>

#include "platform/extensions.h"
#include "platform/glut.h"

namespace {
// An entry point of GLX's, as type T, or null.
template <typename T>
T glxFunction(const char *name) {
  return reinterpret_cast<T>(
      glXGetProcAddressARB(reinterpret_cast<const GLubyte *>(name)));
}
}  // namespace

void unsyncSwaps() {
  Display *display = glXGetCurrentDisplay();
  const GLXDrawable window = glXGetCurrentDrawable();
  if (display == nullptr || window == None) return;
  const char *offered =
      glXQueryExtensionsString(display, DefaultScreen(display));
  if (namesExtension(offered, "GLX_EXT_swap_control")) {
    const auto swapInterval =
        glxFunction<PFNGLXSWAPINTERVALEXTPROC>("glXSwapIntervalEXT");
    if (swapInterval != nullptr) swapInterval(display, window, 0);
  } else if (namesExtension(offered, "GLX_MESA_swap_control")) {
    const auto swapInterval =
        glxFunction<PFNGLXSWAPINTERVALMESAPROC>("glXSwapIntervalMESA");
    if (swapInterval != nullptr) swapInterval(0);
  }
}
