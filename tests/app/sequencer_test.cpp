#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/bench_state.h"
#include "results/settings_dlg.h"
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

  // Runs until the benchmark leaves mode 1 (or `limitMs` passes).
  void RunToEnd(int limitMs = 200000) {
    const int end = app.platform.now + limitMs;
    while (BenchState.displayMode == vm::kModeBenchmark && app.platform.now < end) app.RunFor(100);
  }

  // Distinct progress percentages shown for scene `number`, in order.
  std::vector<int> PercentsOf(int number) {
    std::vector<int> out;
    const std::string prefix = "Scene " + std::to_string(number) + "/24)";
    for (const std::string& s : app.platform.statusTexts) {
      if (s.rfind(prefix, 0) != 0) continue;
      const int pct = std::stoi(s.substr(s.rfind("=> ") + 3));
      if (out.empty() || out.back() != pct) out.push_back(pct);
    }
    return out;
  }

  void SelectOnly(std::initializer_list<int> indexes) {
    for (int& s : BenchState.sceneSelected) s = 0;
    for (int i : indexes) BenchState.sceneSelected[i] = 1;
  }

  SimApp app;
};

TEST_F(SequencerTest, DefaultRunWalksAllScenesAndEndsOnTheMainScreen) {
  app.RunFor(250);  // intro frames first
  const int start = app.platform.now;
  app.frame.OnInitBenchs();
  ASSERT_EQ(BenchState.displayMode, vm::kModeBenchmark);

  // Each scene ends on the first drawn tick after more than 2000 ms.
  int sceneOneEnd = -1;
  while (BenchState.displayMode == vm::kModeBenchmark && app.platform.now < start + 100000) {
    app.RunFor(100);
    if (sceneOneEnd < 0 && BenchState.currentScene == 1) sceneOneEnd = app.platform.now;
  }
  EXPECT_GT(sceneOneEnd - start, 2000);
  EXPECT_LE(sceneOneEnd - start, 2100);

  EXPECT_EQ(BenchState.displayMode, vm::kModeIntro);
  EXPECT_EQ(BenchState.resultsAvailable, 1);
  EXPECT_EQ(BenchState.currentScene, 23);
  const auto& texts = app.platform.statusTexts;
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Scene 1/24) 900 Spheres and 1 light => 0%"),
            texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Scene 1/24) 900 Spheres and 1 light => 100%"),
            texts.end());
  // Every scene measured its 5 ms frames: seconds per frame near 0.005.
  for (int i = 0; i < vm::kSceneCount; ++i)
    EXPECT_NEAR(BenchState.sceneTime[i], 0.005f, 0.0005f) << i;
}

TEST_F(SequencerTest, ProgressFollowsTheIntegerFormula) {
  // Ticks fall on multiples of 100 ms: a scene started between them never
  // meets a whole second exactly; one started on a tick meets its last
  // millisecond, which reads 200% unless capped.
  const struct {
    int seconds, startMs;
    std::vector<int> percents;
  } cases[] = {{2, 50, {0, 100}},
               {3, 50, {0, 50, 100}},
               {7, 50, {0, 16, 32, 48, 64, 80, 96}},
               {102, 50, {0}},
               {2, 0, {0, 100}}};
  for (const auto& c : cases) {
    app.platform.statusTexts.clear();
    SelectOnly({0});
    BenchState.secondsPerScene = c.seconds;
    app.platform.now = (app.platform.now / 100 + 1) * 100 + c.startMs;
    app.frame.OnInitBenchs();
    RunToEnd(c.seconds * 1000 + 1000);
    EXPECT_EQ(PercentsOf(1), c.percents) << c.seconds << " seconds";
  }
}

