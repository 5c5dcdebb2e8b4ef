#include "app/main_frame.h"
#include "dialogs/faq_dlg.h"
#include "dialogs/save_results_dlg.h"
#include "dialogs/settings_dlg.h"
#include "dialogs/text_results_dlg.h"
#include "results/result_table.h"
#include "state/bench_state.h"

namespace vm {

void CMainFrame::OnBenchSettings() {
  const int interval = BenchState.timerIntervalMs;
  CSettingsDlg dlg(platform_);
  platform_.RunModal(kSettingsDialog, dlg);
  // A new interval takes effect now: under a long old one the restart tick
  // would be long in coming. That tick still comes and re-arms once more.
  if (BenchState.restartTimer == 1 && BenchState.timerIntervalMs != interval) {
    platform_.KillTimer(kFrameTimerId);
    platform_.SetTimer(kFrameTimerId, BenchState.timerIntervalMs);
  }
}

void CMainFrame::OnSaveResults() {
  if (BenchState.resultsAvailable != 1) {
    platform_.MessageBox("You don't have results to save. Run Benchmark");
    return;
  }
  const int measured = MeasuredScenes();
  if (measured < kSceneCount && !platform_.AskYesNo(PartialRunQuestion(measured).c_str())) return;
  CSaveResultsDlg dlg(platform_);
  platform_.RunModal(kSaveResultsDialog, dlg);
}

void CMainFrame::OnGraphicResults() {
  LoadResultTable();
  BenchState.displayMode = kModeGraphicResults;
}

void CMainFrame::OnTextResults() {
  LoadResultTable();
  CTextResultsDlg dlg(platform_);
  platform_.RunModal(kTextResultsDialog, dlg);
}

void CMainFrame::OnFaq() {
  CFaqDlg dlg;
  platform_.RunModal(kFaqDialog, dlg);
}

}  // namespace vm
