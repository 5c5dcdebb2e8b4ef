// The renderers on their own: the backdrop's colour and texture rules, and
// degenerate sizes that draw nothing but keep every other frame rule.
#include <gtest/gtest.h>

#include "render/lights.h"
#include "scenes/scenes.h"
#include "tests/scenes/scene_fixture.h"

namespace {

using vm::BenchState;
using vmtest::gCube;
using vmtest::gGl;

class RenderersTest : public vmtest::SceneTest {
 protected:
  static float CurrentGrey() {
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_EQ(c[0], c[1]);
    EXPECT_EQ(c[1], c[2]);
    return c[0];
  }
  static void ExpectMatrixRestored() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(GL_COUNT(glPushMatrix), GL_COUNT(glPopMatrix));
  }
};

TEST_F(RenderersTest, SkySphereLeavesItsGreyAndTheLightsAsTheSceneWantsThem) {
  BenchState.lightingEnabled = 1;
  BenchState.lightCount = 2;
  vm::DrawSkySphere(view(), 1, 0.4f);
  EXPECT_FLOAT_EQ(CurrentGrey(), 0.4f);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
  EXPECT_EQ(GL_COUNT(glBindTexture), 1);
  EXPECT_EQ(gGl.spheres[32][32], 1);
  ExpectMatrixRestored();

  // No texture index, or one the view does not have: plain, and the caller's
  // texturing is left alone.
  glEnable(GL_TEXTURE_2D);
  BenchState.lightingEnabled = 0;
  for (int index : {-1, 4}) {
    ResetCounts();
    vm::DrawSkySphere(view(), index, 0.2f);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(GL_COUNT(glBindTexture), 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FLOAT_EQ(CurrentGrey(), 0.2f);
  }
  glDisable(GL_TEXTURE_2D);
  vm::DisableLights();
}

TEST_F(RenderersTest, DegenerateSizesDrawNothingButKeepTheFrameRules) {
  vm::ViewState& v = view();
  BenchState.lightingEnabled = 1;
  BenchState.lightCount = 1;
  BenchState.spotlightsOn = 1;
  BenchState.spotCount = 4;

  BenchState.towerQuads = 0;
  vm::DrawTowers(v, 2);
  EXPECT_EQ(GL_COUNT(glBegin), 0);
  EXPECT_FLOAT_EQ(v.towerSpin, -4);

  BenchState.gridRows = 0;
  BenchState.gridColumns = 30;
  vm::DrawSphereWave(v, 3);

  BenchState.stackCount = -1;
  BenchState.sliceCount = -1;
  const float angle = v.frameAngle;
  vm::DrawSphereGlobe(v, 3);
  EXPECT_FLOAT_EQ(v.frameAngle, angle + 1);
  EXPECT_EQ(GL_COUNT(gluSphere), 0);

  BenchState.sliceCount = 250;
  BenchState.stackCount = 1;
  vm::DrawSurfaceMesh(v, 3);
  EXPECT_FLOAT_EQ(v.frameAngle, angle + 3);
  EXPECT_EQ(GL_COUNT(glBegin), 0);
  EXPECT_EQ(GL_COUNT(glDepthMask), 2);

  v.geo.latticeCount = 0;
  vm::DrawCubeLattice(v, 3);
  EXPECT_EQ(gCube.calls, 0);
  EXPECT_FLOAT_EQ(v.latticeAngle, 1);

  ExpectMatrixRestored();
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  GLboolean writes = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
  EXPECT_EQ(writes, GL_TRUE);
}

}  // namespace
