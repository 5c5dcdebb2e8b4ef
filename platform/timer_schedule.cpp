#include "platform/timer_schedule.h"

#include <cmath>

namespace vm {

void TimerSchedule::Arm(double nowMs, int intervalMs) {
  armed_ = true;
  phase_ = nowMs;
  interval_ = intervalMs > 0 ? intervalMs : 1;
  next_ = nowMs + interval_;
}

void TimerSchedule::Fired(double nowMs) {
  double periods = std::floor((nowMs - phase_) / interval_) + 1;
  if (periods < 1) periods = 1;
  next_ = phase_ + periods * interval_;
}

}  // namespace vm
