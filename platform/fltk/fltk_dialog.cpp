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
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xatom.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/edit_rules.h"
#include "platform/fltk/fltk_icon.h"

namespace vm {
namespace {

Fl_Window* gOwner = nullptr;

// Centred on the owner, or on the screen before there is one.
void CentreOnOwner(Fl_Window* w) {
  if (gOwner && gOwner->shown())
    w->position(gOwner->x() + (gOwner->w() - w->w()) / 2, gOwner->y() + (gOwner->h() - w->h()) / 2);
  else
    w->position((Fl::w() - w->w()) / 2, (Fl::h() - w->h()) / 2);
}

// Shows `w` as a dialog of the owner: transient for it, of the dialog type,
// and with move and close as its only functions (Motif hints), so window
// managers give it no minimise or maximise button.
void ShowAsDialog(Fl_Window* w) {
  w->set_modal();
  // Under a server grab the window manager reads the hints with the map
  // request, not a moment after it.
  XGrabServer(fl_display);
  w->show();
  const Window xid = fl_xid(w);
  if (gOwner && gOwner->shown()) XSetTransientForHint(fl_display, xid, fl_xid(gOwner));
  Atom type = XInternAtom(fl_display, "_NET_WM_WINDOW_TYPE", False);
  Atom dialog = XInternAtom(fl_display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  XChangeProperty(fl_display, xid, type, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&dialog), 1);
  const long kFunctions = 1, kDecorations = 2, kFuncMove = 4, kFuncClose = 32;
  const long kDecorBorder = 2, kDecorTitle = 8, kDecorMenu = 16;
  long hints[5] = {kFunctions | kDecorations, kFuncMove | kFuncClose,
                   kDecorBorder | kDecorTitle | kDecorMenu, 0, 0};
  Atom motif = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(fl_display, xid, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(hints), 5);
  XUngrabServer(fl_display);
  XFlush(fl_display);
}

int gXError = 0;
int NoteXError(Display*, XErrorEvent* e) {
  gXError = e->error_code;
  return 0;
}

// Runs `call` with X errors noted instead of reported: the window it names
// may be gone by then. True when the server raised none.
template <class Call>
bool Quietly(Call call) {
  XSync(fl_display, False);
  gXError = 0;
  auto previous = XSetErrorHandler(NoteXError);
  call();
  XSync(fl_display, False);
  XSetErrorHandler(previous);
  return gXError == 0;
}

// Without a window manager X sends the keys to the window under the
// pointer, so a dialog opened away from it would lose what is typed (and
// Return would press its default button). The dialog takes the focus
// itself; closing it hands the focus back to where it was.
class FocusWhileOpen {
 public:
  explicit FocusWhileOpen(Fl_Window* w) {
    if (WindowManagerRunning()) return;
    XGetInputFocus(fl_display, &previous_, &revert_);
    const Window xid = fl_xid(w);
    // Focus goes only to a viewable window; without a manager the map is
    // done once the server has read the request.
    XWindowAttributes a;
    if (!Quietly([&] { XGetWindowAttributes(fl_display, xid, &a); }) || a.map_state != IsViewable)
      return;
    taken_ = Quietly([&] { XSetInputFocus(fl_display, xid, RevertToPointerRoot, CurrentTime); });
  }
  ~FocusWhileOpen() {
    if (!taken_) return;
    const Window back = previous_ == None ? PointerRoot : previous_;
    Quietly([&] { XSetInputFocus(fl_display, back, RevertToPointerRoot, CurrentTime); });
  }

