#include "platform/egl/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

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

bool EglContext::ObtainDC() {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  EGLDisplay dpy = EGL_NO_DISPLAY;
  if (getPlatformDisplay)
    dpy = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (dpy == EGL_NO_DISPLAY) {
    error_ = "no EGL surfaceless display (Mesa's EGL is needed)";
    return false;
  }
  EGLint major = 0, minor = 0;
  if (!eglInitialize(dpy, &major, &minor)) {
    error_ = "eglInitialize failed";
    return false;
  }
  display_ = dpy;
  return true;
}

bool EglContext::SetupPixelFormat() {
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
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display_, attribs, &config, 1, &count) || count < 1) {
    error_ = "no EGL config with 8-bit RGB and a 16-bit depth buffer";
    return false;
  }
  config_ = config;
  return true;
}

bool EglContext::CreateContext() {
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
  // The display itself stays initialised: it is the process's one
  // surfaceless display, and terminating it unloads the driver (the next
  // context would load it again, and the blocks the driver keeps in its
  // globals would be orphaned).
  display_ = nullptr;
}

}  // namespace vm
