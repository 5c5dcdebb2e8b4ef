#include "dialogs/save_results_dlg.h"

#include <cmath>

#include "platform/edit_rules.h"
#include "state/bench_state.h"

namespace vm {
namespace {

// Single-line, upper-case, short enough to read back as one line.
constexpr unsigned kFieldFlags = kUpperCase | kSingleLine;
constexpr int kFieldMax = kMaxDescriptionChars;

// clang-format off
const DialogControl kSaveControls[] = {
    {ControlKind::kSunkenStatic, -1, "Computer Name", 15, 15, 56, 10},
    {ControlKind::kEdit, 1000, "", 73, 14, 184, 12, kFieldFlags, kFieldMax},
    {ControlKind::kSunkenStatic, -1, "Cpu Type/Freq.", 15, 32, 63, 10},
    {ControlKind::kEdit, 1001, "", 81, 31, 176, 12, kFieldFlags, kFieldMax},
    {ControlKind::kSunkenStatic, -1, "Ram Type/Freq.", 15, 49, 62, 10},
    {ControlKind::kEdit, 1002, "", 81, 48, 73, 12, kFieldFlags, kFieldMax},
    {ControlKind::kSunkenStatic, -1, "MotherBoard Name", 15, 66, 66, 10},
    {ControlKind::kEdit, 1003, "", 85, 65, 172, 12, kFieldFlags, kFieldMax},
    {ControlKind::kSunkenStatic, -1, "Video Card Name", 15, 83, 81, 10},
    {ControlKind::kEdit, 1004, "", 103, 82, 156, 12, kFieldFlags, kFieldMax},
    {ControlKind::kSunkenStatic, -1, "Video Card Ram", 15, 99, 73, 10},
    {ControlKind::kEdit, 1005, "", 92, 99, 38, 12, kFieldFlags, kFieldMax},
    {ControlKind::kSunkenStatic, -1, "Video Card Cpu/Ram Freq.", 16, 116, 89, 10},
    {ControlKind::kEdit, 1006, "", 109, 117, 89, 12, kFieldFlags, kFieldMax},
    {ControlKind::kSunkenStatic, -1, "Video Card Driver", 15, 135, 84, 10},
    {ControlKind::kEdit, 1007, "", 103, 134, 60, 12, kFieldFlags, kFieldMax},
    {ControlKind::kSunkenStatic, -1, "Operative System", 15, 153, 70, 10},
    {ControlKind::kEdit, 1008, "", 87, 152, 171, 12, kFieldFlags, kFieldMax},
    {ControlKind::kSunkenStatic, -1, "Other..", 15, 170, 70, 10},
    {ControlKind::kEdit, 1009, "", 87, 169, 171, 12, kFieldFlags, kFieldMax},
    {ControlKind::kDefaultButton, kIdOk, "OK", 218, 107, 50, 14},
    {ControlKind::kButton, kIdCancel, "Cancel", 218, 121, 50, 14},
};
// clang-format on

}  // namespace

const DialogTemplate kSaveResultsDialog = {
    138, "Save Results", 275,
    198, kSaveControls,  static_cast<int>(sizeof kSaveControls / sizeof kSaveControls[0])};

std::string* CSaveResultsDlg::Member(int k) {
  std::string* const members[] = {
      &m_computerName, &m_cpuType,       &m_ramType,         &m_motherBoard,     &m_videoCardName,
      &m_videoCardRam, &m_videoCardFreq, &m_videoCardDriver, &m_operatingSystem, &m_other};
  return members[k];
}

void CSaveResultsDlg::OnOK(DialogHost& host) {
  const std::tm now = platform_.LocalTime();
  std::string fields[kDescriptionFields];
  for (int k = 0; k < kDescriptionFields; ++k) {
    if (EditField* edit = host.Edit(1000 + k)) *Member(k) = edit->GetText();
    fields[k] = *Member(k);
  }
  std::string message;
  const bool saved = SaveRecord(path_.c_str(), FormatRecord(fields, now), message);
  if (!message.empty()) platform_.MessageBox(message.c_str());
  if (saved) host.EndDialog(kIdOk);
}

int MeasuredScenes() {
  int measured = 0;
  for (float t : BenchState.sceneTime)
    if (t > 0.0f && std::isfinite(t)) ++measured;
  return measured;
}

std::string PartialRunQuestion(int measured) {
  const int others = kSceneCount - measured;
  return "This run measured " + std::to_string(measured) + " of " + std::to_string(kSceneCount) +
         " scenes. Saved, it will rank as if " +
         (others == 1 ? std::string("the other scene") : "the other " + std::to_string(others)) +
         " scored 0 fps.\n\nSave it anyway?";
}

void CSaveResultsDlg::OnCommand(DialogHost& host, int id) {
  if (id == kIdOk)
    OnOK(host);
  else
    DialogHandler::OnCommand(host, id);
}

}  // namespace vm
