// The dialogs' logic as the user drives it: typed values and the clamps,
// the scene selection, the ranking and the comparison of two machines, the
// FAQ lines, and the commands that open them.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/bench_state.h"
#include "platform/memory_platform.h"
#include "results/faq_dlg.h"
#include "results/result_table.h"
#include "results/settings_dlg.h"
#include "results/text_results_dlg.h"
#include "tests/results/results_fixture.h"

using vm::BenchState;

namespace {

constexpr int kLegendList = 1011;
constexpr int kFaqList = 1010;

std::string Lines(int count, const std::string& prefix = "Scene ") {
  std::string text;
  for (int i = 1; i <= count; ++i) text += prefix + std::to_string(i) + "\n";
  return text;
}

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { vmtest::ResetBenchState(); }
  vmtest::TempDir dir;
  vm::MemoryPlatform platform;
};

// ---- Bench Settings --------------------------------------------------------

class SettingsTest : public DialogsTest {
 protected:
  // Opens the dialog, types into the two fields (replacing what they show),
  // runs `act` on the scene list and presses `button`.
  void Settings(const char* seconds, const char* timer,
                const std::function<void(vm::MemoryDialog&, vm::CSettingsDlg&)>& act = nullptr,
                int button = vm::kIdOk) {
    vm::CSettingsDlg dlg(benchs.c_str());
    platform.dialogScript = [&](vm::MemoryDialog& d, vm::DialogHandler&) {
      shownSeconds = d.EditAt(vm::kSecondsId)->GetText();
      shownTimer = d.EditAt(vm::kTimerId)->GetText();
      shownLines = d.ListAt(vm::kSceneListId)->lines();
      shownSelected = 0;
      for (int i = 0; i < d.ListAt(vm::kSceneListId)->GetCount(); ++i)
        shownSelected += d.ListAt(vm::kSceneListId)->GetSel(i);
      if (seconds) {
        d.EditAt(vm::kSecondsId)->SetText("");
        d.EditAt(vm::kSecondsId)->Type(seconds);
      }
      if (timer) {
        d.EditAt(vm::kTimerId)->SetText("");
        d.EditAt(vm::kTimerId)->Type(timer);
      }
      if (act) act(d, dlg);
      dlg.OnCommand(d, button);
    };
    platform.RunModal(vm::kSettingsDialog, dlg);
  }
  int SelectedCount() const {
    int n = 0;
    for (int s : BenchState.sceneSelected) n += s;
    return n;
  }

  std::string benchs = dir.File("benchs.txt");
  std::string shownSeconds, shownTimer;
  std::vector<std::string> shownLines;
  int shownSelected = 0;
};

// The same text typed into both fields: seconds run 2..3600, the timer
// 10..10000; leading digits count, anything else reads as 0.
TEST_F(SettingsTest, TypedSecondsAndTimerAreClampedToTheirLimits) {
  vmtest::WriteFile(benchs, Lines(24));
  const struct {
    const char* typed;
    int seconds, timer;
  } cases[] = {
      // clang-format off
      {"1", 2, 10}, {"0", 2, 10}, {"-5", 2, 10}, {"abc", 2, 10}, {"", 2, 10}, {"2", 2, 10},
      {"9", 9, 10}, {"10", 10, 10}, {"30", 30, 30}, {"15xy", 15, 15}, {" 7", 7, 10},
      {"100", 100, 100}, {"3601", 3600, 3601}, {"10001", 3600, 10000},
      {"99999999999", 3600, 10000}, {"-99999999999", 2, 10},
      // clang-format on
  };
  for (const auto& c : cases) {
    BenchState.restartTimer = 0;
    Settings(c.typed, c.typed);
    EXPECT_EQ(BenchState.secondsPerScene, c.seconds) << '"' << c.typed << '"';
    EXPECT_EQ(BenchState.timerIntervalMs, c.timer) << '"' << c.typed << '"';
    EXPECT_EQ(BenchState.restartTimer, 1);
  }
}

