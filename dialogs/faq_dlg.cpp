#include "dialogs/faq_dlg.h"

namespace vm {
namespace {

// clang-format off
const DialogControl kFaqControls[] = {
    {ControlKind::kListBox, 1010, "", 7, 7, 249, 127},
    {ControlKind::kDefaultButton, kIdOk, "OK", 206, 141, 50, 14},
};
// clang-format on

}  // namespace

const DialogTemplate kFaqDialog = {
    147, "FAQ",        263,
    162, kFaqControls, static_cast<int>(sizeof kFaqControls / sizeof kFaqControls[0])};

void CFaqDlg::OnInitDialog(DialogHost& host) {
  m_faqList = host.List(1010);
  if (m_faqList) AddFileLines(path_.c_str(), 255, *m_faqList);
}

}  // namespace vm
