// The one-time set-up of each scene and the geometry block's first contents.
// Runs inside the timed part of a frame, so nothing here is cached.
#include <GL/gl.h>

#include <cstring>

#include "render/lights.h"
#include "scenes/scene_catalogue.h"
#include "scenes/scenes.h"
#include "state/bench_state.h"

namespace vm {

namespace {

void Black() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glDisable(GL_FOG);
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

void FreeAllParticles(GeometryBlock& geo) {
  for (GeoRecord& p : geo.particles) p.active = 0;
}

void TexGenMode(SceneTexGen mode) {
  if (mode == SceneTexGen::kNone) return;
  const GLint m = mode == SceneTexGen::kSphereMap ? GL_SPHERE_MAP : GL_EYE_LINEAR;
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, m);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, m);
}

void BuildGeometry(GeometryBlock& geo, const SceneSetupRecipe& recipe) {
  const int n = BenchState.sliceCount, m = BenchState.stackCount;
  switch (recipe.geometry) {
    case SceneGeometry::kNone:
      break;
    case SceneGeometry::kFreeParticles:
      FreeAllParticles(geo);
      break;
    case SceneGeometry::kRippleShell:
      BuildRippleShell(geo, n, m);
      ComputeGridNormals(geo, n, m);
      break;
    case SceneGeometry::kRoughDome:
      BuildRoughDome(geo, n, m);
      ComputeGridNormals(geo, n, m);
      break;
    case SceneGeometry::kFractal: {
      // The processor test: terrain, smoothing and normals, on every frame.
      BenchState.sceneChanged = 1;
      const FractalWindow& w = recipe.fractal;
      BuildFractalTerrain(geo, n, m, w.reStart, w.imStart, w.span);
      SmoothGridHeights(geo, n, m);
      ComputeGridNormals(geo, n, m);
      break;
    }
  }
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

void SetupScene(ViewState& view) {
  const int scene = BenchState.currentScene;
  if (scene >= 0 && scene < kSceneCount) {
    const SceneSetupRecipe& recipe = SceneTable[scene].setup;
    if (recipe.clear == SceneClear::kFog)
      SetupFog();
    else
      Black();
    BuildGeometry(view.geo, recipe);
    if (recipe.pointRig) SetupPointLights();
    if (recipe.angles == SceneAngles::kLatticeFromZero) view.latticeAngle = 0.0f;
    if (recipe.angles == SceneAngles::kFrameFrom90) view.frameAngle = 90.0f;
    TexGenMode(recipe.texGen);
  }
  if (BenchState.spotlightsOn == 0) SetupPointLights();
}

}  // namespace vm
