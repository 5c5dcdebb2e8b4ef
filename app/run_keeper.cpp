#include "app/run_keeper.h"

#include <cstdio>

#include "report/run_history.h"
#include "results/result_table.h"
#include "state/bench_state.h"

namespace vm {

RunKeeper::RunKeeper() : report_(std::make_unique<RunReport>()) {}

void RunKeeper::SetRenderer(const std::string& vendor, const std::string& renderer,
                            const std::string& version) {
  report_->glVendor = vendor;
  report_->glRenderer = renderer;
  report_->glVersion = version;
}

void RunKeeper::SetViewSize(int width, int height) {
  report_->width = width;
  report_->height = height;
}

void RunKeeper::SetDepthBits(int bits) {
  report_->depthBits = bits;
}

void RunKeeper::OnRunStart() {
  RunReport& r = *report_;
  r.ClearScenes();
  r.secondsPerScene = BenchState.secondsPerScene;
  r.timerMs = BenchState.timerIntervalMs;
  r.complete = true;
  for (int i = 0; i < kSceneCount; ++i) {
    r.scenes[i].ran = BenchState.sceneSelected[i] != 0;
    r.complete = r.complete && r.scenes[i].ran;
  }
  started_ = std::time(nullptr);
  // Checked before the run, as the runner does; a run that cannot be kept
  // still runs and shows its results.
  path_ = NewRunPath(RunsFolder(kResultsFile), started_);
  const std::string why = PrepareRunPath(path_);
  if (!why.empty()) {
    std::fprintf(stderr, "velmark3: this run will not be kept in the history: %s\n", why.c_str());
    path_.clear();
  }
}

void RunKeeper::OnRunEnd() {
  RunReport& r = *report_;
  const std::string busy = BusyScenesLine(r);
  if (!busy.empty()) std::fprintf(stderr, "velmark3: %s\n", busy.c_str());
  if (path_.empty()) return;
  r.EndRun(BenchState.sceneTime);
  r.score = RunScore(BenchState.sceneTime);
  r.date = IsoDate(started_);
  std::string error;
  if (KeepRun(path_, RunJson(r), error))
    lastKept_ = path_;
  else
    std::fprintf(stderr, "velmark3: the run was not kept in the history: %s\n", error.c_str());
  path_.clear();
}

}  // namespace vm
