#include "environment/machine_load.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace vm {
namespace {

// The file's first bytes, NUL-terminated; false when it cannot be read.
bool ReadSmall(const char* path, char* buffer, size_t size) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  size_t used = 0;
  while (used + 1 < size) {
    const ssize_t n = ::read(fd, buffer + used, size - 1 - used);
    if (n <= 0) break;
    used += static_cast<size_t>(n);
  }
  ::close(fd);
  buffer[used] = '\0';
  return used > 0;
}

// One unsigned decimal field; advances past it and the blanks before it.
bool Field(const char*& p, long long& value) {
  while (*p == ' ' || *p == '\t') ++p;
  if (*p < '0' || *p > '9') return false;
  char* end = nullptr;
  value = std::strtoll(p, &end, 10);
  p = end;
  return value >= 0;
}

int ReadInt(const char* path, int fallback) {
  char text[32];
  if (!ReadSmall(path, text, sizeof text)) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return end != text ? static_cast<int>(value) : fallback;
}

}  // namespace

bool ParseProcStat(const char* text, long long& busy, long long& steal) {
  // The first line sums every CPU: user nice system idle iowait irq softirq
  // steal guest guest_nice (guest time is already inside user and nice).
  if (std::strncmp(text, "cpu ", 4) != 0) return false;
  const char* p = text + 4;
  long long f[8] = {};
  int n = 0;
  while (n < 8 && Field(p, f[n])) ++n;
  if (n < 4) return false;
  busy = f[0] + f[1] + f[2] + f[5] + f[6];
  steal = f[7];
  return true;
}

bool ParseSelfStat(const char* text, long long& own) {
  // pid (comm) state ...: the name may hold spaces and parentheses, so the
  // fields count from the last ')'. utime and stime are fields 14 and 15.
  const char* close = std::strrchr(text, ')');
  if (!close) return false;
  const char* p = close + 1;
  while (*p == ' ') ++p;
  if (!*p) return false;
  ++p;  // the state letter is field 3
  long long value = 0, utime = 0;
  for (int field = 4; field <= 15; ++field) {
    if (!Field(p, value)) {
      // Fields 4 to 8 may be negative (tty, process groups).
      while (*p == ' ') ++p;
      if (*p != '-') return false;
      ++p;
      if (!Field(p, value)) return false;
    }
    if (field == 14) utime = value;
  }
  own = utime + value;
  return true;
}

LoadSample SampleLoad() {
  LoadSample s;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  s.wallNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
  char text[4096];
  s.valid = ReadSmall("/proc/stat", text, sizeof text) && ParseProcStat(text, s.busy, s.steal) &&
            ReadSmall("/proc/self/stat", text, sizeof text) && ParseSelfStat(text, s.own);
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  s.cpus = online > 0 ? static_cast<int>(online) : 1;
  char path[96];
  for (int cpu = 0; cpu < s.cpus && cpu < 1024; ++cpu) {
    std::snprintf(path, sizeof path, "/sys/devices/system/cpu/cpu%d/cpufreq/scaling_cur_freq", cpu);
    const int khz = ReadInt(path, 0);
    if (khz <= 0) continue;
    s.minKhz = s.minKhz ? std::min(s.minKhz, khz) : khz;
    s.maxKhz = std::max(s.maxKhz, khz);
  }
  if (ReadSmall("/sys/devices/system/cpu/cpu0/cpufreq/scaling_governor", text, sizeof s.governor)) {
    text[std::strcspn(text, "\n")] = '\0';
    std::memcpy(s.governor, text, sizeof s.governor);
    s.governor[sizeof s.governor - 1] = '\0';
  }
  for (int zone = 0; zone < 256; ++zone) {
    std::snprintf(path, sizeof path, "/sys/class/thermal/thermal_zone%d/temp", zone);
    const int milli = ReadInt(path, -1000000);
    if (milli == -1000000 && access(path, F_OK) != 0) break;
    s.hottestMilliC = std::max(s.hottestMilliC, milli);
  }
  return s;
}

LoadSpan SpanBetween(const LoadSample& a, const LoadSample& b, long long ticksPerSecond) {
  LoadSpan span;
  span.cpus = b.cpus;
  span.minKhz = a.minKhz && b.minKhz ? std::min(a.minKhz, b.minKhz) : std::max(a.minKhz, b.minKhz);
  span.maxKhz = std::max(a.maxKhz, b.maxKhz);
  std::memcpy(span.governor, b.governor, sizeof span.governor);
  span.hottestMilliC = std::max(a.hottestMilliC, b.hottestMilliC);
  const double seconds = static_cast<double>(b.wallNs - a.wallNs) * 1e-9;
  if (!a.valid || !b.valid || seconds <= 0.0 || ticksPerSecond <= 0) return span;
  const double ticks = seconds * static_cast<double>(ticksPerSecond);
  // Counters are read a moment apart: a slightly negative rest is noise.
  const long long others = (b.busy - a.busy) - (b.own - a.own);
  span.otherCpus = std::max(0.0, static_cast<double>(others) / ticks);
  span.stealCpus = std::max(0.0, static_cast<double>(b.steal - a.steal) / ticks);
  span.known = true;
  return span;
}

void AddSpan(LoadSpan& total, const LoadSpan& one, int spansBefore) {
  if (spansBefore == 0 || !total.known) {
    const bool first = spansBefore == 0;
    if (first || one.known) {
      total = one;
      return;
    }
  }
  if (!one.known) return;
  const double w = 1.0 / (spansBefore + 1);
  total.otherCpus += (one.otherCpus - total.otherCpus) * w;
  total.stealCpus += (one.stealCpus - total.stealCpus) * w;
  if (one.minKhz) total.minKhz = total.minKhz ? std::min(total.minKhz, one.minKhz) : one.minKhz;
  total.maxKhz = std::max(total.maxKhz, one.maxKhz);
  total.hottestMilliC = std::max(total.hottestMilliC, one.hottestMilliC);
}

bool IsBusy(const LoadSpan& span) {
  if (!span.known || span.cpus <= 0) return false;
  return span.otherCpus > kBusyOtherShare * span.cpus ||
         span.stealCpus > kBusyStealShare * span.cpus;
}

}  // namespace vm
