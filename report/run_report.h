// What one run measured, collected frame by frame, and its JSON document:
// the runner's --json report and the run kept in the history are the same.
#pragma once

#include <cstdio>
#include <string>

#include "environment/machine_load.h"
#include "results/frame_stats.h"
#include "results/results_file.h"
#include "state/bench_state.h"

namespace vm {

constexpr int kMaxRuns = 100;  // runs of one selection (--repeat)

// The JSON names of the save form's ten description fields, in its order.
extern const char* const kMachineKeys[kDescriptionFields];

struct SceneReport {
  bool ran = false;
  double fps = 0.0;  // the rate the text output prints (the median over runs)
  FrameHistogram draw, frame;
  int runCount = 0;
  double runs[kMaxRuns] = {};  // the rate of each run
  // run --validate: the scene's rendering validation.
  bool validationPassed = false;
  double validationDifference = 0.0;  // NaN when it could not be drawn
  // The machine while the scene ran, over all its runs, and which runs
  // (by index) found it busy.
  LoadSpan environment;
  int environmentSpans = 0;
  bool busyRun[kMaxRuns] = {};
};

// Sized before the run: collecting a frame never allocates.
struct RunReport : FrameTimeSink {
  std::string glVendor, glRenderer, glVersion;
  int width = 0, height = 0;
  int depthBits = 0;  // the view's depth buffer; 0: not known
  int secondsPerScene = 0, timerMs = 0;
  int repeat = 1;
  bool complete = false;  // all 24 scenes ran
  // Stopped by a signal: the scenes asked for, of which `scenes` holds
  // those finished.
  bool interrupted = false;
  bool asked[kSceneCount] = {};
  int score = 0;
  std::string date;  // ISO 8601, UTC
  // The description fields the run had; only those set are written.
  std::string machine[kDescriptionFields];
  bool machineSet[kDescriptionFields] = {};
  bool validationRan = false;  // run --validate
  SceneReport scenes[kSceneCount];

  bool watchMachine = true;  // sample the machine at scene boundaries

  void OnBenchmarkFrame(int scene, double drawSeconds, double frameSeconds) override;
  void OnSceneStart(int scene) override;
  void OnSceneEnd(int scene) override;
  // Records a scene's interval as if sampled (the tests feed fixed ones).
  void AddEnvironment(int scene, const LoadSpan& span);
  // Before a new run of the same report: no frames, no rates.
  void ClearScenes();
  // After each run: the rate of every scene that took part, from its time.
  void EndRun(const float (&sceneTime)[kSceneCount]);
  // After the last run: each scene's time becomes that of its median rate
  // (what is printed, scored and saved); the scenes whose runs spread by
  // more than 10% of it are named on `err`.
  void UseMedians(float (&sceneTime)[kSceneCount], std::FILE* err);

 private:
  LoadSample sceneStart_;
};

// --repeat auto: runs go on, from kAutoFewestRuns, until every scene's
// relative standard error of the median over its runs (1.2533 times the
// standard deviation over the square root of the run count, over the
// median) is under kAutoSpreadBound, or kAutoMostRuns are done.
constexpr int kAutoFewestRuns = 5;
constexpr int kAutoMostRuns = 20;
constexpr double kAutoSpreadBound = 0.03;
// The largest such error over the scenes with 2 or more runs, and its scene
// (0-based; -1 and 0 when there is none).
double WorstMedianError(const RunReport& report, int& scene);

// A scene needs this many frames a run for its rate to mean much.
constexpr int kFewestFrames = 20;
// "scenes 9 (12 frames a run), 16 (4): --seconds 10 gives each 20", or empty.
std::string FewFramesLine(const RunReport& report);

// "scenes 3, 7 ran while other processes used 45% and 80% of the 2 CPUs:
// ..." for standard error; empty when every scene ran on a quiet machine.
std::string BusyScenesLine(const RunReport& report);

// The scene's name, from its catalogue row.
std::string SceneName(int scene);
// A JSON string: quoted, escaped, and valid UTF-8 whatever the bytes.
std::string JsonString(const std::string& text);
// A rate as the text output prints it ("%f"); null when not finite.
std::string JsonNumber(double value, const char* format = "%f");
// A time in milliseconds, to the nanosecond; null when not finite.
std::string JsonMs(double ms);
// A scene's rate, null when it drew no frame (it has no rate).
std::string SceneRateJson(const SceneReport& scene);
// The rate over whole frames (drawing, finish and swap), beside the scored
// one: a driver that queues its work shows the difference here.
std::string SceneFrameRateJson(const SceneReport& scene);

std::string RunJson(const RunReport& report);
void WriteRunJson(const RunReport& report, std::FILE* out);

// The score of this machine's row from the run's times, as the result
// screens rank it (every scene counts, those not run as 0).
int RunScore(const float (&sceneTime)[kSceneCount]);

}  // namespace vm
