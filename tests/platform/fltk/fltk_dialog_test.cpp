#include "platform/fltk/fltk_dialog.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>
#include <unistd.h>

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
  int wake[2] = {-1, -1};

 private:
  // The dialog's loop looks at the flag only when Fl::wait() returns. A
  // timeout added here can fire within the same wait, which then blocks
  // with nothing pending; a byte on a watched pipe always wakes it.
  static void Close(void* data) {
    auto* self = static_cast<ListLines*>(data);
    self->host_->EndDialog(vm::kIdOk);
    EXPECT_EQ(write(self->wake[1], "x", 1), 1);
  }
  vm::DialogHost* host_ = nullptr;
};

void Drain(int fd, void*) {
  char c;
  EXPECT_EQ(read(fd, &c, 1), 1);
}

TEST(FltkDialog, ListLinesAreShownAndReadBackAsTheyAre) {
  static const vm::DialogControl kControls[] = {
      {vm::ControlKind::kListBox, 7, "", 5, 5, 150, 80, vm::kHScroll},
      {vm::ControlKind::kDefaultButton, vm::kIdOk, "OK", 60, 90, 40, 14},
  };
  static const vm::DialogTemplate kDialog = {900, "Lines", 160, 110, kControls, 2};
  ListLines handler;
  ASSERT_EQ(pipe(handler.wake), 0);
  Fl::add_fd(handler.wake[0], FL_READ, Drain);
  EXPECT_EQ(vm::RunFltkDialog(kDialog, handler), vm::kIdOk);
  EXPECT_EQ(handler.readBack, handler.lines);
  Fl::remove_fd(handler.wake[0]);
  close(handler.wake[0]);
  close(handler.wake[1]);
}

}  // namespace
