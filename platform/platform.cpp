#include "platform/platform.h"

#include <chrono>
#include <cstdio>

namespace vm {
namespace {

using Clock = std::chrono::steady_clock;
// Taken during static initialisation, i.e. at process start.
const Clock::time_point kProcessStart = Clock::now();

const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};

}  // namespace

int ProcessClockMs() {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - kProcessStart).count());
}

int64_t ProcessClockNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - kProcessStart).count();
}

std::string FormatLongDate(const std::tm& t) {
  const char* day = (t.tm_wday >= 0 && t.tm_wday < 7) ? kDays[t.tm_wday] : "?";
  const char* month = (t.tm_mon >= 0 && t.tm_mon < 12) ? kMonths[t.tm_mon] : "?";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s, %s %02d, %d", day, month, t.tm_mday, t.tm_year + 1900);
  return buf;
}

}  // namespace vm
