// One steady-state frame of every scene, counted call by call, and the GL
// state each frame leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "scenes/scenes.h"
#include "tests/scenes/scene_fixture.h"
#include "tests/support/alloc_counter.h"

namespace {

using vm::BenchState;
using vmtest::gCube;
using vmtest::gGl;

// What one frame of each scene sends, from the scenes' definitions.
struct FrameWork {
  long spheres16;     // gluSphere 16 x 16
  long spheres32;     // gluSphere 32 x 32 (backdrop and globe)
  long quads;         // glBegin(GL_QUADS) pairs, four vertices each
  long lines;         // glBegin(GL_LINES) pairs, two vertices each
  long pointBatches;  // glBegin(GL_POINTS)
  long points;
  long cubes;       // DrawCube calls
  long texCoord2d;  // per mesh corner and textured tower corner
  long normals;     // glNormal3f, ours only
};

constexpr long kMesh250 = 249 * 250;  // (m - 1) x n
constexpr long kMesh200 = 199 * 200;

constexpr FrameWork kWork[vm::kSceneCount] = {
    {900, 0, 0, 0, 0, 0, 0, 0, 0},  // 1-4: wave
    {900, 0, 0, 0, 0, 0, 0, 0, 0},
    {900, 0, 0, 0, 0, 0, 0, 0, 0},
    {900, 0, 0, 0, 0, 0, 0, 0, 0},
    {900, 1, 0, 0, 0, 0, 0, 0, 0},  // 5: backdrop and wave
    {0, 232, 0, 0, 0, 0, 0, 0, 0},  // 6-9: backdrop and 21 x 11 globe
    {0, 232, 0, 0, 0, 0, 0, 0, 0},
    {0, 232, 0, 0, 0, 0, 0, 0, 0},
    {0, 232, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 12000, 0, 0, 0, 0, 0, 12000},  // 10: 4 towers of 3000
    {0, 0, 12000, 0, 0, 0, 0, 48000, 12000},
    {0, 0, 0, 0, 0, 0, 4096, 0, 0},  // 12-14: lattice
    {0, 0, 0, 0, 0, 0, 4096, 0, 0},
    {0, 0, 0, 0, 0, 0, 4096, 0, 0},
    {400, 1, 0, 441, 1, 10000, 0, 0, 0},                       // 15
    {0, 1, kMesh250, 0, 0, 0, 0, 4 * kMesh250, 4 * kMesh250},  // 16-20
    {0, 1, kMesh250, 0, 0, 0, 0, 4 * kMesh250, 4 * kMesh250},
    {0, 1, kMesh250, 0, 0, 0, 0, 4 * kMesh250, 4 * kMesh250},
    {0, 1, kMesh250, 0, 0, 0, 0, 4 * kMesh250, 4 * kMesh250},
    {0, 1, kMesh250, 0, 0, 0, 0, 4 * kMesh250, 4 * kMesh250},
    {0, 1, kMesh200, 0, 0, 0, 0, 4 * kMesh200, 4 * kMesh200},  // 21-23
    {0, 1, kMesh200, 0, 0, 0, 0, 4 * kMesh200, 4 * kMesh200},
    {0, 1, kMesh200, 0, 0, 0, 0, 4 * kMesh200, 4 * kMesh200},
    {0, 1, kMesh250, 0, 0, 0, 0, 4 * kMesh250, 4 * kMesh250},  // 24
};

class SceneFramesTest : public vmtest::SceneTest {
 protected:
  // After any benchmark frame: the matrix as found, and every switch the
  // renderers flip put back.
  static void ExpectCleanState(int scene) {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1) << "scene " << scene + 1;
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << "scene " << scene + 1;
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "scene " << scene + 1;
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "scene " << scene + 1;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "scene " << scene + 1;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)) << "scene " << scene + 1;
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T)) << "scene " << scene + 1;
    GLboolean writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
    EXPECT_EQ(writes, GL_TRUE) << "scene " << scene + 1;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "scene " << scene + 1;
  }
};

