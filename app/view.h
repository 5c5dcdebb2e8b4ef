// The single OpenGL view: context set-up, projection, and the per-frame
// dispatch to the drawer of the current display mode.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "render/view_state.h"
#include "results/frame_stats.h"

namespace vm {

class CVelmark3View {
 public:
  CVelmark3View(Platform& platform, GlBinding& gl);
  ~CVelmark3View();
  CVelmark3View(const CVelmark3View&) = delete;
  CVelmark3View& operator=(const CVelmark3View&) = delete;

  // Context, quadric, initial lights, then the four textures; -1 (after the
  // message box) when no context could be made.
  int OnCreate();
  bool InitGL();
  bool SetupPixelFormat();
  void OnSize(int cx, int cy);
  void OnDraw();
  void OnDestroy();
  void OnMouseWheel(int16_t delta);

  ViewState state;
  FrameTimeSink* frameTimes = nullptr;

 private:
  Platform& platform_;
  GlBinding& gl_;
  bool haveDC_ = false;
};

}  // namespace vm
