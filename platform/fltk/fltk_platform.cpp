#include "platform/fltk/fltk_platform.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fltk/fltk_dialog.h"
#include "platform/fltk/fltk_icon.h"
#include "platform/resources.h"
#include "platform/timer_schedule.h"

namespace vm {
namespace {

constexpr int kMenuHeight = 25;
constexpr int kStatusHeight = 22;

double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Double-buffered RGB 8/8/8 with a 16-bit depth buffer; no alpha, stencil or
// accumulation buffers.
const int kVisualAttribs[] = {
    GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE,
    8,        GLX_DEPTH_SIZE,   16,           0};

class GlView : public Fl_Gl_Window {
 public:
  GlView(int x, int y, int w, int h) : Fl_Gl_Window(x, y, w, h) {
    mode(kVisualAttribs);
    box(FL_NO_BOX);
  }

  AppEvents* app = nullptr;  // set once the program is ready for messages

  // The view draws, finishes and swaps itself (through the GL binding).
  void flush() override {
    if (!app) return;
    make_current();
    app->OnPaint();
  }
  void draw() override {}

  void resize(int x, int y, int w, int h) override {
    Fl_Gl_Window::resize(x, y, w, h);
    if (app && shown()) {
      make_current();
      app->OnSize(w, h);
    }
  }

  int handle(int event) override {
    if (event == FL_MOUSEWHEEL) {
      if (app && Fl::event_dy() != 0)
        app->OnMouseWheel(static_cast<int16_t>(-Fl::event_dy() * 120));
      return 1;
    }
    if (event == FL_ENTER || event == FL_MOVE) return 1;
    return Fl_Gl_Window::handle(event);
  }
};

class GlxBinding : public GlBinding {
 public:
  GlView* view = nullptr;
  const char* failure = "";
  static constexpr const char* kNoVisual =
      "the X display offers no double-buffered RGB visual with a depth buffer (GLX)";
  bool ObtainDC() override {
    if (view && view->shown() && fl_xid(view) != 0) return true;
    // FLTK leaves the view unshown when the display cannot give it a GL
    // visual; say which part is missing rather than that a window is.
    int errorBase = 0, eventBase = 0;
    if (fl_display && !glXQueryExtension(fl_display, &errorBase, &eventBase))
      failure = "the X display has no GLX extension (glxinfo shows whether GLX works)";
    else if (fl_display && !Fl_Gl_Window::can_do(kVisualAttribs))
      failure = kNoVisual;
    else
      failure = "the view has no X window";
    return false;
  }
  bool SetupPixelFormat() override {
    failure = kNoVisual;
    return Fl_Gl_Window::can_do(kVisualAttribs) != 0;
  }
  bool CreateContext() override {
    failure = "GLX gave no OpenGL context for the view (glxinfo shows whether GLX works)";
    view->make_current();
    return view->context() != nullptr;
  }
  bool MakeCurrent() override {
    failure = "the view's OpenGL context could not be made current";
    if (!view->context()) return false;
    view->make_current();
    return glXGetCurrentContext() != nullptr;
  }
  std::string FailureReason() const override { return failure; }
  void SwapBuffers() override { view->swap_buffers(); }
  bool ReleaseCurrent() override { return glXMakeCurrent(fl_display, None, nullptr) == True; }
  bool DeleteContext() override {
    view->context(nullptr, 1);
    return true;
  }
  void ReleaseDC() override {}
};

class MainWindow : public Fl_Window {
 public:
  MainWindow(int x, int y, int w, int h, const char* title) : Fl_Window(x, y, w, h, title) {}
  std::vector<Fl_Box*> indicators;  // caps, num and scroll lock
  Fl_Menu_Bar* menuBar = nullptr;

  // F10 opens the first menu, as on other desktop programs; the menu's own
  // loop then takes the arrows, Return and Escape.
  int handle(int event) override {
    if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && Fl::event_key() == FL_F + 10 &&
        !(Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) && menuBar &&
        menuBar->menu() && menuBar->menu()->text) {
      const Fl_Menu_Item* first = menuBar->menu();
      const Fl_Menu_Item* picked = first->pulldown(menuBar->x(), menuBar->y(), menuBar->w(),
                                                   menuBar->h(), first, menuBar, nullptr, 1);
      menuBar->picked(picked);
      return 1;
    }
    return Fl_Window::handle(event);
  }
  const char* indicatorTexts[3] = {"MA", "NUM", "BS"};
  int shownLocks = -1;

