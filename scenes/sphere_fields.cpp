// The backdrop sphere, the wave of small spheres and the globe of spheres.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "render/angles.h"
#include "render/lights.h"
#include "scenes/scenes.h"
#include "state/bench_state.h"

namespace vm {

void DrawSkySphere(ViewState& view, int textureIndex, float grey) {
  DisableLights();
  glPushMatrix();
  // Only the view's four textures can be bound; any other index draws plain.
  const bool textured = textureIndex >= 0 && textureIndex < kTextureSlots;
  if (textured) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, view.textures[textureIndex]);
  }
  glColor3f(grey, grey, grey);
  glTranslatef(0.0f, 0.0f, 0.0f);
  glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
  glRotatef(view.frameAngle, 0.0f, 1.0f, 0.0f);
  gluSphere(view.quadric, 40.0, 32, 32);
  if (textured) glDisable(GL_TEXTURE_2D);
  glPopMatrix();
  EnableLights();
}

void DrawSphereWave(ViewState& view, float heightScale) {
  const int rows = BenchState.gridRows;
  const float s = static_cast<float>(BenchState.gridColumns / 10);
  glPushMatrix();
  SceneCamera();
  SetupSpotLights();
  EnableLights();
  for (int i = 0; i < rows; ++i) {
    const double z = (i - 0.5 * rows) / s;
    for (int j = 0; j < BenchState.gridColumns; ++j) {
      const int cols = BenchState.gridColumns;
      const double x = (j - 0.5 * cols) / s;
      const double y =
          heightScale * std::sqrt(std::fabs(std::cos((x * x + view.frameAngle + z * z) * 0.1047)));
      const float shade = static_cast<float>(i + j) / static_cast<float>(rows + cols);
      glColor3f(shade, shade, 0.0f);
      glPushMatrix();
      glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
      gluSphere(view.quadric, 0.2f, 16, 16);
      glPopMatrix();
    }
  }
  DisableLights();
  glPopMatrix();
  view.frameAngle += 1.0f;
}

void DrawSphereGlobe(ViewState& view, int mode) {
  const float ringStep = 360.0f / BenchState.sliceCount;
  const float latStep = 180.0f / BenchState.stackCount;
  glPushMatrix();
  SceneCamera();
  switch (mode) {
    case 0:
      EnableLights();
      break;
    case 1:
      glColor3f(0.3f, 0.3f, 0.0f);
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, view.textures[kCloudsTexture]);
      break;
    case 2:
      EnableLights();
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, view.textures[kCloudsTexture]);
      break;
    case 3:
      SetupSpotLights();
      glColor3f(1.0f, 1.0f, 1.0f);
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, view.textures[kCloudsTexture]);
      glEnable(GL_TEXTURE_GEN_S);
      glEnable(GL_TEXTURE_GEN_T);
      break;
    default:
      break;
  }
  glPushMatrix();
  glTranslatef(0.0f, -2.0f, 0.0f);
  glRotatef(view.frameAngle, 0.0f, 1.0f, 0.0f);
  // Float counters up to and including the end value: the poles and the
  // ring's closing sphere are drawn as coincident spheres, on purpose.
  const float stacks = static_cast<float>(BenchState.stackCount);
  const float slices = static_cast<float>(BenchState.sliceCount);
  for (float b = 0.0f; b <= stacks; b += 1.0f) {
    const float lat = b * latStep;
    const double r = 4.0 * std::sin(lat * kDegToRad);
    const double y = 4.0 * std::cos(lat * kDegToRad);
    for (float d = 0.0f; d <= slices; d += 1.0f) {
      const double phi = (d * ringStep - 90.0f) * kDegToRad;
      glPushMatrix();
      glTranslatef(static_cast<float>(r * std::cos(phi)), static_cast<float>(y),
                   static_cast<float>(r * std::sin(phi)));
      gluSphere(view.quadric, 0.9f, 32, 32);
      glPopMatrix();
    }
  }
  glPopMatrix();
  switch (mode) {
    case 0:
      DisableLights();
      break;
    case 1:
      glDisable(GL_TEXTURE_2D);
      break;
    case 2:
      DisableLights();
      glDisable(GL_TEXTURE_2D);
      break;
    case 3:
      DisableLights();
      glDisable(GL_TEXTURE_2D);
      glDisable(GL_TEXTURE_GEN_S);
      glDisable(GL_TEXTURE_GEN_T);
      break;
    default:
      break;
  }
  glPopMatrix();
  view.frameAngle += 1.0f;
}

}  // namespace vm
