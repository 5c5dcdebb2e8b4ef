// Start-up without a display, and the benchmark sequencer on the in-memory
// clock: progress, rates with a hidden view, runs that stop or start again.
// Which scenes a real run measures is the session test's (tests/e2e).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/run_keeper.h"
#include "app/velmark3_app.h"
#include "dialogs/settings_dlg.h"
#include "report/run_file.h"
#include "report/run_history.h"
#include "results/result_table.h"
#include "state/bench_state.h"
#include "tests/support/sim_app.h"

using vm::BenchState;
using vmtest::SimApp;

namespace {

class SequencerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vmtest::ResetBenchState();
    app.frame.OnCreate();
    app.OnPaint();  // start-up paints the main screen before the first tick
  }
  void Select(std::initializer_list<int> only) {
    for (int& s : BenchState.sceneSelected) s = 0;
    for (int i : only) BenchState.sceneSelected[i] = 1;
  }
  // Starts a run of the scenes `only` and runs it to its end.
  void Run(std::initializer_list<int> only, int limitMs = 200000) {
    Select(only);
    app.frame.OnInitBenchs();
    RunToEnd(limitMs);
  }
  void RunToEnd(int limitMs = 200000) {
    const int end = app.platform.now + limitMs;
    while (BenchState.displayMode == vm::kModeBenchmark && app.platform.now < end) app.RunFor(100);
  }
  SimApp app;
};

TEST_F(SequencerTest, ProgressIsCappedAndNeverOverflows) {
  // Ticks fall on multiples of 100 ms: a scene started between them never
  // meets a whole second exactly; one started on a tick meets its last
  // millisecond, which reads 200% unless capped.
  const struct {
    int seconds, startMs;
    std::vector<int> percents;
  } cases[] = {{3, 50, {0, 50, 100}},
               {7, 50, {0, 16, 32, 48, 64, 80, 96}},
               {102, 50, {0}},
               {2, 0, {0, 100}}};
  for (const auto& c : cases) {
    app.platform.statusTexts.clear();
    BenchState.secondsPerScene = c.seconds;
    app.platform.now = (app.platform.now / 100 + 1) * 100 + c.startMs;
    Run({0}, c.seconds * 1000 + 1000);
    std::vector<int> shown;
    for (const std::string& s : app.platform.statusTexts) {
      if (s.rfind("Scene 1/24)", 0) != 0) continue;
      const int pct = std::stoi(s.substr(s.rfind("=> ") + 3));
      if (shown.empty() || shown.back() != pct) shown.push_back(pct);
    }
    EXPECT_EQ(shown, c.percents) << c.seconds << " seconds";
  }
}

// A scene's rate is the frames drawn over their drawing time, however fast
// or slow they are and whether or not the view could paint all along.
TEST_F(SequencerTest, RateIsFramesDrawnOverTheirDrawingTime) {
  const struct {
    int paintUs, hideAtMs, hideForMs;
    double fps;
  } cases[] = {
      {5000, 0, 0, 200},
      {250000, 0, 0, 4},       // slower than the tick: one frame per tick it finds drawn
      {5000, 500, 1000, 200},  // hidden for half the scene
      {5000, 500, 4000, 200},  // hidden past the scene's end: it ends once shown
  };
  for (const auto& c : cases) {
    Select({0});
    app.paintCostUs = c.paintUs;
    app.frame.OnInitBenchs();
    const int invalidates = app.platform.invalidateCount;
    app.RunFor(c.hideAtMs);
    app.hidden = true;
    app.RunFor(c.hideForMs);
    if (c.hideForMs > 0) {  // no new frame asked for while the last is owed
      EXPECT_LE(app.platform.invalidateCount - invalidates, c.hideAtMs / 100 + 1);
      EXPECT_EQ(BenchState.resultsAvailable, 0);
    }
    app.hidden = false;
    RunToEnd();
    ASSERT_EQ(BenchState.resultsAvailable, 1) << c.paintUs;
    EXPECT_NEAR(1.0 / BenchState.sceneTime[0], c.fps, c.fps * 0.01) << c.paintUs << " us";
  }
}

// A second run measures only itself: scenes it left out count 0 in the
// table, never the first run's times.
TEST_F(SequencerTest, ASecondRunMeasuresOnlyItself) {
  app.paintCostUs = 20000;
  Run({0, 1});
  app.paintCostUs = 5000;
  app.frame.OnInitBenchs();
  EXPECT_EQ(BenchState.resultsAvailable, 0);
  Run({1});
  ASSERT_EQ(BenchState.resultsAvailable, 1);
  vm::LoadResultTable("/nonexistent/results.txt");
  EXPECT_EQ(vm::ResultTable[0].sceneFps[0], 0.0f);
  EXPECT_NEAR(vm::ResultTable[0].sceneFps[1], 200.0f, 2.0f);
  // Saving it asks first; only a yes opens the form.
  for (bool yes : {false, true}) {
    app.platform.answerYes = yes;
    app.frame.OnSaveResults();
    EXPECT_NE(app.platform.messages.back().find("measured 1 of 24 scenes"), std::string::npos);
    EXPECT_EQ(app.platform.dialogsShown.size(), yes ? 1u : 0u);
  }
}

