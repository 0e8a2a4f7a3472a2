/* Prints the time of every frame a window shows, seen from outside the
 * program through the X Damage extension: one line a frame, in
 * microseconds on the monotonic clock, for SECONDS seconds or until it is
 * stopped.
 * Usage: frame_watch WINDOW-ID SECONDS */
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long long nowMicros(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (long long)ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: frame_watch WINDOW-ID SECONDS\n");
    return 2;
  }
  Display *display = XOpenDisplay(NULL);
  int damageEvent = 0, damageError = 0;
  if (display == NULL ||
      !XDamageQueryExtension(display, &damageEvent, &damageError)) {
    fprintf(stderr, "frame_watch: no display with the Damage extension\n");
    return 1;
  }
  Window window = (Window)strtoul(argv[1], NULL, 0);
  /* NonEmpty reports once until the damage is taken away again, so each
   * swap, however many requests it takes, counts once. */
  Damage damage = XDamageCreate(display, window, XDamageReportNonEmpty);
  const long long end = nowMicros() + (long long)(atof(argv[2]) * 1e6);
  /* A line at a time, so that a watch cut short loses nothing. */
  setvbuf(stdout, NULL, _IOLBF, 0);
  struct pollfd pfd = {ConnectionNumber(display), POLLIN, 0};
  long long lastFrame = 0;
  XFlush(display);
  for (long long now = nowMicros(); now < end; now = nowMicros()) {
    if (XPending(display) == 0) {
      poll(&pfd, 1, (int)((end - now) / 1000) + 1);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != damageEvent + XDamageNotify) continue;
    XDamageSubtract(display, damage, None, None);
    /* A frame is one image; pieces of it less than a millisecond apart
     * belong to the same swap. */
    if (now - lastFrame >= 1000) printf("%lld\n", now);
    lastFrame = now;
  }
  XCloseDisplay(display);
  return 0;
}
