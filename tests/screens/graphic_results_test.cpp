// The graphic results: one labelled bar per row of the result table, the
// camera on the wheel, and a frame that leaves nothing behind.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "results/result_table.h"
#include "screens/screens.h"
#include "tests/screens/screens_fixture.h"
#include "tests/support/alloc_counter.h"
#include "tests/support/cube_calls.h"

namespace {

struct QuadText {
  std::string text;
  float x, y, z, size, r, g, b;
};
std::vector<QuadText> gTexts;
bool gRecordTexts = false;

}  // namespace

// vm::DrawQuadText(ViewState&, const char*, float x7), seen from its callers.
#define VM_QUAD_TEXT _ZN2vm12DrawQuadTextERNS_9ViewStateEPKcfffffff
#define VM_CAT2(a, b) a##b
#define VM_CAT(a, b) VM_CAT2(a, b)
extern "C" void VM_CAT(__real_, VM_QUAD_TEXT)(vm::ViewState&, const char*, float, float, float,
                                              float, float, float, float);
extern "C" void VM_CAT(__wrap_, VM_QUAD_TEXT)(vm::ViewState& view, const char* text, float x,
                                              float y, float z, float size, float r, float g,
                                              float b) {
  if (gRecordTexts) gTexts.push_back({text, x, y, z, size, r, g, b});
  VM_CAT(__real_, VM_QUAD_TEXT)(view, text, x, y, z, size, r, g, b);
}

