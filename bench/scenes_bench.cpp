// What one frame of each benchmark scene costs on this machine's OpenGL
// (llvmpipe in the EGL context), and the processor half of the CPU-test
// scenes on its own. Figures, not assertions: run build/bench/vm_bench.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/view.h"
#include "platform/egl/egl_context.h"
#include "platform/headless_platform.h"
#include "scenes/scene_catalogue.h"
#include "scenes/scenes.h"
#include "screens/screens.h"
#include "state/bench_state.h"

namespace {

// The context is made current once; the view's own binding does nothing.
class Current : public vm::GlBinding {
 public:
  bool ObtainDC() override { return true; }
  bool SetupPixelFormat() override { return true; }
  bool CreateContext() override { return true; }
  bool MakeCurrent() override { return true; }
  void SwapBuffers() override {}
  bool ReleaseCurrent() override { return true; }
  bool DeleteContext() override { return true; }
  void ReleaseDC() override {}
};

vm::CVelmark3View* SceneView() {
  static vm::EglContext egl(vm::kDefaultViewWidth, vm::kDefaultViewHeight);
  static vm::HeadlessPlatform platform(stderr);
  static Current binding;
  static std::unique_ptr<vm::CVelmark3View> view;
  if (!view) {
    if (!egl.Open()) return nullptr;
    view = std::make_unique<vm::CVelmark3View>(platform, binding);
    view->OnCreate();
    view->OnSize(vm::kDefaultViewWidth, vm::kDefaultViewHeight);
    vm::ResetTowerPositions();
  }
  egl.MakeCurrent();
  return view.get();
}

void StartScene(vm::CVelmark3View& view, int scene) {
  vm::BenchState.currentScene = scene;
  vm::ApplySceneParameters();
  vm::DrawBenchmarkFrame(view.state);  // the set-up frame
  glFinish();
}

// The drawer of one frame plus the finish that makes the renderer do the work.
void BM_SceneFrame(benchmark::State& state) {
  vm::CVelmark3View* view = SceneView();
  if (!view) {
    state.SkipWithError("no EGL context");
    return;
  }
  const int scene = static_cast<int>(state.range(0));
  if (scene == 16) StartScene(*view, 15);  // scene 17 draws the mesh of scene 16
  StartScene(*view, scene);
  for (auto _ : state) {
    vm::DrawBenchmarkFrame(view->state);
    glFinish();
  }
  // The label's scene name, between "Scene N/%d) " and " =>".
  std::string name = vm::SceneTable[scene].label;
  name = name.substr(name.find(") ") + 2);
  state.SetLabel(name.substr(0, name.find(" =>")));
}
BENCHMARK(BM_SceneFrame)->DenseRange(0, vm::kSceneCount - 1)->Unit(benchmark::kMillisecond);

// Terrain, smoothing and normals of scenes 21-24, without any GL.
void BM_TerrainRebuild(benchmark::State& state) {
  const vm::SceneRow& row = vm::SceneTable[state.range(0)];
  const int n = row.parameters.sliceCount, m = row.parameters.stackCount;
  const vm::FractalWindow& w = row.setup.fractal;
  auto geo = std::make_unique<vm::GeometryBlock>();
  vm::InitGeometryBlock(*geo);
  for (auto _ : state) {
    vm::BuildFractalTerrain(*geo, n, m, w.reStart, w.imStart, w.span);
    vm::SmoothGridHeights(*geo, n, m);
    vm::ComputeGridNormals(*geo, n, m);
    benchmark::DoNotOptimize(geo->grid[0].vy);
  }
}
BENCHMARK(BM_TerrainRebuild)->DenseRange(20, 23)->Unit(benchmark::kMillisecond);

}  // namespace