  // The indicators follow the keyboard's own lock lights, read through XKB:
  // FLTK's FL_SCROLL_LOCK is a modifier bit (AltGr on most layouts), and the
  // lights also change while a dialog or another window has the focus.
  int xkbEventBase = -1;  // -1: the server has no XKB, the indicators stay empty
  Atom lightNames[3] = {None, None, None};

  void WatchLockLights() {
    int opcode, error, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(fl_display, &opcode, &xkbEventBase, &error, &major, &minor)) {
      xkbEventBase = -1;
      return;
    }
    const char* names[3] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    for (int i = 0; i < 3; ++i) lightNames[i] = XInternAtom(fl_display, names[i], False);
    XkbSelectEvents(fl_display, XkbUseCoreKbd, XkbIndicatorStateNotifyMask,
                    XkbIndicatorStateNotifyMask);
    Fl::add_system_handler(LightsChanged, this);
    UpdateIndicators();
  }
  static int LightsChanged(void* event, void* data) {
    auto* self = static_cast<MainWindow*>(data);
    const auto* xkb = static_cast<const XkbEvent*>(event);
    if (xkb->type == self->xkbEventBase && xkb->any.xkb_type == XkbIndicatorStateNotify)
      self->UpdateIndicators();
    return 0;  // FLTK goes on with the event
  }
  void UpdateIndicators() {
    int locks = 0;
    for (int i = 0; i < 3 && xkbEventBase >= 0; ++i) {
      int index;
      Bool on = False;
      if (XkbGetNamedIndicator(fl_display, lightNames[i], &index, &on, nullptr, nullptr) && on)
        locks |= 1 << i;
    }
    if (locks == shownLocks) return;
    shownLocks = locks;
    for (int i = 0; i < 3; ++i) indicators[i]->label((locks & (1 << i)) ? indicatorTexts[i] : "");
  }
};

Atom NamedAtom(const char* name) {
  return XInternAtom(fl_display, name, False);
}

// The maximised state, set before the window is mapped (EWMH lets a client
// do so) and asked for again once it is, for the managers that only take
// the request.
void MarkMaximised(Fl_Window* w) {
  Atom states[2] = {NamedAtom("_NET_WM_STATE_MAXIMIZED_VERT"),
                    NamedAtom("_NET_WM_STATE_MAXIMIZED_HORZ")};
  XChangeProperty(fl_display, fl_xid(w), NamedAtom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(states), 2);
}

void AskMaximised(Fl_Window* w) {
  XEvent ev = {};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = fl_xid(w);
  ev.xclient.message_type = NamedAtom("_NET_WM_STATE");
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = 1;  // add
  ev.xclient.data.l[1] = static_cast<long>(NamedAtom("_NET_WM_STATE_MAXIMIZED_VERT"));
  ev.xclient.data.l[2] = static_cast<long>(NamedAtom("_NET_WM_STATE_MAXIMIZED_HORZ"));
  ev.xclient.data.l[3] = 1;
  XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  XFlush(fl_display);
}

// A caption and nothing else: no minimise, maximise or resize, for the
// window managers that read the Motif hints (FLTK's own hints for a window
// of fixed size keep minimise). The close box stays: it acts as Quit.
// Managers keep a window maximised only while it may resize and maximise,
// so those two functions stay where one runs; the window has no buttons
// for them.
void AskCaptionOnly(Fl_Window* w, bool maximised) {
  const long kFunctions = 1, kDecorations = 2;                    // flags
  const long kFuncResize = 2, kFuncMove = 4, kFuncMaximize = 16;  // functions
  const long kFuncClose = 32;
  const long kDecorBorder = 2, kDecorTitle = 8, kDecorMenu = 16;  // decorations
  long hints[5] = {kFunctions | kDecorations,
                   kFuncMove | kFuncClose | (maximised ? kFuncResize | kFuncMaximize : 0),
                   kDecorBorder | kDecorTitle | kDecorMenu, 0, 0};
  Atom motif = NamedAtom("_MOTIF_WM_HINTS");
  XChangeProperty(fl_display, fl_xid(w), motif, motif, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(hints), 5);
}

}  // namespace