// A run finished in the window is kept in the history with its frame times;
// a stopped one is not.
TEST_F(SequencerTest, FinishedRunsAreKeptWithTheirFrameTimes) {
  char dir[] = "/tmp/vm-keep-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  char old[4096];
  ASSERT_EQ(getcwd(old, sizeof old), old);
  ASSERT_EQ(chdir(dir), 0);
  vm::RunKeeper keeper;
  app.frame.keeper = &keeper;
  app.view->frameTimes = keeper.frames();
  Select({0});
  app.frame.OnInitBenchs();
  app.frame.OnStopBenchs();
  Run({2});
  app.view->frameTimes = nullptr;
  const std::vector<std::string> kept = vm::KeptRuns("runs");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(keeper.lastKept(), kept[0]);
  vm::RunData run;
  std::string error;
  ASSERT_TRUE(vm::ReadRunFile(kept[0], vm::RunDetail::kAll, run, error)) << error;
  ASSERT_EQ(run.scenes.size(), 1u);
  EXPECT_EQ(run.scenes[0].scene, 3);
  EXPECT_NEAR(run.scenes[0].fps, 200.0, 2.0);
  EXPECT_GT(run.scenes[0].frames, 10);  // 2 s of 100 ms ticks
  EXPECT_NEAR(run.scenes[0].draw.median, 5.0, 0.1);
  EXPECT_EQ(run.score, vm::RunScore(BenchState.sceneTime));
  EXPECT_EQ(chdir(old), 0);
  EXPECT_EQ(std::system(("rm -rf " + std::string(dir)).c_str()), 0);
}

TEST_F(SequencerTest, StoppedAbandonedOrEmptyRunsGiveNoResults) {
  app.frame.OnInitBenchs();
  app.RunFor(1000);
  app.frame.OnStopBenchs();
  app.RunFor(300);
  EXPECT_EQ(BenchState.displayMode, vm::kModeIntro);
  EXPECT_EQ(BenchState.resultsAvailable, 0);

  app.frame.OnInitBenchs();
  app.RunFor(500);
  app.frame.OnMainScreen();
  app.RunFor(100);
  EXPECT_EQ(BenchState.displayMode, vm::kModeIntro);
  EXPECT_EQ(BenchState.frameDone, 1);
  EXPECT_EQ(BenchState.resultsAvailable, 0);

  Select({});
  app.platform.messages.clear();
  app.frame.OnInitBenchs();
  EXPECT_EQ(BenchState.displayMode, vm::kModeIntro);
  ASSERT_EQ(app.platform.messages.size(), 1u);
  EXPECT_NE(app.platform.messages[0].find("No scene is selected"), std::string::npos);
}

// A new interval from the settings takes effect at once, not only at the
// next tick of a possibly very long old one; that tick only re-arms.
TEST_F(SequencerTest, NewIntervalFromTheSettingsIsArmedAtOnce) {
  BenchState.timerIntervalMs = 10000;
  app.platform.SetTimer(vm::kFrameTimerId, 10000);
  app.platform.dialogScript = [](vm::MemoryDialog& d, vm::DialogHandler& h) {
    d.EditAt(vm::kTimerId)->SetText("100");
    h.OnCommand(d, vm::kIdOk);
  };
  app.frame.OnBenchSettings();
  const int invalidates = app.platform.invalidateCount;
  app.RunFor(1000);
  EXPECT_EQ(app.platform.invalidateCount - invalidates, 9);  // the first tick only re-arms
}

TEST(Startup, WithoutADeviceItSaysSoAndGoesOn) {
  vmtest::ResetBenchState();
  vm::MemoryPlatform platform;
  vmtest::TestGl gl(false);
  auto app = std::make_unique<vm::CVelmark3App>(platform, gl);
  EXPECT_FALSE(app->InitInstance());  // the desktop program ends on it
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Error Obtaining DC"});
  EXPECT_EQ(platform.lastStatus(), "Pronto");
  app->OnPaint();  // the handshake goes on with nothing to draw on
  EXPECT_EQ(BenchState.frameDone, 1);
  // Save Results before any run is refused with a message, not a dialog.
  platform.messages.clear();
  app->OnCommand(vm::ID_SAVE_RESULTS);
  EXPECT_EQ(platform.messages,
            std::vector<std::string>{"You don't have results to save. Run Benchmark"});
  EXPECT_TRUE(platform.dialogsShown.empty());
}

}  // namespace