TEST_F(SceneFramesTest, EveryScenesFrameSendsItsWorkloadAndNothingElse) {
  for (int scene = 0; scene < vm::kSceneCount; ++scene) {
    SCOPED_TRACE(testing::Message() << "scene " << scene + 1);
    StartScene(scene);
    const long allocBefore = vmtest::Allocations();
    Frame();  // set-up frame
    ResetCounts();
    Frame();
    const long allocations = vmtest::Allocations() - allocBefore;
    EXPECT_EQ(allocations, 0);

    const FrameWork& w = kWork[scene];
    EXPECT_EQ(gGl.spheres[16][16], w.spheres16);
    EXPECT_EQ(gGl.spheres[32][32], w.spheres32);
    EXPECT_EQ(GL_COUNT(gluSphere), w.spheres16 + w.spheres32);
    EXPECT_EQ(gCube.calls, w.cubes);
    EXPECT_EQ(gCube.otherArguments, 0);

    // Our own primitives only; whatever DrawCube draws is its business.
    const long ownQuads = gGl.beginByMode[GL_QUADS] - gCube.inside[vmtest::kCall_glBegin];
    EXPECT_EQ(ownQuads, w.quads);
    EXPECT_EQ(gGl.beginByMode[GL_LINES], w.lines);
    EXPECT_EQ(gGl.verticesByMode[GL_LINES], 2 * w.lines);
    EXPECT_EQ(gGl.beginByMode[GL_POINTS], w.pointBatches);
    EXPECT_EQ(gGl.verticesByMode[GL_POINTS], w.points);
    EXPECT_EQ(GL_OWN(glBegin), w.quads + w.lines + w.pointBatches);
    EXPECT_EQ(GL_OWN(glEnd), GL_OWN(glBegin));
    EXPECT_EQ(GL_OWN(glVertex3f), 4 * w.quads + 2 * w.lines + w.points);
    EXPECT_EQ(GL_OWN(glTexCoord2d), w.texCoord2d);
    EXPECT_EQ(GL_OWN(glTexCoord2f), 0);
    EXPECT_EQ(GL_OWN(glNormal3f), w.normals);
    EXPECT_EQ(GL_COUNT(glPushMatrix), GL_COUNT(glPopMatrix));
    EXPECT_EQ(GL_COUNT(gluLookAt), 1);

    // One push per sphere, tower square or cube (mesh quads get none) around
    // the renderer's own few.
    const long towerSquares = w.normals == w.quads ? w.quads : 0;
    const long perItem = w.spheres16 + towerSquares + w.cubes + (w.spheres32 - (w.spheres32 > 0));
    EXPECT_GE(GL_OWN(glPushMatrix), perItem);
    EXPECT_LE(GL_OWN(glPushMatrix), perItem + 6);

    ExpectCleanState(scene);
    EXPECT_EQ(BenchState.sceneChanged, scene >= 20 ? 1 : 0);
  }
  // The counter sees the project's allocations at all.
  const long before = vmtest::Allocations();
  auto probe = std::make_unique<int>(1);
  EXPECT_GT(vmtest::Allocations(), before);
}

TEST_F(SceneFramesTest, SetUpFixesClearColourFogAndTextureGeneration) {
  auto clearRed = [] {
    GLfloat c[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    return c[0];
  };
  auto texGen = [] {
    GLint s = 0, t = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &s);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &t);
    EXPECT_EQ(s, t);
    return s;
  };
  for (int scene = 0; scene < vm::kSceneCount; ++scene) {
    SCOPED_TRACE(testing::Message() << "scene " << scene + 1);
    StartScene(scene);
    Frame();
    const bool fogged = scene == 9 || scene == 10;
    EXPECT_EQ(clearRed(), fogged ? 1.0f : 0.0f);
    EXPECT_EQ(glIsEnabled(GL_FOG), fogged ? GL_TRUE : GL_FALSE);
    if (fogged) {
      GLfloat start = 0, end = 0, colour[4];
      GLint mode = 0;
      glGetFloatv(GL_FOG_START, &start);
      glGetFloatv(GL_FOG_END, &end);
      glGetFloatv(GL_FOG_COLOR, colour);
      glGetIntegerv(GL_FOG_MODE, &mode);
      EXPECT_EQ(start, 10.0f);
      EXPECT_EQ(end, 25.0f);
      EXPECT_EQ(mode, GL_LINEAR);
      EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
    }
    if (scene == 8 || scene >= 15) {
      EXPECT_EQ(texGen(), GL_SPHERE_MAP);
    }
    if (scene == 13) {
      EXPECT_EQ(texGen(), GL_EYE_LINEAR);
    }
  }
}

TEST_F(SceneFramesTest, AnimationPhasesFollowTheirScenes) {
  vm::ViewState& v = view();
  v.frameAngle = 10;
  StartScene(0);
  Frame();
  EXPECT_FLOAT_EQ(v.frameAngle, 11);
  StartScene(15);  // mesh: +2, phase carried over
  Frame();
  EXPECT_FLOAT_EQ(v.frameAngle, 13);
  StartScene(17);  // the dome scenes restart at 90
  Frame();
  EXPECT_FLOAT_EQ(v.frameAngle, 92);

  // The towers use frameAngle as their running turn: ten turns, then + 1.
  StartScene(9);
  Frame();
  EXPECT_NEAR(v.frameAngle, 3601, 0.5);
  EXPECT_FLOAT_EQ(v.towerSpin, -4);
  Frame();
  EXPECT_FLOAT_EQ(v.towerSpin, -8);

  v.latticeAngle = 50;
  StartScene(11);
  Frame();
  EXPECT_FLOAT_EQ(v.latticeAngle, 1);
  Frame();
  EXPECT_FLOAT_EQ(v.latticeAngle, 2);
}

