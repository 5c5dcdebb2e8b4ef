// Reading results.txt into the ranking: this machine's run, order, hand
// edits, and numbers whatever the locale. Arbitrary bytes are the fuzz
// target's (fuzz/results_file_fuzz.cpp).
#include "results/result_table.h"

#include <climits>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <string>

#include "app/bench_state.h"
#include "tests/results/results_fixture.h"

using vm::lastResultIndex;
using vm::ResultTable;

namespace {

class ResultTableTest : public ::testing::Test {
 protected:
  void SetUp() override { vmtest::ResetBenchState(); }
  void Load(const std::string& contents) {
    vmtest::WriteFile(file, contents);
    vm::LoadResultTable(file.c_str());
  }
  std::string Name(int row) const { return ResultTable[row].computerName; }
  vmtest::TempDir dir;
  std::string file = dir.File("results.txt");
};

// Scenes without a measured time (not in the run) count 0, never infinity.
TEST_F(ResultTableTest, ThisMachineFirstAndEqualAveragesReversed) {
  vm::BenchState.resultsAvailable = 1;
  vm::BenchState.sceneTime[0] = 0.02f;
  vm::BenchState.sceneTime[2] = std::numeric_limits<float>::quiet_NaN();
  Load(vmtest::Record("FIRST", vmtest::Flat(1)) + vmtest::Record("SECOND", vmtest::Flat(1)));
  ASSERT_EQ(lastResultIndex, 2);
  EXPECT_EQ(Name(0), "This Machine");
  for (int i = 1; i < 32; ++i) EXPECT_EQ(ResultTable[0].sceneFps[i], 0.0f) << i;
  EXPECT_FLOAT_EQ(ResultTable[0].averageFps, 50.0f * 0.041666668f);
  EXPECT_EQ(Name(1), "SECOND\n");
  EXPECT_EQ(Name(2), "FIRST\n");
}

TEST(ResultScore, TruncatesAndStaysDefinedForAnyAverage) {
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(vm::ResultScore(57.35f), 5734);
  EXPECT_EQ(vm::ResultScore(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(vm::ResultScore(inf), INT_MAX);
  EXPECT_EQ(vm::ResultScore(-inf), INT_MIN);
}

// Hand edits: text around the records, a word for a rate, a name longer than
// a line is read (split, shifting only its own record), CR LF line ends.
TEST_F(ResultTableTest, HandEditedFiles) {
  std::string bad = vmtest::Record(std::string(200, 'N'), vmtest::Flat(12));
  bad.replace(bad.find("12.000000\n"), 9, "fast!!!!!");
  const std::string lf = "header\n\n" + vmtest::Record("A", vmtest::Flat(6)) + "note\n" + bad +
                         vmtest::Record("B", vmtest::Flat(1)) + "trailing";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (const std::string& text : {lf, crlf}) {
    Load(text);
    ASSERT_EQ(lastResultIndex, 2);
    EXPECT_EQ(Name(0), std::string(127, 'N'));
    EXPECT_STREQ(ResultTable[0].ramType, "CPU\n");
    EXPECT_EQ(ResultTable[0].sceneFps[0], 0.0f);  // "OTHER"
    EXPECT_EQ(ResultTable[0].sceneFps[1], 0.0f);  // the word
    EXPECT_FLOAT_EQ(ResultTable[0].averageFps, 12.0f * 22 * 0.041666668f);
    EXPECT_EQ(Name(1), "A\n");
    EXPECT_EQ(Name(2), "B\n");
    EXPECT_EQ(ResultTable[2].averageFps, 1.0f);
  }
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

}  // namespace
