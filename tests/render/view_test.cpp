#include "render/view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/bench_state.h"
#include "platform/memory_platform.h"
#include "tests/support/gl_context.h"
#include "tests/support/sim_app.h"

using vm::BenchState;

namespace {

class ViewTest : public vmtest::GlTest {
 protected:
  void SetUp() override {
    vmtest::GlTest::SetUp();
    vmtest::ResetBenchState();
    view = std::make_unique<vm::CVelmark3View>(platform, gl);
  }
  vm::MemoryPlatform platform;
  vmtest::CurrentContext gl;
  std::unique_ptr<vm::CVelmark3View> view;
};

TEST_F(ViewTest, MinimisedSizeKeepsTheProjection) {
  view->OnSize(1024, 768);
  GLdouble before[16], after[16];
  glGetDoublev(GL_PROJECTION_MATRIX, before);
  view->OnSize(640, 0);
  glGetDoublev(GL_PROJECTION_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]);
}

TEST_F(ViewTest, BenchmarkPaintAddsItsDrawingTimeAndSignalsDone) {
  BenchState.displayMode = vm::kModeBenchmark;
  BenchState.currentScene = 3;
  // The drawer's two clock reads are this far apart; a fast card's frame is
  // measured to the microsecond, not rounded to 0 or 1 ms.
  float sum = 0.5f;
  BenchState.sceneTime[3] = sum;
  for (int stepUs : {7000, 100, 1}) {
    platform.clockStepUs = stepUs;
    BenchState.frameDone = 0;  // asked for by a tick
    view->OnDraw();
    sum += stepUs * 1e-6f;
    EXPECT_EQ(BenchState.frameDone, 1);
    EXPECT_FLOAT_EQ(BenchState.sceneTime[3], sum) << stepUs;
  }
  EXPECT_EQ(gl.swaps, 3);
  EXPECT_EQ(GL_COUNT(glFinish), 3);
  EXPECT_EQ(GL_COUNT(glClear), 3);

  // One past the last scene: nothing outside the 24 entries is touched.
  BenchState.currentScene = 24;
  view->OnDraw();
  EXPECT_EQ(BenchState.frameDone, 1);
}

// The runner's statistics get the drawing time the score adds, and the
// frame from the clear to the end of the swap.
TEST_F(ViewTest, FrameTimesSeeTheScoredDrawingAndTheWholeFrame) {
  struct : vm::FrameTimeSink {
    int scene = -1;
    double draw = 0, frame = 0;
    void OnBenchmarkFrame(int s, double d, double f) override { scene = s, draw = d, frame = f; }
  } sink;
  view->frameTimes = &sink;
  BenchState.displayMode = vm::kModeBenchmark;
  BenchState.currentScene = 5;
  BenchState.frameDone = 0;    // asked for by a tick
  platform.clockStepUs = 250;  // clear, draw start, draw end, swap end
  view->OnDraw();
  EXPECT_EQ(sink.scene, 5);
  EXPECT_FLOAT_EQ(BenchState.sceneTime[5], static_cast<float>(sink.draw));
  EXPECT_DOUBLE_EQ(sink.draw, 250e-6);
  EXPECT_DOUBLE_EQ(sink.frame, 750e-6);
}

// A paint no tick asked for (a menu closed, the window uncovered) neither
// draws nor times a benchmark frame.
TEST_F(ViewTest, UnrequestedBenchmarkPaintChangesNothing) {
  BenchState.displayMode = vm::kModeBenchmark;
  BenchState.currentScene = 3;
  BenchState.sceneTime[3] = 0.5f;
  BenchState.frameDone = 1;
  platform.clockStepUs = 7000;
  const vm::BenchStateData before = BenchState;
  view->OnDraw();
  EXPECT_EQ(std::memcmp(&before, &BenchState, sizeof before), 0);
  EXPECT_EQ(GL_COUNT(glClear) + GL_COUNT(glFinish) + gl.swaps, 0);
}

TEST_F(ViewTest, OtherModesSignalDoneAndUnknownModesDoNot) {
  for (int mode : {vm::kModeIntro, vm::kModeGraphicResults, vm::kModeThanks}) {
    BenchState.displayMode = mode;
    BenchState.frameDone = 0;
    view->OnDraw();
    EXPECT_EQ(BenchState.frameDone, 1) << mode;
  }
  BenchState.displayMode = 7;
  BenchState.frameDone = 0;
  view->OnDraw();
  EXPECT_EQ(BenchState.frameDone, 0);
  EXPECT_EQ(gl.swaps, 4);
}

TEST_F(ViewTest, WheelZoomsOnlyTheResultsScreen) {
  BenchState.displayMode = vm::kModeGraphicResults;
  view->OnMouseWheel(120);
  EXPECT_FLOAT_EQ(view->state.resultsZoom, 16.2f);
  view->OnMouseWheel(-240);
  EXPECT_FLOAT_EQ(view->state.resultsZoom, 13.8f);
  BenchState.displayMode = vm::kModeIntro;
  view->OnMouseWheel(120);
  EXPECT_FLOAT_EQ(view->state.resultsZoom, 13.8f);
}

}  // namespace
