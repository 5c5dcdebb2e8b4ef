// A main frame on the in-memory platform, with a paint that follows the
// view's handshake (timed benchmark frames of a chosen cost), so sequencer
// runs of many seconds take no real time and need no OpenGL.
#pragma once

#include <cstring>

#include "app/bench_state.h"
#include "app/main_frame.h"
#include "platform/memory_platform.h"

namespace vmtest {

inline void ResetBenchState() {
  std::memset(&vm::BenchState, 0, sizeof vm::BenchState);
}

class SimApp : public vm::AppEvents {
 public:
  SimApp() : frame(platform) {}

  void OnTimer(int) override { frame.OnTimer(); }
  void OnPaint() override {
    // A hidden view is not painted; the window system keeps the paint owed.
    if (hidden) {
      platform.paintPending = true;
      return;
    }
    ++paints;
    if (vm::BenchState.displayMode == vm::kModeBenchmark) {
      ++benchmarkPaints;
      vm::BenchState.frameDone = 0;
      const int64_t start = platform.ClockUs();
      platform.AdvanceUs(paintCostUs);
      vm::BenchState.frameDone = 1;
      const int scene = vm::BenchState.currentScene;
      if (scene >= 0 && scene < vm::kSceneCount)
        vm::BenchState.sceneTime[scene] += static_cast<float>(platform.ClockUs() - start) * 1e-6f;
    } else {
      vm::BenchState.frameDone = 1;
    }
  }
  void OnSize(int, int) override {}
  void OnMouseWheel(int16_t) override {}
  void OnCommand(int) override {}

  void RunFor(int ms) { platform.RunUntil(*this, platform.now + ms); }

  vm::MemoryPlatform platform;
  vm::CMainFrame frame;
  int paintCostUs = 5000;
  bool hidden = false;
  int paints = 0;
  int benchmarkPaints = 0;
};

}  // namespace vmtest
