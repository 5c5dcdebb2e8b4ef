// Command line of the headless runner, parsed into plain values, and the
// small parsers its options share. No side effects: any argument vector is
// safe to hand them.
#pragma once

#include <string>
#include <vector>

#include "platform/egl/egl_context.h"
#include "platform/utf8.h"
#include "state/bench_state.h"

namespace vm {

constexpr int kFieldCount = 10;

enum class CliCommand {
  kHelp,
  kRun,
  kResults,
  kCompare,
  kDevices,
  kScenes,
  kValidate,
  kHistory,
  kReport
};

constexpr int kMaxRepeat = 100;

struct CliOptions {
  CliCommand command = CliCommand::kHelp;
  // run
  bool scenes[kSceneCount];  // scene i + 1 selected
  int seconds = kDefaultSecondsPerScene;
  int timerMs = kDefaultTimerIntervalMs;
  int width = kDefaultViewWidth;
  int height = kDefaultViewHeight;
  bool save = false;
  bool allowPartial = false;  // --save also with fewer than all the scenes
  bool detect = false;
  // Values the command line gave below their floor, raised; one line each.
  std::vector<std::string> notes;
  // Description fields in the save form's order; given[k] when set on the
  // command line (an empty value counts as given).
  std::string fields[kFieldCount];
  bool given[kFieldCount] = {};
  // Documents a script can read: a path, "-" for standard output, or empty.
  // results, compare, scenes and history take only --json, which writes to
  // standard output.
  std::string jsonPath;
  std::string csvPath;
  int repeat = 1;
  bool repeatAuto = false;  // --repeat auto: up to kAutoMostRuns, until steady
  EglPlatform egl = EglPlatform::kAuto;
  int device = -1;    // given with --device (which implies --egl device); else 0
  int depthBits = 0;  // --depth-bits: the shallowest of at least that; 0 the deepest
  // Rendering validation: run --validate, and validate's --images.
  bool validate = false;
  bool allowInvalid = false;  // --save also a run whose validation failed
  std::string imagesDir;
  bool imagesAll = false;
  // compare
  int first = 0;
  int second = 0;
  // Read by every command, appended by run --save (--results-file).
  std::string resultsFile = "results.txt";
  // run keeps its report in runs/ beside the results file (--no-history),
  // in this file once the outputs are checked.
  bool history = true;
  std::string keptRunPath;
  // report: run files or history indexes, --last N, -o PATH
  std::vector<std::string> runs;
  int last = 0;
  std::string outputPath = "report.html";
  // "A B vs C D": how many runs come before "vs" (-1: no sides named).
  long sideSplit = -1;
  bool all = false;  // --all: marked runs count in the statistics
  // The options the command line named, as the table spells them.
  std::vector<std::string> named;

  CliOptions() {
    for (bool& s : scenes) s = true;
  }
};

// The option names of the ten description fields, in the save form's order.
extern const char* const kFieldOptions[kFieldCount];

// A piece of the command line as an error message quotes it: the same, and
// short.
std::string Shown(const std::string& text);

// A whole decimal number, any number of digits, with an optional '-': kOk
// with `value` in [lo, hi], kBelow or kAbove (value then lo or hi) when it
// lies outside, kNotANumber for anything else.
enum class IntegerParse { kOk, kNotANumber, kBelow, kAbove };
IntegerParse ParseInteger(const std::string& text, long lo, long hi, long& value);

// A report's RUN that is a history index (a whole number 1 or more) rather
// than a file.
bool IsHistoryIndex(const std::string& word);

// "1,3,5-9": scene numbers 1..kSceneCount, ranges inclusive, no empty items.
bool ParseSceneList(const std::string& text, bool (&scenes)[kSceneCount], std::string& error);

}  // namespace vm
