#include "cli/cli_run.h"

#include <GL/gl.h>

#include <memory>

#include "app/commands.h"
#include "app/velmark3_app.h"
#include "cli/machine_info.h"
#include "platform/egl/egl_context.h"
#include "platform/headless_platform.h"
#include "results/result_table.h"
#include "results/save_results_dlg.h"
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

// The Save Results form with nothing on screen: its fields are set directly.
class UnseenForm : public DialogHost {
 public:
  ListBox* List(int) override { return nullptr; }
  EditField* Edit(int) override { return nullptr; }
  void EndDialog(int result) override { saved = result == kIdOk; }
  bool saved = false;
};

// What the Save Results form does with the same fields typed into it.
bool SaveRun(const CliOptions& o, Platform& platform) {
  CSaveResultsDlg logic(platform);
  std::string* const fields[kFieldCount] = {&logic.m_computerName,    &logic.m_cpuType,
                                            &logic.m_ramType,         &logic.m_motherBoard,
                                            &logic.m_videoCardName,   &logic.m_videoCardRam,
                                            &logic.m_videoCardFreq,   &logic.m_videoCardDriver,
                                            &logic.m_operatingSystem, &logic.m_other};
  for (int k = 0; k < kFieldCount; ++k)
    *fields[k] = ApplyEditRules("", o.fields[k], kUpperCase | kSingleLine, kMaxDescriptionChars);
  UnseenForm form;
  logic.OnOK(form);
  return form.saved;  // else the message said why
}

}  // namespace

int RunCommand(CliOptions& o, std::FILE* out, std::FILE* err) {
  EglContext gl(o.width, o.height);
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

  ApplySettings(o);
  app->OnCommand(ID_INIT_BENCHS);
  if (BenchState.displayMode != kModeBenchmark) return 1;  // the message said why
  platform.Run(*app, [] { return BenchState.displayMode != kModeBenchmark; });
  if (!BenchState.resultsAvailable) {
    std::fprintf(err, "velmark3-cli: the run was stopped before its last scene\n");
    return 1;
  }

  for (int i = 0; i < kSceneCount; ++i)
    if (o.scenes[i])
      std::fprintf(out, "Scene %d : %s fps\n", i + 1,
                   FormatC("%f", SceneRate(BenchState.sceneTime[i])).c_str());
  // The score of this machine's row, as the result screens rank it.
  LoadResultTable();
  for (int r = 0; r <= lastResultIndex; ++r)
    if (ResultTable[r].isThisMachine)
      std::fprintf(out, "Score : %d\n", ResultScore(ResultTable[r].averageFps));
  std::fflush(out);
  if (o.save && !SaveRun(o, platform)) return 1;
  return 0;
}

}  // namespace vm
