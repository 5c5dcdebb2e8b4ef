// One benchmark frame: the scene's set-up when it has just started, then its
// catalogue row's drawing.
#include "scenes/scene_catalogue.h"
#include "scenes/scenes.h"
#include "state/bench_state.h"

namespace vm {

void DrawBenchmarkFrame(ViewState& view) {
  if (BenchState.sceneChanged == 1) {
    BenchState.sceneChanged = 0;
    SetupScene(view);
  }
  const int scene = BenchState.currentScene;
  if (scene < 0 || scene >= kSceneCount) return;
  const SceneDrawRecipe& draw = SceneTable[scene].draw;
  if (draw.backdropTexture != kNoBackdrop)
    DrawSkySphere(view, draw.backdropTexture, draw.backdropGrey);
  switch (draw.renderer) {
    case SceneRenderer::kSphereWave:
      DrawSphereWave(view, static_cast<float>(draw.mode));
      break;
    case SceneRenderer::kSphereGlobe:
      DrawSphereGlobe(view, draw.mode);
      break;
    case SceneRenderer::kTowers:
      DrawTowers(view, draw.mode);
      break;
    case SceneRenderer::kCubeLattice:
      DrawCubeLattice(view, draw.mode);
      break;
    case SceneRenderer::kLinesPoints:
      DrawLinesPointsSpheres(view);
      break;
    case SceneRenderer::kSurfaceMesh:
      DrawSurfaceMesh(view, static_cast<unsigned>(draw.mode));
      break;
  }
}

}  // namespace vm
