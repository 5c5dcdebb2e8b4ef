// The one-time set-up of each scene and the geometry block's first contents.
// Runs inside the timed part of a frame, so nothing here is cached.
#include <GL/gl.h>

#include <cstring>

#include "app/bench_state.h"
#include "render/lights.h"
#include "scenes/scenes.h"

namespace vm {

namespace {

void Black() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glDisable(GL_FOG);
}

void TexGenMode(GLint mode) {
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, mode);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, mode);
}

void FreeAllParticles(GeometryBlock& geo) {
  for (GeoRecord& p : geo.particles) p.active = 0;
}

// The processor test: terrain, smoothing and normals, on every frame.
void FractalScene(ViewState& view, double reStart, double imStart, double span) {
  BenchState.sceneChanged = 1;
  Black();
  const int n = BenchState.sliceCount, m = BenchState.stackCount;
  BuildFractalTerrain(view.geo, n, m, reStart, imStart, span);
  SmoothGridHeights(view.geo, n, m);
  ComputeGridNormals(view.geo, n, m);
  TexGenMode(GL_SPHERE_MAP);
}

}  // namespace

void InitGeometryBlock(GeometryBlock& geo) {
  // Zeroed so that scene 17 before any surface set-up, and the normals of a
  // mesh's last column, see defined values.
  std::memset(&geo, 0, sizeof geo);
  geo.latticeCount = 0;
  for (int a = 0; a < 16; ++a)
    for (int b = 0; b < 16; ++b)
      for (int c = 0; c < 16; ++c) {
        geo.latticeX[geo.latticeCount] = (c - 8) * 0.5f;
        geo.latticeY[geo.latticeCount] = (b - 8) * 0.5f;
        geo.latticeZ[geo.latticeCount] = (a - 8) * 0.5f;
        ++geo.latticeCount;
      }
  FreeAllParticles(geo);
}

void SetupFog() {
  static constexpr GLfloat kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
  glDisable(GL_FOG);
  glFogfv(GL_FOG_COLOR, kWhite);
  glFogf(GL_FOG_START, 10.0f);
  glFogf(GL_FOG_END, 25.0f);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glEnable(GL_FOG);
}

void SetupScene(ViewState& view) {
  const int n = BenchState.sliceCount, m = BenchState.stackCount;
  switch (BenchState.currentScene) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
      Black();
      break;
    case 8:
      Black();
      TexGenMode(GL_SPHERE_MAP);
      break;
    case 9:
    case 10:
      SetupFog();
      break;
    case 11:
      Black();
      view.latticeAngle = 0.0f;
      break;
    case 12:
      Black();
      SetupPointLights();
      view.latticeAngle = 0.0f;
      break;
    case 13:
      Black();
      view.latticeAngle = 0.0f;
      TexGenMode(GL_EYE_LINEAR);
      break;
    case 14:
      FreeAllParticles(view.geo);
      Black();
      break;
    case 15:
      Black();
      BuildRippleShell(view.geo, n, m);
      ComputeGridNormals(view.geo, n, m);
      TexGenMode(GL_SPHERE_MAP);
      break;
    case 16:
      Black();
      TexGenMode(GL_SPHERE_MAP);
      break;
    case 17:
    case 18:
    case 19:
      Black();
      BuildRoughDome(view.geo, n, m);
      ComputeGridNormals(view.geo, n, m);
      TexGenMode(GL_SPHERE_MAP);
      view.frameAngle = 90.0f;
      break;
    case 20:
      FractalScene(view, -2.0, -2.0, 4.0);
      break;
    case 21:
      FractalScene(view, -1.0, -1.0, 2.0);
      break;
    case 22:
    case 23:
      FractalScene(view, -1.5, -1.0, 2.0);
      break;
    default:
      break;
  }
  if (BenchState.spotlightsOn == 0) SetupPointLights();
}

}  // namespace vm
