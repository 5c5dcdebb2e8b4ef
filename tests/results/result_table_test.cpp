// Reading results.txt into the ranking: scores, hand edits, and numbers
// whatever the locale. Arbitrary bytes are fuzz/results_file_fuzz.cpp's.
#include "results/result_table.h"

#include <climits>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <string>

#include "tests/results/results_fixture.h"

using vm::lastResultIndex;
using vm::ResultTable;

namespace {

TEST(ResultScore, TruncatesAndStaysDefinedForAnyAverage) {
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(vm::ResultScore(57.35f), 5734);
  EXPECT_EQ(vm::ResultScore(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(vm::ResultScore(inf), INT_MAX);
  EXPECT_EQ(vm::ResultScore(-inf), INT_MIN);
}

// Hand edits: text around the records, a word for a rate, a name longer than
// a line is read (cut, its record kept in step), CR LF line ends, and a 10 MiB
// line of dashes (once 2343 phantom records, pushing the real ones out).
TEST(ResultTable, HandEditedFiles) {
  vmtest::ResetBenchState();
  std::string bad = vmtest::Record(std::string(200, 'N'), vmtest::Flat(12));
  bad.replace(bad.find("12.000000\n"), 9, "fast!!!!!");
  const std::string lf = "header\n" + std::string(10 << 20, '-') + "\n" +
                         vmtest::Record("A", vmtest::Flat(6)) + "note\n" + bad +
                         vmtest::Record("B", vmtest::Flat(1)) + "trailing";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  vmtest::TempDir dir;
  for (const std::string& text : {lf, crlf}) {
    vmtest::WriteFile(dir.File("results.txt"), text);
    vm::LoadResultTable(dir.File("results.txt").c_str());
    ASSERT_EQ(lastResultIndex, 2);
    EXPECT_EQ(std::string(ResultTable[0].computerName), std::string(127, 'N'));
    EXPECT_STREQ(ResultTable[0].ramType, "RAM\n");
    EXPECT_EQ(ResultTable[0].sceneFps[0], 0.0f);  // the word
    EXPECT_FLOAT_EQ(ResultTable[0].averageFps, 12.0f * 23 * 0.041666668f);
    EXPECT_STREQ(ResultTable[1].computerName, "A\n");
    EXPECT_STREQ(ResultTable[2].computerName, "B\n");
    EXPECT_EQ(ResultTable[2].averageFps, 1.0f);
  }
}

// A "nan" rate once ranked its machine first, with score 0, above one of
// 4018. Rates that are no number rank as 0, in the order equal rows take.
TEST(ResultTable, NonFiniteRatesRankAsZero) {
  vmtest::ResetBenchState();
  std::string nan = vmtest::Record("NAN", vmtest::Flat(0)), inf = vmtest::Record("INF", {});
  for (size_t at; (at = nan.find("0.000000")) != std::string::npos;) nan.replace(at, 8, "nan");
  inf.replace(inf.find("0.000000"), 8, "inf");
  vmtest::TempDir dir;
  vmtest::WriteFile(dir.File("results.txt"), vmtest::Record("FAST", vmtest::Flat(40.185)) + nan +
                                                 inf + vmtest::Record("ZERO", vmtest::Flat(0)) +
                                                 vmtest::Record("HUGE", vmtest::Flat(3e38)));
  vm::LoadResultTable(dir.File("results.txt").c_str());
  ASSERT_EQ(lastResultIndex, 4);
  std::string ranking;  // name and score, best first
  for (int r = 0; r < 5; ++r)
    ranking +=
        ResultTable[r].computerName + std::to_string(vm::ResultScore(ResultTable[r].averageFps));
  EXPECT_EQ(ranking, "FAST\n4018HUGE\n0ZERO\n0INF\n0NAN\n0");
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
      setenv("LOCPATH", dir.path.c_str(), 1);
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
