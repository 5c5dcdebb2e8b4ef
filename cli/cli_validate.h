// velmark3-cli validate, and the check run --validate makes before timing:
// each selected scene's picture against its reference.
#pragma once

#include <cstdio>
#include <string>

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
  // The failing scenes, "3, 7"; empty when all passed.
  std::string Failures() const;
};

// Draws and compares the selected scenes, one line each on `lines`, and
// writes the pictures --images asks for. False (the reason on `err`) when no
// context could be made; a scene that fails is not an error here.
bool ValidateScenes(const CliOptions& options, ValidationRun& run, std::FILE* lines,
                    std::FILE* err);

// The paths --json and --images will write: empty, or why not.
std::string CheckValidationOutputs(const CliOptions& options);

int ValidateCommand(const CliOptions& options, std::FILE* out, std::FILE* err);

}  // namespace vm
