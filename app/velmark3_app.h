// The application: one frame and one view, and the routing of the platform's
// messages to them.
#pragma once

#include "app/main_frame.h"
#include "app/view.h"
#include "platform/platform.h"

namespace vm {

extern const DialogTemplate kAboutDialog;  // template 100

class CVelmark3App : public AppEvents {
 public:
  CVelmark3App(Platform& platform, GlBinding& gl);

  // Creates the view's context and textures, then the frame's timer and
  // defaults. The platform has shown the window before this is called. False
  // when the view has no context (the frame runs, drawing nothing).
  bool InitInstance();

  void OnTimer(int timerId) override;
  void OnPaint() override;
  void OnSize(int cx, int cy) override;
  void OnMouseWheel(int16_t delta) override;
  void OnCommand(int commandId) override;

  void OnAppAbout();

  CMainFrame frame;
  CVelmark3View view;

 private:
  Platform& platform_;
};

}  // namespace vm
