#include "results/result_table.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "app/bench_state.h"
#include "tests/results/results_fixture.h"

using vm::lastResultIndex;
using vm::LoadResultTable;
using vm::ResultTable;

namespace {

class ResultTableTest : public ::testing::Test {
 protected:
  void SetUp() override { vmtest::ResetBenchState(); }
  void Load(const std::string& contents) {
    vmtest::WriteFile(file, contents);
    LoadResultTable(file.c_str());
  }
  vmtest::TempDir dir;
  std::string file = dir.File("results.txt");
};

std::vector<double> Ramp() {
  std::vector<double> r;
  for (int i = 1; i <= 24; ++i) r.push_back(10.0 * i);
  return r;
}

TEST_F(ResultTableTest, CompletedRunAloneIsThisMachine) {
  vm::BenchState.resultsAvailable = 1;
  vm::BenchState.sceneTime[0] = 0.02f;
  vm::BenchState.sceneTime[1] = 0.04f;
  vm::BenchState.sceneTime[2] = std::numeric_limits<float>::quiet_NaN();
  LoadResultTable(dir.File("missing.txt").c_str());
  ASSERT_EQ(lastResultIndex, 0);
  const vm::ResultEntry& row = ResultTable[0];
  EXPECT_EQ(row.isThisMachine, 1);
  EXPECT_STREQ(row.computerName, "This Machine");
  EXPECT_STREQ(row.cpuType, "!!");
  EXPECT_STREQ(row.operatingSystem, "!!");
  EXPECT_FLOAT_EQ(row.sceneFps[0], 50.0f);
  EXPECT_FLOAT_EQ(row.sceneFps[1], 25.0f);
  // Scenes without a measured time (not in the run) count 0, never infinity.
  for (int i = 2; i < 32; ++i) EXPECT_EQ(row.sceneFps[i], 0.0f) << i;
  EXPECT_FLOAT_EQ(row.averageFps, 75.0f * 0.041666668f);
}

TEST_F(ResultTableTest, AveragesScoresAndRanking) {
  Load(vmtest::Record("SLOW", vmtest::Flat(30)) + vmtest::Record("RAMP", Ramp()) +
       vmtest::Record("FAST", vmtest::Flat(200)));
  ASSERT_EQ(lastResultIndex, 2);
  EXPECT_STREQ(ResultTable[0].computerName, "FAST\n");  // newline kept
  EXPECT_STREQ(ResultTable[1].computerName, "RAMP\n");
  EXPECT_STREQ(ResultTable[1].cpuType, "CPU\n");
  EXPECT_STREQ(ResultTable[1].ramType, "RAM\n");
  EXPECT_STREQ(ResultTable[1].videoCard, "CARD\n");
  EXPECT_STREQ(ResultTable[1].operatingSystem, "OS\n");
  EXPECT_EQ(ResultTable[1].isThisMachine, 0);
  EXPECT_EQ(ResultTable[1].averageFps, 125.0f);
  EXPECT_EQ(vm::ResultScore(ResultTable[1].averageFps), 12500);
  EXPECT_FLOAT_EQ(ResultTable[1].sceneFps[23], 240.0f);
  EXPECT_STREQ(ResultTable[2].computerName, "SLOW\n");
}

TEST_F(ResultTableTest, EqualAveragesComeOutReversed) {
  Load(vmtest::Record("FIRST", vmtest::Flat(40)) + vmtest::Record("SECOND", vmtest::Flat(40)));
  ASSERT_EQ(lastResultIndex, 1);
  EXPECT_STREQ(ResultTable[0].computerName, "SECOND\n");
  EXPECT_STREQ(ResultTable[1].computerName, "FIRST\n");
}

TEST(ResultScore, TruncatesAndStaysDefinedForAnyAverage) {
  EXPECT_EQ(vm::ResultScore(57.35f), 5734);
  EXPECT_EQ(vm::ResultScore(0.0f), 0);
  EXPECT_EQ(vm::ResultScore(-1.239f), -123);
  EXPECT_EQ(vm::ResultScore(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(vm::ResultScore(std::numeric_limits<float>::infinity()), INT_MAX);
  EXPECT_EQ(vm::ResultScore(-std::numeric_limits<float>::infinity()), INT_MIN);
  EXPECT_EQ(vm::ResultScore(1e30f), INT_MAX);
}

TEST_F(ResultTableTest, CutRecordRepeatsItsLastLine) {
  std::string cut = vmtest::Record("CUT", {24, 48, 72});
  cut.resize(cut.find("72.000000\n") + 10);
  Load(vmtest::Record("WHOLE", vmtest::Flat(1)) + cut);
  ASSERT_EQ(lastResultIndex, 1);
  const vm::ResultEntry& row = ResultTable[0];
  EXPECT_STREQ(row.computerName, "CUT\n");
  for (int j = 2; j < 24; ++j) EXPECT_EQ(row.sceneFps[j], 72.0f) << j;
  EXPECT_FLOAT_EQ(row.averageFps, (24 + 48 + 72 * 22) * 0.041666668f);

  // Cut inside the description lines: texts repeat too, rates read 0.
  std::string early = vmtest::Record("EARLY", vmtest::Flat(5));
  early.resize(early.find("RAM\n") + 4);
  Load(early);
  ASSERT_EQ(lastResultIndex, 0);
  EXPECT_STREQ(ResultTable[0].videoCard, "RAM\n");
  EXPECT_STREQ(ResultTable[0].operatingSystem, "RAM\n");
  EXPECT_EQ(ResultTable[0].averageFps, 0.0f);
}

TEST_F(ResultTableTest, OverlongLineSplitsAndShiftsOnlyItsRecord) {
  const std::string longName(200, 'N');
  std::vector<double> rates = Ramp();
  Load(vmtest::Record(longName, rates) + vmtest::Record("NEXT", vmtest::Flat(1)));
  ASSERT_EQ(lastResultIndex, 1);
  const vm::ResultEntry& row = ResultTable[0];
  EXPECT_EQ(std::string(row.computerName), std::string(127, 'N'));
  EXPECT_EQ(std::string(row.cpuType), std::string(73, 'N') + "\n");
  EXPECT_STREQ(row.ramType, "CPU\n");
  EXPECT_STREQ(row.videoCard, "BOARD\n");
  EXPECT_STREQ(row.operatingSystem, "DRIVER\n");
  EXPECT_EQ(row.sceneFps[0], 0.0f);  // "OTHER"
  for (int j = 1; j < 24; ++j) EXPECT_EQ(row.sceneFps[j], 10.0f * j) << j;
  // The line left over is skipped and the next record is read intact.
  EXPECT_STREQ(ResultTable[1].computerName, "NEXT\n");
  EXPECT_EQ(ResultTable[1].averageFps, 1.0f);
}

TEST_F(ResultTableTest, StrayLinesAndNonNumbers) {
  std::string bad = vmtest::Record("BAD", vmtest::Flat(12));
  bad.replace(bad.find("12.000000\n"), 9, "fast!!!!!");
  Load("header text\n\n" + vmtest::Record("A", vmtest::Flat(6)) + "note between\n" + bad +
       "trailing");
  ASSERT_EQ(lastResultIndex, 1);
  EXPECT_STREQ(ResultTable[0].computerName, "BAD\n");
  EXPECT_EQ(ResultTable[0].sceneFps[0], 0.0f);
  EXPECT_FLOAT_EQ(ResultTable[0].averageFps, 12.0f * 23 * 0.041666668f);
  EXPECT_STREQ(ResultTable[1].computerName, "A\n");
}

TEST_F(ResultTableTest, CrLfFilesRankExactlyAsLfFiles) {
  const std::string name126(126, 'W');
  const std::string lf = vmtest::Record("ALPHA", Ramp()) +
                         vmtest::Record(name126, vmtest::Flat(57.35)) +
                         vmtest::Record("GAMMA", vmtest::Flat(57.35));
  Load(lf);
  std::vector<vm::ResultEntry> expected(ResultTable, ResultTable + lastResultIndex + 1);

  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  Load(crlf);
  ASSERT_EQ(lastResultIndex, 2);
  for (int i = 0; i <= lastResultIndex; ++i) {
    EXPECT_STREQ(ResultTable[i].computerName, expected[i].computerName) << i;
    EXPECT_STREQ(ResultTable[i].operatingSystem, expected[i].operatingSystem) << i;
    EXPECT_EQ(ResultTable[i].averageFps, expected[i].averageFps) << i;
  }
  EXPECT_EQ(std::string(ResultTable[2].computerName), name126 + "\n");
}

// A German locale turns 57.35 into "57,350000" for plain printf; the results
// file must not notice. Builds the locale privately when none is installed.
TEST(ResultNumbers, FormatAndParseIgnoreTheProcessLocale) {
  vmtest::TempDir dir;
  const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
  if (!german) {
    const std::string cmd =
        "localedef -i de_DE -f UTF-8 " + dir.File("de_DE.UTF-8") + " 2>/dev/null";
    if (std::system(cmd.c_str()) == 0) {
      setenv("LOCPATH", dir.path().c_str(), 1);
      german = std::setlocale(LC_ALL, "de_DE.UTF-8");
    }
  }
  if (!german) GTEST_SKIP() << "no German locale available";
  char plain[32];
  std::snprintf(plain, sizeof plain, "%f", 57.35);
  EXPECT_STREQ(plain, "57,350000");  // the locale is really in effect
  EXPECT_EQ(vm::FormatC("%f", 57.35), "57.350000");
  EXPECT_DOUBLE_EQ(vm::ParseRate("57.350000\n"), 57.35);
  std::setlocale(LC_ALL, "C");
}

// A second run of fewer scenes reports only what it measured.
TEST(ResultTableRun, ScenesLeftOutOfTheLastRunCountZero) {
  vmtest::ResetBenchState();
  vmtest::SimApp app;
  app.frame.OnCreate();
  app.OnPaint();  // the start-up frame
  auto run = [&](std::initializer_list<int> scenes) {
    for (int& s : vm::BenchState.sceneSelected) s = 0;
    for (int i : scenes) vm::BenchState.sceneSelected[i] = 1;
    app.frame.OnInitBenchs();
    for (int i = 0; i < 1000 && vm::BenchState.displayMode == vm::kModeBenchmark; ++i)
      app.RunFor(100);
  };
  run({0, 1});
  run({1});
  ASSERT_EQ(vm::BenchState.resultsAvailable, 1);
  vmtest::TempDir dir;
  LoadResultTable(dir.File("none.txt").c_str());
  ASSERT_EQ(lastResultIndex, 0);
  EXPECT_EQ(ResultTable[0].sceneFps[0], 0.0f);
  EXPECT_NEAR(ResultTable[0].sceneFps[1], 200.0f, 20.0f);  // 5 ms frames
  EXPECT_FLOAT_EQ(ResultTable[0].averageFps, ResultTable[0].sceneFps[1] * 0.041666668f);
}

}  // namespace
