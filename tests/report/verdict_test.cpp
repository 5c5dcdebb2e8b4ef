#include "report/verdict.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "report/run_report.h"

namespace vm {
namespace {

TEST(Verdict, RankIntervalFollowsTheExactDistribution) {
  EXPECT_EQ(RankIntervalIndex(3, 3), 0);  // 1 ordering in 20: cannot reach 95%
  EXPECT_EQ(RankIntervalIndex(3, 4), 0);
  EXPECT_EQ(RankIntervalIndex(4, 4), 1);
  EXPECT_EQ(RankIntervalIndex(5, 5), 3);
  EXPECT_EQ(RankIntervalIndex(10, 10), 24);  // the tables' critical value 23, plus one
  EXPECT_EQ(RankIntervalIndex(1, 1), 0);
  // Past the exact range the normal approximation takes over smoothly.
  const int exact = RankIntervalIndex(50, 50), approx = RankIntervalIndex(51, 50);
  EXPECT_NEAR(approx, exact + 25, 6);
}

std::vector<double> Noisy(double rate, double spread, int n, std::mt19937& rng) {
  std::normal_distribution<double> noise(0.0, spread);
  std::vector<double> out;
  for (int i = 0; i < n; ++i) out.push_back(rate * std::exp(noise(rng)));
  return out;
}

TEST(Verdict, ClaimsOnlyWhatTheRunsShow) {
  const std::vector<double> a = {10.0, 10.2, 9.9, 10.1, 10.05};
  std::vector<double> slow;
  for (double r : a) slow.push_back(r / 1.3);
  RateVerdict v = CompareRates(a, slow);
  EXPECT_EQ(v.call, Call::kSlower);
  EXPECT_NEAR(v.ratio, 1 / 1.3, 1e-9);
  EXPECT_LT(v.low, v.ratio);
  EXPECT_GT(v.high, v.ratio);
  EXPECT_EQ(CompareRates(slow, a).call, Call::kFaster);

  // Cleanly apart but by less than the minimum effect: not claimed.
  std::vector<double> nudged;
  for (double r : a) nudged.push_back(r * 0.98 - 0.3);
  EXPECT_EQ(CompareRates(a, nudged).call, Call::kNoChange);

  // One run a side, or three against three, says nothing, however far apart.
  EXPECT_EQ(CompareRates({10.0}, {3.0}).call, Call::kNotEnough);
  EXPECT_EQ(CompareRates({10, 10, 10}, {3, 3, 3}).call, Call::kNotEnough);
  EXPECT_EQ(CompareRates({}, {3, 3, 3}).call, Call::kNotEnough);
}

TEST(Verdict, FalseAlarmsStayRare) {
  // Same machine, same build: 2000 comparisons of 5 runs against 5 with
  // 10% run-to-run noise claim a change in well under 5% of them.
  std::mt19937 rng(31);
  int claims = 0;
  const int trials = 2000;
  for (int t = 0; t < trials; ++t)
    claims += CompareRates(Noisy(20, 0.1, 5, rng), Noisy(20, 0.1, 5, rng)).call != Call::kNoChange;
  EXPECT_LT(claims, trials * 5 / 100);
  // And a 30% slower scene is found nearly always with the same noise.
  int found = 0;
  for (int t = 0; t < 200; ++t)
    found +=
        CompareRates(Noisy(20, 0.05, 5, rng), Noisy(20 / 1.3, 0.05, 5, rng)).call == Call::kSlower;
  EXPECT_GT(found, 190);
}

RunData OneRun(const std::string& path, std::vector<double> rates, std::vector<int> busyRuns = {}) {
  RunData r;
  r.path = path;
  r.width = 1024;
  r.height = 768;
  r.timerMs = 100;
  r.seconds = 2;
  r.renderer = "llvmpipe";
  RunScene s;
  s.scene = 5;
  s.fps = rates[rates.size() / 2];
  s.runs = rates;
  s.busyRuns = busyRuns;
  s.busy = !busyRuns.empty();
  r.scenes.push_back(s);
  return r;
}

TEST(Verdict, SidesLeaveOutBusyAndFlaggedRunsWhenOthersSuffice) {
  RunData a = OneRun("runs/a.json", {10, 10.1, 9.9, 10.2, 10.0});
  // Two busy runs of seven: five quiet ones are enough without them.
  RunData b = OneRun("runs/b.json", {10, 10.1, 4.0, 9.9, 10.2, 10.0, 4.1}, {3, 7});
  SideComparison c = CompareSides({&a}, {&b}, false);
  ASSERT_EQ(c.scenes.size(), 1u);
  EXPECT_EQ(c.scenes[0].v.call, Call::kNoChange);
  EXPECT_EQ(c.scenes[0].busyLeftOut, 2);
  EXPECT_EQ(c.header,
            "Runs: 1 run (up to 5 repeats each) -> 1 run (up to 7 repeats each); same "
            "view, timer, renderer and validation");
  EXPECT_FALSE(c.anySlower());

  // Too few quiet rates: all are used, and the line says so.
  RunData busy = OneRun("runs/c.json", {5, 5.1, 4.9, 5.0, 5.2}, {1, 2, 3});
  c = CompareSides({&a}, {&busy}, false);
  EXPECT_EQ(c.scenes[0].busyUsed, 3);
  EXPECT_EQ(VerdictLine(c.scenes[0]).substr(0, 46),
            "Scene 5 : 10.000000 fps -> 5.000000 fps (ratio");
  EXPECT_NE(VerdictLine(c.scenes[0]).find(") slower by 50.0% (95% interval"), std::string::npos);
  EXPECT_NE(VerdictLine(c.scenes[0]).find("[3 busy runs used]"), std::string::npos);
  EXPECT_TRUE(c.anySlower());
  // ... but not when one side was much busier than the other.
  a.scenes[0].otherCpus = 0.05;
  busy.scenes[0].otherCpus = 1.5;
  busy.scenes[0].cpus = 2;
  c = CompareSides({&a}, {&busy}, false);
  EXPECT_EQ(c.scenes[0].v.call, Call::kNotEnough);
  EXPECT_NE(VerdictLine(c.scenes[0]).find("other processes using 0.05 and 1.50 of 2 CPUs"),
            std::string::npos);
  a.scenes[0].otherCpus = kNoLoad;

  // A run that failed validation is left out of a side that has another;
  // what differs between the runs is said.
  RunData bad = OneRun("runs/bad.json", {40, 40, 40, 40, 40});
  bad.validated = 0;
  RunData small = OneRun("runs/small.json", {10, 10.1, 9.9, 10.2, 10.0});
  small.width = 320;
  small.height = 240;
  small.timerMs = 20;
  c = CompareSides({&a}, {&small, &bad}, false);
  EXPECT_EQ(c.leftOut,
            std::vector<std::string>{"bad.json failed validation: left out (--all keeps it)"});
  EXPECT_EQ(c.header,
            "Runs: 1 run (up to 5 repeats each) -> 1 run (up to 5 repeats each); they "
            "differ in view size 1024x768, 320x240; timer 100 ms, 20 ms");
  EXPECT_EQ(c.scenes[0].v.call, Call::kNoChange);
  c = CompareSides({&a}, {&small, &bad}, true);
  EXPECT_EQ(c.scenes[0].secondRates, 10);

  // No scene in common: no verdicts at all.
  RunData other = OneRun("runs/d.json", {1, 1, 1});
  other.scenes[0].scene = 9;
  EXPECT_TRUE(CompareSides({&a}, {&other}, false).scenes.empty());
}

}  // namespace
}  // namespace vm