TEST_F(SettingsTest, OpensWithTheCurrentValuesAndOkRestartsTheTimerUnchanged) {
  vmtest::WriteFile(benchs, Lines(24));
  BenchState.secondsPerScene = 7;
  BenchState.timerIntervalMs = 40;
  BenchState.restartTimer = 0;
  Settings(nullptr, nullptr);
  EXPECT_EQ(shownSeconds, "7");
  EXPECT_EQ(shownTimer, "40");
  EXPECT_EQ(BenchState.secondsPerScene, 7);
  EXPECT_EQ(BenchState.timerIntervalMs, 40);
  EXPECT_EQ(BenchState.restartTimer, 1);

  // Cancel keeps everything, whatever was typed or chosen.
  BenchState.restartTimer = 0;
  Settings(
      "30", "10",
      [](vm::MemoryDialog& d, vm::CSettingsDlg& dlg) { dlg.OnCommand(d, vm::kSelectNoneId); },
      vm::kIdCancel);
  EXPECT_EQ(BenchState.secondsPerScene, 7);
  EXPECT_EQ(BenchState.timerIntervalMs, 40);
  EXPECT_EQ(BenchState.restartTimer, 0);
  EXPECT_EQ(SelectedCount(), 24);
}

TEST_F(SettingsTest, SceneListSelection) {
  // Picking single lines is the session test's, in the real dialog.
  vmtest::WriteFile(benchs, Lines(24));
  Settings(nullptr, nullptr,
           [](vm::MemoryDialog& d, vm::CSettingsDlg& dlg) { dlg.OnCommand(d, vm::kSelectNoneId); });
  EXPECT_EQ(SelectedCount(), 0);

  // The next opening shows every line selected again; OK keeps them all.
  Settings(nullptr, nullptr);
  EXPECT_EQ(shownSelected, 24);
  EXPECT_EQ(SelectedCount(), 24);
  Settings(nullptr, nullptr, [](vm::MemoryDialog& d, vm::CSettingsDlg& dlg) {
    dlg.OnCommand(d, vm::kSelectNoneId);
    dlg.OnCommand(d, vm::kSelectAllId);
  });
  EXPECT_EQ(SelectedCount(), 24);
}

TEST_F(SettingsTest, ScenesWithoutALineAreAlwaysSelected) {
  // No file: an empty list, and every scene runs.
  Settings(nullptr, nullptr);
  EXPECT_TRUE(shownLines.empty());
  EXPECT_EQ(SelectedCount(), 24);

  // Ten lines: only the first ten can be deselected.
  vmtest::WriteFile(benchs, Lines(10));
  Settings(nullptr, nullptr,
           [](vm::MemoryDialog& d, vm::CSettingsDlg& dlg) { dlg.OnCommand(d, vm::kSelectNoneId); });
  EXPECT_EQ(SelectedCount(), 14);
  EXPECT_EQ(BenchState.sceneSelected[9], 0);
  EXPECT_EQ(BenchState.sceneSelected[10], 1);

  // Thirty lines: the extra ones show but nothing reads them.
  vmtest::WriteFile(benchs, Lines(30));
  Settings(nullptr, nullptr, [](vm::MemoryDialog& d, vm::CSettingsDlg& dlg) {
    dlg.OnCommand(d, vm::kSelectNoneId);
    d.ListAt(vm::kSceneListId)->Click(27);
  });
  EXPECT_EQ(shownLines.size(), 30u);
  EXPECT_EQ(SelectedCount(), 0);
}

// ---- Text Results ------------------------------------------------------------

class TextResultsTest : public DialogsTest {
 protected:
  void Open(const std::string& results,
            const std::function<void(vm::MemoryDialog&, vm::CTextResultsDlg&)>& act) {
    vmtest::WriteFile(dir.File("results.txt"), results);
    vm::LoadResultTable(dir.File("results.txt").c_str());
    vm::CTextResultsDlg dlg(platform, dir.File("benchs.txt").c_str());
    platform.dialogScript = [&](vm::MemoryDialog& d, vm::DialogHandler&) {
      act(d, dlg);
      ranking = d.ListAt(vm::kRankingListId)->lines();
      legend = d.ListAt(kLegendList)->lines();
      compare = d.ListAt(vm::kCompareListId)->lines();
    };
    platform.RunModal(vm::kTextResultsDialog, dlg);
  }
  // A double-click on line `line` of the ranking.
  static void Pick(vm::MemoryDialog& d, vm::CTextResultsDlg& dlg, int line) {
    d.ListAt(vm::kRankingListId)->Click(line);
    dlg.OnDoubleClick(d, vm::kRankingListId);
  }
  std::vector<std::string> ranking, legend, compare;
};

