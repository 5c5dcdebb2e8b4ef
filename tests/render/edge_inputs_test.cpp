// Inputs at and beyond the edges of the drawers' tables: nothing is read or
// written past a table, nothing divides by zero, and what cannot be drawn is
// reported or skipped. The scenes' own workload is tests/scenes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "render/lights.h"
#include "render/primitives.h"
#include "render/textures.h"
#include "results/result_table.h"
#include "scenes/scenes.h"
#include "tests/scenes/scene_fixture.h"
#include "tests/support/alloc_counter.h"

namespace {

using vm::BenchState;
using EdgeInputs = vmtest::SceneTest;

GLint BoundTexture() {
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  return bound;
}

TEST_F(EdgeInputs, IndexesOutsideTheirTablesDrawNothingFromThem) {
  for (int index : {-2, 4, 7}) {
    glBindTexture(GL_TEXTURE_2D, 0);
    vm::DrawCube(view(), 0, 0, 0, 0.1f, 0.1f, 0.1f, index, index);
    EXPECT_EQ(BoundTexture(), 0) << index;
    ResetCounts();
    vm::DrawSkySphere(view(), index, 0.5f);
    EXPECT_EQ(GL_COUNT(glBindTexture), 0) << index;
  }
  // Characters without a glyph or a font cell take no dots and no quads.
  ResetCounts();
  vm::DrawSphereText(view(), " a7?\x80\xff", 0, 0, 0, 1, 1, 1, 1, 2, 0);
  vm::DrawSphereText(view(), nullptr, 0, 0, 0, 1, 1, 1, 1, 2, 0);
  EXPECT_EQ(GL_COUNT(gluSphere), 0);
  vm::DrawQuadText(view(), "\t\x80\x01\xff", 0, 0, 0, 16, 1, 1, 1);
  vm::DrawQuadText(view(), "A\xff", 0, 0, 0, 16, 1, 1, 1);
  EXPECT_EQ(vmtest::gGl.verticesByMode[GL_QUADS], 4);

  for (int count : {9, -1, 1000}) {
    BenchState.lightCount = count;
    BenchState.lightingEnabled = 1;
    vm::EnableLights();
    int on = 0;
    for (int i = 0; i < 8; ++i) on += glIsEnabled(GL_LIGHT0 + i);
    EXPECT_EQ(on, 0) << count;
    vm::DisableLights();
  }
  BenchState.spotlightsOn = 1;
  BenchState.spotCount = 1000;  // acts as 4
  vm::SetupSpotLights();
  vm::DisableLights();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(EdgeInputs, GridSizesAreCutToTheGridAndFlatPointsGetAFiniteNormal) {
  vm::GeometryBlock& g = geo();
  vm::BuildFractalTerrain(g, 1000, 1000, -2, -2, 4);
  vm::SmoothGridHeights(g, 1000, 1000);
  vm::ComputeGridNormals(g, 1000, 1000);
  vm::BuildRippleShell(g, 1000, 1000);
  vm::BuildRoughDome(g, 1000, 1000);
  vm::InitGeometryBlock(g);
  vm::BuildRippleShell(g, -1, -1);
  vm::BuildRoughDome(g, -1, 5);
  vm::SmoothGridHeights(g, -1, -1);
  vm::ComputeGridNormals(g, -1, -1);
  for (const vm::GeoRecord& p : g.grid) ASSERT_EQ(p.y, 0.0f);

  vm::ComputeGridNormals(g, 3, 3);  // every point at the origin
  for (int c = 0; c <= 3; ++c)
    for (int r = 0; r < 3; ++r) EXPECT_EQ(g.grid[c * vm::kGridSide + r].vy, 1.0f) << c << r;
}

TEST_F(EdgeInputs, FullTablesDropWhatDoesNotFitWithoutAllocating) {
  StartScene(14);  // the fountain, its particle table full
  Frame();
  for (vm::GeoRecord& p : geo().particles) p = {1, 0.0f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  Frame();
  for (const vm::GeoRecord& p : geo().particles) ASSERT_NEAR(p.y, 99.99, 1e-4);  // only fell

  std::memset(vm::ResultTable, 0, sizeof vm::ResultTable);
  for (int i = 0; i < vm::kResultRows; ++i) {
    std::strcpy(vm::ResultTable[i].computerName, "A MACHINE WITH A LONG NAME\n");
    vm::ResultTable[i].averageFps = 1e9f;
  }
  vm::lastResultIndex = vm::kResultRows - 1;
  vm::DrawGraphicResults(view());
  const long before = vmtest::Allocations();
  vm::DrawGraphicResults(view());
  EXPECT_EQ(vmtest::Allocations() - before, 0);
  vm::lastResultIndex = -1;
}

TEST_F(EdgeInputs, AMinimisedWindowKeepsTheProjectionAndAMissingPictureIsReported) {
  GLdouble before[16], after[16];
  glGetDoublev(GL_PROJECTION_MATRIX, before);
  view_->OnSize(640, 0);
  view_->OnSize(0, 480);
  glGetDoublev(GL_PROJECTION_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]);

  EXPECT_EQ(vm::LoadTexture(view(), platform_, 999, 2), 1);
  EXPECT_EQ(platform_.messages, std::vector<std::string>{"Error Loading Texture"});
}

// A fast card's frame takes well under a millisecond: timed to the
// microsecond, never rounded to 0 or 1 ms.
TEST_F(EdgeInputs, SubMillisecondFramesAreTimedToTheMicrosecond) {
  BenchState.currentScene = 3;
  float sum = BenchState.sceneTime[3] = 0.5f;
  for (int stepUs : {7000, 100, 1}) {
    platform_.clockStepUs = stepUs;  // between the view's two clock reads
    view_->OnDraw();
    sum += stepUs * 1e-6f;
    EXPECT_FLOAT_EQ(BenchState.sceneTime[3], sum) << stepUs;
  }
}

}  // namespace
