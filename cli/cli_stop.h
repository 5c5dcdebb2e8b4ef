// Ctrl-C and SIGTERM during a run: the first asks the run to stop at its
// next frame, so that the scenes already finished are still printed and
// reported; a second ends the process at once.
#pragma once

namespace vm {

// Catches SIGINT and SIGTERM while it lives (not those the caller was told
// to ignore, as a background job is), then puts back what was there.
class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;
};

// 0, or the signal that asked the run to stop.
int StopSignal();

}  // namespace vm
