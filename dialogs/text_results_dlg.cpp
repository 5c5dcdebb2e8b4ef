#include "dialogs/text_results_dlg.h"

#include <cctype>
#include <cstdlib>

namespace vm {
namespace {

constexpr int kRankingId = kRankingListId;
constexpr int kLegendId = 1011;
constexpr int kCompareId = kCompareListId;
constexpr int kClearId = 1013;

// clang-format off
const DialogControl kTextResultsControls[] = {
    {ControlKind::kListBox, kRankingId, "", 7, 7, 321, 121},
    {ControlKind::kListBox, kLegendId, "", 7, 129, 321, 88, kHScroll},
    {ControlKind::kListBox, kCompareId, "", 329, 7, 181, 225},
    {ControlKind::kDefaultButton, kIdOk, "OK", 143, 218, 50, 14},
    {ControlKind::kButton, kClearId, "Clear Compare List", 262, 218, 66, 14},
};
// clang-format on

bool StartsWithDigit(const char* text) {
  return std::isdigit(static_cast<unsigned char>(text[0])) != 0;
}

}  // namespace

const DialogTemplate kTextResultsDialog = {
    145,
    "Text Results",
    517,
    239,
    kTextResultsControls,
    static_cast<int>(sizeof kTextResultsControls / sizeof kTextResultsControls[0])};

void CTextResultsDlg::OnInitDialog(DialogHost& host) {
  m_compareList = host.List(kCompareId);
  m_sceneLegend = host.List(kLegendId);
  m_rankingList = host.List(kRankingId);
  if (m_sceneLegend) AddFileLines(benchsPath_.c_str(), 128, *m_sceneLegend);
  if (m_rankingList)
    for (const std::string& line : RankingLines()) m_rankingList->AddString(line.c_str());
  m_waitingForSecond = 0;
}

int CTextResultsDlg::FindMachine(std::string& nameLine) const {
  if (!m_rankingList) return 0;
  for (int i = m_rankingList->GetCurSel(); i >= 0; --i) {
    const std::string text = m_rankingList->GetText(i);
    if (text.empty() || !StartsWithDigit(text.c_str())) continue;
    const int p = std::atoi(text.c_str());
    if (p < 1 || p > lastResultIndex + 1 || p > kResultRows) return 0;
    nameLine = m_rankingList->GetText(i + 1);
    return p;
  }
  return 0;
}

void CTextResultsDlg::OnDblclkRanking() {
  std::string name;
  const int p = FindMachine(name);
  if (p == 0 || !m_compareList) return;
  if (m_waitingForSecond == 0) {
    m_firstPosition = p;
    m_waitingForSecond = 1;
    m_compareList->AddString(ChosenComputerLine(1, name).c_str());
    return;
  }
  m_secondPosition = p;
  if (m_secondPosition == m_firstPosition) {
    platform_.MessageBox(kSameComputerMessage);
    return;
  }
  const ResultEntry& first = ResultTable[m_firstPosition - 1];
  const ResultEntry& second = ResultTable[m_secondPosition - 1];
  m_compareList->AddString(ChosenComputerLine(2, name).c_str());
  for (const std::string& line : RatioLines(first, second)) m_compareList->AddString(line.c_str());
  m_waitingForSecond = 0;
}

void CTextResultsDlg::OnClearCompare() {
  if (m_compareList) m_compareList->ResetContent();
}

void CTextResultsDlg::OnCommand(DialogHost& host, int id) {
  if (id == kClearId)
    OnClearCompare();
  else
    DialogHandler::OnCommand(host, id);
}

void CTextResultsDlg::OnDoubleClick(DialogHost& /*host*/, int listId) {
  if (listId == kRankingId) OnDblclkRanking();
}

}  // namespace vm
