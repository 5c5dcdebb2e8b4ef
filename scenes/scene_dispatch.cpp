// One benchmark frame: the scene's set-up when it has just started, then its
// renderers with the fixed arguments of the scene.
#include "app/bench_state.h"
#include "render/drawers.h"
#include "scenes/scenes.h"

namespace vm {

void DrawBenchmarkFrame(ViewState& view) {
  if (BenchState.sceneChanged == 1) {
    BenchState.sceneChanged = 0;
    SetupScene(view);
  }
  switch (BenchState.currentScene) {
    case 0:
    case 1:
    case 2:
    case 3:
      DrawSphereWave(view, 3.0f);
      break;
    case 4:
      DrawSkySphere(view, 0, 0.2f);
      DrawSphereWave(view, 1.0f);
      break;
    case 5:
    case 6:
    case 7:
    case 8:
      DrawSkySphere(view, 0, 0.2f);
      DrawSphereGlobe(view, BenchState.currentScene - 5);
      break;
    case 9:
      DrawTowers(view, 0);
      break;
    case 10:
      DrawTowers(view, 2);
      break;
    case 11:
      DrawCubeLattice(view, 0);
      break;
    case 12:
      DrawCubeLattice(view, 2);
      break;
    case 13:
      DrawCubeLattice(view, 3);
      break;
    case 14:
      DrawSkySphere(view, 0, 0.2f);
      DrawLinesPointsSpheres(view);
      break;
    case 15:
      DrawSkySphere(view, 0, 0.2f);
      DrawSurfaceMesh(view, 0);
      break;
    case 16:
    case 17:
      DrawSkySphere(view, 2, 0.2f);
      DrawSurfaceMesh(view, 1);
      break;
    case 18:
      DrawSkySphere(view, 1, 0.4f);
      DrawSurfaceMesh(view, 2);
      break;
    case 19:
      DrawSkySphere(view, 1, 0.4f);
      DrawSurfaceMesh(view, 3);
      break;
    case 20:
    case 21:
      DrawSkySphere(view, 1, 0.4f);
      DrawSurfaceMesh(view, 0);
      break;
    case 22:
      DrawSkySphere(view, 1, 0.4f);
      DrawSurfaceMesh(view, 1);
      break;
    case 23:
      DrawSkySphere(view, 1, 0.4f);
      DrawSurfaceMesh(view, 3);
      break;
    default:
      break;
  }
}

}  // namespace vm
