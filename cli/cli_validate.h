// velmark3-cli validate, and the check run --validate makes before timing:
// each selected scene's picture against its reference.
#pragma once

#include <cstdio>
#include <string>

#include "cli/cli_documents.h"
#include "cli/cli_options.h"

namespace vm {

struct SceneValidation {
  bool checked = false;  // selected
  bool passed = false;
  double difference = 0.0;  // NaN when the scene could not be drawn or compared
};

struct ValidationRun {
  std::string vendor, renderer, version;
  SceneValidation scenes[kSceneCount];
  bool picturesWritten = true;  // every picture --images asked for
  // The failing scenes, "scene 3" or "scenes 3, 7"; empty when all passed.
  std::string Failures() const;
};

// Draws and compares the selected scenes, one line each on `lines`, and
// writes the pictures --images asks for. False (the reason on `err`) when no
// context could be made; a scene that fails is not an error here.
bool ValidateScenes(const CliOptions& options, ValidationRun& run, std::FILE* lines,
                    std::FILE* err);

// The pictures --images writes of a scene (0-based), by kind.
constexpr const char* kPictureKinds[] = {"rendered", "reference", "difference"};
std::string PicturePath(const std::string& dir, int scene, const char* kind);

// run --validate: validates the selected scenes, the lines on `err`. False
// when the run must not go on: no context, or --save of a run with a failing
// scene without --allow-invalid (the message names the scenes).
bool ValidateBeforeRun(const CliOptions& options, ValidationRun& run, std::FILE* err);
// The outcome into the run's JSON and CSV.
void AddValidation(const ValidationRun& run, RunReport& report);
// After the run's lines: the scenes whose rates rest on a wrong picture.
void ReportValidationFailures(const ValidationRun& run, std::FILE* err);

int ValidateCommand(const CliOptions& options, std::FILE* out, std::FILE* err);

}  // namespace vm
