// The main frame and the real view on the in-memory platform, without an
// OpenGL context: the view keeps its frame handshake and timing, and a
// benchmark frame costs paintCostUs of the platform's clock, so sequencer
// runs of many seconds take no real time.
#pragma once

#include <cstring>
#include <memory>

#include "app/main_frame.h"
#include "app/view.h"
#include "state/bench_state.h"
#include "tests/support/memory_platform.h"

namespace vmtest {

inline void ResetBenchState() {
  std::memset(&vm::BenchState, 0, sizeof vm::BenchState);
}

// A binding to a context the test process already has current, or with
// `present` false a device that never comes (the view draws nothing then).
class TestGl : public vm::GlBinding {
 public:
  explicit TestGl(bool present) : present_(present) {}
  bool ObtainDC() override { return present_; }
  bool SetupPixelFormat() override { return present_; }
  bool CreateContext() override { return present_; }
  bool MakeCurrent() override { return present_; }
  void SwapBuffers() override {}
  bool ReleaseCurrent() override { return true; }
  bool DeleteContext() override { return true; }
  void ReleaseDC() override {}

 private:
  bool present_;
};

class SimApp : public vm::AppEvents {
 public:
  SimApp() : frame(platform), view(std::make_unique<vm::CVelmark3View>(platform, gl)) {}

  void OnTimer(int) override { frame.OnTimer(); }
  void OnPaint() override {
    // A hidden view is not painted; the window system keeps the paint owed.
    if (hidden) {
      platform.paintPending = true;
      return;
    }
    // A timed frame reads the clock before and after drawing; only the first
    // step is the frame's cost.
    const int64_t before = platform.NowNs();
    platform.clockStepNs = paintCostUs * int64_t{1000};
    view->OnDraw();
    platform.clockStepNs = 0;
    if (platform.NowNs() != before) platform.AdvanceNs(-paintCostUs * int64_t{1000});
  }
  void OnSize(int, int) override {}
  void OnMouseWheel(int16_t) override {}
  void OnCommand(int) override {}

  void RunFor(int ms) { platform.RunUntil(*this, platform.now + ms); }

  vm::MemoryPlatform platform;
  TestGl gl{false};
  vm::CMainFrame frame;
  std::unique_ptr<vm::CVelmark3View> view;  // large: kept off the stack
  int paintCostUs = 5000;
  bool hidden = false;
};

}  // namespace vmtest
