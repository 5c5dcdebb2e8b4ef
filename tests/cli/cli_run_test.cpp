#include "cli/cli_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/bench_state.h"

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

// One real run, as a user would start it: two scenes of two seconds.
TEST(CliRun, RunsTheSelectedScenesWithTheDesktopSequencer) {
  CliOptions o;
  for (bool& s : o.scenes) s = false;
  o.scenes[0] = true;
  o.scenes[9] = true;
  o.timerMs = 50;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_EQ(RunCommand(o, out, err), 0) << Contents(err);

  // Progress labels in order, as the status bar shows them.
  const std::string log = Contents(err);
  const size_t a0 = log.find("Scene 1/24) 900 Spheres and 1 light => 0%");
  const size_t a1 = log.find("Scene 1/24) 900 Spheres and 1 light => 100%");
  const size_t b0 = log.find("Scene 10/24) 24000 Triangles and 1 Light => 0%");
  ASSERT_NE(a0, std::string::npos) << log;
  ASSERT_NE(a1, std::string::npos) << log;
  ASSERT_NE(b0, std::string::npos) << log;
  EXPECT_LT(a0, a1);
  EXPECT_LT(a1, b0);
  EXPECT_EQ(log.find("Scene 2/"), std::string::npos);

  const std::string text = Contents(out);
  EXPECT_EQ(text.find("Scene 1 : "), 0u) << text;
  EXPECT_NE(text.find("\nScene 10 : "), std::string::npos) << text;
  EXPECT_EQ(text.find("Scene 2 : "), std::string::npos) << text;
  EXPECT_NE(text.find("\nScore : "), std::string::npos) << text;
  EXPECT_EQ(BenchState.resultsAvailable, 1);
  EXPECT_EQ(BenchState.timerIntervalMs, 50);
  std::fclose(out);
  std::fclose(err);
}

}  // namespace
}  // namespace vm
