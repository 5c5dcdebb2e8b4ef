// The dialogs' logic where the session test (tests/e2e) cannot reach: typed
// values at their clamps, a short or long benchs.txt, Cancel, and the exact
// comparison lines.
#include <gtest/gtest.h>

#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "dialogs/settings_dlg.h"
#include "dialogs/text_results_dlg.h"
#include "results/result_table.h"
#include "state/bench_state.h"
#include "tests/results/results_fixture.h"
#include "tests/support/memory_platform.h"

using vm::BenchState;

namespace {

std::string Lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "Scene " + std::to_string(i) + "\n";
  return text;
}

class Dlgs : public ::testing::Test {
 protected:
  void SetUp() override { vmtest::ResetBenchState(); }
  // Settings: `typed` in both numbers (nullptr leaves them), Select None,
  // a click on line `click` (-1 none), then `button`.
  void Settings(const char* typed, bool none = false, int click = -1, int button = vm::kIdOk) {
    vm::CSettingsDlg dlg(platform, benchs.c_str());
    platform.dialogScript = [&](vm::MemoryDialog& d, vm::DialogHandler&) {
      for (int id : {vm::kSecondsId, vm::kTimerId})
        if (typed) d.EditAt(id)->SetText(typed);
      if (none) dlg.OnCommand(d, vm::kSelectNoneId);
      if (click >= 0) d.ListAt(vm::kSceneListId)->Click(click);
      dlg.OnCommand(d, button);
    };
    platform.RunModal(vm::kSettingsDialog, dlg);
  }
  int Selected() const {
    return std::accumulate(std::begin(BenchState.sceneSelected), std::end(BenchState.sceneSelected),
                           0);
  }
  vmtest::TempDir dir;
  std::string benchs = dir.File("benchs.txt");
  vm::MemoryPlatform platform;
};

// The same text typed into both fields: seconds run 2..3600, the timer
// 10..10000; leading digits count, anything else reads as 0.
TEST_F(Dlgs, TypedSecondsAndTimerAreClamped) {
  const struct {
    const char* typed;
    int seconds, timer;
  } cases[] = {
      // clang-format off
      {"1", 2, 10}, {"abc", 2, 10}, {"15xy", 15, 15}, {"3601", 3600, 3601},
      {"99999999999", 3600, 10000}, {"-99999999999", 2, 10},
      // clang-format on
  };
  for (const auto& c : cases) {
    Settings(c.typed);
    EXPECT_EQ(BenchState.secondsPerScene, c.seconds) << c.typed;
    EXPECT_EQ(BenchState.timerIntervalMs, c.timer) << c.typed;
  }
  // Lowered to a cap, the user is told (3601 once, 99999999999 for both).
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1],
            "Every scene is performed for 2 to 3600 seconds: 3600 is used.\n"
            "The Event Timer runs from 10 to 10000 ms: 10000 is used.");
  EXPECT_EQ(BenchState.restartTimer, 1);
  BenchState.restartTimer = 0;
  Settings("30", true, -1, vm::kIdCancel);
  EXPECT_EQ(BenchState.secondsPerScene, 2);
  EXPECT_EQ(BenchState.restartTimer, 0);
  EXPECT_EQ(Selected(), 24);
}

// Scenes without a line stay selected; lines past the 24th select nothing.
TEST_F(Dlgs, ShortAndLongSceneLists) {
  vmtest::WriteFile(benchs, Lines(10));
  Settings(nullptr, true);
  EXPECT_EQ(Selected(), 14);
  EXPECT_EQ(BenchState.sceneSelected[10], 1);
  vmtest::WriteFile(benchs, Lines(30));
  Settings(nullptr, true, 27);
  EXPECT_EQ(Selected(), 0);
}

// A description starting with a digit gets a space, so that its line is
// never taken for a position line; a rate of 0 compares as inf.
TEST_F(Dlgs, ComparisonLines) {
  std::vector<double> slow = vmtest::Flat(30);
  slow[4] = 0;
  vmtest::WriteFile(dir.File("results.txt"),
                    vmtest::Record("3D BOX", slow) + vmtest::Record("FAST", vmtest::Flat(60)));
  vm::LoadResultTable(dir.File("results.txt").c_str());
  vm::CTextResultsDlg dlg(platform, benchs.c_str());
  std::vector<std::string> compare;
  platform.dialogScript = [&](vm::MemoryDialog& d, vm::DialogHandler&) {
    for (int line : {12, 31}) {  // a scene line of the first block, the name of the second
      d.ListAt(vm::kRankingListId)->Click(line);
      dlg.OnDoubleClick(d, vm::kRankingListId);
    }
    compare = d.ListAt(vm::kCompareListId)->lines();
  };
  platform.RunModal(vm::kTextResultsDialog, dlg);
  ASSERT_EQ(compare.size(), 27u);
  EXPECT_EQ(compare[1], "Second Computer :  3D BOX");
  EXPECT_EQ(compare[2], "C1 vs C2  = 2.086957");
  EXPECT_EQ(compare[7], "Scene 5 : 1 vs 2  = inf");
}

}  // namespace
