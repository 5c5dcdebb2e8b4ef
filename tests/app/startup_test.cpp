#include <gtest/gtest.h>

#include <cstdlib>

#include "app/bench_state.h"
#include "app/commands.h"
#include "app/velmark3_app.h"
#include "platform/memory_platform.h"
#include "tests/support/sim_app.h"

using vm::BenchState;

namespace {

// A binding whose device cannot be had: start-up must go on regardless.
class NoDisplayGl : public vm::GlBinding {
 public:
  bool ObtainDC() override { return false; }
  bool SetupPixelFormat() override { return false; }
  bool CreateContext() override { return false; }
  bool MakeCurrent() override { return false; }
  void SwapBuffers() override {}
  bool ReleaseCurrent() override { return true; }
  bool DeleteContext() override { return true; }
  void ReleaseDC() override {}
};

struct Started {
  vm::MemoryPlatform platform;
  NoDisplayGl gl;
  std::unique_ptr<vm::CVelmark3App> app;
  Started() {
    vmtest::ResetBenchState();
    std::srand(1);  // the state of a fresh process
    app = std::make_unique<vm::CVelmark3App>(platform, gl);
    app->InitInstance();
  }
};

TEST(Startup, DefaultsAfterStart) {
  Started s;
  EXPECT_EQ(BenchState.displayMode, vm::kModeIntro);
  EXPECT_EQ(BenchState.sceneChanged, 1);
  for (int i = 0; i < vm::kSceneCount; ++i) EXPECT_EQ(BenchState.sceneSelected[i], 1);
  ASSERT_EQ(s.platform.timerArms.size(), 1u);
  EXPECT_EQ(s.platform.timerArms[0].intervalMs, 100);
  EXPECT_EQ(s.platform.lastStatus(), "Pronto");
  EXPECT_EQ(s.app->view.state.geo.latticeCount, 4096);
}

TEST(Startup, ContextFailureIsReportedAndStartGoesOn) {
  Started s;
  ASSERT_EQ(s.platform.messages.size(), 1u);
  EXPECT_EQ(s.platform.messages[0], "Error Obtaining DC");
  EXPECT_EQ(s.platform.timerArms.size(), 1u);
}

TEST(Startup, SpotPhasesAreTheSameOnEveryStart) {
  float first[4];
  {
    Started s;
    for (int i = 0; i < 4; ++i) first[i] = BenchState.spotAngle[i];
  }
  Started again;
  // The view draws and discards three values before the four phases.
  std::srand(1);
  for (int i = 0; i < 3; ++i) std::rand();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(BenchState.spotAngle[i], first[i]);
    EXPECT_EQ(first[i], static_cast<float>(std::rand() % 360));
  }
}

TEST(Startup, ApplySceneParametersKeepsUnlistedFields) {
  vmtest::ResetBenchState();
  BenchState.currentScene = 5;  // globe layout
  vm::ApplySceneParameters();
  EXPECT_EQ(BenchState.sliceCount, 20);
  EXPECT_EQ(BenchState.stackCount, 10);
  EXPECT_EQ(BenchState.lightCount, 8);  // scene 6 switches 8 lights on
  BenchState.sceneChanged = 0;
  BenchState.currentScene = 9;  // towers: slices and stacks stay
  vm::ApplySceneParameters();
  EXPECT_EQ(BenchState.sliceCount, 20);
  EXPECT_EQ(BenchState.stackCount, 10);
  EXPECT_EQ(BenchState.towerQuads, 3000);
  EXPECT_EQ(BenchState.sceneChanged, 1);
  BenchState.currentScene = 20;  // spot count stored with the spot rig off
  vm::ApplySceneParameters();
  EXPECT_EQ(BenchState.spotlightsOn, 0);
  EXPECT_EQ(BenchState.spotCount, 4);
  BenchState.sceneChanged = 0;
  BenchState.currentScene = 24;  // one past the last: only the flag
  vm::ApplySceneParameters();
  EXPECT_EQ(BenchState.sceneChanged, 1);
  EXPECT_EQ(BenchState.lightCount, 4);
}

TEST(Commands, QuitStopsTheTimerAndExitsWithZero) {
  Started s;
  s.app->OnCommand(vm::ID_INIT_BENCHS);
  EXPECT_EQ(BenchState.displayMode, vm::kModeBenchmark);
  s.app->OnCommand(vm::ID_QUIT);
  EXPECT_EQ(s.platform.timerKills, 1);
  EXPECT_FALSE(s.platform.timer.armed());
  EXPECT_EQ(s.platform.exitCode, 0);
}

TEST(Commands, MainScreenAndStopBehaveAlikeInEveryMode) {
  Started s;
  for (int mode = 0; mode < 4; ++mode) {
    for (int command : {vm::ID_MAIN_SCREEN, vm::ID_STOP_BENCHS}) {
      BenchState.displayMode = mode;
      BenchState.resultsAvailable = 1;
      s.app->OnCommand(command);
      EXPECT_EQ(BenchState.displayMode, vm::kModeIntro);
      EXPECT_EQ(BenchState.resultsAvailable, 1);
    }
  }
}

// The About box and the result dialogs open; Save Results only after a run.
TEST(Commands, ResultCommandsOpenTheirDialogsAndSaveNeedsARun) {
  Started s;
  s.platform.messages.clear();  // the start-up's, with no device here
  s.app->OnCommand(vm::ID_SAVE_RESULTS);
  EXPECT_EQ(s.platform.messages,
            std::vector<std::string>{"You don't have results to save. Run Benchmark"});
  EXPECT_TRUE(s.platform.dialogsShown.empty());
  for (int command : {vm::ID_APP_ABOUT, vm::ID_BENCH_SETTINGS, vm::ID_TEXT_RESULTS, vm::ID_FAQ})
    s.app->OnCommand(command);
  BenchState.resultsAvailable = 1;
  s.app->OnCommand(vm::ID_SAVE_RESULTS);  // closed with Cancel: nothing written
  EXPECT_EQ(s.platform.dialogsShown, (std::vector<int>{100, 139, 145, 147, 138}));
  EXPECT_EQ(s.platform.messages.size(), 1u);

  BenchState.displayMode = vm::kModeBenchmark;
  s.app->OnCommand(vm::ID_GRAPHIC_RESULTS);
  EXPECT_EQ(BenchState.displayMode, vm::kModeGraphicResults);
}

}  // namespace
