// DrawCube seen from its callers, through link-time wrapping: how often it
// is called, with which arguments, and which counted GL calls it made itself,
// so a scene's own calls can be told apart from the cube's whatever the cube
// draws.
#pragma once

#include "tests/support/gl_counts.h"

namespace vmtest {

struct CubeCalls {
  long calls;
  long otherArguments;        // calls not made as (0,0,0, .1,.1,.1, 1,1)
  long inside[kGlCallCount];  // counted GL calls made within DrawCube
  bool recordModelview;       // keep the matrices below (costs a query per cube)
  float firstModelview[16];
  float lastModelview[16];
};

extern CubeCalls gCube;
void ResetCubeCalls();

// A call made by the code under test itself, not by DrawCube.
inline long Own(GlCallId id) {
  return gGl.calls[id] - gCube.inside[id];
}

}  // namespace vmtest

#define GL_OWN(name) (::vmtest::Own(::vmtest::kCall_##name))
