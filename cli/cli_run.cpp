#include "cli/cli_run.h"

#include <GL/gl.h>

#include <memory>

#include "app/commands.h"
#include "app/velmark3_app.h"
#include "cli/cli_history.h"
#include "cli/cli_report.h"
#include "cli/machine_info.h"
#include "platform/edit_rules.h"
#include "platform/egl/egl_context.h"
#include "platform/headless_platform.h"
#include "report/run_history.h"
#include "results/result_table.h"
#include "results/results_file.h"
#include "state/bench_state.h"

namespace vm {
namespace {

std::string GlString(GLenum name) {
  const GLubyte* s = glGetString(name);
  return s ? reinterpret_cast<const char*>(s) : "";
}

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
  if (!message.empty()) std::fprintf(err, "velmark3-cli: %s\n", message.c_str());
  return saved;
}

// "1,3,5-9": the selected scenes as the --scenes option writes them.
std::string SceneList(const bool (&scenes)[kSceneCount]) {
  std::string list;
  for (int i = 0; i < kSceneCount; ++i) {
    if (!scenes[i]) continue;
    int last = i;
    while (last + 1 < kSceneCount && scenes[last + 1]) ++last;
    if (!list.empty()) list += ",";
    list += std::to_string(i + 1);
    if (last > i) list += "-" + std::to_string(last + 1);
    i = last;
  }
  return list;
}

// What the run measures, so that its numbers can be told apart later.
void WriteRunHeader(const CliOptions& o, std::FILE* err) {
  std::fprintf(err, "velmark3-cli %s\n", VM_VERSION);
  std::fprintf(err, "OpenGL vendor: %s\nOpenGL renderer: %s\nOpenGL version: %s\n",
               GlString(GL_VENDOR).c_str(), GlString(GL_RENDERER).c_str(),
               GlString(GL_VERSION).c_str());
  std::fprintf(err, "View %dx%d, %d seconds per scene, timer %d ms, scenes %s\n", o.width, o.height,
               o.seconds, o.timerMs, SceneList(o.scenes).c_str());
  std::fflush(err);
}

}  // namespace

int RunCommand(CliOptions& o, std::FILE* out, std::FILE* err) {
  // A partial run saved would rank as a full one, its missing scenes at 0.
  int selected = 0;
  for (bool s : o.scenes) selected += s ? 1 : 0;
  if (o.save && selected < kSceneCount && !o.allowPartial) {
    std::fprintf(err,
                 "velmark3-cli: --save: this run has %d of the %d scenes; add --allow-partial "
                 "to save it anyway\n",
                 selected, kSceneCount);
    return 1;
  }
  const std::time_t started = std::time(nullptr);
  std::string kept;
  if (!PrepareHistory(o, started, kept, err)) return 1;
  EglContext gl(o.width, o.height, o.egl, o.device < 0 ? 0 : o.device);
  HeadlessPlatform platform(err);
  // The view holds the scenes' geometry (a few MB): it lives on the heap.
  auto app = std::make_unique<CVelmark3App>(platform, gl);
  app->InitInstance();
  if (!gl.error().empty()) {
    std::fprintf(err, "velmark3-cli: no OpenGL context: %s\n", gl.error().c_str());
    return 1;
  }
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
  report->date = IsoDate(started);
  app->view.frameTimes = report.get();

  // The window's first paint shows the main screen; the run's first frame
  // then waits for the first tick.
  platform.Run(*app, [] { return true; });
  WriteRunHeader(o, err);
  ApplySettings(o);
  for (int run = 0; run < o.repeat; ++run) {
    app->OnCommand(ID_INIT_BENCHS);
    if (BenchState.displayMode != kModeBenchmark) return 1;  // the message said why
    platform.Run(*app, [] { return BenchState.displayMode != kModeBenchmark; });
    if (!BenchState.resultsAvailable) {
      std::fprintf(err, "velmark3-cli: the run was stopped before its last scene\n");
      return 1;
    }
    report->EndRun(BenchState.sceneTime);
  }
  app->view.frameTimes = nullptr;
  report->UseMedians(BenchState.sceneTime, err);

  // Saved before anything is printed: a closed pipe cannot lose the run.
  const bool saved = !o.save || SaveRun(o, platform, err);
  // A report on standard output takes the place of the text lines.
  const bool text = o.jsonPath != "-" && o.csvPath != "-";
  for (int i = 0; i < kSceneCount; ++i)
    if (o.scenes[i] && text)
      std::fprintf(out, "Scene %d : %s fps\n", i + 1,
                   FormatC("%f", SceneRate(BenchState.sceneTime[i])).c_str());
  // The score of this machine's row, as the result screens rank it.
  LoadResultTable(o.resultsFile.c_str());
  for (int r = 0; r <= lastResultIndex; ++r)
    if (ResultTable[r].isThisMachine) report->score = ResultScore(ResultTable[r].averageFps);
  if (text) std::fprintf(out, "Score : %d\n", report->score);
  const bool keptOk = KeepInHistory(kept, *report, err);
  const bool reported = WriteReports(o, *report, out, err);
  return saved && keptOk && reported ? 0 : 1;
}

}  // namespace vm
