#include "tests/support/cube_calls.h"

#include <cstring>

#include "render/view_state.h"

namespace vmtest {

CubeCalls gCube;

void ResetCubeCalls() {
  std::memset(&gCube, 0, sizeof gCube);
}

}  // namespace vmtest

// vm::DrawCube(ViewState&, float, float, float, float, float, float, int, int)
#define VM_DRAW_CUBE _ZN2vm8DrawCubeERNS_9ViewStateEffffffii
#define VM_CAT2(a, b) a##b
#define VM_CAT(a, b) VM_CAT2(a, b)

extern "C" void VM_CAT(__real_, VM_DRAW_CUBE)(vm::ViewState& view, float px, float py, float pz,
                                              float sx, float sy, float sz, int side, int cap);
extern "C" void VM_CAT(__wrap_, VM_DRAW_CUBE)(vm::ViewState& view, float px, float py, float pz,
                                              float sx, float sy, float sz, int side, int cap) {
  using vmtest::gCube;
  using vmtest::gGl;
  ++gCube.calls;
  if (px != 0 || py != 0 || pz != 0 || sx != 0.1f || sy != 0.1f || sz != 0.1f || side != 1 ||
      cap != 1)
    ++gCube.otherArguments;
  if (gCube.recordModelview) {
    glGetFloatv(GL_MODELVIEW_MATRIX, gCube.lastModelview);
    if (gCube.calls == 1)
      std::memcpy(gCube.firstModelview, gCube.lastModelview, sizeof(float) * 16);
  }
  long before[vmtest::kGlCallCount];
  std::memcpy(before, gGl.calls, sizeof before);
  VM_CAT(__real_, VM_DRAW_CUBE)(view, px, py, pz, sx, sy, sz, side, cap);
  for (int i = 0; i < vmtest::kGlCallCount; ++i) gCube.inside[i] += gGl.calls[i] - before[i];
}
