// In-memory platform for tests: records what the program asks of the window
// system, holds dialog controls, and has a clock the test sets.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/edit_rules.h"
#include "platform/platform.h"
#include "platform/timer_schedule.h"

namespace vm {

class MemoryListBox : public ListBox {
 public:
  explicit MemoryListBox(bool multiSelect = false) : multi_(multiSelect) {}
  int AddString(const char* text) override;
  int GetCount() const override { return static_cast<int>(lines_.size()); }
  void SelItemRange(bool select, int first, int last) override;
  int GetSel(int index) const override;
  int GetCurSel() const override { return current_; }
  std::string GetText(int index) const override;
  void ResetContent() override;

  // A click on line `index`, as the user makes it (single selection moves).
  void Click(int index);
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  bool multi_;
  std::vector<std::string> lines_;
  std::vector<char> selected_;
  int current_ = -1;
};

class MemoryEdit : public EditField {
 public:
  MemoryEdit(unsigned flags = 0, int maxLength = 0) : flags_(flags), maxLength_(maxLength) {}
  std::string GetText() const override { return text_; }
  void SetText(const char* text) override { text_ = text ? text : ""; }
  // Typing or pasting at the end, with the control's conversions applied.
  void Type(const std::string& input);

 private:
  unsigned flags_;
  int maxLength_;
  std::string text_;
};

class MemoryDialog : public DialogHost {
 public:
  explicit MemoryDialog(const DialogTemplate& t);
  ListBox* List(int id) override { return ListAt(id); }
  EditField* Edit(int id) override { return EditAt(id); }
  void EndDialog(int result) override {
    ended = true;
    this->result = result;
  }
  MemoryListBox* ListAt(int id);
  MemoryEdit* EditAt(int id);

  const DialogTemplate& dialog;
  bool ended = false;
  int result = 0;

 private:
  std::map<int, std::unique_ptr<MemoryListBox>> lists_;
  std::map<int, std::unique_ptr<MemoryEdit>> edits_;
};

class MemoryPlatform : public Platform {
 public:
  void SetStatusText(const char* text) override { statusTexts.emplace_back(text); }
  void SetTimer(int id, int intervalMs) override;
  void KillTimer(int id) override;
  void Invalidate() override;
  void MessageBox(const char* text) override;
  bool AskYesNo(const char* text) override {
    MessageBox(text);
    return answerYes;
  }
  int RunModal(const DialogTemplate& dialog, DialogHandler& handler) override;
  // Each read advances the clock by clockStepMs (0: a still clock).
  int Clock() override {
    const int t = now;
    now += clockStepMs;
    return t;
  }
  // The same clock to the nanosecond; each read advances it by clockStepNs.
  int64_t ClockNs() override {
    const int64_t t = NowNs();
    AdvanceNs(clockStepNs);
    return t;
  }
  int64_t NowNs() const { return now * int64_t{1000000} + subNs; }
  void AdvanceNs(int64_t ns) {
    const int64_t t = NowNs() + ns;
    now = static_cast<int>(t / 1000000);
    subNs = static_cast<int>(t % 1000000);
  }
  std::tm LocalTime() override { return localTime; }
  void Exit(int code) override { exitCode = code; }

  // The message loop: delivers ticks of the frame timer up to `untilMs`; a tick that
  // asked for a paint has it painted before the next tick. The paint may
  // advance `now` to model its cost.
  void RunUntil(AppEvents& app, int untilMs);

  std::string lastStatus() const { return statusTexts.empty() ? "" : statusTexts.back(); }

  int now = 0;
  int subNs = 0;  // nanoseconds past `now`
  int clockStepMs = 0;
  int64_t clockStepNs = 0;
  std::tm localTime{};
  std::vector<std::string> statusTexts;
  std::vector<std::string> messages;
  struct TimerArm {
    int id;
    int intervalMs;
  };
  std::vector<TimerArm> timerArms;
  int timerKills = 0;
  int invalidateCount = 0;
  bool paintPending = false;
  int exitCode = -1;
  std::vector<int> dialogsShown;
  TimerSchedule timer;
  // Drives an open dialog after OnInitDialog; a dialog the script does not
  // end is closed with Cancel.
  std::function<void(MemoryDialog&, DialogHandler&)> dialogScript;
  // Called while a message box is open (its nested loop).
  std::function<void(const std::string&)> onMessageBox;
  bool answerYes = false;  // what AskYesNo answers
};

}  // namespace vm
