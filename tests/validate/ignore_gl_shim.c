// Preloaded under velmark3-cli validate: a driver that cuts corners.
// VM_IGNORE names what it skips: lighting, texture, fog or depth (glEnable of
// that capability is ignored), drop (every tenth glBegin/glEnd primitive
// group is left out) or shininess (half the specular exponent asked for).
#define _GNU_SOURCE
#include <GL/gl.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>

static int Ignoring(const char* what) {
  const char* v = getenv("VM_IGNORE");
  return v && strcmp(v, what) == 0;
}

void glEnable(GLenum cap) {
  static void (*real)(GLenum);
  if (!real) real = (void (*)(GLenum))dlsym(RTLD_NEXT, "glEnable");
  if ((cap == GL_LIGHTING && Ignoring("lighting")) ||
      (cap == GL_TEXTURE_2D && Ignoring("texture")) || (cap == GL_FOG && Ignoring("fog")) ||
      (cap == GL_DEPTH_TEST && Ignoring("depth")))
    return;
  real(cap);
}

static unsigned groups;
static int dropping;

void glBegin(GLenum mode) {
  static void (*real)(GLenum);
  if (!real) real = (void (*)(GLenum))dlsym(RTLD_NEXT, "glBegin");
  dropping = Ignoring("drop") && ++groups % 10 == 0;
  if (!dropping) real(mode);
}

void glEnd(void) {
  static void (*real)(void);
  if (!real) real = (void (*)(void))dlsym(RTLD_NEXT, "glEnd");
  if (!dropping) real();
  dropping = 0;
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  static void (*real)(GLfloat, GLfloat, GLfloat);
  if (!real) real = (void (*)(GLfloat, GLfloat, GLfloat))dlsym(RTLD_NEXT, "glVertex3f");
  if (!dropping) real(x, y, z);
}

void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  static void (*real)(GLdouble, GLdouble, GLdouble);
  if (!real) real = (void (*)(GLdouble, GLdouble, GLdouble))dlsym(RTLD_NEXT, "glVertex3d");
  if (!dropping) real(x, y, z);
}

void glMaterialf(GLenum face, GLenum name, GLfloat value) {
  static void (*real)(GLenum, GLenum, GLfloat);
  if (!real) real = (void (*)(GLenum, GLenum, GLfloat))dlsym(RTLD_NEXT, "glMaterialf");
  if (name == GL_SHININESS && Ignoring("shininess")) value /= 2;
  real(face, name, value);
}
