#include "platform/egl/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cstring>

namespace vm {

#ifndef EGL_PLATFORM_SURFACELESS_MESA
#define EGL_PLATFORM_SURFACELESS_MESA 0x31DD
#endif

EglContext::~EglContext() {
  ReleaseCurrent();
  DeleteContext();
  ReleaseDC();
}

bool EglContext::Open() {
  if (!ObtainDC()) return false;
  if (!SetupPixelFormat()) return false;
  if (!CreateContext()) return false;
  return MakeCurrent();
}

namespace {

// `name` as a whole word of a space-separated extension list.
bool HasExtension(const char* list, const char* name) {
  const size_t len = std::strlen(name);
  for (const char* p = list; p && (p = std::strstr(p, name)) != nullptr; p += len)
    if ((p == list || p[-1] == ' ') && (p[len] == '\0' || p[len] == ' ')) return true;
  return false;
}

PFNEGLGETPLATFORMDISPLAYEXTPROC PlatformDisplayFunction() {
  return reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
}

bool QueryDevices(std::vector<EGLDeviceEXT>& devices, std::string& error) {
  const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  auto queryDevices =
      reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
  if (!HasExtension(client, "EGL_EXT_platform_device") || !queryDevices) {
    error = "this EGL has no device platform (EGL_EXT_platform_device)";
    return false;
  }
  EGLint count = 0;
  if (!queryDevices(0, nullptr, &count) || count < 0) {
    error = "eglQueryDevicesEXT failed";
    return false;
  }
  devices.resize(static_cast<size_t>(count));
  if (count > 0 && !queryDevices(count, devices.data(), &count)) {
    error = "eglQueryDevicesEXT failed";
    return false;
  }
  devices.resize(static_cast<size_t>(count));
  return true;
}

}  // namespace

bool ListEglDevices(std::vector<EglDeviceInfo>& out, std::string& error) {
  std::vector<EGLDeviceEXT> devices;
  out.clear();
  if (!QueryDevices(devices, error)) return false;
  auto queryString = reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(
      eglGetProcAddress("eglQueryDeviceStringEXT"));
  auto getPlatformDisplay = PlatformDisplayFunction();
  for (EGLDeviceEXT device : devices) {
    EglDeviceInfo info;
    if (queryString) {
      const char* ext = queryString(device, EGL_EXTENSIONS);
      info.extensions = ext ? ext : "";
      // Only asked of devices that say they have a DRM node.
      if (HasExtension(info.extensions.c_str(), "EGL_EXT_device_drm")) {
        const char* file = queryString(device, EGL_DRM_DEVICE_FILE_EXT);
        info.drmFile = file ? file : "";
      }
    }
    // The vendor is the display's: few drivers answer it for the device.
    EGLDisplay dpy = getPlatformDisplay
                         ? getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr)
                         : EGL_NO_DISPLAY;
    EGLint major = 0, minor = 0;
    if (dpy != EGL_NO_DISPLAY && eglInitialize(dpy, &major, &minor)) {
      const char* vendor = eglQueryString(dpy, EGL_VENDOR);
      info.vendor = vendor ? vendor : "";
    }
    out.push_back(info);
  }
  return true;
}

bool EglContext::ObtainDC() {
  if (display_) return true;
  error_.clear();
  switch (platform_) {
    case EglPlatform::kSurfaceless:
      return OpenSurfaceless();
    case EglPlatform::kDevice:
      return OpenDevice();
    case EglPlatform::kAuto:
      break;
  }
  if (OpenSurfaceless()) return true;
  const std::string surfaceless = error_;
  if (OpenDevice()) return true;
  error_ = surfaceless + "; " + error_;
  return false;
}

bool EglContext::OpenSurfaceless() {
  auto getPlatformDisplay = PlatformDisplayFunction();
  EGLDisplay dpy = EGL_NO_DISPLAY;
  if (getPlatformDisplay)
    dpy = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (dpy == EGL_NO_DISPLAY) {
    error_ = "no EGL surfaceless display (Mesa's EGL is needed)";
    return false;
  }
  EGLint major = 0, minor = 0;
  if (!eglInitialize(dpy, &major, &minor)) {
    error_ = "eglInitialize failed on the surfaceless platform";
    return false;
  }
  display_ = dpy;
  opened_ = EglPlatform::kSurfaceless;
  return true;
}

bool EglContext::OpenDevice() {
  std::vector<EGLDeviceEXT> devices;
  if (!QueryDevices(devices, error_)) return false;
  if (device_ < 0 || static_cast<size_t>(device_) >= devices.size()) {
    error_ = "no EGL device " + std::to_string(device_) + " (" + std::to_string(devices.size()) +
             " found; see velmark3-cli devices)";
    return false;
  }
  auto getPlatformDisplay = PlatformDisplayFunction();
  EGLDisplay dpy = getPlatformDisplay
                       ? getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT,
                                            devices[static_cast<size_t>(device_)], nullptr)
                       : EGL_NO_DISPLAY;
  EGLint major = 0, minor = 0;
  if (dpy == EGL_NO_DISPLAY || !eglInitialize(dpy, &major, &minor)) {
    error_ = "EGL device " + std::to_string(device_) + " does not open a display";
    return false;
  }
  display_ = dpy;
  opened_ = EglPlatform::kDevice;
  return true;
}