struct FltkPlatform::Impl {
  MainWindowSetup setup;
  MainWindow* window = nullptr;
  Fl_Menu_Bar* menuBar = nullptr;
  GlView* view = nullptr;
  Fl_Box* message = nullptr;
  std::string messageText;
  GlxBinding binding;
  AppEvents* app = nullptr;
  TimerSchedule timer;
  std::vector<int> menuIds;

  // The frame timer is a timerfd watched by the message loop (nested loops
  // included). FLTK's own timeouts make up for lateness by firing early, which
  // would deliver missed ticks in a burst; here a late tick is delivered once
  // and the timer re-armed on its own phase, skipping the missed periods.
  int timerFd = -1;

  void ArmNext() {
    const double next = timer.next();
    itimerspec due = {};
    due.it_value.tv_sec = static_cast<time_t>(next / 1000.0);
    due.it_value.tv_nsec =
        static_cast<long>((next - static_cast<double>(due.it_value.tv_sec) * 1000.0) * 1e6);
    if (due.it_value.tv_nsec >= 1000000000L) due.it_value.tv_nsec = 999999999L;
    if (due.it_value.tv_sec == 0 && due.it_value.tv_nsec == 0) due.it_value.tv_nsec = 1;
    timerfd_settime(timerFd, TFD_TIMER_ABSTIME, &due, nullptr);
  }

  static void OnTick(int fd, void* data) {
    Impl* self = static_cast<Impl*>(data);
    std::uint64_t expirations = 0;
    if (read(fd, &expirations, sizeof expirations) != sizeof expirations) return;
    if (!self->timer.armed()) return;
    self->timer.Fired(NowMs());
    self->ArmNext();
    if (self->app) self->app->OnTimer(kFrameTimerId);
  }
  static void OnMenu(Fl_Widget*, void* data) {
    auto* entry = static_cast<std::pair<Impl*, int>*>(data);
    if (entry->first->app) entry->first->app->OnCommand(entry->second);
  }
  static void OnClose(Fl_Widget*, void* data) {
    Impl* self = static_cast<Impl*>(data);
    // Escape must not close the main window; the close box acts as Quit.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    if (self->app) self->app->OnCommand(self->quitId);
  }
  int quitId = 0;
  std::vector<std::pair<Impl*, int>> menuData;
};

FltkPlatform::FltkPlatform(const MainWindowSetup& setup) : impl_(std::make_unique<Impl>()) {
  impl_->setup = setup;
}

// The toolkit keeps watching the timer's descriptor after we are gone
// unless told otherwise; its callback would reach a freed Impl.
FltkPlatform::~FltkPlatform() {
  if (impl_->timerFd >= 0) {
    Fl::remove_fd(impl_->timerFd);
    close(impl_->timerFd);
  }
}

bool FltkPlatform::DisplayAvailable(std::string& why) {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) {
    why = "DISPLAY is not set: no X display to open the window on";
    return false;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    why = std::string("cannot open X display \"") + name + "\"";
    return false;
  }
  XCloseDisplay(d);
  return true;
}

GlBinding& FltkPlatform::gl() {
  return impl_->binding;
}