namespace {

class GraphicResultsTest : public vmtest::ScreensTest {
 protected:
  void SetUp() override {
    vmtest::ScreensTest::SetUp();
    std::memset(vm::ResultTable, 0, sizeof vm::ResultTable);
    vm::lastResultIndex = -1;
    gTexts.clear();
    vmtest::ResetCubeCalls();
  }
  void TearDown() override {
    gRecordTexts = false;
    vmtest::ResetCubeCalls();
  }
  static void Row(int i, const char* name, float average, int thisMachine = 0) {
    std::strcpy(vm::ResultTable[i].computerName, name);
    vm::ResultTable[i].averageFps = average;
    vm::ResultTable[i].isThisMachine = thisMachine;
    if (i > vm::lastResultIndex) vm::lastResultIndex = i;
  }
  // The modelview matrix a fresh gluLookAt gives.
  static std::vector<float> LookAt(double ex, double ey, double ez, double cz) {
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(ex, ey, ez, 0, 0, cz, 0, 1, 0);
    std::vector<float> m(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    glPopMatrix();
    return m;
  }
  void Frame() {
    gTexts.clear();
    vmtest::ResetCubeCalls();
    vmtest::gCube.recordArguments = true;
    vmtest::gCube.recordModelview = true;
    gRecordTexts = true;
    vm::DrawGraphicResults(state());
    gRecordTexts = false;
  }
};

void ExpectText(const QuadText& t, const char* text, float x, float y, float z, float r, float g,
                float b) {
  EXPECT_EQ(t.text, text);
  EXPECT_FLOAT_EQ(t.x, x) << text;
  EXPECT_FLOAT_EQ(t.y, y) << text;
  EXPECT_FLOAT_EQ(t.z, z) << text;
  EXPECT_FLOAT_EQ(t.size, 0.2f) << text;
  EXPECT_EQ(t.r, r) << text;
  EXPECT_EQ(t.g, g) << text;
  EXPECT_EQ(t.b, b) << text;
}

TEST_F(GraphicResultsTest, EachRowIsABarLabelledAtItsEndInTheRowsColour) {
  Row(0, "FAST BOX\n", 50.0f);
  Row(1, "", 30.25f, 1);
  Row(2, "SLOW BOX\n", 20.5f);
  Row(3, "SLOWER BOX\n", 10.0f);
  Frame();

  ASSERT_EQ(gTexts.size(), 8u);
  ExpectText(gTexts[0], "FAST BOX\n", 5.0f, 1.0f, 0.2f, 1, 0, 0);
  ExpectText(gTexts[1], "Index : 5000", 5.0f, 0.5f, 0.2f, 1, 0, 0);
  ExpectText(gTexts[2], "This Computer", 3.025f, 1.0f, 2.2f, 1, 1, 1);
  ExpectText(gTexts[3], "Index : 3025", 3.025f, 0.5f, 2.2f, 1, 1, 1);
  ExpectText(gTexts[4], "SLOW BOX\n", 2.05f, 1.0f, 4.2f, 1, 0, 0);
  ExpectText(gTexts[5], "Index : 2050", 2.05f, 0.5f, 4.2f, 1, 0, 0);
  ExpectText(gTexts[6], "SLOWER BOX\n", 1.0f, 1.0f, 6.2f, 0, 0, 1);
  ExpectText(gTexts[7], "Index : 1000", 1.0f, 0.5f, 6.2f, 0, 0, 1);

  // Each bar after its texts, untextured, in the colour they left.
  ASSERT_EQ(vmtest::gCube.calls, 4);
  const float lengths[] = {5.0f, 3.025f, 2.05f, 1.0f};
  const float colours[][3] = {{1, 0, 0}, {1, 1, 1}, {1, 0, 0}, {0, 0, 1}};
  for (int i = 0; i < 4; ++i) {
    const vmtest::CubeArgs& a = vmtest::gCube.args[i];
    EXPECT_EQ(a.px, 0.0f) << i;
    EXPECT_EQ(a.py, 0.0f) << i;
    EXPECT_EQ(a.pz, 2.0f * i) << i;
    EXPECT_FLOAT_EQ(a.sx, lengths[i]) << i;
    EXPECT_FLOAT_EQ(a.sy, 0.3f) << i;
    EXPECT_FLOAT_EQ(a.sz, 0.3f) << i;
    EXPECT_EQ(a.side, -1) << i;
    EXPECT_EQ(a.cap, 0) << i;
    for (int c = 0; c < 3; ++c) EXPECT_EQ(a.color[c], colours[i][c]) << i << " " << c;
  }

  // Seen from the start camera; the frame leaves the matrix as it was.
  const std::vector<float> start = LookAt(5, 5, 15, 0);
  for (int k = 0; k < 16; ++k) EXPECT_FLOAT_EQ(vmtest::gCube.firstModelview[k], start[k]) << k;
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(m[k], (k % 5 == 0) ? 1.0f : 0.0f) << k;
  ExpectCleanState();
}

TEST_F(GraphicResultsTest, EmptyTableDrawsNothingButTheBackground) {
  vmtest::ResetGlCounts();
  Frame();
  EXPECT_TRUE(gTexts.empty());
  EXPECT_EQ(vmtest::gCube.calls, 0);
  EXPECT_EQ(GL_COUNT(glBegin), 0);
  EXPECT_EQ(GL_COUNT(glClear), 0);
  ExpectCleanState();
}

// What the user sees: the bars in their colours where the camera looks.
TEST_F(GraphicResultsTest, BarsShowInFlatColourInTheView) {
  Row(0, "RED\n", 40.0f);
  Row(1, "BLUE\n", 20.0f);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  vm::DrawGraphicResults(state());

  GLdouble model[16], proj[16];
  GLint viewport[4];
  glPushMatrix();
  gluLookAt(5, 5, 15, 0, 0, 0, 0, 1, 0);
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glPopMatrix();
  glGetDoublev(GL_PROJECTION_MATRIX, proj);
  glGetIntegerv(GL_VIEWPORT, viewport);
  auto pixel = [&](double x, double y, double z) {
    GLdouble wx, wy, wz;
    gluProject(x, y, z, model, proj, viewport, &wx, &wy, &wz);
    unsigned char rgb[4] = {};
    glReadPixels(static_cast<int>(wx), static_cast<int>(wy), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgb);
    return (rgb[0] > 200 ? 4 : 0) | (rgb[1] > 200 ? 2 : 0) | (rgb[2] > 200 ? 1 : 0);
  };
  // Front faces (z + 0.3), halfway along each bar; beyond its end, nothing.
  EXPECT_EQ(pixel(-2.0, 0.0, 0.3), 4);  // bar 0 spans x -4..4
  EXPECT_EQ(pixel(1.0, 0.0, 2.3), 1);   // bar 1 spans x -2..2
  EXPECT_EQ(pixel(3.0, -0.2, 2.3), 0);
}

// The wheel's arithmetic is the view's (tests/render); here, where it takes
// the camera: eye and centre slide together along z.
TEST_F(GraphicResultsTest, ZoomSlidesEyeAndCentreTogether) {
  Row(0, "ONE\n", 10.0f);
  state().resultsZoom = 16.2f;
  Frame();
  const std::vector<float> moved = LookAt(5, 5, 16.2f, 16.2f - 15);
  for (int k = 0; k < 16; ++k) EXPECT_FLOAT_EQ(vmtest::gCube.firstModelview[k], moved[k]) << k;
}

TEST_F(GraphicResultsTest, AFullTableAllocatesNothing) {
  for (int i = 0; i < vm::kResultRows; ++i) Row(i, "A MACHINE WITH A LONG NAME\n", 128.0f - i);
  vm::DrawGraphicResults(state());
  const long before = vmtest::Allocations();
  vm::DrawGraphicResults(state());
  EXPECT_EQ(vmtest::Allocations() - before, 0);
  ExpectCleanState();
}

}  // namespace
