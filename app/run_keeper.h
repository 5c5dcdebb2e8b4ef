// Keeps every run finished in the window in the history of runs (runs/
// beside results.txt) with its frame times, as the runner keeps its own.
#pragma once

#include <ctime>
#include <memory>
#include <string>

#include "report/run_report.h"

namespace vm {

class RunKeeper {
 public:
  RunKeeper();
  // Told once the context exists, and on every resize.
  void SetRenderer(const std::string& vendor, const std::string& renderer,
                   const std::string& version);
  void SetViewSize(int width, int height);
  void SetDepthBits(int bits);
  // The view tells it every benchmark frame.
  FrameTimeSink* frames() { return report_.get(); }
  // From the sequencer: a run starts with the selection of BenchState, and
  // ends with every selected scene measured.
  void OnRunStart();
  void OnRunEnd();
  // Where the last run was kept; empty when it was not.
  const std::string& lastKept() const { return lastKept_; }

 private:
  // Sized once: a frame never allocates.
  std::unique_ptr<RunReport> report_;
  std::time_t started_ = 0;
  std::string path_, lastKept_;
};

}  // namespace vm
