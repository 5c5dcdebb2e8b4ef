#include "platform/fltk/fltk_dialog.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

// Lines from the text files are shown as they are: empty ones, and ones
// that start with the browser's format character, drawn and read back
// unchanged.
class ListLines : public vm::DialogHandler {
 public:
  std::vector<std::string> lines{"", "@b not bold", "@.", "@", "plain", "", "@@"};
  std::vector<std::string> readBack;
  int painted = 0;

  void OnInitDialog(vm::DialogHost& host) override {
    host_ = &host;
    vm::ListBox* list = host.List(7);
    ASSERT_NE(list, nullptr);
    for (const std::string& l : lines) list->AddString(l.c_str());
    for (int i = 0; i < list->GetCount(); ++i) readBack.push_back(list->GetText(i));
    Fl::add_timeout(0.3, Close, this);
  }

 private:
  static void Close(void* data) {
    auto* self = static_cast<ListLines*>(data);
    self->host_->EndDialog(vm::kIdOk);
    // The dialog's loop looks at the flag when the next event or timeout
    // wakes it; a button click would have been followed by its release.
    Fl::add_timeout(0.01, Wake);
  }
  static void Wake(void*) {}
  vm::DialogHost* host_ = nullptr;
};

TEST(FltkDialog, ListLinesAreShownAndReadBackAsTheyAre) {
  static const vm::DialogControl kControls[] = {
      {vm::ControlKind::kListBox, 7, "", 5, 5, 150, 80, vm::kHScroll},
      {vm::ControlKind::kDefaultButton, vm::kIdOk, "OK", 60, 90, 40, 14},
  };
  static const vm::DialogTemplate kDialog = {900, "Lines", 160, 110, kControls, 2};
  ListLines handler;
  EXPECT_EQ(vm::RunFltkDialog(kDialog, handler), vm::kIdOk);
  EXPECT_EQ(handler.readBack, handler.lines);
}

}  // namespace