TEST_F(TextResultsTest, ComparingTwoMachinesFromAnyLineOfTheirBlocks) {
  std::vector<double> slow = vmtest::Flat(30);
  slow[4] = 0;  // a scene the second machine has no rate for
  vmtest::WriteFile(dir.File("benchs.txt"), Lines(24));
  Open(vmtest::Record("SLOW", slow) + vmtest::Record("FAST", vmtest::Flat(60)),
       [](vm::MemoryDialog& d, vm::CTextResultsDlg& dlg) {
         Pick(d, dlg, 12);      // a scene line of the first block
         Pick(d, dlg, 30 + 3);  // a description line of the second
       });
  ASSERT_EQ(ranking.size(), 60u);
  EXPECT_EQ(ranking[0], "1 POSITION WITH SCORE = 6000");
  EXPECT_EQ(ranking[1], "FAST");
  EXPECT_EQ(ranking[6], "    Scenes 1 : 60.000000 fps");
  EXPECT_EQ(ranking[29], "    Scenes 24 : 60.000000 fps");
  EXPECT_EQ(ranking[30], "2 POSITION WITH SCORE = 2875");
  EXPECT_EQ(legend.size(), 24u);
  ASSERT_EQ(compare.size(), 27u);
  EXPECT_EQ(compare[0], "First Computer : FAST");
  EXPECT_EQ(compare[1], "Second Computer : SLOW");
  EXPECT_EQ(compare[2], "C1 vs C2  = 2.086957");
  EXPECT_EQ(compare[3], "Scene 1 : 1 vs 2  = 2.000000");
  EXPECT_EQ(compare[7], "Scene 5 : 1 vs 2  = inf");
  EXPECT_EQ(compare[26], "Scene 24 : 1 vs 2  = 2.000000");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(TextResultsTest, DescriptionsStartingWithADigitGetASpace) {
  const std::string longName = "9" + std::string(125, 'X');  // the longest the form saves
  Open(vmtest::Record("3D BOX", vmtest::Flat(20), "486 DX") +
           vmtest::Record(longName, vmtest::Flat(10)),
       [](vm::MemoryDialog& d, vm::CTextResultsDlg& dlg) {
         Pick(d, dlg, 1);  // the name line " 3D BOX" is no position line
         Pick(d, dlg, 31);
       });
  EXPECT_EQ(ranking[1], " 3D BOX");
  EXPECT_EQ(ranking[2], " 486 DX");
  EXPECT_EQ(ranking[31], " " + longName);
  EXPECT_EQ(ranking[32], "CPU");  // the neighbouring field is intact
  ASSERT_EQ(compare.size(), 27u);
  EXPECT_EQ(compare[0], "First Computer :  3D BOX");
  EXPECT_EQ(compare[1], "Second Computer :  " + longName);
}

// ---- FAQ -------------------------------------------------------------------

class FaqTest : public DialogsTest {
 protected:
  std::vector<std::string> Open() {
    vm::CFaqDlg dlg(faq.c_str());
    std::vector<std::string> lines;
    platform.dialogScript = [&](vm::MemoryDialog& d, vm::DialogHandler&) {
      lines = d.ListAt(kFaqList)->lines();
    };
    platform.RunModal(vm::kFaqDialog, dlg);
    return lines;
  }
  std::string faq = dir.File("faq.txt");
};

TEST_F(FaqTest, ShowsTheFileLineByLineReadAnewEachTime) {
  EXPECT_TRUE(Open().empty());
  vmtest::WriteFile(faq, "Q: what?\n\nA: this.\r\n" + std::string(300, 'w') + "\nno newline");
  const std::vector<std::string> lines = Open();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Q: what?");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "A: this.");
  EXPECT_EQ(lines[3], std::string(254, 'w'));
  EXPECT_EQ(lines[4], std::string(46, 'w'));
  vmtest::WriteFile(faq, "edited\n");
  EXPECT_EQ(Open(), std::vector<std::string>{"edited"});
}

}  // namespace