namespace vm {
namespace {

// --repeat auto's measure of a steady median, and the scenes too short to
// give one.
TEST(RepeatAuto, MedianErrorAndTooFewFrames) {
  RunReport r;
  r.secondsPerScene = 2;
  r.timerMs = 100;
  r.scenes[0].ran = r.scenes[4].ran = true;
  const double steady[] = {10, 10, 10, 10}, loose[] = {8, 12, 8, 12};
  for (int k = 0; k < 4; ++k) {
    r.scenes[0].runs[k] = steady[k];
    r.scenes[4].runs[k] = loose[k];
  }
  r.scenes[0].runCount = r.scenes[4].runCount = 4;
  int scene = -1;
  // sd 2.309 over sqrt(4), times 1.2533, over the median 10.
  EXPECT_NEAR(WorstMedianError(r, scene), 1.2533 * 2.3094 / 2 / 10, 1e-4);
  EXPECT_EQ(scene, 4);

  for (int f = 0; f < 4 * 20; ++f) r.scenes[0].draw.Add(0.01);
  for (int f = 0; f < 4 * 5; ++f) r.scenes[4].draw.Add(0.3);
  EXPECT_EQ(FewFramesLine(r),
            "scene 5 (5) measured fewer than 20 frames a run (frames in brackets), too few for "
            "a steady rate: --seconds 8 would give it 20");
  for (int f = 0; f < 4 * 15; ++f) r.scenes[4].draw.Add(0.3);
  EXPECT_EQ(FewFramesLine(r), "");
}

}  // namespace
}  // namespace vm
