// Scene 15: a floor of spot-lit spheres, a burst of lines and a fountain of
// points born at the line tips.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdlib>

#include "app/bench_state.h"
#include "render/lights.h"
#include "scenes/scenes.h"

namespace vm {

namespace {

constexpr double kDegToRad = 0.01745;

}  // namespace

// The scan starts at 0 every time: the lowest free slot is always reused.
void SpawnParticle(ViewState& view, float x, float y, float z) {
  // The tip rounded to float before the factor, in every build: inlined and
  // vectorised, the optimiser may otherwise use the double it came from, and
  // the stream (and through its bounces rand()) would differ by build.
  const volatile float tip[3] = {x, y, z};
  for (GeoRecord& p : view.geo.particles) {
    if (p.active != 0) continue;
    p.active = 1;
    p.x = tip[0];
    p.y = tip[1];
    p.z = tip[2];
    p.vx = static_cast<float>(0.05 * p.x);
    p.vy = static_cast<float>(0.05 * p.y);
    p.vz = static_cast<float>(0.05 * p.z);
    return;
  }
}

void DrawLinesPointsSpheres(ViewState& view) {
  const int n = BenchState.sliceCount, m = BenchState.stackCount;
  const int cols = BenchState.gridColumns, rows = BenchState.gridRows;
  const float stepPhi = 360.0f / n;
  const float stepTheta = 180.0f / m;
  const float spacing = static_cast<float>(cols * 0.05);

  glPushMatrix();
  SceneCamera();
  glPushMatrix();
  glTranslatef(-5.0f, 0.0f, -5.0f);
  glRotatef(-view.frameAngle, 0.0f, 1.0f, 0.0f);
  SetupSpotLights();

  for (int f = 0; f < rows; ++f) {
    for (int g = 0; g < cols; ++g) {
      const float l = static_cast<float>(f + g) / static_cast<float>(cols + rows);
      glColor3f(l, l, 0.0f);
      glPushMatrix();
      glTranslatef(static_cast<float>((g - cols * 0.5) / spacing), -8.0f,
                   static_cast<float>((f - rows * 0.5) / spacing));
      gluSphere(view.quadric, 0.4f, 16, 16);
      glPopMatrix();
    }
  }
  DisableLights();

  for (int d = 0; d <= m; ++d) {
    const float theta = d * stepTheta;
    const double l = 2.0 * std::sin(theta * kDegToRad);
    const double y = 2.0 * std::cos(theta * kDegToRad);
    for (int h = 0; h <= n; ++h) {
      const double phi = (h * stepPhi - 90.0f) * kDegToRad;
      const double t = l * std::cos(phi);
      const double u = l * std::sin(phi);
      glBegin(GL_LINES);
      glColor3f(static_cast<float>(std::sqrt(t * t + u * u + y * y) * 0.5), 1.0f, 0.0f);
      glVertex3f(0.0f, 0.0f, 0.0f);
      glColor3f(0.0f, 1.0f, 1.0f);
      glVertex3f(static_cast<float>(t), static_cast<float>(y), static_cast<float>(u));
      glEnd();
      if (std::rand() % 3 == 2)
        SpawnParticle(view, static_cast<float>(t), static_cast<float>(y), static_cast<float>(u));
    }
  }

  // Free records are drawn too, at their last position: always 10000 points.
  glBegin(GL_POINTS);
  for (GeoRecord& p : view.geo.particles) {
    if (p.active == 1) {
      p.vy = static_cast<float>(p.vy - 0.01);
      p.x = p.x + p.vx;
      p.y = p.y + p.vy;
      p.z = p.z + p.vz;
      if (p.y < -8.0f) {
        p.vy = static_cast<float>(p.vy * 0.5);
        if (std::fabs(p.vy) < 0.1) p.active = 0;
        p.vy = -p.vy;
        p.y = p.y + p.vy;
        p.vx = static_cast<float>(p.vx + RandomJitter() * 0.0002);
        p.vx = static_cast<float>(p.vx + RandomJitter() * 0.0002);
      }
    }
    const float e = std::fabs(p.y + 7.0f);
    glColor3f(0.0f, e, e);
    glVertex3f(p.x, p.y, p.z);
  }
  glEnd();

  glPopMatrix();
  glPopMatrix();
  view.frameAngle += 1.0f;
}

}  // namespace vm
