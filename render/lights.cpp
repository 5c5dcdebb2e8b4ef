#include "render/lights.h"

#include <GL/gl.h>

#include "app/bench_state.h"

namespace vm {

// The rig tables arrive with the rendering core; until then lighting is
// switched as the state asks and no light parameters are set.
void SetupPointLights() {}
void SetupSpotLights() {}
void EnableLights() {
  if (BenchState.lightingEnabled == 1) glEnable(GL_LIGHTING);
}
void DisableLights() {
  glDisable(GL_LIGHTING);
}

}  // namespace vm
