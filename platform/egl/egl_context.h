// Off-screen OpenGL through EGL on Mesa's surfaceless platform: no X server
// needed. A pbuffer of the requested size with 8-bit RGB and 16-bit depth,
// desktop OpenGL with the compatibility profile.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vm {

class EglContext : public GlBinding {
 public:
  EglContext(int width, int height) : width_(width), height_(height) {}
  ~EglContext() override;

  // All of the steps below in one go; on failure error() says why.
  bool Open();

  bool ObtainDC() override;
  bool SetupPixelFormat() override;
  bool CreateContext() override;
  bool MakeCurrent() override;
  void SwapBuffers() override;
  bool ReleaseCurrent() override;
  bool DeleteContext() override;
  void ReleaseDC() override;

  int width() const { return width_; }
  int height() const { return height_; }
  const std::string& error() const { return error_; }

 private:
  int width_, height_;
  void* display_ = nullptr;
  void* config_ = nullptr;
  void* surface_ = nullptr;
  void* context_ = nullptr;
  std::string error_;
};

}  // namespace vm
