// The large environment-mapped meshes: every quad its own glBegin/glEnd,
// shared corners sent again for each quad, as the workload requires.
#include <GL/gl.h>

#include "render/lights.h"
#include "scenes/scenes.h"
#include "state/bench_state.h"

namespace vm {

namespace {

inline void Corner(const GeoRecord& p, double s, double t) {
  glNormal3f(p.vx, p.vy, p.vz);
  glTexCoord2d(s, t);
  glVertex3f(p.x, p.y, p.z);
}

}  // namespace

void DrawSurfaceMesh(ViewState& view, unsigned mode) {
  const bool blended = mode == 2 || mode == 3;
  glPushMatrix();
  SceneCamera();
  if (mode == 0 || mode == 2) EnableLights();
  if (mode == 1 || mode == 3) SetupSpotLights();
  if (blended) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
  }
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, view.textures[kChromeTexture]);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);

  glPushMatrix();
  glTranslatef(0.0f, -1.0f, 0.0f);
  glRotatef(view.frameAngle, 0.0f, 1.0f, 0.0f);
  const int n = MeshColumns(BenchState.sliceCount);
  const int m = MeshRows(BenchState.stackCount);
  const GeoRecord* grid = view.geo.grid;
  for (int i = 0; i <= m - 2; ++i) {
    for (int j = 0; j <= n - 1; ++j) {
      const GeoRecord* p = grid + j * kGridSide + i;  // (j, i)
      const GeoRecord* q = p + kGridSide;             // (j + 1, i)
      glBegin(GL_QUADS);
      Corner(p[0], 0.0, 0.0);
      Corner(q[0], 1.0, 0.0);
      Corner(q[1], 1.0, 1.0);
      Corner(p[1], 0.0, 1.0);
      glEnd();
    }
  }
  glPopMatrix();

  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  glDisable(GL_TEXTURE_2D);
  DisableLights();
  if (blended) {
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
  }
  glPopMatrix();
  view.frameAngle += 2.0f;
}

}  // namespace vm
