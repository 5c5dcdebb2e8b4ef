#include "render/lights.h"

#include <GL/gl.h>

#include <cmath>

#include "render/angles.h"
#include "state/bench_state.h"

namespace vm {

namespace {

struct PointLight {
  GLfloat ambient[4];
  GLfloat diffuse[4];
  GLfloat specular[4];
  GLfloat position[4];
};

const PointLight kPointRig[8] = {
    {{0.1f, 0.1f, 0, 1}, {0, 0, 0, 1}, {1, 1, 0, 1}, {1, 30, 1, 1}},
    {{0.2f, 0, 0, 1}, {0.1f, 0, 0, 1}, {1, 0, 0, 1}, {10, 20, 10, 1}},
    {{0, 0.2f, 0, 1}, {0, 0.1f, 0, 1}, {1, 0, 0, 1}, {-10, 20, 10, 1}},
    {{0.2f, 0.2f, 0, 1}, {0.1f, 0.1f, 0, 1}, {1, 0, 0, 1}, {10, 20, -10, 1}},
    {{0.2f, 0.2f, 0.2f, 1}, {0.1f, 0.1f, 0.1f, 1}, {1, 0, 0, 1}, {-10, 20, -10, 1}},
    {{0, 0.2f, 0.2f, 1}, {0, 0.1f, 0.1f, 1}, {1, 0, 0, 1}, {10, -20, 10, 1}},
    {{0, 0.2f, 0, 1}, {0, 0.1f, 0, 1}, {1, 0, 0, 1}, {0, 10, 0, 1}},
    {{0, 0, 0.2f, 1}, {0, 0, 0.1f, 1}, {1, 0, 0, 1}, {0, -10, 0, 1}},
};
const GLfloat kPointDirection[3] = {0, 0, -10};

struct SpotLight {
  GLfloat ambient[4];
  GLfloat diffuse[4];
  GLfloat specular[4];
  GLfloat position[4];
  GLfloat cutoff;
  float step;
};

const SpotLight kSpotRig[4] = {
    {{0.1f, 0.1f, 0, 1}, {0, 0, 0, 1}, {1, 1, 0, 1}, {1, 4, 1, 1}, 40, 2},
    {{0.2f, 0, 0, 1}, {0.1f, 0, 0, 1}, {1, 0, 0, 1}, {0, 3, 0, 1}, 20, 12},
    {{0.2f, 0.2f, 0.2f, 1}, {0.1f, 0.1f, 0.1f, 1}, {0, 0, 1, 1}, {0, 5, 0, 1}, 30, 4},
    {{0.2f, 0.2f, 0.2f, 1}, {0.1f, 0.1f, 0.1f, 1}, {1, 0, 1, 1}, {0, 5, 0, 1}, 10, 15},
};

const GLfloat kMatAmbient[4] = {1, 1, 1, 1};
const GLfloat kMatDiffuse[4] = {0, 0, 0, 1};
const GLfloat kMatSpecular[4] = {1, 1, 1, 1};
const GLfloat kMatEmission[4] = {0, 0, 0, 0};

// The beam direction of spot i at phase a, products in double precision.
void SpotDirection(int i, float a, GLfloat dir[3]) {
  const double p = a;
  double dx = 0, dz = 0;
  switch (i) {
    case 0:
      dx = 0.5 * std::cos(p * kDegToRad);
      dz = std::sin(p * kTwoDegToRad);
      break;
    case 1:
      dx = 0.25 * std::cos(p * kDegToRad);
      dz = 0.3333333333333333 * std::sin(p * kDegToRad);
      break;
    case 2:
      dx = 0.3333333333333333 * std::cos(p * kTwoDegToRad);
      dz = 0.5 * std::sin(p * kTwoDegToRad);
      break;
    default:
      dx = 0.5 * std::cos(p * kDegToRad);
      dz = 0.5 * std::sin(p * kTwoDegToRad);
      break;
  }
  dir[0] = static_cast<GLfloat>(dx);
  dir[1] = -1.0f;
  dir[2] = static_cast<GLfloat>(dz);
}

// Point lights 0..lightCount-1 only for a count of 1 to 8; any other count
// names no light.
int SwitchedLights() {
  const int n = BenchState.lightCount;
  return (n >= 1 && n <= 8) ? n : 0;
}

}  // namespace

void SetupPointLights() {
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
  for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);

  glMaterialfv(GL_FRONT, GL_AMBIENT, kMatAmbient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, kMatDiffuse);
  glMaterialfv(GL_FRONT, GL_SPECULAR, kMatSpecular);
  glMaterialfv(GL_FRONT, GL_EMISSION, kMatEmission);
  glMaterialf(GL_FRONT, GL_SHININESS, 10.0f);
  glEnable(GL_COLOR_MATERIAL);

  for (int i = 0; i < 8; ++i) {
    const GLenum light = GL_LIGHT0 + i;
    const PointLight& l = kPointRig[i];
    glLightfv(light, GL_AMBIENT, l.ambient);
    glLightfv(light, GL_DIFFUSE, l.diffuse);
    glLightfv(light, GL_POSITION, l.position);
    glLightfv(light, GL_SPECULAR, l.specular);
    glLightf(light, GL_SPOT_CUTOFF, 180.0f);
    glLightfv(light, GL_SPOT_DIRECTION, kPointDirection);
  }
}

void SetupSpotLights() {
  if (BenchState.spotlightsOn == 0) return;
  glDisable(GL_LIGHTING);
  for (int i = 0; i < 4 && BenchState.spotCount > i; ++i) {
    const GLenum light = GL_LIGHT0 + i;
    const SpotLight& s = kSpotRig[i];
    GLfloat dir[3];
    SpotDirection(i, BenchState.spotAngle[i], dir);
    BenchState.spotAngle[i] += s.step;
    glLightfv(light, GL_AMBIENT, s.ambient);
    glLightfv(light, GL_DIFFUSE, s.diffuse);
    glLightfv(light, GL_POSITION, s.position);
    glLightfv(light, GL_SPECULAR, s.specular);
    glLightf(light, GL_SPOT_CUTOFF, s.cutoff);
    glLightfv(light, GL_SPOT_DIRECTION, dir);
    glEnable(light);
  }
  glEnable(GL_LIGHTING);
}

void EnableLights() {
  const int n = SwitchedLights();
  for (int i = 0; i < n; ++i) glEnable(GL_LIGHT0 + i);
  if (BenchState.lightingEnabled == 1) glEnable(GL_LIGHTING);
}

void DisableLights() {
  glDisable(GL_LIGHTING);
  const int n = SwitchedLights();
  for (int i = 0; i < n; ++i) glDisable(GL_LIGHT0 + i);
}

}  // namespace vm
