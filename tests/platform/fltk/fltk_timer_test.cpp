// The desktop layer's timer and paint delivery, on a real X display.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/fltk/fltk_platform.h"

namespace {

const vm::MenuEntry kMenu[] = {{"File", "Quit", 1}};

class Recorder : public vm::AppEvents {
 public:
  explicit Recorder(vm::FltkPlatform& p) : platform(p) {}
  void OnTimer(int) override {
    ++ticks;
    if (inBox) ++ticksInBox;
    platform.Invalidate();
    if (onTick) onTick();
  }
  void OnPaint() override {
    ++paints;
    if (inBox) ++paintsInBox;
    if (paintCostMs) std::this_thread::sleep_for(std::chrono::milliseconds(paintCostMs));
    platform.gl().SwapBuffers();
  }
  void OnSize(int, int) override {}
  void OnMouseWheel(int16_t) override {}
  void OnCommand(int) override {}

  vm::FltkPlatform& platform;
  int ticks = 0, paints = 0, ticksInBox = 0, paintsInBox = 0;
  int paintCostMs = 0;
  bool inBox = false;
  std::function<void()> onTick;
};

struct Desktop {
  vm::FltkPlatform platform{{"timer test", "Velmark3", kMenu, 1, 0, 0, 320, 240}};
  Recorder app{platform};
  Desktop() {
    std::string why;
    if (!vm::FltkPlatform::DisplayAvailable(why)) {
      ADD_FAILURE() << why << " (run the tests through scripts/run-tests)";
      return;
    }
    platform.Show(app);
    platform.gl().ObtainDC();
    platform.gl().CreateContext();
    platform.Start();
    RunFor(300);  // let the new windows be exposed
  }
  void RunFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) Fl::wait(0.01);
  }
};

// Hides the message box's window (captioned with the application title).
void CloseMessageBox() {
  for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
    if (w->label() && std::string(w->label()) == "Velmark3") {
      w->do_callback();  // as its close box
      return;
    }
}

TEST(FltkPlatform, TicksAndPaintsGoOnInsideAMessageBox) {
  Desktop d;
  if (::testing::Test::HasFailure()) return;
  d.platform.SetTimer(1, 20);
  d.app.onTick = [&d] {
    if (d.app.inBox) {
      if (d.app.ticksInBox >= 10) CloseMessageBox();
    } else if (d.app.ticks == 5) {
      d.app.inBox = true;
      d.platform.MessageBox("nested loop");
      d.app.inBox = false;
    }
  };
  d.RunFor(1500);
  EXPECT_GE(d.app.ticksInBox, 10);
  EXPECT_GE(d.app.paintsInBox, 5);
}

TEST(FltkPlatform, SlowPaintsGetOneTickEach) {
  Desktop d;
  if (::testing::Test::HasFailure()) return;
  d.app.paintCostMs = 250;
  d.platform.SetTimer(1, 100);
  d.RunFor(2600);
  d.platform.KillTimer(1);
  // Missed periods are dropped, never delivered in a burst.
  EXPECT_GE(d.app.ticks, 4);  // a loaded machine paints slower still
  EXPECT_LE(d.app.ticks, d.app.paints + 1);
  EXPECT_GE(d.app.ticks, d.app.paints - 2);  // expose paints may add one or two
}

TEST(FltkPlatform, KilledTimerStopsAndReArmTakesTheNewInterval) {
  Desktop d;
  if (::testing::Test::HasFailure()) return;
  d.platform.SetTimer(1, 200);
  d.RunFor(1000);
  const int slow = d.app.ticks;
  EXPECT_GE(slow, 2);
  EXPECT_LE(slow, 6);
  d.platform.SetTimer(1, 20);
  d.RunFor(1000);
  EXPECT_GE(d.app.ticks - slow, 15);  // well above the old rate, even on a loaded machine
  d.platform.KillTimer(1);
  const int stopped = d.app.ticks;
  d.RunFor(300);
  EXPECT_EQ(d.app.ticks, stopped);
}

}  // namespace
