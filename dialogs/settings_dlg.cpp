#include "dialogs/settings_dlg.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "state/bench_state.h"

namespace vm {
namespace {

// clang-format off
const DialogControl kSettingsControls[] = {
    {ControlKind::kSunkenStatic, -1, "Every scene is performed for", 35, 15, 94, 12},
    {ControlKind::kEdit, kSecondsId, "", 131, 15, 30, 13, kUpperCase | kSingleLine},
    {ControlKind::kSunkenStatic, -1, "Seconds ( >=2 )", 165, 15, 58, 12},
    {ControlKind::kSunkenStatic, -1, "Event Timer (ATTENTION)", 35, 34, 94, 12},
    {ControlKind::kEdit, kTimerId, "", 133, 33, 30, 13, kUpperCase | kSingleLine},
    {ControlKind::kSunkenStatic, -1,
     ">10ms (press esc key and exit if the program not respond)", 165, 33, 70, 29},
    {ControlKind::kStatic, -1, "Execute the benchmark only with Event Timer = 100ms", 36, 49, 126,
     17},
    {ControlKind::kListBox, kSceneListId, "", 7, 68, 246, 90, kMultiSelect | kHScroll},
    {ControlKind::kButton, kSelectAllId, "Select All", 7, 161, 49, 12},
    {ControlKind::kButton, kSelectNoneId, "Select None", 57, 161, 49, 12},
    {ControlKind::kDefaultButton, kIdOk, "OK", 79, 188, 50, 14},
    {ControlKind::kButton, kIdCancel, "Cancel", 129, 188, 50, 14},
};
// clang-format on

}  // namespace

const DialogTemplate kSettingsDialog = {
    139,
    "BenchMark Settings",
    260,
    209,
    kSettingsControls,
    static_cast<int>(sizeof kSettingsControls / sizeof kSettingsControls[0])};

int DialogNumber(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void CSettingsDlg::OnInitDialog(DialogHost& host) {
  char number[16];
  std::snprintf(number, sizeof number, "%d", BenchState.secondsPerScene);
  m_strSeconds = number;
  std::snprintf(number, sizeof number, "%d", BenchState.timerIntervalMs);
  m_strTimer = number;
  m_sceneList = host.List(kSceneListId);
  if (m_sceneList) {
    AddFileLines(benchsPath_.c_str(), 200, *m_sceneList);
    OnSelectAll();
  }
  if (EditField* seconds = host.Edit(kSecondsId)) seconds->SetText(m_strSeconds.c_str());
  if (EditField* timer = host.Edit(kTimerId)) timer->SetText(m_strTimer.c_str());
}

void CSettingsDlg::OnSelectAll() {
  if (m_sceneList) m_sceneList->SelItemRange(true, 0, m_sceneList->GetCount() - 1);
}

void CSettingsDlg::OnSelectNone() {
  if (m_sceneList) m_sceneList->SelItemRange(false, 0, m_sceneList->GetCount() - 1);
}

void CSettingsDlg::OnOK(DialogHost& host) {
  if (EditField* seconds = host.Edit(kSecondsId)) m_strSeconds = seconds->GetText();
  if (EditField* timer = host.Edit(kTimerId)) m_strTimer = timer->GetText();

  // Values below a floor are raised to it as the labels say; one above a
  // cap is lowered to it and the user is told.
  std::string capped;
  char line[160];
  int seconds = DialogNumber(m_strSeconds);
  if (seconds < kMinSecondsPerScene) seconds = kMinSecondsPerScene;
  if (seconds > kMaxSecondsPerScene) {
    seconds = kMaxSecondsPerScene;
    std::snprintf(line, sizeof line, "Every scene is performed for %d to %d seconds: %d is used.\n",
                  kMinSecondsPerScene, kMaxSecondsPerScene, seconds);
    capped += line;
  }
  BenchState.secondsPerScene = seconds;
  BenchState.restartTimer = 1;
  int interval = DialogNumber(m_strTimer);
  if (interval < kMinTimerIntervalMs) interval = kMinTimerIntervalMs;
  if (interval > kMaxTimerIntervalMs) {
    interval = kMaxTimerIntervalMs;
    std::snprintf(line, sizeof line, "The Event Timer runs from %d to %d ms: %d is used.\n",
                  kMinTimerIntervalMs, kMaxTimerIntervalMs, interval);
    capped += line;
  }
  BenchState.timerIntervalMs = interval;
  if (!capped.empty()) {
    capped.pop_back();
    platform_.MessageBox(capped.c_str());
  }
  // A scene without a line cannot be deselected: the query fails with -1.
  for (int i = 0; i < kSceneCount; ++i)
    BenchState.sceneSelected[i] = (m_sceneList ? m_sceneList->GetSel(i) : -1) != 0 ? 1 : 0;
  host.EndDialog(kIdOk);
}

void CSettingsDlg::OnCommand(DialogHost& host, int id) {
  switch (id) {
    case kSelectAllId:
      OnSelectAll();
      break;
    case kSelectNoneId:
      OnSelectNone();
      break;
    case kIdOk:
      OnOK(host);
      break;
    default:
      DialogHandler::OnCommand(host, id);
      break;
  }
}

}  // namespace vm
