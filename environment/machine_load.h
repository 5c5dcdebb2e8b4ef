// What else the machine was doing while a scene ran: processor time taken by
// other processes and by the hypervisor (steal), the clock range and
// governor, and the hottest thermal zone. Read at scene boundaries only;
// sampling never allocates, so it may run between two ticks of a run.
#pragma once

#include <cstddef>

namespace vm {

// Counters at one instant, in clock ticks (USER_HZ) unless named otherwise.
struct LoadSample {
  bool valid = false;            // /proc/stat and /proc/self/stat were read
  long long busy = 0;            // every CPU's non-idle time, steal excluded
  long long steal = 0;           // time the hypervisor gave to other guests
  long long own = 0;             // this process's user and system time
  long long wallNs = 0;          // monotonic clock
  int cpus = 0;                  // CPUs online
  int minKhz = 0, maxKhz = 0;    // current clocks seen over the CPUs; 0: unknown
  char governor[24] = {};        // CPU 0's cpufreq governor; empty: unknown
  int hottestMilliC = -1000000;  // below any reading: none readable
};

// Parsers of the kernel's texts, apart from reading them so that fixed
// snapshots can be checked. False when the text is not of that shape.
bool ParseProcStat(const char* text, long long& busy, long long& steal);
bool ParseSelfStat(const char* text, long long& own);

// Reads the counters now (a few small files; no allocation).
LoadSample SampleLoad();

// What a scene's interval looked like, from its two samples.
struct LoadSpan {
  bool known = false;  // both samples valid and time passed
  int cpus = 0;
  double otherCpus = 0.0;  // CPUs' worth of time other processes used
  double stealCpus = 0.0;
  int minKhz = 0, maxKhz = 0;  // clock range seen at the two boundaries
  char governor[24] = {};
  int hottestMilliC = -1000000;
};
LoadSpan SpanBetween(const LoadSample& start, const LoadSample& end, long long ticksPerSecond);
// Joins the spans of one scene's repeated runs (time-weighted by run count).
void AddSpan(LoadSpan& total, const LoadSpan& one, int spansBefore);

// A scene ran on a busy machine when other processes took more than this
// share of its CPUs, or steal more than kBusyStealShare.
constexpr double kBusyOtherShare = 0.10;
constexpr double kBusyStealShare = 0.05;
bool IsBusy(const LoadSpan& span);

}  // namespace vm
