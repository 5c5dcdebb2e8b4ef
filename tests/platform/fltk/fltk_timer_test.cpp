// The desktop layer's timer and paint delivery, on a real X display.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

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
    platform.gl().SwapBuffers();
  }
  void OnSize(int, int) override {}
  void OnMouseWheel(int16_t) override {}
  void OnCommand(int) override {}

  vm::FltkPlatform& platform;
  int ticks = 0, paints = 0, ticksInBox = 0, paintsInBox = 0;
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
    RunUntil([] { return false; }, 300);  // let the new windows be exposed
  }
  // Runs the loop until `done` or the deadline; every wait is bounded, so a
  // loaded machine only makes this slower, never stuck.
  bool RunUntil(const std::function<bool()>& done, int deadlineMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    while (!done())
      if (std::chrono::steady_clock::now() >= end)
        return false;
      else
        Fl::wait(0.01);
    return true;
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
  bool closed = false;
  d.app.onTick = [&] {
    if (d.app.inBox) {
      if (d.app.ticksInBox >= 10) CloseMessageBox();
    } else if (d.app.ticks == 5) {
      d.app.inBox = true;
      d.platform.MessageBox("nested loop");
      d.app.inBox = false;
      closed = true;
    }
  };
  EXPECT_TRUE(d.RunUntil([&] { return closed; }, 60000));
  EXPECT_GE(d.app.ticksInBox, 10);
  EXPECT_GE(d.app.paintsInBox, 5);
}

// Counts, not rates: a loaded machine delays ticks but cannot add any.
TEST(FltkPlatform, KilledTimerStopsAndReArmTakesTheNewInterval) {
  Desktop d;
  if (::testing::Test::HasFailure()) return;
  d.platform.SetTimer(1, 5000);
  d.platform.SetTimer(1, 20);
  EXPECT_TRUE(d.RunUntil([&] { return d.app.ticks >= 10; }, 4000));  // not 5 s apart
  d.platform.KillTimer(1);
  const int stopped = d.app.ticks;
  d.RunUntil([] { return false; }, 300);
  EXPECT_EQ(d.app.ticks, stopped);
}

}  // namespace
