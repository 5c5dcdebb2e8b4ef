#include "platform/headless_platform.h"

#include <time.h>

#include <chrono>
#include <cmath>

namespace vm {
namespace {

double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Sleeps until the steady clock reads `ms` (the same clock as NowMs).
void SleepUntil(double ms) {
  timespec until;
  until.tv_sec = static_cast<time_t>(ms / 1000.0);
  until.tv_nsec = static_cast<long>(std::fmod(ms, 1000.0) * 1e6);
  if (until.tv_nsec >= 1000000000L) until.tv_nsec = 999999999L;
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != 0) {
  }
}

}  // namespace

void HeadlessPlatform::SetStatusText(const char* text) {
  // A terminal shows what the status bar would: one line per new label.
  if (text == lastStatus_) return;
  lastStatus_ = text;
  if (!statusShown_) return;
  std::fprintf(log_, "%s\n", text);
  std::fflush(log_);
}

void HeadlessPlatform::SetTimer(int id, int intervalMs) {
  if (id != kFrameTimerId) return;
  timer_.Arm(NowMs(), intervalMs > 0 ? intervalMs : 1);
}

void HeadlessPlatform::KillTimer(int id) {
  if (id == kFrameTimerId) timer_.Disarm();
}

void HeadlessPlatform::MessageBox(const char* text) {
  ++messages_;
  std::fprintf(log_, "velmark3-cli: %s\n", text);
  std::fflush(log_);
}

int HeadlessPlatform::RunModal(const DialogTemplate& /*dialog*/, DialogHandler& /*handler*/) {
  return kIdCancel;
}

std::tm HeadlessPlatform::LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm t = {};
  localtime_r(&now, &t);
  return t;
}

void HeadlessPlatform::Exit(int code) {
  exitRequested_ = true;
  exitCode_ = code;
}

int HeadlessPlatform::Run(AppEvents& app, const std::function<bool()>& done) {
  while (!exitRequested_) {
    if (paintPending_) {
      paintPending_ = false;
      app.OnPaint();
    } else if (timer_.armed()) {
      SleepUntil(timer_.next());
      timer_.Fired(NowMs());
      app.OnTimer(kFrameTimerId);
    } else {
      break;
    }
    if (done()) break;
  }
  return exitRequested_ ? exitCode_ : 0;
}

}  // namespace vm
