// Counts of the GL calls made by the project's code, through link-time
// wrapping (see gl_calls.def). Calls made inside Mesa or GLU are not seen.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

namespace vmtest {

enum GlCallId {
#define GL_CALL(ret, name, params, args) kCall_##name,
#define GL_CALL_HOOKED GL_CALL
#include "tests/support/gl_calls.def"
#undef GL_CALL_HOOKED
#undef GL_CALL
  kGlCallCount
};

struct GlCounts {
  long calls[kGlCallCount];
  long beginByMode[16];     // glBegin per primitive mode (GL_POINTS..GL_POLYGON)
  long spheres[65][65];     // gluSphere by [slices][stacks], both <= 64
  long verticesByMode[16];  // glVertex3f/3d inside glBegin(mode)
  int currentMode;          // -1 outside glBegin/glEnd
};

extern GlCounts gGl;
void ResetGlCounts();
}  // namespace vmtest

#define GL_COUNT(name) (::vmtest::gGl.calls[::vmtest::kCall_##name])
