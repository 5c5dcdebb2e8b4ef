// The intro and thanks screens: their animation phases, the state they leave
// behind, the particle field of the thanks screen and what one frame sends.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/bench_state.h"
#include "render/drawers.h"
#include "tests/screens/screens_fixture.h"

using vm::BenchState;

namespace {

using vmtest::ScreensTest;

TEST_F(ScreensTest, IntroAdvancesByFourAndWrapsOnceAbove360) {
  state().frameAngle = 0;
  for (int frame = 1; frame <= 90; ++frame) {
    vm::DrawIntroScreen(state());
    ASSERT_FLOAT_EQ(state().frameAngle, 4.0f * frame) << frame;  // 360 stays a frame
  }
  vm::DrawIntroScreen(state());
  EXPECT_FLOAT_EQ(state().frameAngle, 4.0f);

  // A large angle left by the scenes comes down by 356 a frame.
  state().frameAngle = 1000;
  vm::DrawIntroScreen(state());
  EXPECT_FLOAT_EQ(state().frameAngle, 644.0f);
  vm::DrawIntroScreen(state());
  EXPECT_FLOAT_EQ(state().frameAngle, 288.0f);
  vm::DrawIntroScreen(state());
  EXPECT_FLOAT_EQ(state().frameAngle, 292.0f);
}

TEST_F(ScreensTest, IntroSetsItsLightingAndSwitchesFogOff) {
  BenchState.lightCount = 7;
  BenchState.spotCount = 0;
  BenchState.lightingEnabled = 0;
  BenchState.spotlightsOn = 0;
  glEnable(GL_FOG);  // as a fog scene leaves it
  vm::DrawIntroScreen(state());
  EXPECT_EQ(BenchState.spotlightsOn, 1);
  EXPECT_EQ(BenchState.lightingEnabled, 1);
  EXPECT_EQ(BenchState.lightCount, 1);
  EXPECT_EQ(BenchState.spotCount, 4);
  EXPECT_FALSE(glIsEnabled(GL_FOG));
  ExpectCleanState();
  // The sky, then the sphere dots of the captions.
  EXPECT_GT(vmtest::gGl.spheres[8][8], 100);
}

TEST_F(ScreensTest, ThanksSeedsThreeHundredPointsOnItsFirstFrame) {
  vm::GeoRecord* p = state().geo.particles;
  p[300].active = 0;
  p[300].x = 42;
  std::srand(77);
  BenchState.sceneChanged = 1;
  vm::DrawThanksScreen(state());
  EXPECT_EQ(BenchState.sceneChanged, 0);

  // Replay the seven draws per record; the frame then moved each point once.
  std::srand(77);
  for (int i = 0; i < 300; ++i) {
    int a = std::rand() % 100;
    const float x = static_cast<float>((a - std::rand() % 100) * 0.1);
    a = std::rand() % 100;
    const float y = static_cast<float>((a - std::rand() % 100) * 0.1);
    a = std::rand() % 100;
    const float z = static_cast<float>((a - std::rand() % 100) * 0.1);
    const float vx = static_cast<float>(-0.1 - (std::rand() % 200) * 0.001);
    ASSERT_EQ(p[i].active, 1);
    ASSERT_FLOAT_EQ(p[i].y, y) << i;
    ASSERT_FLOAT_EQ(p[i].z, z) << i;
    ASSERT_FLOAT_EQ(p[i].vx, vx) << i;
    ASSERT_FLOAT_EQ(p[i].x, x + vx) << i;
    ASSERT_GE(vx, -0.299f - 1e-6f);
    ASSERT_LE(vx, -0.1f + 1e-6f);
    ASSERT_LE(std::fabs(y), 9.9f + 1e-5f);
  }
  EXPECT_EQ(p[300].active, 0);
  EXPECT_EQ(p[300].x, 42);

  // Later frames keep the field; a new command seeds a different one.
  const float x0 = p[0].x;
  vm::DrawThanksScreen(state());
  EXPECT_FLOAT_EQ(p[0].x, x0 + p[0].vx);
  const float y0 = p[0].y, y1 = p[1].y, y2 = p[2].y;
  BenchState.sceneChanged = 1;
  vm::DrawThanksScreen(state());
  EXPECT_FALSE(p[0].y == y0 && p[1].y == y1 && p[2].y == y2);
}

TEST_F(ScreensTest, ThanksPointsWrapBelowMinusTen) {
  BenchState.sceneChanged = 0;
  vm::GeoRecord* p = state().geo.particles;
  for (int i = 0; i < 300; ++i) p[i] = {1, 0, 0, 0, -0.1f, 0, 0};
  p[0].x = -9.95f;  // moves to -10.05: put back to 10
  p[1].x = -9.5f;   // lands exactly on -10: stays
  p[1].vx = -0.5f;
  p[2].x = 9.9f;
  vm::DrawThanksScreen(state());
  EXPECT_EQ(p[0].x, 10.0f);
  EXPECT_EQ(p[1].x, -10.0f);
  EXPECT_FLOAT_EQ(p[2].x, 9.8f);
}

TEST_F(ScreensTest, ThanksFrameSendsRingsPointsAndOneQuadPerCharacter) {
  BenchState.sceneChanged = 1;
  vm::DrawThanksScreen(state());
  vmtest::ResetGlCounts();
  const float angle = state().frameAngle;
  vm::DrawThanksScreen(state());
  EXPECT_FLOAT_EQ(state().frameAngle, angle + 1);  // no wrap here
  EXPECT_EQ(vmtest::gGl.spheres[8][8], 300);
  EXPECT_EQ(vmtest::gGl.beginByMode[GL_POINTS], 1);
  EXPECT_EQ(vmtest::gGl.verticesByMode[GL_POINTS], 300);
  // 9 + 14 + 16 + 24 + 32 characters in the five lines.
  EXPECT_EQ(vmtest::gGl.verticesByMode[GL_QUADS], 4 * 95);
  EXPECT_EQ(BenchState.lightingEnabled, 1);
  EXPECT_EQ(BenchState.lightCount, 3);
  ExpectCleanState();
}

}  // namespace
