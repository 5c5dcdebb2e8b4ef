#include "tests/support/gl_counts.h"

#include <cstring>

namespace vmtest {

GlCounts gGl;

void ResetGlCounts() {
  std::memset(&gGl, 0, sizeof gGl);
  gGl.currentMode = -1;
}

void Hook_glBegin(GLenum mode) {
  if (mode < 16) {
    ++gGl.beginByMode[mode];
    gGl.currentMode = static_cast<int>(mode);
  }
}
void Hook_glEnd() {
  gGl.currentMode = -1;
}
void Hook_glVertex3f(GLfloat, GLfloat, GLfloat) {
  if (gGl.currentMode >= 0) ++gGl.verticesByMode[gGl.currentMode];
}
void Hook_glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  Hook_glVertex3f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
}
void Hook_gluSphere(GLUquadric*, GLdouble, GLint slices, GLint stacks) {
  if (slices >= 0 && slices <= 64 && stacks >= 0 && stacks <= 64) ++gGl.spheres[slices][stacks];
}

}  // namespace vmtest

#define GL_CALL(ret, name, params, args)       \
  extern "C" ret __real_##name params;         \
  extern "C" ret __wrap_##name params {        \
    ++vmtest::gGl.calls[vmtest::kCall_##name]; \
    return __real_##name args;                 \
  }
#define GL_CALL_HOOKED(ret, name, params, args) \
  extern "C" ret __real_##name params;          \
  extern "C" ret __wrap_##name params {         \
    ++vmtest::gGl.calls[vmtest::kCall_##name];  \
    vmtest::Hook_##name args;                   \
    return __real_##name args;                  \
  }
#include "tests/support/gl_calls.def"
#undef GL_CALL_HOOKED
#undef GL_CALL