 private:
  Window previous_ = None;
  int revert_ = RevertToPointerRoot;
  bool taken_ = false;
};

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

// A dialog's list: Return goes to the default button, as in the other
// controls, and the focus is marked around the whole list, where a fully
// selected one would otherwise show none.
template <class Browser>
class DialogList : public Browser {
 public:
  DialogList(int x, int y, int w, int h) : Browser(x, y, w, h) {}
  int handle(int event) override {
    if (event == FL_KEYBOARD && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter))
      return 0;
    if (event == FL_FOCUS || event == FL_UNFOCUS) this->redraw();
    return Browser::handle(event);
  }
  void draw() override {
    Browser::draw();
    if (Fl::focus() == this)
      this->draw_focus(this->box(), this->x(), this->y(), this->w(), this->h());
  }
};

// Applies the control's conversions after every change, keeping the cursor.
class RuleInput : public Fl_Input {
 public:
  RuleInput(int x, int y, int w, int h, unsigned flags, int maxLength)
      : Fl_Input(x, y, w, h), flags_(flags), maxLength_(maxLength) {
    when(FL_WHEN_CHANGED);
    callback(Changed, this);
  }
  // A field at its limit takes no more: a key is refused, a paste cut where
  // it fills the field (never inside a character), with a beep either way.
  int handle(int event) override {
    if (maxLength_ > 0 && Inserts(event)) {
      const char* text = Fl::event_text();
      const int room = maxLength_ - (size() - std::abs(position() - mark()));
      if (Fl::event_length() > room) {
        int fits = room > 0 ? room : 0;
        while (fits > 0 && (static_cast<unsigned char>(text[fits]) & 0xC0) == 0x80) --fits;
        fl_beep();
        if (fits > 0) {
          replace(position(), mark(), text, fits);
          do_callback();
        }
        return 1;
      }
    }
    return Fl_Input::handle(event);
  }
  static bool Inserts(int event) {
    if (event == FL_PASTE) return Fl::event_length() > 0;
    if (event != FL_KEYBOARD || Fl::event_length() == 0) return false;
    if (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) return false;
    const unsigned char first = static_cast<unsigned char>(Fl::event_text()[0]);
    return first >= 0x20 && first != 0x7f;
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
          Fl_Browser* b =
              (c.flags & kMultiSelect)
                  ? static_cast<Fl_Browser*>(new DialogList<Fl_Multi_Browser>(x, y, w, h))
                  : static_cast<Fl_Browser*>(new DialogList<Fl_Hold_Browser>(x, y, w, h));
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
    CentreOnOwner(window_.get());
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
      ShowAsDialog(window_.get());
      FocusWhileOpen focus(window_.get());
      while (!ended_ && window_->shown()) Fl::wait();
      window_->hide();  // before the focus goes back
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

// EWMH: a running manager names a window of its own on the root window,
// which names itself again; a manager that has gone leaves the first name
// pointing at nothing.
bool WindowManagerRunning() {
  Atom check = XInternAtom(fl_display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  auto child = [&](Window of) {
    Window found = None;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(fl_display, of, check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        data && count == 1)
      found = *reinterpret_cast<Window*>(data);
    if (data) XFree(data);
    return found;
  };
  const Window named = child(RootWindow(fl_display, fl_screen));
  if (named == None) return false;
  Window again = None;
  return Quietly([&] { again = child(named); }) && again == named;
}

void SetDialogOwner(Fl_Window* owner) {
  gOwner = owner;
}

bool RunFltkMessage(const char* caption, const char* text, bool yesNo) {
  // Laid out like the toolkit's own message box, which opens under the
  // pointer instead.
  constexpr int kTextSize = 14, kButtonW = 90, kButtonH = 25, kMargin = 10, kIcon = 50;
  fl_font(FL_HELVETICA, kTextSize);
  int tw = 0, th = 0;
  fl_measure(text, tw, th, 0);
  if (tw < 250) tw = 250;
  if (th < kIcon) th = kIcon;
  const int width = kMargin + kIcon + kMargin + tw + kMargin;
  const int height = kMargin + th + kMargin + kButtonH + kMargin;
  Fl_Double_Window window(width, height, caption);
  std::string label;
  for (const char* p = text; *p; ++p) {
    if (*p == '@') label.push_back('@');
    label.push_back(*p);
  }
  auto* icon = new Fl_Box(kMargin, kMargin, kIcon, kIcon, yesNo ? "?" : "!");
  icon->box(FL_THIN_UP_BOX);
  icon->labelfont(FL_TIMES_BOLD);
  icon->labelsize(34);
  icon->color(FL_WHITE);
  icon->labelcolor(FL_BLUE);
  auto* message = new Fl_Box(2 * kMargin + kIcon, kMargin, tw, th, label.c_str());
  message->labelsize(kTextSize);
  message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  int answer = 0;  // 0 open, 1 No or OK, 2 Yes
  const int y = height - kMargin - kButtonH;
  Fl_Button* yes = nullptr;
  Fl_Button* fallback;  // the default: OK, or No
  if (yesNo) {
    yes = new Fl_Button(width - 2 * (kMargin + kButtonW), y, kButtonW, kButtonH, "&Yes");
    fallback = new Fl_Return_Button(width - kMargin - kButtonW, y, kButtonW, kButtonH, "&No");
  } else {
    fallback = new Fl_Return_Button(width - kMargin - kButtonW, y, kButtonW, kButtonH, "OK");
  }
  window.end();
  auto answeredYes = [](Fl_Widget*, void* to) { *static_cast<int*>(to) = 2; };
  auto answeredNo = [](Fl_Widget*, void* to) { *static_cast<int*>(to) = 1; };
  for (Fl_Button* b : {yes, fallback}) {
    if (!b) continue;
    b->labelsize(kTextSize);
    b->callback(b == yes ? answeredYes : answeredNo, &answer);
  }
  window.callback(answeredNo, &answer);  // Escape and the close box
  CentreOnOwner(&window);
  ShowAsDialog(&window);
  fallback->take_focus();
  {
    FocusWhileOpen focus(&window);
    while (answer == 0 && window.shown()) Fl::wait();
    window.hide();
  }
  return yesNo ? answer == 2 : true;
}

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
