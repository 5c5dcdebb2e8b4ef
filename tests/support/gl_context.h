// One off-screen OpenGL context per test process, made current on first use.
#pragma once

#include <gtest/gtest.h>

#include "platform/egl/egl_context.h"
#include "tests/support/gl_counts.h"

namespace vmtest {

// The process's context (1024 x 768); nullptr with a test failure if none.
vm::EglContext* GlContext();

// A view's binding on that context, already current: the view only swaps.
class CurrentContext : public vm::GlBinding {
 public:
  bool ObtainDC() override { return true; }
  bool SetupPixelFormat() override { return true; }
  bool CreateContext() override { return true; }
  bool MakeCurrent() override { return true; }
  void SwapBuffers() override { ++swaps; }
  bool ReleaseCurrent() override { return true; }
  bool DeleteContext() override { return true; }
  void ReleaseDC() override {}
  int swaps = 0;
};

// Base fixture for GL tests: a current context and zeroed call counts.
class GlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(GlContext(), nullptr) << "no off-screen OpenGL context";
    ResetGlCounts();
  }
};

}  // namespace vmtest
