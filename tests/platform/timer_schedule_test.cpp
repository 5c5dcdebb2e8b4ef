#include "platform/timer_schedule.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

TEST(TimerSchedule, StaysOnItsPhaseAndSkipsMissedPeriods) {
  vm::TimerSchedule t;
  t.Arm(1000, 100);
  EXPECT_DOUBLE_EQ(t.next(), 1100);
  t.Fired(1103);  // a little late: the next tick keeps the phase
  EXPECT_DOUBLE_EQ(t.next(), 1200);
  t.Fired(1475);  // two periods missed while busy: no burst
  EXPECT_DOUBLE_EQ(t.next(), 1500);
  t.Fired(1500);  // exactly on a boundary: the next one is a full period on
  EXPECT_DOUBLE_EQ(t.next(), 1600);
  t.Arm(1530, 40);  // re-arming takes the new interval and phase
  EXPECT_DOUBLE_EQ(t.next(), 1570);
}

TEST(EditRules, UpperCaseSingleLineAndLimit) {
  EXPECT_EQ(vm::ApplyEditRules("", "athlon xp", vm::kUpperCase, 0), "ATHLON XP");
  EXPECT_EQ(vm::ApplyEditRules("AB", "c\nd\r\ne", vm::kUpperCase | vm::kSingleLine, 0), "ABC D  E");
  EXPECT_EQ(vm::ApplyEditRules("", std::string(200, 'x'), vm::kUpperCase, 126),
            std::string(126, 'X'));
  EXPECT_EQ(vm::ApplyEditRules("", "12 ms", 0, 0), "12 ms");
  EXPECT_EQ(vm::FormatLongDate([] {
              std::tm t{};
              t.tm_wday = 1, t.tm_mon = 11, t.tm_mday = 7, t.tm_year = 126;
              return t;
            }()),
            "Monday, December 07, 2026");
}

}  // namespace
