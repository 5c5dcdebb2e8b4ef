// The window-system services without a window: status texts become lines on
// a stream, the frame timer is a real phase-locked timer on the monotonic
// clock, and a repaint request is honoured before the next tick is waited
// for, as a desktop message loop would.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "platform/timer_schedule.h"

namespace vm {

class HeadlessPlatform : public Platform {
 public:
  // Status texts and message boxes are written to `log`, one line each.
  explicit HeadlessPlatform(std::FILE* log) : log_(log) {}

  void SetStatusText(const char* text) override;
  void SetTimer(int id, int intervalMs) override;
  void KillTimer(int id) override;
  void Invalidate() override { paintPending_ = true; }
  void MessageBox(const char* text) override;
  // There is nobody to answer a dialog: it is cancelled at once.
  int RunModal(const DialogTemplate& dialog, DialogHandler& handler) override;
  int Clock() override { return ProcessClockMs(); }
  int64_t ClockNs() override { return ProcessClockNs(); }
  std::tm LocalTime() override;
  // Ends the event loop (not the process): Run() returns `code`.
  void Exit(int code) override;

  // Delivers paints and ticks to `app` until `done()` holds after an event,
  // Exit() is called, or no timer is armed and no paint is pending. Returns
  // the exit code, or 0.
  int Run(AppEvents& app, const std::function<bool()>& done);

  // Whether status texts are written to the log (they are by default).
  void ShowStatus(bool shown) { statusShown_ = shown; }
  const std::string& lastStatus() const { return lastStatus_; }
  int messageCount() const { return messages_; }

 private:
  std::FILE* log_;
  TimerSchedule timer_;
  bool paintPending_ = true;  // a window just shown gets painted first
  bool exitRequested_ = false;
  int exitCode_ = 0;
  int messages_ = 0;
  bool statusShown_ = true;
  std::string lastStatus_;
};

}  // namespace vm
