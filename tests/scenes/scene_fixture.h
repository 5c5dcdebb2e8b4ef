// A view on the test process's context, projection set, ready to run scenes
// frame by frame through the real dispatch.
#pragma once

#include <memory>

#include "app/view.h"
#include "scenes/scene_catalogue.h"
#include "screens/screens.h"
#include "state/bench_state.h"
#include "tests/support/cube_calls.h"
#include "tests/support/gl_context.h"
#include "tests/support/memory_platform.h"
#include "tests/support/sim_app.h"

namespace vmtest {

class SceneTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    ResetBenchState();
    view_ = std::make_unique<vm::CVelmark3View>(platform_, binding_);
    view_->OnCreate();
    EXPECT_TRUE(platform_.messages.empty()) << platform_.messages[0];  // the textures decoded
    view_->OnSize(1024, 768);
    vm::BenchState.displayMode = vm::kModeBenchmark;
    vm::ResetTowerPositions();
    ResetCounts();
  }

  vm::ViewState& view() { return view_->state; }
  vm::GeometryBlock& geo() { return view_->state.geo; }

  // What the sequencer does when a scene starts.
  static void StartScene(int index) {
    vm::BenchState.currentScene = index;
    vm::ApplySceneParameters();
  }
  void Frame() { vm::DrawBenchmarkFrame(view_->state); }
  static void ResetCounts() {
    ResetGlCounts();
    ResetCubeCalls();
  }

  vm::MemoryPlatform platform_;
  TestGl binding_{true};
  std::unique_ptr<vm::CVelmark3View> view_;
};

}  // namespace vmtest