TEST_F(SceneFramesTest, LatticeCubesSitAtTheirEntriesUnderTheTurnedLattice) {
  gCube.recordModelview = true;
  StartScene(11);
  view().latticeAngle = 0;
  BenchState.sceneChanged = 0;  // keep the angle at 0
  Frame();
  // The camera matrix, then the entry's translation in lattice coordinates.
  glPushMatrix();
  vm::SceneCamera();
  glTranslatef(-4, -4, -4);
  GLfloat expected[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, expected);
  glLoadIdentity();
  vm::SceneCamera();
  glTranslatef(3.5f, 3.5f, 3.5f);
  GLfloat last[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, last);
  glPopMatrix();
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(gCube.firstModelview[i], expected[i], 1e-5) << i;
    EXPECT_NEAR(gCube.lastModelview[i], last[i], 1e-5) << i;
  }
  gCube.recordModelview = false;
}

TEST_F(SceneFramesTest, ProcessorTestRebuildsTheSameTerrainEveryFrame) {
  StartScene(20);
  Frame();
  const int point = 100 * vm::kGridSide + 100;
  std::vector<vm::GeoRecord> first(geo().grid, geo().grid + vm::kGridSide * 201);
  geo().grid[point].y = 99;
  geo().grid[point].vx = 99;
  Frame();
  EXPECT_EQ(std::memcmp(first.data(), geo().grid, sizeof(vm::GeoRecord) * first.size()), 0);
  EXPECT_EQ(BenchState.sceneChanged, 1);
}

TEST_F(SceneFramesTest, Scene17DrawsTheMeshOfTheLatestSurfaceSetUp) {
  const size_t used = sizeof(vm::GeoRecord) * vm::kGridSide * 252;
  StartScene(15);  // ripple shell
  Frame();
  std::vector<vm::GeoRecord> shell(geo().grid, geo().grid + vm::kGridSide * 252);
  StartScene(16);
  Frame();
  Frame();
  EXPECT_EQ(std::memcmp(shell.data(), geo().grid, used), 0);

  StartScene(17);  // rough dome
  Frame();
  std::vector<vm::GeoRecord> dome(geo().grid, geo().grid + vm::kGridSide * 252);
  EXPECT_NE(std::memcmp(shell.data(), dome.data(), used), 0);
  StartScene(16);
  Frame();
  EXPECT_EQ(std::memcmp(dome.data(), geo().grid, used), 0);
}

TEST_F(SceneFramesTest, SpotScenesKeepTheirLightsAndScene13ReloadsThePointRig) {
  auto cutoff = [](int light) {
    GLfloat c = 0;
    glGetLightfv(GL_LIGHT0 + light, GL_SPOT_CUTOFF, &c);
    return c;
  };
  StartScene(8);  // 4 spots: light 3 becomes a 10-degree spot
  Frame();
  EXPECT_EQ(cutoff(3), 10.0f);
  StartScene(12);  // 3 spots after the point rig: light 3 is a point light again
  Frame();
  EXPECT_EQ(cutoff(3), 180.0f);
  EXPECT_EQ(cutoff(2), 30.0f);
  StartScene(0);  // point scenes reload the rig
  Frame();
  EXPECT_EQ(cutoff(2), 180.0f);
}

TEST_F(SceneFramesTest, SceneOutsideTheCatalogueDrawsNothing) {
  for (int scene : {-1, 24}) {
    BenchState.currentScene = scene;
    BenchState.sceneChanged = 1;
    BenchState.spotlightsOn = 1;
    ResetCounts();
    Frame();
    EXPECT_EQ(BenchState.sceneChanged, 0);
    EXPECT_EQ(GL_COUNT(glBegin) + GL_COUNT(gluSphere) + GL_COUNT(glPushMatrix), 0);
    EXPECT_EQ(GL_COUNT(glMaterialfv), 0);  // no rig reload with the spots on
    BenchState.spotlightsOn = 0;
    BenchState.sceneChanged = 1;
    Frame();
    EXPECT_GT(GL_COUNT(glMaterialfv), 0);
    EXPECT_EQ(GL_COUNT(glBegin), 0);
  }
}

// Lists and reports name a scene as its progress label shows it while it
// runs.
TEST_F(SceneFramesTest, EachSceneIsNamedAsItsLabelShowsIt) {
  for (int scene = 0; scene < vm::kSceneCount; ++scene) {
    BenchState.currentScene = scene;
    vm::ApplySceneParameters();
    char label[256];
    ASSERT_TRUE(vm::FormatSceneLabel(label, sizeof label, scene, 50));
    EXPECT_NE(std::strstr(label, vm::SceneTable[scene].name), nullptr) << label;
  }
}

}  // namespace
