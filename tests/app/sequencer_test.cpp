#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/bench_state.h"
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
  const struct {
    int seconds;
    std::vector<int> percents;
  } cases[] = {{2, {0, 100}}, {3, {0, 50, 100}}, {7, {0, 16, 32, 48, 64, 80, 96}}, {102, {0}}};
  for (const auto& c : cases) {
    app.platform.statusTexts.clear();
    SelectOnly({0});
    BenchState.secondsPerScene = c.seconds;
    // Ticks fall on multiples of 100 ms: start between them, so no tick meets
    // a whole second of the scene exactly.
    app.platform.now = (app.platform.now / 100 + 1) * 100 + 50;
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

TEST_F(SequencerTest, RunOfOnlyTheLastSceneEndsAt23AndOnlyScene5At24) {
  SelectOnly({23});
  app.frame.OnInitBenchs();
  EXPECT_EQ(BenchState.currentScene, 23);
  RunToEnd();
  EXPECT_EQ(BenchState.currentScene, 23);

  SelectOnly({4});
  app.frame.OnInitBenchs();
  EXPECT_EQ(BenchState.currentScene, 4);
  EXPECT_EQ(BenchState.resultsAvailable, 0);
  RunToEnd();
  EXPECT_EQ(BenchState.currentScene, 24);
  EXPECT_EQ(BenchState.resultsAvailable, 1);
}

TEST_F(SequencerTest, RestartTickOnlyReArmsTheTimer) {
  app.frame.OnInitBenchs();
  app.RunFor(300);
  const int count = app.frame.frameCount;
  const int invalidates = app.platform.invalidateCount;
  const size_t statuses = app.platform.statusTexts.size();
  BenchState.timerIntervalMs = 40;
  BenchState.restartTimer = 1;
  app.frame.OnTimer();
  EXPECT_EQ(BenchState.restartTimer, 0);
  EXPECT_EQ(app.frame.frameCount, count);
  EXPECT_EQ(app.platform.invalidateCount, invalidates);
  EXPECT_EQ(app.platform.statusTexts.size(), statuses);
  ASSERT_FALSE(app.platform.timerArms.empty());
  EXPECT_EQ(app.platform.timerArms.back().intervalMs, 40);
  EXPECT_EQ(app.platform.timerKills, 1);
  // The re-armed timer ticks at the new interval.
  const int before = app.frame.frameCount;
  app.RunFor(400);
  EXPECT_EQ(app.frame.frameCount - before, 10);
}

TEST_F(SequencerTest, UndrawnFrameHoldsTheScene) {
  app.frame.OnInitBenchs();
  app.RunFor(200);
  // From now on the view never paints: the handshake stops everything but the count.
  BenchState.frameDone = 0;
  const int invalidates = app.platform.invalidateCount;
  const size_t statuses = app.platform.statusTexts.size();
  const int count = app.frame.frameCount;
  for (int i = 0; i < 50; ++i) {
    app.platform.now += 100;
    app.frame.OnTimer();
  }
  EXPECT_EQ(app.frame.frameCount, count + 50);
  EXPECT_EQ(BenchState.currentScene, 0);
  EXPECT_EQ(app.platform.invalidateCount, invalidates);
  EXPECT_EQ(app.platform.statusTexts.size(), statuses);
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

TEST_F(SequencerTest, TowerScenesShowTheirTriangleCount) {
  SelectOnly({9, 10});
  app.frame.OnInitBenchs();
  app.RunFor(200);
  EXPECT_EQ(app.platform.lastStatus(), "Scene 10/24) 24000 Triangles and 1 Light => 0%");
  while (BenchState.currentScene == 9) app.RunFor(100);
  app.RunFor(100);
  EXPECT_EQ(app.platform.lastStatus(),
            "Scene 11/24) 24000 Triangles with 1 Light and Texture => 0%");
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

TEST_F(SequencerTest, SlowFramesGetOneTickEach) {
  SelectOnly({0});
  BenchState.secondsPerScene = 30;
  app.paintCostUs = 250000;  // frames slower than the 100 ms interval
  app.frame.OnInitBenchs();
  const int paintsBefore = app.benchmarkPaints;
  app.RunFor(10000);
  const int frames = app.benchmarkPaints - paintsBefore;
  EXPECT_GE(frames, 30);
  // Missed periods are dropped: every counted tick drew a frame.
  EXPECT_LE(app.frame.frameCount - frames, 1);
  EXPECT_GE(app.frame.frameCount - frames, 0);
  // So the measured time per frame is the real one.
  app.platform.now += 30000;
  app.RunFor(300);
  EXPECT_NEAR(BenchState.sceneTime[0], 0.250f, 0.01f);
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
