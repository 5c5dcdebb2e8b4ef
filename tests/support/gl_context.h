// One off-screen OpenGL context per test process, made current on first use.
#pragma once

#include <gtest/gtest.h>

#include "platform/egl/egl_context.h"
#include "tests/support/gl_counts.h"

namespace vmtest {

// The process's context (1024 x 768); nullptr with a test failure if none.
inline vm::EglContext* GlContext() {
  static vm::EglContext* ctx = [] {
    auto* c = new vm::EglContext(1024, 768);
    if (c->Open()) return c;
    ADD_FAILURE() << "EGL: " << c->error();
    delete c;
    return static_cast<vm::EglContext*>(nullptr);
  }();
  return ctx;
}

// Base fixture for GL tests: a current context and zeroed call counts.
class GlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(GlContext(), nullptr) << "no off-screen OpenGL context";
    ResetGlCounts();
  }
};

}  // namespace vmtest
