// What a run measured and what results.txt ranks, as documents a script can
// read: JSON and CSV of a run, JSON of the ranking and of a comparison. Every
// number is formatted as the text output prints it.
#pragma once

#include <cstdio>
#include <string>

#include "app/view.h"
#include "cli/cli_options.h"
#include "results/frame_stats.h"
#include "state/bench_state.h"

namespace vm {

struct SceneReport {
  bool ran = false;
  double fps = 0.0;  // the rate the text output prints (the median over runs)
  FrameHistogram draw, frame;
  int runCount = 0;
  double runs[kMaxRepeat] = {};  // the rate of each run
  // run --validate: the scene's rendering validation.
  bool validationPassed = false;
  double validationDifference = 0.0;  // NaN when it could not be drawn
};

// Sized before the run: collecting a frame never allocates.
struct RunReport : FrameTimeSink {
  std::string glVendor, glRenderer, glVersion;
  int width = 0, height = 0;
  int secondsPerScene = 0, timerMs = 0;
  int repeat = 1;
  bool complete = false;  // all 24 scenes ran
  int score = 0;
  bool validationRan = false;  // run --validate
  SceneReport scenes[kSceneCount];

  void OnBenchmarkFrame(int scene, double drawSeconds, double frameSeconds) override;
  // After each run: the rate of every scene that took part, from its time.
  void EndRun(const float (&sceneTime)[kSceneCount]);
  // After the last run: each scene's time becomes that of its median rate
  // (what is printed, scored and saved); the scenes whose runs spread by
  // more than 10% of it are named on `err`.
  void UseMedians(float (&sceneTime)[kSceneCount], std::FILE* err);
};

// The run's settings and renderer, and which scenes take part.
void StartReport(RunReport& report, const CliOptions& options, const std::string& glVendor,
                 const std::string& glRenderer, const std::string& glVersion);
// Writes the --json and --csv reports that were asked for ("-": to `out`);
// false, with the reason on `err`, when one cannot be written.
bool WriteReports(const CliOptions& options, const RunReport& report, std::FILE* out,
                  std::FILE* err);

// The scene's name as its progress label gives it.
std::string SceneName(int scene);
// A JSON string: quoted, escaped, and valid UTF-8 whatever the bytes.
std::string JsonString(const std::string& text);

void WriteRunJson(const RunReport& report, std::FILE* out);
void WriteRunCsv(const RunReport& report, std::FILE* out);
// "1, 3": the scenes of the run that drew no frame (their rates mean nothing).
std::string ScenesWithoutFrames(const RunReport& report);
// The ranking and a comparison of ResultTable, with the values the Text
// Results window shows and each description as saved, without its padding.
void WriteRankingJson(std::FILE* out);
void WriteCompareJson(int first, int second, std::FILE* out);

}  // namespace vm
