#include <string>

#include "app/bench_state.h"
#include "platform/memory_platform.h"
#include "results/result_table.h"
#include "results/save_results_dlg.h"
#include "tests/results/results_fixture.h"

using vm::BenchState;

namespace {

const char kExpectedRecord[] =
    "-------------------------------------\n"
    "Sunday, December 06, 2026\n"
    "ATHLON BOX\n"
    "AMD 1.4GHZ\n"
    "DDR 266\n"
    "\n"
    "GEFORCE 4 TI\n"
    "128MB\n"
    "300/650\n"
    "40.72\n"
    "WINDOWS XP\n"
    "\n"
    "32.000000\n"
    "0.500000\n";

class SaveResultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vmtest::ResetBenchState();
    BenchState.resultsAvailable = 1;
    BenchState.sceneTime[0] = 0.03125f;
    BenchState.sceneTime[1] = 2.0f;
    for (int i = 2; i < vm::kSceneCount; ++i) BenchState.sceneTime[i] = 0.01f;
    platform.localTime.tm_wday = 0;
    platform.localTime.tm_mon = 11;
    platform.localTime.tm_mday = 6;
    platform.localTime.tm_year = 126;
  }

  // Opens the dialog, types `fields` (edit 1000 + k) and presses OK once.
  int SaveWith(const std::string& path, const std::vector<std::string>& fields) {
    vm::CSaveResultsDlg dlg(platform, path.c_str());
    platform.dialogScript = [&](vm::MemoryDialog& host, vm::DialogHandler& handler) {
      for (size_t k = 0; k < fields.size(); ++k)
        host.EditAt(1000 + static_cast<int>(k))->Type(fields[k]);
      handler.OnCommand(host, vm::kIdOk);
    };
    return platform.RunModal(vm::kSaveResultsDialog, dlg);
  }

  const std::vector<std::string> fields = {
      "Athlon box", "amd 1.4ghz", "DDR 266", "",           "GeForce 4 Ti",
      "128MB",      "300/650",    "40.72",   "Windows XP", ""};
  vm::MemoryPlatform platform;
  vmtest::TempDir dir;
};

TEST_F(SaveResultsTest, RecordIsAppendedByteForByteAndReadsBack) {
  const std::string file = dir.File("results.txt");
  EXPECT_EQ(SaveWith(file, fields), vm::kIdOk);
  const std::string text = vmtest::ReadFile(file);
  ASSERT_EQ(text.compare(0, sizeof kExpectedRecord - 1, kExpectedRecord), 0) << text;
  std::string rest = text.substr(sizeof kExpectedRecord - 1);
  std::string expectedRest;
  for (int i = 2; i < 24; ++i) expectedRest += "100.000000\n";
  // 1 / 0.01f is not exactly 100 in single precision.
  EXPECT_EQ(rest.size(), expectedRest.size());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 36);
  EXPECT_TRUE(platform.messages.empty());

  EXPECT_EQ(SaveWith(file, fields), vm::kIdOk);
  const std::string twice = vmtest::ReadFile(file);
  EXPECT_EQ(twice, text + text);

  BenchState.resultsAvailable = 0;
  vm::LoadResultTable(file.c_str());
  ASSERT_EQ(vm::lastResultIndex, 1);
  EXPECT_STREQ(vm::ResultTable[0].computerName, "ATHLON BOX\n");
  EXPECT_STREQ(vm::ResultTable[0].cpuType, "AMD 1.4GHZ\n");
  EXPECT_STREQ(vm::ResultTable[0].videoCard, "GEFORCE 4 TI\n");
  EXPECT_STREQ(vm::ResultTable[0].operatingSystem, "WINDOWS XP\n");
  EXPECT_EQ(vm::ResultTable[0].sceneFps[0], 32.0f);
  EXPECT_EQ(vm::ResultTable[0].sceneFps[1], 0.5f);
}

}  // namespace
