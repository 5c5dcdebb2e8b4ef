// The credits card: quad-text lines, three rings of lit spheres winding on
// their own paths, and a field of grey points drifting left.
#include <cmath>
#include <cstdlib>

#include "app/bench_state.h"
#include "render/drawers.h"
#include "render/lights.h"
#include "render/primitives.h"

namespace vm {
namespace {

constexpr int kPointCount = 300;
constexpr int kRingSpheres = 100;

// Positions from -9.9 to 9.9 in steps of 0.1; speeds -0.1 to -0.299.
void SeedPoints(GeoRecord* points) {
  for (int i = 0; i < kPointCount; ++i) {
    GeoRecord& p = points[i];
    p.active = 1;
    // Each coordinate is the first draw minus the second, in x, y, z order.
    int a = std::rand() % 100;
    p.x = static_cast<float>((a - std::rand() % 100) * 0.1);
    a = std::rand() % 100;
    p.y = static_cast<float>((a - std::rand() % 100) * 0.1);
    a = std::rand() % 100;
    p.z = static_cast<float>((a - std::rand() % 100) * 0.1);
    p.vx = static_cast<float>(-0.1 - (std::rand() % 200) * 0.001);
  }
}

// Sphere k's phase, taken to single precision before the angles use it.
float RingPhase(const ViewState& view, int k) {
  return static_cast<float>(k * 3.6 + view.frameAngle);
}

void BeginRing(int lights) {
  BenchState.lightingEnabled = 1;
  BenchState.lightCount = lights;
  EnableLights();
}

void Sphere(ViewState& view, double x, double y, double z) {
  glPushMatrix();
  glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
  gluSphere(view.quadric, 0.2, 8, 8);
  glPopMatrix();
}

}  // namespace

void DrawThanksScreen(ViewState& view) {
  GeoRecord* points = view.geo.particles;
  if (BenchState.sceneChanged == 1) {
    BenchState.sceneChanged = 0;
    SetupPointLights();
    SeedPoints(points);
  }

  glPushMatrix();
  gluLookAt(0.0, 8.0, 15.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
  DrawQuadText(view, "THANKS TO", -4.0f, 3.0f, 0.0f, 0.8f, 1.0f, 1.0f, 1.0f);
  DrawQuadText(view, "WWW.MESA3D.ORG", -5.0f, -1.0f, 0.0f, 0.8f, 1.0f, 1.0f, 0.0f);
  DrawQuadText(view, "WWW.FREETYPE.ORG", -6.0f, -2.0f, 0.0f, 0.8f, 0.0f, 1.0f, 1.0f);
  DrawQuadText(view, "ALL THE OPENGL COMMUNITY", -9.0f, -3.0f, 0.0f, 0.8f, 0.0f, 1.0f, 0.0f);
  DrawQuadText(view, "For Problems : BENCH@EXAMPLE.ORG", -11.0f, -6.0f, 0.0f, 0.6f, 1.0f, 1.0f,
               1.0f);
  glColor3f(0.3f, 0.3f, 0.3f);

  BeginRing(1);
  for (int k = 0; k < kRingSpheres; ++k) {
    const float t = RingPhase(view, k);
    const double a = t * 3.141 / (k + 30);
    const double b = t * 0.01745;
    Sphere(view, 6 * std::cos(b), 0, 6 * std::sin(a));
  }
  DisableLights();
  BeginRing(2);
  for (int k = 0; k < kRingSpheres; ++k) {
    const float t = RingPhase(view, k);
    const double a = t * 3.141 / (k + 45);
    Sphere(view, 6 * std::cos(a), 2 * std::cos(a), 4 * std::sin(a));
  }
  DisableLights();
  BeginRing(3);
  for (int k = 0; k < kRingSpheres; ++k) {
    const float t = RingPhase(view, k);
    const double a = t * 3.141 / (k + 35);
    Sphere(view, 6 * std::sin(a), std::cos(a), 4 * std::sin(a) - 10);
  }
  DisableLights();

  // Each point is drawn where it is, then moved; past -10 it wraps to 10.
  glBegin(GL_POINTS);
  for (int i = 0; i < kPointCount; ++i) {
    GeoRecord& p = points[i];
    const float g = std::fabs(p.vx) * 5.0f;
    glColor3f(g, g, g);
    glVertex3f(p.x, p.y, p.z);
    p.x += p.vx;
    if (p.x < -10.0f) p.x = 10.0f;
  }
  glEnd();
  glPopMatrix();

  view.frameAngle += 1.0f;
}

}  // namespace vm
