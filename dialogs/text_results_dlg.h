// Text Results: the ranking of every known machine, the scene legend and a
// pairwise comparison of two machines chosen by double-click.
#pragma once

#include <string>

#include "platform/platform.h"
#include "results/ranking.h"
#include "results/result_table.h"

namespace vm {

extern const DialogTemplate kTextResultsDialog;  // template 145
constexpr int kRankingListId = 1010;
constexpr int kCompareListId = 1012;

class CTextResultsDlg : public DialogHandler {
 public:
  explicit CTextResultsDlg(Platform& platform, const char* benchsPath = kBenchsFile)
      : platform_(platform), benchsPath_(benchsPath) {}

  void OnInitDialog(DialogHost& host) override;
  void OnCommand(DialogHost& host, int id) override;
  void OnDoubleClick(DialogHost& host, int listId) override;
  void OnDblclkRanking();
  void OnClearCompare();

  ListBox* m_compareList = nullptr;
  ListBox* m_sceneLegend = nullptr;
  ListBox* m_rankingList = nullptr;
  int m_waitingForSecond = 0;
  int m_firstPosition = 0;
  int m_secondPosition = 0;

 private:
  // The 1-based position of the machine whose block holds the selected line
  // and the text of its name line; 0 when there is none.
  int FindMachine(std::string& nameLine) const;

  Platform& platform_;
  std::string benchsPath_;
};

}  // namespace vm
