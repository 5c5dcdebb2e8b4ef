// Off-screen OpenGL through EGL: no X server needed. Mesa's surfaceless
// platform, or a device of the EGL device platform (the only headless way
// onto drivers without the surfaceless platform). A pbuffer of the requested
// size with 8-bit RGB and the deepest depth buffer of at least 16 bits,
// desktop OpenGL with the compatibility profile.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace vm {

// kAuto: the surfaceless platform, else the device platform.
enum class EglPlatform { kAuto, kSurfaceless, kDevice };

// The sizes of the chosen config's buffers, in bits.
struct EglBits {
  int red = 0, green = 0, blue = 0, alpha = 0, depth = 0, stencil = 0;
};

struct EglDeviceInfo {
  std::string vendor;      // the EGL vendor of the device's display, if it opens
  std::string extensions;  // the device's own extensions
  std::string drmFile;     // empty for a device without a DRM node
};

// The devices of the EGL device platform, in the order --device counts them.
// False with `error` set when the EGL library cannot enumerate devices.
bool ListEglDevices(std::vector<EglDeviceInfo>& devices, std::string& error);

class EglContext : public GlBinding {
 public:
  EglContext(int width, int height, EglPlatform platform = EglPlatform::kAuto, int device = 0)
      : width_(width), height_(height), platform_(platform), device_(device) {}
  ~EglContext() override;

  // The shallowest depth buffer of at least `bits` (0: the deepest offered),
  // to see what a driver that offers no more would draw. Before
  // SetupPixelFormat.
  void RequestDepth(int bits) { depthRequest_ = bits; }

  // All of the steps below in one go; on failure error() says why. A step
  // already done is not done again, so a view may go through them after.
  bool Open();

  bool ObtainDC() override;
  bool SetupPixelFormat() override;
  bool CreateContext() override;
  bool MakeCurrent() override;
  void SwapBuffers() override;
  bool ReleaseCurrent() override;
  bool DeleteContext() override;
  void ReleaseDC() override;
  std::string FailureReason() const override { return error_; }

  int width() const { return width_; }
  int height() const { return height_; }
  const std::string& error() const { return error_; }
  // The platform the display was opened on (kAuto before ObtainDC).
  EglPlatform opened() const { return opened_; }
  // The chosen config's sizes (zero before SetupPixelFormat).
  const EglBits& bits() const { return bits_; }

 private:
  bool OpenSurfaceless();
  bool OpenDevice();

  int width_, height_;
  EglPlatform platform_;
  int device_;
  int depthRequest_ = 0;
  EglBits bits_;
  EglPlatform opened_ = EglPlatform::kAuto;
  void* display_ = nullptr;
  void* config_ = nullptr;
  void* surface_ = nullptr;
  void* context_ = nullptr;
  std::string error_;
};

}  // namespace vm
