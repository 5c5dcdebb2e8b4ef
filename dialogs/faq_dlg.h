// FAQ: the lines of faq.txt, read anew at every opening.
#pragma once

#include <string>

#include "platform/platform.h"
#include "results/result_table.h"

namespace vm {

extern const DialogTemplate kFaqDialog;  // template 147

class CFaqDlg : public DialogHandler {
 public:
  explicit CFaqDlg(const char* path = kFaqFile) : path_(path) {}
  void OnInitDialog(DialogHost& host) override;

  ListBox* m_faqList = nullptr;

 private:
  std::string path_;
};

}  // namespace vm
