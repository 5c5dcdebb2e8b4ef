#include "platform/fltk/fltk_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Multi_Browser.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/edit_rules.h"
#include "platform/fltk/fltk_icon.h"

namespace vm {
namespace {

class FltkList : public ListBox {
 public:
  // Fl_Browser's default. (A zero format character is no way out: the
  // browser then takes the terminating zero of an empty line for one and
  // reads past it.)
  static constexpr char kFormatChar = '@';
  explicit FltkList(Fl_Browser* b) : b_(b) {}
  int AddString(const char* text) override {
    // "@." shows the rest of a line as it is, so a line that starts with
    // the browser's format character is not taken for formatting.
    const char* t = text ? text : "";
    if (t[0] == kFormatChar) {
      std::string literal = std::string("@.") + t;
      b_->add(literal.c_str());
    } else {
      b_->add(t);
    }
    return b_->size() - 1;
  }
  int GetCount() const override { return b_->size(); }
  void SelItemRange(bool select, int first, int last) override {
    for (int i = first < 0 ? 0 : first; i <= last && i < b_->size(); ++i) b_->select(i + 1, select);
  }
  int GetSel(int index) const override {
    if (index < 0 || index >= b_->size()) return -1;
    return b_->selected(index + 1) ? 1 : 0;
  }
  int GetCurSel() const override { return b_->value() - 1; }
  std::string GetText(int index) const override {
    if (index < 0 || index >= b_->size()) return std::string();
    const char* t = b_->text(index + 1);
    if (t && t[0] == kFormatChar && t[1] == '.') t += 2;
    return t ? t : "";
  }
  void ResetContent() override { b_->clear(); }

 private:
  Fl_Browser* b_;
};

// Applies the control's conversions after every change, keeping the cursor.
class RuleInput : public Fl_Input {
 public:
  RuleInput(int x, int y, int w, int h, unsigned flags, int maxLength)
      : Fl_Input(x, y, w, h), flags_(flags), maxLength_(maxLength) {
    when(FL_WHEN_CHANGED);
    callback(Changed, this);
  }
  static void Changed(Fl_Widget*, void* data) {
    auto* self = static_cast<RuleInput*>(data);
    std::string fixed = ApplyEditRules("", self->value(), self->flags_, self->maxLength_);
    if (fixed != self->value()) {
      // The cursor stays after the same character, whatever became shorter.
      const std::string before(self->value(), static_cast<size_t>(self->position()));
      int pos = static_cast<int>(ApplyEditRules("", before, self->flags_, self->maxLength_).size());
      self->value(fixed.c_str());
      if (pos > static_cast<int>(fixed.size())) pos = static_cast<int>(fixed.size());
      self->position(pos);
    }
  }

 private:
  unsigned flags_;
  int maxLength_;
};

class FltkEdit : public EditField {
 public:
  explicit FltkEdit(Fl_Input* in) : in_(in) {}
  std::string GetText() const override { return in_->value() ? in_->value() : ""; }
  void SetText(const char* text) override {
    in_->value(text ? text : "");
    in_->do_callback();
  }

 private:
  Fl_Input* in_;
};

class FltkDialog : public DialogHost {
 public:
  // FLTK reads '@' and '&' in labels as symbol and shortcut marks.
  const char* Label(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
      if (*p == '@' || *p == '&') out.push_back(*p);
      out.push_back(*p);
    }
    labels_.push_back(out);
    return labels_.back().c_str();
  }