bool EglContext::SetupPixelFormat() {
  if (config_) return true;
  const EGLint attribs[] = {EGL_SURFACE_TYPE,
                            EGL_PBUFFER_BIT,
                            EGL_RED_SIZE,
                            8,
                            EGL_GREEN_SIZE,
                            8,
                            EGL_BLUE_SIZE,
                            8,
                            EGL_DEPTH_SIZE,
                            16,
                            EGL_RENDERABLE_TYPE,
                            EGL_OPENGL_BIT,
                            EGL_NONE};
  EGLint count = 0;
  if (!eglChooseConfig(display_, attribs, nullptr, 0, &count) || count < 1) {
    error_ = "no EGL config with 8-bit RGB and a 16-bit depth buffer";
    return false;
  }
  std::vector<EGLConfig> configs(static_cast<size_t>(count));
  if (!eglChooseConfig(display_, attribs, configs.data(), count, &count) || count < 1) {
    error_ = "no EGL config with 8-bit RGB and a 16-bit depth buffer";
    return false;
  }
  configs.resize(static_cast<size_t>(count));
  // As the desktop's GLX visual is chosen, so both draw the same picture:
  // 8-bit RGB and no multisampling where the driver has them, then the
  // deepest depth buffer (EGL would sort the shallowest first), else EGL's
  // order. A request takes the shallowest of at least that many bits instead.
  auto attrib = [this](EGLConfig c, EGLint name) {
    EGLint v = 0;
    eglGetConfigAttrib(display_, c, name, &v);
    return v;
  };
  const int least = std::max(depthRequest_, 16);
  EGLConfig best = nullptr;
  long bestRank = 0;
  int bestDepth = 0;
  for (EGLConfig c : configs) {
    const int depth = attrib(c, EGL_DEPTH_SIZE);
    if (depth < least) continue;
    const bool exact = attrib(c, EGL_RED_SIZE) == 8 && attrib(c, EGL_GREEN_SIZE) == 8 &&
                       attrib(c, EGL_BLUE_SIZE) == 8;
    const bool single = attrib(c, EGL_SAMPLE_BUFFERS) == 0;
    const long rank =
        (exact ? 4000L : 0L) + (single ? 2000L : 0L) + (depthRequest_ > 0 ? 1000L - depth : depth);
    if (best == nullptr || rank > bestRank) {
      best = c;
      bestRank = rank;
      bestDepth = depth;
    }
  }
  if (best == nullptr) {
    error_ = "no EGL config with 8-bit RGB and a depth buffer of at least " +
             std::to_string(least) + " bits";
    return false;
  }
  config_ = best;
  bits_.red = attrib(best, EGL_RED_SIZE);
  bits_.green = attrib(best, EGL_GREEN_SIZE);
  bits_.blue = attrib(best, EGL_BLUE_SIZE);
  bits_.alpha = attrib(best, EGL_ALPHA_SIZE);
  bits_.depth = bestDepth;
  bits_.stencil = attrib(best, EGL_STENCIL_SIZE);
  return true;
}

bool EglContext::CreateContext() {
  if (context_) return true;
  if (!eglBindAPI(EGL_OPENGL_API)) {
    error_ = "desktop OpenGL is not available through EGL";
    return false;
  }
  const EGLint pbuffer[] = {EGL_WIDTH, width_, EGL_HEIGHT, height_, EGL_NONE};
  surface_ = eglCreatePbufferSurface(display_, config_, pbuffer);
  if (surface_ == EGL_NO_SURFACE) {
    surface_ = nullptr;
    error_ = "eglCreatePbufferSurface failed";
    return false;
  }
  const EGLint ctxAttribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                               EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  context_ = eglCreateContext(display_, config_, EGL_NO_CONTEXT, ctxAttribs);
  if (context_ == EGL_NO_CONTEXT) {
    context_ = nullptr;
    error_ = "eglCreateContext failed";
    return false;
  }
  return true;
}

bool EglContext::MakeCurrent() {
  if (!context_ || !eglMakeCurrent(display_, surface_, surface_, context_)) {
    error_ = "eglMakeCurrent failed";
    return false;
  }
  return true;
}

void EglContext::SwapBuffers() {
  if (surface_) eglSwapBuffers(display_, surface_);
}

bool EglContext::ReleaseCurrent() {
  if (!display_) return true;
  return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) == EGL_TRUE;
}

bool EglContext::DeleteContext() {
  if (!context_) return true;
  bool ok = eglDestroyContext(display_, context_) == EGL_TRUE;
  context_ = nullptr;
  return ok;
}

void EglContext::ReleaseDC() {
  if (!display_) return;
  if (surface_) eglDestroySurface(display_, surface_);
  surface_ = nullptr;
  // The display itself stays initialised: it is the process's one display
  // of its platform and device, and terminating it unloads the driver (the next
  // context would load it again, and the blocks the driver keeps in its
  // globals would be orphaned).
  display_ = nullptr;
  config_ = nullptr;
}

}  // namespace vm
