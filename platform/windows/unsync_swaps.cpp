// WGL's swap control. WGL_EXT_swap_control is named in the WGL extension
// string, or, by drivers older than that string, in GL's own.
#include <windows.h>

#include "platform/extensions.h"
#include "platform/glut.h"

namespace {
// An entry point of the current context's driver, as type T, or null.
// (FARPROC goes through void (*)(), which converts to any function type.)
template <typename T>
T wglFunction(const char *name) {
  return reinterpret_cast<T>(
      reinterpret_cast<void (*)()>(wglGetProcAddress(name)));
}

bool offersSwapControl(HDC window) {
  using ArbStrings = const char *(WINAPI *)(HDC);
  using ExtStrings = const char *(WINAPI *)();
  const char *wgl = nullptr;
  if (const auto arb = wglFunction<ArbStrings>("wglGetExtensionsStringARB")) {
    wgl = arb(window);
  } else if (const auto ext =
                 wglFunction<ExtStrings>("wglGetExtensionsStringEXT")) {
    wgl = ext();
  }
  const char *gl = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
  return namesExtension(wgl, "WGL_EXT_swap_control") ||
         namesExtension(gl, "WGL_EXT_swap_control");
}
}  // namespace

void unsyncSwaps() {
  const HDC window = wglGetCurrentDC();
  if (window == nullptr || !offersSwapControl(window)) return;
  using SwapInterval = BOOL(WINAPI *)(int);
  if (const auto swapInterval = wglFunction<SwapInterval>("wglSwapIntervalEXT"))
    swapInterval(0);
}
