// A run report read back (a history file or a --json file), checked for the
// shape this program writes; anything else is refused with a reason.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vm {

constexpr double kNoLoad = __builtin_nan("");

// Times in ms; NaN where the file has null (a scene without frames).
struct TimeStats {
  double mean, min, median, p99, max;
};

struct RunScene {
  int scene = 0;  // 1 to 24
  std::string name;
  double fps = 0.0;       // NaN when null
  double frameFps = 0.0;  // over whole frames; NaN when null or not written
  long long frames = 0;
  std::vector<double> runs;  // each run's rate (--repeat)
  TimeStats draw{}, frame{};
  std::vector<std::pair<double, double>> drawHist, frameHist;  // [upper_ms, count]
  std::string validation;  // status, empty when the run was not validated
  double difference = 0.0;
  // The machine while it ran: busy in any run, and which runs (1-based).
  bool busy = false;
  std::vector<int> busyRuns;
  double otherCpus = kNoLoad;  // NaN when the run did not watch the machine
  int cpus = 0;
};

struct RunData {
  std::string path;
  std::string version, vendor, renderer, glVersion, date;
  std::vector<std::pair<std::string, std::string>> machine;
  int width = 0, height = 0, seconds = 0, timerMs = 0;
  int depthBits = 0;  // 0 when the run did not say
  std::vector<int> selected;
  bool complete = false;
  bool interrupted = false;  // stopped by a signal: `selected` was asked, `scenes` finished
  int score = 0;
  int validated = -1;  // -1 when the run has no validation
  int quiet = -1;  // -1 when the run did not watch the machine
  std::vector<RunScene> scenes;
};

// kSummary stops before the scenes (a history listing); kNoHistograms skips
// the frame-time distributions (a report of many runs).
enum class RunDetail { kSummary, kNoHistograms, kAll };

// False with the reason when `text` is not a run report of this shape.
bool ParseRun(const std::string& text, RunDetail detail, RunData& out, std::string& error);
// The same from a file (regular files only, at most 64 MiB).
bool ReadRunFile(const std::string& path, RunDetail detail, RunData& out, std::string& error);

}  // namespace vm