TEST_F(SequencerTest, UnselectedScenesAreSkipped) {
  SelectOnly({0, 2});
  app.frame.OnInitBenchs();
  EXPECT_EQ(BenchState.currentScene, 0);
  while (BenchState.currentScene == 0) app.RunFor(100);
  EXPECT_EQ(BenchState.currentScene, 2);
  EXPECT_EQ(app.frame.frameCount, 0);   // restarted for the new scene
  EXPECT_EQ(BenchState.lightCount, 4);  // scene 3's row loaded
  EXPECT_TRUE(PercentsOf(2).empty());
  RunToEnd();
  EXPECT_EQ(BenchState.currentScene, 24);  // search ran past the last scene
  EXPECT_EQ(BenchState.resultsAvailable, 1);
  EXPECT_FLOAT_EQ(BenchState.sceneTime[1], 0.0f);
}

TEST_F(SequencerTest, StopInMidSceneKeepsTheUndividedSumAndTheLastText) {
  app.frame.OnInitBenchs();
  app.RunFor(1000);
  const std::string last = app.platform.lastStatus();
  app.frame.OnStopBenchs();
  const float sum = BenchState.sceneTime[0];
  app.RunFor(300);
  EXPECT_EQ(BenchState.displayMode, vm::kModeIntro);
  EXPECT_EQ(BenchState.resultsAvailable, 0);
  EXPECT_FLOAT_EQ(BenchState.sceneTime[0], sum);
  EXPECT_NEAR(sum, 0.005f * 10, 0.006f);  // ten 5 ms frames, not yet divided
  EXPECT_EQ(app.platform.lastStatus(), last);
}

TEST_F(SequencerTest, ASecondRunMeasuresOnlyItself) {
  SelectOnly({0});
  app.paintCostUs = 20000;
  app.frame.OnInitBenchs();
  RunToEnd();
  EXPECT_NEAR(BenchState.sceneTime[0], 0.020f, 0.002f);
  app.paintCostUs = 5000;
  app.frame.OnInitBenchs();
  EXPECT_EQ(BenchState.resultsAvailable, 0);
  RunToEnd();
  EXPECT_NEAR(BenchState.sceneTime[0], 0.005f, 0.0005f);
}

TEST_F(SequencerTest, NoSelectedSceneStartsNoRun) {
  SelectOnly({});
  app.frame.OnInitBenchs();
  EXPECT_EQ(BenchState.displayMode, vm::kModeIntro);
  ASSERT_EQ(app.platform.messages.size(), 1u);
  EXPECT_NE(app.platform.messages[0].find("No scene is selected"), std::string::npos);
  app.RunFor(3000);
  EXPECT_EQ(BenchState.currentScene, 0);
  EXPECT_EQ(BenchState.resultsAvailable, 0);
}

// A scene's rate is the frames drawn over their drawing time, however fast
// or slow they are and whether or not the view could paint all along.
TEST_F(SequencerTest, RateIsFramesDrawnOverTheirDrawingTime) {
  const struct {
    int paintUs, hideAtMs, hideForMs;
    double fps;
  } cases[] = {
      {5000, 0, 0, 200},      {100, 0, 0, 10000},  // a fast card's frame, well under a millisecond
      {250000, 0, 0, 4},       // slower than the tick: one frame per tick it finds drawn
      {5000, 500, 1000, 200},  // hidden for half the scene
      {5000, 500, 4000, 200},  // hidden past the scene's end: it ends once shown
  };
  for (const auto& c : cases) {
    SelectOnly({0});
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

TEST_F(SequencerTest, ModeChangesAbandonTheRun) {
  app.frame.OnInitBenchs();
  app.RunFor(500);
  app.frame.OnMainScreen();
  app.RunFor(100);
  EXPECT_EQ(BenchState.displayMode, vm::kModeIntro);
  EXPECT_EQ(BenchState.frameDone, 1);
  EXPECT_EQ(BenchState.resultsAvailable, 0);
  // Init during a run restarts it from the first selected scene.
  app.frame.OnInitBenchs();
  app.RunFor(2500);
  EXPECT_EQ(BenchState.currentScene, 1);
  app.frame.OnInitBenchs();
  EXPECT_EQ(BenchState.currentScene, 0);
}

}  // namespace
