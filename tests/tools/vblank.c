/* A display with a vertical blank, for Xvfb, which has none. Preloaded, it
 * holds each glXSwapBuffers to the next tick of a KELVARO_VBLANK_HZ clock
 * (60) times the swap interval, which starts at 1 and follows the calls of
 * glXSwapInterval{EXT,MESA}, each logged to KELVARO_VBLANK_LOG. The GLX
 * extension strings offer KELVARO_VBLANK_OFFER (both swap controls; "none").
 * KELVARO_VBLANK_TURNS=MS brings the blank for MS ms, then none, by turns. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

/* The real GLX's entry point NAME, as TYPE. */
#define REAL(type, name) (__extension__(type) dlsym(RTLD_NEXT, name))

static int interval = 1;

static void asked(const char *how, int value) {
  const char *path = getenv("KELVARO_VBLANK_LOG");
  FILE *log = path ? fopen(path, "a") : NULL;
  if (log) fprintf(log, "%s %d\n", how, value), fclose(log);
  interval = value;
}

void glXSwapIntervalEXT(Display *display, GLXDrawable drawable, int value) {
  (void)display, (void)drawable;
  asked("glXSwapIntervalEXT", value);
}

int glXSwapIntervalMESA(unsigned int value) {
  asked("glXSwapIntervalMESA", (int)value);
  return 0;
}

void glXSwapBuffers(Display *display, GLXDrawable drawable) {
  REAL(void (*)(Display *, GLXDrawable), "glXSwapBuffers")(display, drawable);
  const char *hz = getenv("KELVARO_VBLANK_HZ");
  const char *turns = getenv("KELVARO_VBLANK_TURNS");
  const long long rate = atoll(hz ? hz : "60"),
                  turn = atoll(turns ? turns : "0");
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  const long long at = now.tv_sec * 1000000000LL + now.tv_nsec;
  if (interval <= 0 || rate <= 0 || (turn > 0 && at / (turn * 1000000) % 2))
    return;
  const long long period = interval * 1000000000LL / rate;
  const long long next = (at / period + 1) * period;
  const struct timespec until = {next / 1000000000LL, next % 1000000000LL};
  clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, NULL);
}

/* REAL's extensions less every swap control, then those offered. */
static const char *offered(const char *real, char *list, size_t size) {
  const char *offer = getenv("KELVARO_VBLANK_OFFER");
  if (!offer) offer = "GLX_EXT_swap_control GLX_MESA_swap_control";
  char *words = strdup(real ? real : ""), *rest = words, *word;
  size_t used = 0;
  list[0] = '\0';
  while ((word = strtok_r(rest, " ", &rest)))
    if (!strstr(word, "_swap_control") && used + strlen(word) + 1 < size)
      used += (size_t)sprintf(list + used, "%s ", word);
  if (strcmp(offer, "none") != 0 && used + strlen(offer) < size)
    strcpy(list + used, offer);
  free(words);
  return list;
}

const char *glXQueryExtensionsString(Display *display, int screen) {
  static char list[8192];
  const char *real = REAL(const char *(*)(Display *, int),
                          "glXQueryExtensionsString")(display, screen);
  return offered(real, list, sizeof list);
}

const char *glXGetClientString(Display *display, int name) {
  static char list[8192];
  const char *real = REAL(const char *(*)(Display *, int),
                          "glXGetClientString")(display, name);
  return name == GLX_EXTENSIONS ? offered(real, list, sizeof list) : real;
}

__GLXextFuncPtr glXGetProcAddressARB(const GLubyte *name) {
  if (!strcmp((const char *)name, "glXSwapIntervalEXT"))
    return (__GLXextFuncPtr)glXSwapIntervalEXT;
  if (!strcmp((const char *)name, "glXSwapIntervalMESA"))
    return (__GLXextFuncPtr)glXSwapIntervalMESA;
  return REAL(__GLXextFuncPtr(*)(const GLubyte *),
              "glXGetProcAddressARB")(name);
}

__GLXextFuncPtr glXGetProcAddress(const GLubyte *)
    __attribute__((alias("glXGetProcAddressARB")));
