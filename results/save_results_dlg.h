// Save Results: a form describing this machine; OK appends the last run's
// rates to the results file as one record.
#pragma once

#include <string>

#include "platform/platform.h"
#include "results/result_table.h"

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

constexpr int kDescriptionFields = 10;

// The record of the last run (the rates of BenchState.sceneTime) as it goes
// into the file, described by the ten fields in the form's order.
std::string FormatRecord(const std::string (&fields)[kDescriptionFields], const std::tm& date);

// Appends `record` to the regular file `path` (created if missing) under an
// advisory lock, on a line of its own. On failure the bytes this call wrote
// are taken back and `error` says why.
bool AppendRecord(const char* path, const std::string& record, std::string& error);

// Saves `record` as Save Results does; `message` gets what the user must be
// told (why it failed, or that the rankings cannot show it), or stays empty.
bool SaveRecord(const char* path, const std::string& record, std::string& message);

// One line of a record: no line breaks, at most kMaxDescriptionChars bytes,
// never half a UTF-8 character.
std::string DescriptionLine(const std::string& typed);

}  // namespace vm
