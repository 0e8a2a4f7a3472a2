// The window at the display's scale. The manifest makes the program
// aware of the screen's DPI, so Windows no longer stretches a 96 DPI
// bitmap of it; in exchange, the window is sized here in the screen's
// own pixels. Everything goes through documented Win32 calls: the window
// is the one the current WGL context draws into, found without freeglut.
#include <windows.h>

#include "platform/glut.h"

namespace {

WNDPROC glutsProcedure = nullptr;
bool wide = false;  // the window takes Unicode messages

// The window's DPI: GetDpiForWindow from Windows 10 1607 on, the
// screen's before it.
int dpiOf(HWND window) {
  using GetDpiForWindow = UINT(WINAPI *)(HWND);
  const auto forWindow =
      reinterpret_cast<GetDpiForWindow>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (forWindow != nullptr) return static_cast<int>(forWindow(window));
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Moved to a screen of another scale, the window takes the rectangle
// that Windows suggests, which keeps its size on the screen; GLUT then
// hears of the new size as of any resize.
LRESULT CALLBACK followScale(HWND window, UINT message, WPARAM wParam,
                             LPARAM lParam) {
  if (message == WM_DPICHANGED) {
    const RECT &suggested = *reinterpret_cast<const RECT *>(lParam);
    SetWindowPos(window, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left,
                 suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  return wide
             ? CallWindowProcW(glutsProcedure, window, message, wParam, lParam)
             : CallWindowProcA(glutsProcedure, window, message, wParam, lParam);
}

}  // namespace

void fitDisplayScale() {
  const HWND window = WindowFromDC(wglGetCurrentDC());
  if (window == nullptr) return;
  const int dpi = dpiOf(window);
  if (dpi != USER_DEFAULT_SCREEN_DPI) {
    glutReshapeWindow(
        MulDiv(glutGet(GLUT_WINDOW_WIDTH), dpi, USER_DEFAULT_SCREEN_DPI),
        MulDiv(glutGet(GLUT_WINDOW_HEIGHT), dpi, USER_DEFAULT_SCREEN_DPI));
  }
  wide = IsWindowUnicode(window) != FALSE;
  const auto procedure = reinterpret_cast<LONG_PTR>(followScale);
  glutsProcedure = reinterpret_cast<WNDPROC>(
      wide ? SetWindowLongPtrW(window, GWLP_WNDPROC, procedure)
           : SetWindowLongPtrA(window, GWLP_WNDPROC, procedure));
}
