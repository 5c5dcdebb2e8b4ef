#include "cli/cli_run.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/bench_state.h"
#include "cli/cli_results.h"
#include "results/result_table.h"

namespace vm {
namespace {

std::string Contents(std::FILE* f) {
  std::string s;
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  return s;
}

// Runs each test in an empty directory of its own.
class CliDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vm-cli-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ASSERT_EQ(getcwd(old_, sizeof old_), old_);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    for (const std::string& f : Files()) std::remove(f.c_str());
    EXPECT_EQ(chdir(old_), 0);
    rmdir(dir_.c_str());
  }
  static std::vector<std::string> Files() {
    std::vector<std::string> names;
    DIR* d = opendir(".");
    while (dirent* e = d ? readdir(d) : nullptr)
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
        names.push_back(e->d_name);
    if (d) closedir(d);
    return names;
  }
  std::string dir_;
  char old_[4096];
};

// Two records whose rates are 10, 20, ..., 240 and half of that.
void WriteTwoMachines() {
  std::FILE* f = std::fopen("results.txt", "w");
  for (int machine = 1; machine <= 2; ++machine) {
    std::fprintf(f, "-------------------------------------\nMonday, December 07, 2026\n");
    std::fprintf(f, "BOX%d\nCPU%d\nRAM\nBOARD\nCARD%d\nVRAM\nFREQ\nDRIVER\nOS\nOTHER\n", machine,
                 machine, machine);
    for (int s = 1; s <= 24; ++s) std::fprintf(f, "%f\n", 10.0 * s / machine);
  }
  std::fclose(f);
}

// One real run, as a user would start it: two scenes of two seconds.
TEST_F(CliDir, RunsTheSelectedScenesAndSavesOnlyTheResultsFile) {
  CliOptions o;
  o.resultsFile = "mine.txt";
  for (bool& s : o.scenes) s = false;
  o.scenes[0] = true;
  o.scenes[9] = true;
  o.timerMs = 50;
  o.save = true;
  o.allowPartial = true;
  o.fields[0] = "my box";
  o.fields[9] = "two\nlines";
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_EQ(RunCommand(o, out, err), 0) << Contents(err);

  const std::string log = Contents(err);
  // What was measured comes before the first scene.
  const size_t version = log.find("velmark3-cli " VM_VERSION "\nOpenGL vendor: ");
  const size_t settings =
      log.find("View 1024x768, 2 seconds per scene, timer 50 ms, scenes 1,10\n");
  EXPECT_NE(version, std::string::npos) << log;
  EXPECT_LT(version, settings) << log;
  EXPECT_LT(settings, log.find("Scene 1")) << log;
  // Progress labels as the status bar shows them: the selected scenes' only,
  // in order. A first frame slower than the scene's seconds (a loaded
  // machine) leaves its scene without a label, so none is required.
  const std::string first = "Scene 1/24) 900 Spheres and 1 light => ";
  const std::string second = "Scene 10/24) 24000 Triangles and 1 Light => ";
  std::istringstream labels(log);
  int last = 1;
  for (std::string line; std::getline(labels, line);) {
    if (line.rfind("Scene ", 0) != 0) continue;
    const int which = line.rfind(first, 0) == 0 ? 1 : line.rfind(second, 0) == 0 ? 2 : 0;
    EXPECT_GE(which, last) << line;
    last = which;
  }

  const std::string text = Contents(out);
  EXPECT_EQ(text.find("Scene 1 : "), 0u) << text;
  EXPECT_NE(text.find("\nScene 10 : "), std::string::npos) << text;
  EXPECT_EQ(text.find("Scene 2 : "), std::string::npos) << text;
  EXPECT_NE(text.find("\nScore : "), std::string::npos) << text;
  EXPECT_EQ(BenchState.resultsAvailable, 1);
  EXPECT_EQ(BenchState.timerIntervalMs, 50);
  std::fclose(out);
  std::fclose(err);

  // The record reads back as the Save Results form would have written it,
  // and it is the only file the run wrote.
  EXPECT_EQ(Files(), std::vector<std::string>{"mine.txt"});
  BenchState.resultsAvailable = 0;
  vm::LoadResultTable("mine.txt");
  ASSERT_EQ(vm::lastResultIndex, 0);
  EXPECT_STREQ(vm::ResultTable[0].computerName, "MY BOX\n");
  // Read back from six decimals into a float: equal to that precision only.
  const double rate = vm::SceneRate(BenchState.sceneTime[0]);
  EXPECT_NEAR(vm::ResultTable[0].sceneFps[0], rate, 1e-6 * (1 + rate));
  EXPECT_EQ(vm::ResultTable[0].sceneFps[1], 0.0f);  // did not run
  std::FILE* f = std::fopen("mine.txt", "r");
  int lines = 0;
  for (int c; (c = std::fgetc(f)) != EOF;) lines += c == '\n';
  std::fclose(f);
  EXPECT_EQ(lines, 36);
}

