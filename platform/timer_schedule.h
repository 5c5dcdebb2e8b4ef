// Phase-locked periodic timer: ticks fall on start + k * interval, and a tick
// handled late skips the periods it missed instead of catching up in a burst.
// Every implementation of the platform's timer uses it.
#pragma once

namespace vm {

class TimerSchedule {
 public:
  void Arm(double nowMs, int intervalMs);
  void Disarm() { armed_ = false; }
  bool armed() const { return armed_; }
  // Time of the next tick.
  double next() const { return next_; }
  // Call when the tick due at next() is delivered at `nowMs` (>= next()):
  // moves next() to the first period boundary strictly after `nowMs`.
  void Fired(double nowMs);

 private:
  bool armed_ = false;
  double phase_ = 0;
  double interval_ = 100;
  double next_ = 0;
};

}  // namespace vm
