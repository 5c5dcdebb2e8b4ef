// A view in the off-screen context for the screens' tests, and what every
// drawer must leave behind.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/view.h"
#include "tests/support/gl_context.h"
#include "tests/support/memory_platform.h"
#include "tests/support/sim_app.h"

namespace vmtest {

class ScreensTest : public vmtest::GlTest {
 protected:
  void SetUp() override {
    vmtest::GlTest::SetUp();
    vmtest::ResetBenchState();
    view = std::make_unique<vm::CVelmark3View>(platform, gl);
    view->OnCreate();
    view->OnSize(1024, 768);
    vmtest::ResetGlCounts();
  }

  // What every drawer must leave behind.
  void ExpectCleanState() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_TRUE(mask);
  }

  vm::ViewState& state() { return view->state; }

  vm::MemoryPlatform platform;
  CurrentContext gl;
  std::unique_ptr<vm::CVelmark3View> view;
};

}  // namespace vmtest
