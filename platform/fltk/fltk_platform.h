// The desktop implementation of the platform layer: FLTK 1.3 windows, menus,
// dialogs and timers, GLX for the view's context. The toolkit stays behind
// this header.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vm {

struct MainWindowSetup {
  const char* title;     // caption of the main window
  const char* appTitle;  // caption of message boxes
  const MenuEntry* menu;
  int menuCount;
  int x, y, width, height;  // normal geometry; the window opens maximised
};

class FltkPlatform : public Platform {
 public:
  explicit FltkPlatform(const MainWindowSetup& setup);
  ~FltkPlatform() override;

  // False (with the reason in `why`) when no X display can be opened.
  static bool DisplayAvailable(std::string& why);

  GlBinding& gl();
  // Builds and maps the main window; messages go to `app` once Run starts.
  void Show(AppEvents& app);
  // Delivers the view's size and paints the first frame at once.
  void Start();
  // Start, then the message loop until the process ends.
  int Run();

  void SetStatusText(const char* text) override;
  void SetTimer(int id, int intervalMs) override;
  void KillTimer(int id) override;
  void Invalidate() override;
  void MessageBox(const char* text) override;
  bool AskYesNo(const char* text) override;
  int RunModal(const DialogTemplate& dialog, DialogHandler& handler) override;
  int Clock() override { return ProcessClockMs(); }
  int64_t ClockNs() override { return ProcessClockNs(); }
  std::tm LocalTime() override;
  void Exit(int code) override;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace vm
