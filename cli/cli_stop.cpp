#include "cli/cli_stop.h"

#include <unistd.h>

#include <csignal>

namespace vm {
namespace {

volatile std::sig_atomic_t stopSignal = 0;
struct sigaction previous[2];
constexpr int kSignals[2] = {SIGINT, SIGTERM};

// Only async-signal-safe calls: the flag, a fixed message, and the default
// action back for the next signal, which then ends the process.
void OnStopSignal(int signal) {
  stopSignal = signal;
  static const char message[] =
      "\nvelmark3-cli: stopping after this frame (press Ctrl-C again to stop at once)\n";
  ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
  (void)ignored;
  struct sigaction fallback = {};
  fallback.sa_handler = SIG_DFL;
  for (int s : kSignals) sigaction(s, &fallback, nullptr);
}

}  // namespace

StopSignals::StopSignals() {
  stopSignal = 0;
  struct sigaction catcher = {};
  catcher.sa_handler = OnStopSignal;
  sigemptyset(&catcher.sa_mask);
  for (int s : kSignals) sigaddset(&catcher.sa_mask, s);
  for (int i = 0; i < 2; ++i) {
    sigaction(kSignals[i], nullptr, &previous[i]);
    if (previous[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &catcher, nullptr);
  }
}

StopSignals::~StopSignals() {
  for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &previous[i], nullptr);
}

int StopSignal() {
  return stopSignal;
}

}  // namespace vm
