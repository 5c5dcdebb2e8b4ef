#include "cli/cli_run.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>

#include "app/commands.h"
#include "app/velmark3_app.h"
#include "cli/cli_documents.h"
#include "cli/cli_history.h"
#include "cli/cli_stop.h"
#include "cli/cli_validate.h"
#include "cli/machine_info.h"
#include "platform/edit_rules.h"
#include "platform/egl/egl_context.h"
#include "platform/headless_platform.h"
#include "render/gl_strings.h"
#include "report/html_report.h"
#include "report/run_history.h"
#include "results/result_table.h"
#include "results/results_file.h"
#include "state/bench_state.h"
#include "validate/validation.h"

namespace vm {
namespace {

// What the settings form's OK does with the same values.
void ApplySettings(const CliOptions& o) {
  BenchState.secondsPerScene = o.seconds;
  BenchState.restartTimer = 1;
  BenchState.timerIntervalMs = o.timerMs;
  for (int i = 0; i < kSceneCount; ++i) BenchState.sceneSelected[i] = o.scenes[i] ? 1 : 0;
}

static_assert(kFieldCount == kDescriptionFields, "the options are the form's fields");

// What the Save Results form does with the same fields typed into it.
bool SaveRun(const CliOptions& o, Platform& platform, std::FILE* err) {
  std::string fields[kDescriptionFields];
  for (int k = 0; k < kDescriptionFields; ++k)
    fields[k] = ApplyEditRules("", o.fields[k], kUpperCase | kSingleLine, kMaxDescriptionChars);
  std::string message;
  const bool saved =
      SaveRecord(o.resultsFile.c_str(), FormatRecord(fields, platform.LocalTime()), message);
  if (!message.empty()) std::fprintf(err, "velmark3-cli: %s\n", TerminalText(message).c_str());
  return saved;
}

// One line on where the saved record went and the place it holds in the
// ranking the table was just loaded with. A record past the rows the
// ranking reads has no place; saving already said so.
void TellSaved(const std::string& path, std::FILE* err) {
  bool cut = false;
  const int records = CountResultRecords(path.c_str(), &cut);
  int mine = INT_MIN, shown = 0, above = 0;
  for (int r = 0; r <= lastResultIndex; ++r)
    if (ResultTable[r].isThisMachine) mine = ResultScore(ResultTable[r].averageFps);
  for (int r = 0; r <= lastResultIndex; ++r)
    if (!ResultTable[r].isThisMachine) {
      ++shown;
      above += ResultScore(ResultTable[r].averageFps) > mine ? 1 : 0;
    }
  if (mine == INT_MIN || cut || records > shown) return;
  char* full = realpath(path.c_str(), nullptr);
  std::fprintf(err, "velmark3-cli: saved to %s as record %d: place %d of %d in its ranking\n",
               full ? full : path.c_str(), records, above + 1, shown);
  std::free(full);
}

// "1,3,5-9": the selected scenes as --scenes takes them.
std::string SelectedScenes(const bool (&scenes)[kSceneCount]) {
  std::vector<int> numbers;
  for (int i = 0; i < kSceneCount; ++i)
    if (scenes[i]) numbers.push_back(i + 1);
  return SceneList(numbers);
}

// What the run measures, so that its numbers can be told apart later.
void WriteRunHeader(const CliOptions& o, std::FILE* err) {
  std::fprintf(err, "velmark3-cli %s\n", VM_VERSION);
  std::fprintf(err, "OpenGL vendor: %s\nOpenGL renderer: %s\nOpenGL version: %s\n",
               TerminalText(GlString(GL_VENDOR)).c_str(),
               TerminalText(GlString(GL_RENDERER)).c_str(),
               TerminalText(GlString(GL_VERSION)).c_str());
  std::fprintf(err, "View %dx%d, %d seconds per scene, timer %d ms, scenes %s\n", o.width, o.height,
               o.seconds, o.timerMs, SelectedScenes(o.scenes).c_str());
  std::fflush(err);
}

// What to try when no context could be made on the platform(s) tried.
std::string ContextHint(const CliOptions& o, const std::string& error) {
  if (o.egl == EglPlatform::kSurfaceless) return "; try --egl device";
  if (error.find("velmark3-cli devices") != std::string::npos) return "";
  if (error.find("no device platform") != std::string::npos)
    return "; is Mesa's EGL driver installed (Debian: libegl-mesa0)?";
  return o.egl == EglPlatform::kAuto
             ? "; velmark3-cli devices lists what --egl device --device N can try"
             : "; velmark3-cli devices lists the devices --device N can try";
}

// A scene that drew no frame has no rate, only a 0 that is no measurement.
void TellScenesWithoutFrames(const CliOptions& o, const RunReport& report, std::FILE* err) {
  const std::string scenes = ScenesWithoutFrames(report);
  if (scenes.empty()) return;
  const std::string why =
      o.timerMs >= o.seconds * 1000
          ? FormatC(
                "the timer (%d ms) is not shorter than a scene (%d s); use a shorter --timer "
                "or more --seconds",
                o.timerMs, o.seconds)
          : FormatC("no frame was finished within the scene's %d s", o.seconds);
  std::fprintf(err, "velmark3-cli: %s %s drew no frame, so %s no rate: %s\n",
               scenes.find(',') == std::string::npos ? "scene" : "scenes", scenes.c_str(),
               scenes.find(',') == std::string::npos ? "it has" : "they have", why.c_str());
}

// After a stop signal: the run covers the scenes finished, those of the
// last whole repeat if one was done, else those before the scene stopped.
void KeepFinishedScenes(int run, const float (&lastRun)[kSceneCount], RunReport& report) {
  const bool midRun = BenchState.displayMode == kModeBenchmark;
  if (run > 0) {
    std::copy(lastRun, lastRun + kSceneCount, BenchState.sceneTime);
  } else {
    for (int i = 0; i < kSceneCount; ++i) {
      if (midRun && i < BenchState.currentScene) continue;
      report.scenes[i].ran = false;
      BenchState.sceneTime[i] = 0.0f;
    }
    report.EndRun(BenchState.sceneTime);
  }
  report.complete = false;
  report.interrupted = true;
  BenchState.displayMode = kModeIntro;
  BenchState.resultsAvailable = 1;  // scored as a run of the scenes it finished
}

}  // namespace

std::string WhyNotSaved(const CliOptions& o, const RunReport* report) {
  if (o.allowPartial) return "";
  // A partial run saved would rank as a full one, its missing scenes at 0.
  int selected = 0;
  for (bool s : o.scenes) selected += s ? 1 : 0;
  if (selected < kSceneCount)
    return FormatC("this run has %d of the %d scenes; add --allow-partial to save it anyway",
                   selected, kSceneCount);
  const std::string empty = report ? ScenesWithoutFrames(*report) : "";
  if (!empty.empty())
    return "scenes without a frame (" + empty +
           ") would be saved as 0 fps; add --allow-partial to save it anyway";
  return "";
}

int RunCommand(CliOptions& o, std::FILE* out, std::FILE* err) {
  if (o.save && !WhyNotSaved(o, nullptr).empty()) {
    std::fprintf(err, "velmark3-cli: --save: %s\n", WhyNotSaved(o, nullptr).c_str());
    return 1;
  }
  // The outputs, the kept run's file among them, were checked before this.
  const std::time_t started = std::time(nullptr);
  if (o.history && o.keptRunPath.empty())
    o.keptRunPath = NewRunPath(RunsFolder(o.resultsFile), started);
  StopSignals stopSignals;
  // Checked in a context of its own before anything is timed.
  ValidationRun validation;
  if (o.validate && !ValidateBeforeRun(o, validation, err)) return 1;
  // The context comes first, so that its failure is told in the runner's
  // words, not as the desktop's message box.
  EglContext gl(o.width, o.height, o.egl, o.device < 0 ? 0 : o.device);
  gl.RequestDepth(o.depthBits);
  if (!gl.Open()) {
    std::fprintf(err, "velmark3-cli: no OpenGL context: %s%s\n", gl.error().c_str(),
                 ContextHint(o, gl.error()).c_str());
    return 1;
  }
  HeadlessPlatform platform(err);
  platform.ShowStatus(false);  // the idle text is the status bar's, not the runner's
  // The view holds the scenes' geometry (a few MB): it lives on the heap.
  auto app = std::make_unique<CVelmark3App>(platform, gl);
  if (!app->InitInstance()) return 1;  // the message said why
  app->OnSize(o.width, o.height);
  MachineFacts facts;
  if (o.detect) {
    facts = ReadMachineFacts();
    facts.glRenderer = GlString(GL_RENDERER);
    facts.glVendor = GlString(GL_VENDOR);
    facts.glVersion = GlString(GL_VERSION);
    FillDetectedFields(facts, o);
  }
  auto report = std::make_unique<RunReport>();
  StartReport(*report, o, GlString(GL_VENDOR), GlString(GL_RENDERER), GlString(GL_VERSION));
  GLint depthBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  report->depthBits = depthBits;
  report->date = IsoDate(started);
  app->view.frameTimes = report.get();
  if (o.validate) AddValidation(validation, *report);

  // The window's first paint shows the main screen; the run's first frame
  // then waits for the first tick.
  platform.Run(*app, [] { return true; });
  WriteRunHeader(o, err);
  // A scene the selection leaves without what it draws, before any timing.
  for (int i = 0; i < kSceneCount; ++i)
    if (o.scenes[i] && !RunOrderProblem(i, o.scenes).empty())
      std::fprintf(err, "velmark3-cli: %s\n", RunOrderProblem(i, o.scenes).c_str());
  platform.ShowStatus(true);
  ApplySettings(o);
  float lastRun[kSceneCount] = {};
  int run = 0;
  for (; run < o.repeat && !StopSignal(); ++run) {
    app->OnCommand(ID_INIT_BENCHS);
    if (BenchState.displayMode != kModeBenchmark) return 1;  // the message said why
    platform.Run(*app, [] { return BenchState.displayMode != kModeBenchmark || StopSignal(); });
    if (BenchState.displayMode == kModeBenchmark) break;  // a stop signal
    if (!BenchState.resultsAvailable) {
      std::fprintf(err, "velmark3-cli: the run was stopped before its last scene\n");
      return 1;
    }
    report->EndRun(BenchState.sceneTime);
    std::copy(BenchState.sceneTime, BenchState.sceneTime + kSceneCount, lastRun);
    int worst = -1;
    if (o.repeatAuto && run + 1 >= kAutoFewestRuns &&
        WorstMedianError(*report, worst) < kAutoSpreadBound) {
      ++run;
      break;
    }
  }
  if (o.repeatAuto) {
    if (run >= 1) report->repeat = run;  // the CSV's run columns: those done
    int scene = -1;
    const double worst = WorstMedianError(*report, scene);
    std::fprintf(err,
                 "velmark3-cli: --repeat auto: %d runs; the largest relative standard error of "
                 "a scene's median is %.1f%% (scene %d), %s %.0f%%\n",
                 run, worst * 100.0, scene + 1,
                 worst < kAutoSpreadBound ? "under the bound of" : "the most runs reached, above",
                 kAutoSpreadBound * 100.0);
  }
  app->view.frameTimes = nullptr;
  const int stopped = StopSignal();
  if (stopped) KeepFinishedScenes(run, lastRun, *report);
  report->UseMedians(BenchState.sceneTime, err);
  TellScenesWithoutFrames(o, *report, err);
  if (const std::string few = FewFramesLine(*report); !few.empty())
    std::fprintf(err, "velmark3-cli: %s\n", few.c_str());
  if (const std::string busy = BusyScenesLine(*report); !busy.empty())
    std::fprintf(err, "velmark3-cli: %s\n", busy.c_str());

  // Saved before anything is printed: a closed pipe cannot lose the run. A
  // stopped run is not what the user meant to keep.
  bool saved = true;
  if (o.save && stopped) {
    std::fprintf(err, "velmark3-cli: the run was stopped: it was not saved\n");
    saved = false;
  } else if (o.save) {
    const std::string refused = WhyNotSaved(o, report.get());
    if (!refused.empty()) std::fprintf(err, "velmark3-cli: --save: %s\n", refused.c_str());
    saved = refused.empty() && SaveRun(o, platform, err);
  }
  // A report on standard output takes the text lines' place there; they go
  // aside.
  std::FILE* lines = o.jsonPath == "-" || o.csvPath == "-" ? err : out;
  for (int i = 0; i < kSceneCount; ++i)
    if (report->scenes[i].ran)
      std::fprintf(lines, "Scene %d : %s fps\n", i + 1,
                   FormatC("%f", SceneRate(BenchState.sceneTime[i])).c_str());
  // The score of this machine's row, as the result screens rank it.
  LoadResultTable(o.resultsFile.c_str());
  for (int r = 0; r <= lastResultIndex; ++r)
    if (ResultTable[r].isThisMachine) report->score = ResultScore(ResultTable[r].averageFps);
  std::fprintf(lines, "Score : %d\n", report->score);
  std::fflush(lines);  // the lines are out before any report is written
  if (o.save && saved) TellSaved(o.resultsFile, err);
  const bool keptOk = KeepInHistory(o.history ? o.keptRunPath : "", *report, err);
  const bool reported = WriteReports(o, *report, out, err);
  if (o.validate) ReportValidationFailures(validation, err);
  if (stopped) return 128 + stopped;
  return saved && keptOk && reported ? 0 : 1;
}

}  // namespace vm
