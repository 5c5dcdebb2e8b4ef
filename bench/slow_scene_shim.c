// Preloaded for the calibration of verdicts: a driver that draws the one
// scene with points (scene 15) a known share slower, every other scene as
// fast as ever. VM_SLOW_PERCENT sets the share (default 30): from the clear
// to the scene's last glEnd, each stretch of time is spun for that share
// again, so the scene's drawing time grows by it.
#define _GNU_SOURCE
#include <GL/gl.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

static double share = -1.0;
static int slowing;
static long long mark;

static long long Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

// Spins the share of the time since the mark, then moves the mark.
static void Stretch(void) {
  if (share < 0.0) {
    const char* v = getenv("VM_SLOW_PERCENT");
    share = (v ? atof(v) : 30.0) / 100.0;
  }
  const long long now = Now();
  const long long until = now + (long long)((double)(now - mark) * share);
  while (Now() < until) {
  }
  mark = Now();
}

void glClear(GLbitfield mask) {
  static void (*real)(GLbitfield);
  if (!real) real = (void (*)(GLbitfield))dlsym(RTLD_NEXT, "glClear");
  real(mask);
  slowing = 0;
  mark = Now();
}

void glBegin(GLenum mode) {
  static void (*real)(GLenum);
  if (!real) real = (void (*)(GLenum))dlsym(RTLD_NEXT, "glBegin");
  if (mode == GL_POINTS && !slowing) {
    slowing = 1;
    Stretch();  // what the frame drew before its points
  }
  real(mode);
}

void glEnd(void) {
  static void (*real)(void);
  if (!real) real = (void (*)(void))dlsym(RTLD_NEXT, "glEnd");
  real();
  if (slowing) Stretch();
}