// A partial run would be ranked like a full one: saved only on request.
TEST_F(CliDir, SavingAPartialRunNeedsAllowPartial) {
  CliOptions o;
  o.scenes[23] = false;
  o.save = true;
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(RunCommand(o, stdout, err), 1);
  EXPECT_NE(Contents(err).find("--allow-partial"), std::string::npos) << Contents(err);
  EXPECT_TRUE(Files().empty());
  std::fclose(err);
}

TEST_F(CliDir, ResultsAndCompareShowTheTextResultsLines) {
  BenchState.resultsAvailable = 0;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(vm::ResultsCommand(out, err), 1);  // said, not an empty ranking
  EXPECT_NE(Contents(err).find("no results file results.txt"), std::string::npos);
  WriteTwoMachines();
  ASSERT_EQ(vm::ResultsCommand(out, err), 0);
  std::string text = Contents(out);
  EXPECT_EQ(text.find("1 POSITION WITH SCORE = 12500\nBOX1\nCPU1\nRAM\nCARD1\nOS\n    Scenes 1 : "
                      "10.000000 fps\n"),
            0u)
      << text;
  EXPECT_NE(text.find("\n2 POSITION WITH SCORE = 6250\nBOX2\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 60);

  std::FILE* cmp = std::tmpfile();
  ASSERT_EQ(vm::CompareCommand(1, 2, cmp, err), 0);
  text = Contents(cmp);
  EXPECT_EQ(text.find("First Computer : BOX1\nSecond Computer : BOX2\n"), 0u) << text;
  EXPECT_NE(text.find("Scene 24 : 1 vs 2  = 2.000000\n"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 27);

  EXPECT_EQ(vm::CompareCommand(2, 2, cmp, err), 1);
  EXPECT_NE(Contents(err).find("Please don't Select the same Computer!!!"), std::string::npos);
  EXPECT_EQ(vm::CompareCommand(1, 3, cmp, err), 2);
  std::fclose(out);
  std::fclose(err);
  std::fclose(cmp);
}

// A shared file must not drive the terminal, records the ranking cannot
// hold are counted, and output that cannot be written fails the command.
TEST_F(CliDir, HostileFilesAndUnwritableOutput) {
  std::FILE* f = std::fopen("results.txt", "w");
  for (int machine = 0; machine < 130; ++machine) {
    std::fprintf(f, "-------------------------------------\nday\nBOX\x1b]0;x\x07%d\x7f\n", machine);
    for (int line = 0; line < 33; ++line) std::fprintf(f, "%d\n", machine);
  }
  std::fclose(f);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_EQ(vm::ResultsCommand(out, err), 0);
  EXPECT_EQ(Contents(out).find("1 POSITION WITH SCORE = 12700\nBOX?]0;x?127?\n"), 0u);
  EXPECT_EQ(Contents(err),
            "velmark3-cli: 2 records of results.txt are not shown: the ranking holds 128\n");
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_EQ(vm::CompareCommand(1, 2, full, err), 0);
  EXPECT_FALSE(vm::FinishOutput(full, err));
  EXPECT_NE(Contents(err).find("could not write the output: No space left on device"),
            std::string::npos);
  std::fclose(full);
  std::fclose(out);
  std::fclose(err);
}

}  // namespace
}  // namespace vm
