#include "environment/machine_load.h"

#include <gtest/gtest.h>

#include <cstring>

#include "report/run_report.h"

namespace vm {
namespace {

// A 2-CPU /proc/stat and a process whose name would trip a naive reader.
const char* const kStatA =
    "cpu  1000 10 500 90000 40 5 5 0 0 0\n"
    "cpu0 500 5 250 45000 20 2 3 0 0 0\n"
    "intr 12345 0 0\n";
const char* const kSelfA =
    "4242 (velmark3) cli) R 1 4242 4242 -1 -1 4194304 900 0 0 0 300 100 0 0 20 0 9 0 50 0";

TEST(MachineLoad, ParsesTheKernelsTexts) {
  long long busy = 0, steal = 0, own = 0;
  ASSERT_TRUE(ParseProcStat(kStatA, busy, steal));
  EXPECT_EQ(busy, 1000 + 10 + 500 + 5 + 5);  // idle and iowait left out
  EXPECT_EQ(steal, 0);
  ASSERT_TRUE(ParseSelfStat(kSelfA, own));
  EXPECT_EQ(own, 400);  // utime + stime, counted after the last ')'

  // An old kernel without steal; a virtual machine with it.
  ASSERT_TRUE(ParseProcStat("cpu  1 2 3 4\n", busy, steal));
  EXPECT_EQ(busy, 6);
  ASSERT_TRUE(ParseProcStat("cpu  1 0 1 10 0 0 0 77 0 0\n", busy, steal));
  EXPECT_EQ(steal, 77);

  for (const char* bad : {"", "cpu0 1 2 3 4", "cpu  1 2", "cpu  x y z w", "intr 1 2 3 4"})
    EXPECT_FALSE(ParseProcStat(bad, busy, steal)) << bad;
  for (const char* bad : {"", "4242 (name", "4242 (name) R", "4242 (x) R 1 2 3 4 5 6 7 8 9 10"})
    EXPECT_FALSE(ParseSelfStat(bad, own)) << bad;
}

LoadSample Sample(long long busy, long long steal, long long own, double seconds) {
  LoadSample s;
  s.valid = true;
  s.busy = busy;
  s.steal = steal;
  s.own = own;
  s.wallNs = static_cast<long long>(seconds * 1e9);
  s.cpus = 2;
  return s;
}

TEST(MachineLoad, OtherProcessesAreTheBusyTimeLessOurOwn) {
  // 2 s at 100 ticks a second: 300 busy ticks, 100 of them ours.
  const LoadSpan hogs = SpanBetween(Sample(0, 0, 0, 0.0), Sample(300, 0, 100, 2.0), 100);
  ASSERT_TRUE(hogs.known);
  EXPECT_DOUBLE_EQ(hogs.otherCpus, 1.0);
  EXPECT_TRUE(IsBusy(hogs));

  // Only our own work (the renderer's threads count as ours): quiet.
  const LoadSpan alone = SpanBetween(Sample(0, 0, 0, 0.0), Sample(190, 0, 200, 2.0), 100);
  EXPECT_DOUBLE_EQ(alone.otherCpus, 0.0);  // read a moment apart, never negative
  EXPECT_FALSE(IsBusy(alone));

  // Steal beyond its share is busy even with no other process.
  const LoadSpan stolen = SpanBetween(Sample(0, 0, 0, 0.0), Sample(0, 30, 0, 1.0), 100);
  EXPECT_TRUE(IsBusy(stolen));

  // A failed read or no time passed: unknown, never busy.
  LoadSample bad = Sample(300, 0, 0, 2.0);
  bad.valid = false;
  EXPECT_FALSE(SpanBetween(Sample(0, 0, 0, 0.0), bad, 100).known);
  EXPECT_FALSE(SpanBetween(Sample(0, 0, 0, 1.0), Sample(9, 0, 0, 1.0), 100).known);
  EXPECT_FALSE(IsBusy(LoadSpan()));

  // Runs of one scene: the mean load, the widest clock range.
  LoadSpan total;
  LoadSpan a = hogs, b = alone;
  a.minKhz = 1200000, a.maxKhz = 2400000;
  b.minKhz = 800000, b.maxKhz = 2000000;
  AddSpan(total, a, 0);
  AddSpan(total, b, 1);
  EXPECT_DOUBLE_EQ(total.otherCpus, 0.5);
  EXPECT_EQ(total.minKhz, 800000);
  EXPECT_EQ(total.maxKhz, 2400000);
}

TEST(MachineLoad, TheRunSaysWhichScenesAndRunsWereBusy) {
  RunReport r;
  r.watchMachine = false;
  r.repeat = 2;
  r.scenes[2].ran = r.scenes[6].ran = true;
  const LoadSpan busy = SpanBetween(Sample(0, 0, 0, 0.0), Sample(300, 0, 100, 2.0), 100);
  const LoadSpan quiet = SpanBetween(Sample(0, 0, 0, 0.0), Sample(100, 0, 100, 2.0), 100);
  r.AddEnvironment(2, quiet);
  r.AddEnvironment(6, quiet);
  EXPECT_EQ(BusyScenesLine(r), "");
  const float times[kSceneCount] = {0, 0, 0.1f, 0, 0, 0, 0.1f};
  r.EndRun(times);
  r.AddEnvironment(2, quiet);
  r.AddEnvironment(6, busy);
  r.EndRun(times);
  const std::string line = BusyScenesLine(r);
  EXPECT_EQ(
      line.rfind("scene 7 ran on a busy machine: other processes or steal took 25% of the 2 CPUs",
                 0),
      0u)
      << line;
  const std::string json = RunJson(r);
  EXPECT_NE(json.find("\"environment\": {\"quiet\": false, \"busy_scenes\": [7]"),
            std::string::npos);
  EXPECT_NE(json.find("\"busy\": true, \"busy_runs\": [2]"), std::string::npos) << json;
}

}  // namespace
}  // namespace vm