void FltkPlatform::Show(AppEvents& app) {
  Impl& m = *impl_;
  const MainWindowSetup& s = m.setup;
  fl_open_display();
  Fl::visual(FL_RGB);

  // The application icon, also for the dialogs' title bars.
  if (Fl_RGB_Image* icon = IconImage(kProgramIconResource)) Fl_Window::default_icon(icon);
  // Matches the menu entry's StartupWMClass, so docks group the windows under it.
  Fl_Window::default_xclass("velmark3");
  m.window = new MainWindow(s.x, s.y, s.width, s.height, s.title);
  m.window->begin();
  m.menuBar = new Fl_Menu_Bar(0, 0, s.width, kMenuHeight);
  m.window->menuBar = m.menuBar;
  m.menuData.reserve(s.menuCount);
  for (int i = 0; i < s.menuCount; ++i) {
    // FLTK paths use '/' between levels and '&' for mnemonics, as the table does.
    std::string path = std::string(s.menu[i].popup) + "/" + s.menu[i].text;
    m.menuData.push_back({&m, s.menu[i].commandId});
    m.menuBar->add(path.c_str(), 0, Impl::OnMenu, &m.menuData.back());
    if (std::string(s.menu[i].text) == "Quit") m.quitId = s.menu[i].commandId;
  }
  m.view = new GlView(0, kMenuHeight, s.width, s.height - kMenuHeight - kStatusHeight);
  m.binding.view = m.view;

  auto* status = new Fl_Group(0, s.height - kStatusHeight, s.width, kStatusHeight);
  const int indicatorW = 40;
  const int messageW = s.width - 3 * indicatorW - 4;
  m.message =
      new Fl_Box(FL_THIN_DOWN_BOX, 0, s.height - kStatusHeight, messageW, kStatusHeight, "");
  m.message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  for (int i = 0; i < 3; ++i) {
    auto* box = new Fl_Box(FL_THIN_DOWN_BOX, messageW + 1 + i * (indicatorW + 1),
                           s.height - kStatusHeight, indicatorW, kStatusHeight, "");
    m.window->indicators.push_back(box);
  }
  status->resizable(m.message);
  status->end();
  m.window->end();
  m.window->resizable(m.view);
  m.window->callback(Impl::OnClose, &m);
  SetDialogOwner(m.window);

  const bool wm = WindowManagerRunning();
  if (!wm) {
    int x, y, w, h;
    Fl::screen_work_area(x, y, w, h, 0);
    m.window->resize(x, y, w, h);
    // Before the hints below: the toolkit rewrites them with the size range.
    m.window->size_range(w, h, w, h);
  }
  // Under a server grab the window manager reads the hints with the map
  // request, not a moment after it.
  XGrabServer(fl_display);
  m.window->show();
  AskCaptionOnly(m.window, wm);
  if (wm) MarkMaximised(m.window);
  XUngrabServer(fl_display);
  XFlush(fl_display);
  while (!m.window->visible() || !m.view->visible()) Fl::wait(0.05);
  if (wm) {
    // The size is settled once the window manager has maximised the window
    // (or a second has passed without it).
    AskMaximised(m.window);
    const double until = NowMs() + 1000;
    while (m.window->w() == s.width && m.window->h() == s.height && NowMs() < until) Fl::wait(0.05);
  }
  Fl::flush();
  m.app = &app;
  m.window->WatchLockLights();
}

int FltkPlatform::Run() {
  Start();
  return Fl::run();
}

void FltkPlatform::Start() {
  Impl& m = *impl_;
  m.view->app = m.app;
  m.view->make_current();
  m.app->OnSize(m.view->w(), m.view->h());
  m.view->redraw();
  Fl::flush();
}

void FltkPlatform::SetStatusText(const char* text) {
  impl_->messageText.clear();
  for (const char* p = text ? text : ""; *p; ++p) {
    if (*p == '@' || *p == '&') impl_->messageText.push_back(*p);  // shown literally
    impl_->messageText.push_back(*p);
  }
  impl_->message->label(impl_->messageText.c_str());
  impl_->message->redraw();
}

void FltkPlatform::SetTimer(int id, int intervalMs) {
  Impl& m = *impl_;
  if (id != kFrameTimerId) return;
  if (m.timerFd < 0) {
    m.timerFd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m.timerFd < 0) return;
    Fl::add_fd(m.timerFd, FL_READ, Impl::OnTick, &m);
  }
  m.timer.Arm(NowMs(), intervalMs);
  m.ArmNext();
}

void FltkPlatform::KillTimer(int id) {
  Impl& m = *impl_;
  if (id != kFrameTimerId || m.timerFd < 0) return;
  m.timer.Disarm();
  itimerspec off = {};
  timerfd_settime(m.timerFd, 0, &off, nullptr);
}

void FltkPlatform::Invalidate() {
  if (impl_->view) impl_->view->redraw();
}

void FltkPlatform::MessageBox(const char* text) {
  RunFltkMessage(impl_->setup.appTitle, text, false);
}

bool FltkPlatform::AskYesNo(const char* text) {
  return RunFltkMessage(impl_->setup.appTitle, text, true);
}

int FltkPlatform::RunModal(const DialogTemplate& dialog, DialogHandler& handler) {
  return RunFltkDialog(dialog, handler);
}

std::tm FltkPlatform::LocalTime() {
  std::time_t t = std::time(nullptr);
  std::tm out{};
  localtime_r(&t, &out);
  return out;
}

void FltkPlatform::Exit(int code) {
  std::exit(code);
}

}  // namespace vm
