#include "render/lights.h"

#include <GL/gl.h>

#include <cmath>

#include "state/bench_state.h"
#include "tests/support/gl_context.h"

namespace {

using vm::BenchState;

class LightsTest : public vmtest::GlTest {
 protected:
  void SetUp() override {
    vmtest::GlTest::SetUp();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);
    glDisable(GL_LIGHTING);
  }
  static void ExpectLight(int i, GLenum pname, float a, float b, float c, float d) {
    GLfloat v[4] = {-9, -9, -9, -9};
    glGetLightfv(GL_LIGHT0 + i, pname, v);
    EXPECT_FLOAT_EQ(v[0], a) << "light " << i << " pname " << pname;
    EXPECT_FLOAT_EQ(v[1], b) << "light " << i << " pname " << pname;
    EXPECT_FLOAT_EQ(v[2], c) << "light " << i << " pname " << pname;
    EXPECT_FLOAT_EQ(v[3], d) << "light " << i << " pname " << pname;
  }
  static float Cutoff(int i) {
    GLfloat v = 0;
    glGetLightfv(GL_LIGHT0 + i, GL_SPOT_CUTOFF, &v);
    return v;
  }
  static int EnabledLights() {
    int n = 0;
    for (int i = 0; i < 8; ++i) n += glIsEnabled(GL_LIGHT0 + i) ? 1 : 0;
    return n;
  }
};

TEST_F(LightsTest, PointRigLoadsTableAndMaterialWithLightsOff) {
  glEnable(GL_LIGHT2);
  glEnable(GL_LIGHTING);
  vm::SetupPointLights();
  EXPECT_EQ(EnabledLights(), 0);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  ExpectLight(0, GL_AMBIENT, 0.1f, 0.1f, 0, 1);
  ExpectLight(0, GL_DIFFUSE, 0, 0, 0, 1);
  ExpectLight(0, GL_SPECULAR, 1, 1, 0, 1);
  ExpectLight(0, GL_POSITION, 1, 30, 1, 1);
  ExpectLight(3, GL_AMBIENT, 0.2f, 0.2f, 0, 1);
  ExpectLight(4, GL_DIFFUSE, 0.1f, 0.1f, 0.1f, 1);
  ExpectLight(5, GL_POSITION, 10, -20, 10, 1);
  ExpectLight(7, GL_AMBIENT, 0, 0, 0.2f, 1);
  ExpectLight(7, GL_SPECULAR, 1, 0, 0, 1);
  ExpectLight(7, GL_POSITION, 0, -10, 0, 1);
  for (int i = 0; i < 8; ++i) {
    EXPECT_FLOAT_EQ(Cutoff(i), 180.0f);
    GLfloat dir[3];
    glGetLightfv(GL_LIGHT0 + i, GL_SPOT_DIRECTION, dir);
    EXPECT_FLOAT_EQ(dir[2], -10.0f);
  }
  GLfloat m[4];
  glDisable(GL_COLOR_MATERIAL);
  glGetMaterialfv(GL_FRONT, GL_SPECULAR, m);
  EXPECT_FLOAT_EQ(m[0], 1);
  glGetMaterialfv(GL_FRONT, GL_EMISSION, m);
  EXPECT_FLOAT_EQ(m[3], 0);
  glGetMaterialfv(GL_FRONT, GL_SHININESS, m);
  EXPECT_FLOAT_EQ(m[0], 10);
}

TEST_F(LightsTest, EnableAndDisableFollowLightCount) {
  vm::SetupPointLights();
  struct Case {
    int count, enabled;
  } cases[] = {{0, 0}, {1, 1}, {8, 8}, {9, 0}, {-1, 0}};
  for (const Case& c : cases) {
    BenchState.lightCount = c.count;
    BenchState.lightingEnabled = 1;
    vm::EnableLights();
    EXPECT_EQ(EnabledLights(), c.enabled) << c.count;
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    vm::DisableLights();
    EXPECT_EQ(EnabledLights(), 0) << c.count;
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  }
  BenchState.lightCount = 2;
  BenchState.lightingEnabled = 0;
  vm::EnableLights();
  EXPECT_EQ(EnabledLights(), 2);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  vm::DisableLights();
}

TEST_F(LightsTest, SpotRigSweepsAndEnablesOnlyConfiguredSpots) {
  vm::SetupPointLights();
  BenchState.spotlightsOn = 1;
  BenchState.lightingEnabled = 0;
  const float start[4] = {10, 20, 30, 40};
  for (int i = 0; i < 4; ++i) BenchState.spotAngle[i] = start[i];

  BenchState.spotCount = 3;
  vm::SetupSpotLights();
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_FLOAT_EQ(BenchState.spotAngle[0], 12);
  EXPECT_FLOAT_EQ(BenchState.spotAngle[1], 32);
  EXPECT_FLOAT_EQ(BenchState.spotAngle[2], 34);
  EXPECT_FLOAT_EQ(BenchState.spotAngle[3], 40);
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
  EXPECT_FLOAT_EQ(Cutoff(3), 180.0f);  // spot 3 keeps its point settings

  GLfloat dir[3];
  glGetLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, dir);
  EXPECT_FLOAT_EQ(dir[0], static_cast<float>(0.25 * std::cos(20.0 * 0.01745)));
  EXPECT_FLOAT_EQ(dir[1], -1.0f);
  EXPECT_FLOAT_EQ(dir[2], static_cast<float>(0.3333333333333333 * std::sin(20.0 * 0.01745)));
  ExpectLight(2, GL_SPECULAR, 0, 0, 1, 1);
  ExpectLight(1, GL_POSITION, 0, 3, 0, 1);
  EXPECT_FLOAT_EQ(Cutoff(0), 40.0f);

  BenchState.spotCount = 9;  // acts as 4
  vm::SetupSpotLights();
  EXPECT_FLOAT_EQ(BenchState.spotAngle[3], 55);
  EXPECT_FLOAT_EQ(Cutoff(3), 10.0f);
  glGetLightfv(GL_LIGHT3, GL_SPOT_DIRECTION, dir);
  EXPECT_FLOAT_EQ(dir[2], static_cast<float>(0.5 * std::sin(40.0 * 0.0349)));

  BenchState.spotCount = 0;
  vm::SetupSpotLights();
  EXPECT_FLOAT_EQ(BenchState.spotAngle[0], 14);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

  BenchState.spotCount = 4;
  BenchState.spotlightsOn = 0;
  vmtest::ResetGlCounts();
  vm::SetupSpotLights();
  EXPECT_FLOAT_EQ(BenchState.spotAngle[0], 14);
  EXPECT_EQ(GL_COUNT(glDisable), 0);

  // The next point scene restores cut-off and positions.
  vm::SetupPointLights();
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(Cutoff(i), 180.0f);
  ExpectLight(0, GL_POSITION, 1, 30, 1, 1);
  ExpectLight(2, GL_SPECULAR, 1, 0, 0, 1);
}

}  // namespace