  FltkDialog(const DialogTemplate& t, DialogHandler& handler) : handler_(handler) {
    double sx, sy;
    DialogUnitScale(sx, sy);
    auto px = [&](int du) { return static_cast<int>(du * sx + 0.5); };
    auto py = [&](int du) { return static_cast<int>(du * sy + 0.5); };
    window_ = std::make_unique<Fl_Double_Window>(px(t.width), py(t.height), t.caption);
    window_->begin();
    for (int i = 0; i < t.controlCount; ++i) {
      const DialogControl& c = t.controls[i];
      const int x = px(c.x), y = py(c.y), w = px(c.width), h = py(c.height);
      switch (c.kind) {
        case ControlKind::kStatic:
        case ControlKind::kSunkenStatic: {
          auto* box = new Fl_Box(x, y, w, h, Label(c.text));
          box->labelsize(kDialogFontSize);
          box->box(c.kind == ControlKind::kSunkenStatic ? FL_THIN_DOWN_BOX : FL_NO_BOX);
          box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP | FL_ALIGN_CLIP);
          break;
        }
        case ControlKind::kIcon: {
          auto* box = new Fl_Box(x, y, w, h);
          if (Fl_RGB_Image* icon = IconImage(c.resourceId)) box->image(icon);
          break;
        }
        case ControlKind::kEdit: {
          auto* in = new RuleInput(x, y, w, h, c.flags, c.maxLength);
          in->textsize(kDialogFontSize);
          edits_[c.id] = std::make_unique<FltkEdit>(in);
          break;
        }
        case ControlKind::kListBox: {
          Fl_Browser* b = (c.flags & kMultiSelect)
                              ? static_cast<Fl_Browser*>(new Fl_Multi_Browser(x, y, w, h))
                              : static_cast<Fl_Browser*>(new Fl_Hold_Browser(x, y, w, h));
          b->has_scrollbar((c.flags & kHScroll) ? Fl_Browser_::BOTH : Fl_Browser_::VERTICAL);
          b->textsize(kDialogFontSize);
          b->when(FL_WHEN_RELEASE_ALWAYS);  // every release, selection changed or not
          listIds_[b] = c.id;
          b->callback(ListClicked, this);
          lists_[c.id] = std::make_unique<FltkList>(b);
          break;
        }
        case ControlKind::kButton:
        case ControlKind::kDefaultButton: {
          Fl_Button* b = c.kind == ControlKind::kDefaultButton
                             ? new Fl_Return_Button(x, y, w, h, c.text)
                             : new Fl_Button(x, y, w, h, c.text);
          b->labelsize(kDialogFontSize);
          buttonIds_[b] = c.id;
          b->callback(ButtonClicked, this);
          break;
        }
      }
    }
    window_->end();
    window_->position((Fl::w() - window_->w()) / 2, (Fl::h() - window_->h()) / 2);
    window_->set_modal();
    window_->callback(Closed, this);  // Escape and the close box
  }

  ListBox* List(int id) override {
    auto it = lists_.find(id);
    return it == lists_.end() ? nullptr : it->second.get();
  }
  EditField* Edit(int id) override {
    auto it = edits_.find(id);
    return it == edits_.end() ? nullptr : it->second.get();
  }
  void EndDialog(int result) override {
    ended_ = true;
    result_ = result;
  }

  int Run() {
    handler_.OnInitDialog(*this);
    if (!ended_) {
      window_->show();
      while (!ended_ && window_->shown()) Fl::wait();
    }
    window_->hide();
    return ended_ ? result_ : kIdCancel;
  }

 private:
  static void ButtonClicked(Fl_Widget* w, void* data) {
    auto* self = static_cast<FltkDialog*>(data);
    self->handler_.OnCommand(*self, self->buttonIds_[w]);
  }
  // A double-click is reported at the release of its second click: on a line
  // that is already selected, that release is the only call FLTK makes. Odd
  // click counts only, so a quick third click is a plain click again.
  static void ListClicked(Fl_Widget* w, void* data) {
    if (Fl::event() != FL_RELEASE || Fl::event_button() != FL_LEFT_MOUSE) return;
    if (Fl::event_clicks() % 2 != 1) return;
    auto* self = static_cast<FltkDialog*>(data);
    self->handler_.OnDoubleClick(*self, self->listIds_[w]);
  }
  static void Closed(Fl_Widget*, void* data) {
    auto* self = static_cast<FltkDialog*>(data);
    self->handler_.OnCommand(*self, kIdCancel);
  }

  DialogHandler& handler_;
  std::unique_ptr<Fl_Double_Window> window_;
  std::map<int, std::unique_ptr<FltkList>> lists_;
  std::map<int, std::unique_ptr<FltkEdit>> edits_;
  std::map<Fl_Widget*, int> buttonIds_;
  std::map<Fl_Widget*, int> listIds_;
  std::deque<std::string> labels_;
  bool ended_ = false;
  int result_ = kIdCancel;
};

}  // namespace

void DialogUnitScale(double& sx, double& sy) {
  fl_font(FL_HELVETICA, kDialogFontSize);
  static const char kSample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const double avgWidth = fl_width(kSample) / (sizeof kSample - 1);
  // The templates were laid out for a narrower font than this sans: units a
  // little wider and taller than its average character let every label hold
  // its text, wrapped only where the rectangle has room for the lines.
  sx = avgWidth / 4.0 * 1.06;
  sy = fl_height() / 8.0 * 1.15;
}

int RunFltkDialog(const DialogTemplate& dialog, DialogHandler& handler) {
  FltkDialog d(dialog, handler);
  return d.Run();
}

}  // namespace vm
