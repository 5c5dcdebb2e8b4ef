// The title card shown whenever no benchmark runs: captions of sphere dots in
// front of the turning cloud sky, two of them flipping like a sign.
#include "render/lights.h"
#include "render/primitives.h"
#include "scenes/scenes.h"
#include "screens/screens.h"
#include "state/bench_state.h"

namespace vm {
namespace {

constexpr int kPointLightMode = 0;
constexpr int kSpotLightMode = 1;
// The project's home page, in the sphere font's letters, dot and space.
constexpr const char* kHomePageCaption = "WWW.VELMARK.EXAMPLE.ORG";

}  // namespace

void DrawIntroScreen(ViewState& view) {
  BenchState.spotlightsOn = 1;
  BenchState.lightingEnabled = 1;
  BenchState.lightCount = 1;
  BenchState.spotCount = 4;
  glDisable(GL_FOG);

  DrawSkySphere(view, 0, 0.2f);
  SetupPointLights();  // modelview at identity: lights fixed to the viewer

  glPushMatrix();
  gluLookAt(0.0, 10.0, 10.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
  DrawSphereText(view, "TALVO", -5.0f, 0.0f, -7.0f, 0.0f, 1.0f, 1.0f, 4.0f, kPointLightMode, 1);
  DrawSphereText(view, "PRESENTS", -4.0f, 0.0f, -2.0f, 1.0f, 0.0f, 0.0f, 8.0f, kPointLightMode, 1);

  // Two copies half a turn apart: the black one shows only its highlights.
  glPushMatrix();
  glTranslatef(-5.0f, -7.0f, 1.0f);
  glRotatef(view.frameAngle, 1.0f, 0.0f, 0.0f);
  DrawSphereText(view, kHomePageCaption, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 16.0f, kPointLightMode,
                 1);
  glPopMatrix();
  glPushMatrix();
  glTranslatef(-5.0f, -7.0f, 1.0f);
  glRotatef(view.frameAngle + 180.0f, 1.0f, 0.0f, 0.0f);
  DrawSphereText(view, kHomePageCaption, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 16.0f, kPointLightMode,
                 1);
  glPopMatrix();

  DrawSphereText(view, "VELMARK III", -6.5f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 7.0f, kSpotLightMode, 1);
  glPopMatrix();

  view.frameAngle += 4.0f;
  if (view.frameAngle > 360.0f) view.frameAngle -= 360.0f;
}

}  // namespace vm
