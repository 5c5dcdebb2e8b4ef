// BenchMark Settings: seconds per scene, frame-timer interval and the scenes
// that take part in a run. OK applies them at once, also during a run.
#pragma once

#include <string>

#include "platform/platform.h"
#include "results/result_table.h"
#include "state/bench_state.h"

namespace vm {

extern const DialogTemplate kSettingsDialog;  // template 139
constexpr int kSecondsId = 1000;
constexpr int kTimerId = 1001;
constexpr int kSceneListId = 1010;
constexpr int kSelectAllId = 1013;
constexpr int kSelectNoneId = 1014;

class CSettingsDlg : public DialogHandler {
 public:
  explicit CSettingsDlg(Platform& platform, const char* benchsPath = kBenchsFile)
      : platform_(platform), benchsPath_(benchsPath) {}

  void OnInitDialog(DialogHost& host) override;
  void OnCommand(DialogHost& host, int id) override;
  void OnSelectAll();
  void OnSelectNone();
  void OnOK(DialogHost& host);

  std::string m_strSeconds;
  std::string m_strTimer;
  ListBox* m_sceneList = nullptr;

 private:
  Platform& platform_;
  std::string benchsPath_;
};

// atoi without its undefined cases: leading digits of the text, 0 when there
// are none, saturated at the int range.
int DialogNumber(const std::string& text);

}  // namespace vm
