// Save Results: a form describing this machine; OK appends the last run's
// rates to the results file as one record.
#pragma once

#include <string>

#include "platform/platform.h"
#include "results/result_table.h"
#include "results/results_file.h"

namespace vm {

extern const DialogTemplate kSaveResultsDialog;  // template 138

class CSaveResultsDlg : public DialogHandler {
 public:
  explicit CSaveResultsDlg(Platform& platform, const char* path = kResultsFile)
      : platform_(platform), path_(path) {}

  void OnCommand(DialogHost& host, int id) override;
  // Writes the record and closes; when the file cannot be written the user
  // is told why and the dialog stays open with everything typed.
  void OnOK(DialogHost& host);

  std::string m_computerName, m_cpuType, m_ramType, m_motherBoard, m_videoCardName, m_videoCardRam,
      m_videoCardFreq, m_videoCardDriver, m_operatingSystem, m_other;

 private:
  std::string* Member(int k);

  Platform& platform_;
  std::string path_;
};

// Scenes of the last run with a measured rate; a record with fewer than all
// of them ranks as if the others scored 0 fps.
int MeasuredScenes();
// The question Save Results asks first about a run of `measured` scenes.
std::string PartialRunQuestion(int measured);

}  // namespace vm
