#include "platform/memory_platform.h"

#include <algorithm>

namespace vm {

int MemoryListBox::AddString(const char* text) {
  lines_.emplace_back(text ? text : "");
  selected_.push_back(0);
  return static_cast<int>(lines_.size()) - 1;
}

void MemoryListBox::SelItemRange(bool select, int first, int last) {
  for (int i = first < 0 ? 0 : first; i <= last && i < GetCount(); ++i) selected_[i] = select;
}

int MemoryListBox::GetSel(int index) const {
  if (index < 0 || index >= GetCount()) return -1;
  return selected_[index] ? 1 : 0;
}

std::string MemoryListBox::GetText(int index) const {
  if (index < 0 || index >= GetCount()) return std::string();
  return lines_[index];
}

void MemoryListBox::ResetContent() {
  lines_.clear();
  selected_.clear();
  current_ = -1;
}

void MemoryListBox::Click(int index) {
  if (index < 0 || index >= GetCount()) return;
  if (!multi_) std::fill(selected_.begin(), selected_.end(), 0);
  selected_[index] = multi_ ? !selected_[index] : 1;
  current_ = index;
}

void MemoryEdit::Type(const std::string& input) {
  text_ = ApplyEditRules(text_, input, flags_, maxLength_);
}

MemoryDialog::MemoryDialog(const DialogTemplate& t) : dialog(t) {
  for (int i = 0; i < t.controlCount; ++i) {
    const DialogControl& c = t.controls[i];
    if (c.kind == ControlKind::kListBox)
      lists_[c.id] = std::make_unique<MemoryListBox>((c.flags & kMultiSelect) != 0);
    else if (c.kind == ControlKind::kEdit)
      edits_[c.id] = std::make_unique<MemoryEdit>(c.flags, c.maxLength);
  }
}

MemoryListBox* MemoryDialog::ListAt(int id) {
  auto it = lists_.find(id);
  return it == lists_.end() ? nullptr : it->second.get();
}

MemoryEdit* MemoryDialog::EditAt(int id) {
  auto it = edits_.find(id);
  return it == edits_.end() ? nullptr : it->second.get();
}

void MemoryPlatform::SetTimer(int id, int intervalMs) {
  timerArms.push_back({id, intervalMs});
  if (id == 1) timer.Arm(now, intervalMs);
}

void MemoryPlatform::KillTimer(int id) {
  ++timerKills;
  if (id == 1) timer.Disarm();
}

void MemoryPlatform::Invalidate() {
  ++invalidateCount;
  paintPending = true;
}

void MemoryPlatform::MessageBox(const char* text) {
  messages.emplace_back(text);
  if (onMessageBox) onMessageBox(messages.back());
}

int MemoryPlatform::RunModal(const DialogTemplate& dialog, DialogHandler& handler) {
  dialogsShown.push_back(dialog.templateId);
  MemoryDialog host(dialog);
  handler.OnInitDialog(host);
  if (!host.ended && dialogScript) dialogScript(host, handler);
  if (!host.ended) handler.OnCommand(host, kIdCancel);
  return host.result;
}

void MemoryPlatform::RunUntil(AppEvents& app, int untilMs) {
  while (timer.armed() && timer.next() <= untilMs) {
    if (now < timer.next()) now = static_cast<int>(timer.next());
    timer.Fired(now);
    app.OnTimer(1);
    if (paintPending) {
      paintPending = false;
      app.OnPaint();
    }
  }
  if (now < untilMs) now = untilMs;
}

}  // namespace vm
