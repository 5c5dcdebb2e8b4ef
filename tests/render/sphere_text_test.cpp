#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <set>
#include <tuple>

#include "render/lights.h"
#include "render/primitives.h"
#include "state/bench_state.h"
#include "tests/support/gl_context.h"
#include "tests/support/sim_app.h"

namespace {

using vm::BenchState;

class SphereTextTest : public vmtest::GlTest {
 protected:
  void SetUp() override {
    vmtest::GlTest::SetUp();
    vmtest::ResetBenchState();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    view.quadric = gluNewQuadric();
  }
  void TearDown() override {
    if (view.quadric) gluDeleteQuadric(view.quadric);
  }
  // Flat text, no light calls: only the spheres.
  void Flat(const char* text, float x = 0, float y = 0, float z = 0, float scale = 1) {
    vmtest::ResetGlCounts();
    vm::DrawSphereText(view, text, x, y, z, 1, 1, 1, scale, 2, 0);
  }
  static long Spheres() { return vmtest::gGl.spheres[8][8]; }
  vm::ViewState view;
};

TEST_F(SphereTextTest, EveryGlyphHasItsDotCount) {
  const char* chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ.";
  const int dots[] = {22, 24, 15, 20, 21, 15, 20, 23, 15, 14, 15, 11, 19, 19,
                      20, 16, 21, 21, 21, 11, 17, 13, 17, 13, 10, 19, 5};
  for (int i = 0; chars[i]; ++i) {
    const char text[2] = {chars[i], 0};
    Flat(text);
    EXPECT_EQ(Spheres(), dots[i]) << text;
    EXPECT_EQ(GL_COUNT(gluSphere), dots[i]) << text;  // all of them 8 x 8
    EXPECT_EQ(GL_COUNT(glPushMatrix), dots[i]) << text;
    EXPECT_EQ(GL_COUNT(glPopMatrix), dots[i]) << text;
  }
  for (const char* none : {"", " ", "a", "7", "?"}) {
    Flat(none);
    EXPECT_EQ(GL_COUNT(gluSphere), 0) << '"' << none << '"';
  }
}

TEST_F(SphereTextTest, DotsSitOnTheirColumnsAndRowsAtOneStepRadius) {
  // F: rows 2 and 5 are bars of 6 and 4 dots, the stem is column 2.
  Flat("F", 1, 2, 3, 2);
  std::set<std::tuple<float, float, float>> got, want;
  for (int i = 0; i < vmtest::gGl.spheresLogged; ++i) {
    const float* s = vmtest::gGl.sphereAt[i];
    got.insert({s[0], s[1], s[2]});
    EXPECT_FLOAT_EQ(s[3], 0.5f);
  }
  auto dot = [&](int column, int row) {
    want.insert({1 + (column - 1) / 2.0f, 2.0f, 3 + (row - 1) / 2.0f});
  };
  for (int c = 2; c <= 7; ++c) dot(c, 2);
  for (int c = 3; c <= 5; ++c) dot(c, 5);
  for (int r = 3; r <= 8; ++r) dot(2, r);
  EXPECT_EQ(got, want);
}

// Smallest x of the last `n` spheres drawn.
float LeftOfLast(int n) {
  float left = 1e9f;
  for (int i = vmtest::gGl.spheresLogged - n; i < vmtest::gGl.spheresLogged; ++i)
    left = std::fmin(left, vmtest::gGl.sphereAt[i][0]);
  return left;
}

TEST_F(SphereTextTest, SpaceAdvancesHalfACellEverythingElseAWholeOne) {
  const struct {
    const char* text;
    float cells;  // where the final L's cell starts
  } cases[] = {{"L", 0}, {" L", 0.5f}, {"  L", 1}, {".L", 1}, {"aL", 1}, {"A L", 1.5f}};
  for (const auto& c : cases) {
    Flat(c.text, 10, 0, 0, 4);
    // L's stem is column 3, two steps into its cell.
    EXPECT_FLOAT_EQ(LeftOfLast(11), 10 + c.cells * 8 / 4 + 0.5f) << c.text;
  }
}

TEST_F(SphereTextTest, WaveMovesEachLetterAlongZByItsPhase) {
  view.frameAngle = 10;
  Flat("A B", 0, 0, 5);
  float flat[128][4];
  const int n = vmtest::gGl.spheresLogged;
  ASSERT_EQ(n, 22 + 24);
  std::copy(&vmtest::gGl.sphereAt[0][0], &vmtest::gGl.sphereAt[0][0] + n * 4, &flat[0][0]);

  vmtest::ResetGlCounts();
  vm::DrawSphereText(view, "A B", 0, 0, 5, 1, 1, 1, 1, 2, 1);
  ASSERT_EQ(vmtest::gGl.spheresLogged, n);
  // The space counts in the phase: B is two characters on, 60 degrees.
  const float bobA = static_cast<float>(std::cos(10.0f * 0.01745));
  const float bobB = static_cast<float>(std::cos(70.0f * 0.01745));
  for (int i = 0; i < n; ++i) {
    const float* s = vmtest::gGl.sphereAt[i];
    EXPECT_FLOAT_EQ(s[0], flat[i][0]);
    EXPECT_NEAR(s[2] - flat[i][2], i < 22 ? bobA : bobB, 1e-5) << i;
  }

  vmtest::ResetGlCounts();
  vm::DrawSphereText(view, "A B", 0, 0, 5, 1, 1, 1, 1, 2, 3);
  EXPECT_EQ(GL_COUNT(gluSphere), 0);
}

TEST_F(SphereTextTest, WithoutAQuadricNothingIsDrawnAndNothingCrashes) {
  gluDeleteQuadric(view.quadric);
  view.quadric = nullptr;
  vm::DrawSphereText(view, "AB", 0, 0, 0, 1, 1, 1, 1, 0, 1);
  vm::DrawSphereText(view, nullptr, 0, 0, 0, 1, 1, 1, 1, 0, 1);
  EXPECT_EQ(GL_COUNT(gluSphere), 0);
}

TEST_F(SphereTextTest, LightModesBracketTheTextEvenWhenItIsEmpty) {
  BenchState.lightingEnabled = 1;
  BenchState.lightCount = 2;
  BenchState.spotlightsOn = 1;
  BenchState.spotCount = 2;
  vm::SetupPointLights();
  for (int mode : {0, 1, 2}) {
    for (const char* text : {"", "AB"}) {
      BenchState.spotAngle[0] = BenchState.spotAngle[1] = 0;
      vmtest::ResetGlCounts();
      vm::DrawSphereText(view, text, 0, 0, 0, 0.5f, 0.25f, 1, 1, mode, 1);
      // EnableLights: two lights and lighting; the spot rig: two spots and lighting.
      EXPECT_EQ(GL_COUNT(glEnable), mode == 2 ? 0 : 3) << mode << " " << text;
      EXPECT_EQ(BenchState.spotAngle[1], mode == 1 ? 12.0f : 0.0f) << mode << " " << text;
      EXPECT_EQ(GL_COUNT(glColor3f), 1);
      EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
      EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
      EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    }
  }
  GLfloat c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_FLOAT_EQ(c[1], 0.25f);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  EXPECT_FLOAT_EQ(m[12], 0);
  EXPECT_FLOAT_EQ(m[0], 1);
}

}  // namespace
