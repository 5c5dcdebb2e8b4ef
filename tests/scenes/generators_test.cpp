// The geometry block's first contents and the grid generators, against the
// values the scenes are defined by.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "scenes/scenes.h"

namespace {

using vm::GeometryBlock;
using vm::GeoRecord;
using vm::kGridSide;

class GeneratorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    geo = std::make_unique<GeometryBlock>();
    vm::InitGeometryBlock(*geo);
  }
  GeoRecord& P(int c, int r) { return geo->grid[c * kGridSide + r]; }
  std::unique_ptr<GeometryBlock> geo;
};

void ExpectPoint(const GeoRecord& p, double x, double y, double z, double tol) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
  EXPECT_NEAR(p.z, z, tol);
}

TEST_F(GeneratorsTest, BlockStartsWithTheLatticeFreeParticlesAndZeroedGrid) {
  EXPECT_EQ(geo->latticeCount, 4096);
  const struct {
    int i;
    float x, y, z;
  } entries[] = {
      {0, -4, -4, -4}, {1, -3.5f, -4, -4}, {16, -4, -3.5f, -4}, {4095, 3.5f, 3.5f, 3.5f}};
  for (const auto& e : entries) {
    EXPECT_EQ(geo->latticeX[e.i], e.x) << e.i;
    EXPECT_EQ(geo->latticeY[e.i], e.y) << e.i;
    EXPECT_EQ(geo->latticeZ[e.i], e.z) << e.i;
  }
  EXPECT_EQ(geo->latticeZ[256], -3.5f);  // z varies slowest
  for (const GeoRecord& p : geo->particles) ASSERT_EQ(p.active, 0);
  for (const GeoRecord& p : geo->grid) {
    ASSERT_EQ(p.x, 0.0f);
    ASSERT_EQ(p.vy, 0.0f);
  }
}

TEST_F(GeneratorsTest, RippleShellPointsOnTheFullMesh) {
  vm::BuildRippleShell(*geo, 250, 250);
  ExpectPoint(P(0, 125), 0.0012, 0.0012, -4.0258, 6e-5);
  ExpectPoint(P(125, 0), 0.2653, 1.0239, 0.9890, 6e-5);
  ExpectPoint(P(0, 0), 0, 0, 0, 0);
  // Row 0 is a curve, not a point: its radius w (its height, as cos 0 = 1)
  // swings between 0 and about 1.15.
  double widest = 0, narrowest = 1;
  for (int c = 0; c <= 250; ++c) {
    widest = std::fmax(widest, P(c, 0).y);
    narrowest = std::fmin(narrowest, P(c, 0).y);
  }
  EXPECT_NEAR(widest, 1.15, 0.01);
  EXPECT_NEAR(narrowest, 0.0, 0.01);
  EXPECT_EQ(P(251, 0).x, 0.0f);  // nothing beyond column n
}

TEST_F(GeneratorsTest, FractalTerrainHeightsBeforeAndAfterSmoothing) {
  // Scene 21: q = -2 - 2i escapes at the first step.
  vm::BuildFractalTerrain(*geo, 200, 200, -2, -2, 4);
  ExpectPoint(P(0, 0), -5, 1.03125, -5, 1e-6);
  ExpectPoint(P(200, 200), 5, 1.03125, 5, 1e-6);
  vm::SmoothGridHeights(*geo, 200, 200);
  ExpectPoint(P(0, 0), -5, 1.03125, -5, 1e-6);

  // Scene 22: q = 0 never escapes, nor do its neighbours.
  vm::BuildFractalTerrain(*geo, 200, 200, -1, -1, 2);
  ExpectPoint(P(100, 100), 0, 3.0, 0, 1e-6);
  vm::SmoothGridHeights(*geo, 200, 200);
  EXPECT_EQ(P(100, 100).y, 3.0f);  // exactly, in single precision

  // Scenes 23 and 24 span real -1.5 .. 0.5.
  vm::BuildFractalTerrain(*geo, 200, 200, -1.5, -1, 2);
  EXPECT_FLOAT_EQ(P(150, 100).y, 3.0f);                 // q = 0
  EXPECT_FLOAT_EQ(P(200, 100).y, 1.0f + 5 * 0.03125f);  // q = 0.5 escapes at step 5
}

TEST_F(GeneratorsTest, SmoothingWorksInPlaceAndKeepsTheBorders) {
  const int n = 12, m = 9;
  for (int c = 0; c <= n + 1; ++c)
    for (int r = 0; r <= m + 1; ++r) P(c, r).y = static_cast<float>((c * 7 + r * r * 3) % 11);
  std::vector<GeoRecord> before(geo->grid, geo->grid + kGridSide * kGridSide);
  auto old = [&](int c, int r) { return before[c * kGridSide + r].y; };

  vm::SmoothGridHeights(*geo, n, m);

  for (int c = 0; c <= n; ++c) {
    EXPECT_EQ(P(c, 0).y, old(c, 0));
    EXPECT_EQ(P(c, m).y, old(c, m));
  }
  for (int r = 0; r <= m; ++r) {
    EXPECT_EQ(P(0, r).y, old(0, r));
    EXPECT_EQ(P(n, r).y, old(n, r));
  }
  // (1, 1) comes first and sees only original heights.
  double sum = 0;
  for (int c = 0; c <= 2; ++c)
    for (int r = 0; r <= 2; ++r) sum += old(c, r);
  EXPECT_NEAR(P(1, 1).y, sum * 0.11111111, 1e-5);
  // (2, 2) sees the smoothed row 1 and the smoothed (1, 2).
  sum = 0;
  for (int c = 1; c <= 3; ++c) sum += P(c, 1).y;
  sum += P(1, 2).y + old(2, 2) + old(3, 2) + old(1, 3) + old(2, 3) + old(3, 3);
  EXPECT_NEAR(P(2, 2).y, sum * 0.11111111, 1e-5);
  // Heights only.
  EXPECT_EQ(P(2, 2).x, before[2 * kGridSide + 2].x);
}

TEST_F(GeneratorsTest, NormalsAreUnitAndTheLastColumnLooksAtColumnNPlusOne) {
  vm::BuildRippleShell(*geo, 250, 250);
  vm::ComputeGridNormals(*geo, 250, 250);
  for (int r = 0; r < 250; ++r)
    for (int c = 0; c <= 250; ++c) {
      const GeoRecord& p = P(c, r);
      ASSERT_NEAR(std::sqrt(p.vx * p.vx + p.vy * p.vy + p.vz * p.vz), 1.0, 1e-5) << c << "," << r;
    }

  // A flat sheet whose neighbour column n + 1 is raised by 1.
  vm::InitGeometryBlock(*geo);
  const int n = 4, m = 3;
  for (int c = 0; c <= n + 1; ++c)
    for (int r = 0; r <= m; ++r) {
      P(c, r).x = static_cast<float>(c);
      P(c, r).z = static_cast<float>(r);
      P(c, r).y = c == n + 1 ? 1.0f : 0.0f;
    }
  P(0, m).vx = 7;  // row m gets no normal
  vm::ComputeGridNormals(*geo, n, m);
  EXPECT_FLOAT_EQ(P(1, 1).vy, -1.0f);
  EXPECT_NEAR(P(n, 0).vx, std::sqrt(0.5), 1e-6);
  EXPECT_NEAR(P(n, 0).vy, -std::sqrt(0.5), 1e-6);
  EXPECT_EQ(P(0, m).vx, 7.0f);
}

TEST_F(GeneratorsTest, CoincidentPointsGetAFiniteUpwardNormal) {
  vm::ComputeGridNormals(*geo, 3, 3);  // all points at the origin
  for (int c = 0; c <= 3; ++c)
    for (int r = 0; r < 3; ++r) {
      EXPECT_EQ(P(c, r).vx, 0.0f);
      EXPECT_EQ(P(c, r).vy, 1.0f);
      EXPECT_EQ(P(c, r).vz, 0.0f);
    }
}

TEST_F(GeneratorsTest, RoughDomeIsAJitteredHalfSphereBuiltAfreshEachTime) {
  vm::BuildRoughDome(*geo, 250, 250);
  std::vector<GeoRecord> first(geo->grid, geo->grid + kGridSide * kGridSide);
  for (int r = 0; r <= 250; ++r)
    for (int c = 0; c <= 250; ++c) {
      const GeoRecord& p = P(c, r);
      ASSERT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 6.0, 0.5) << c << "," << r;
      ASSERT_GT(p.x, -0.5f);  // x >= 0 but for the jitter near the rim
    }
  vm::BuildRoughDome(*geo, 250, 250);
  EXPECT_NE(std::memcmp(first.data(), geo->grid, sizeof(GeoRecord) * kGridSide * 251), 0);
}

TEST_F(GeneratorsTest, SizesBeyondTheGridAreCut) {
  vm::BuildFractalTerrain(*geo, 1000, 1000, -2, -2, 4);
  vm::SmoothGridHeights(*geo, 1000, 1000);
  vm::ComputeGridNormals(*geo, 1000, 1000);
  EXPECT_NE(P(254, 255).y, 0.0f);
  EXPECT_EQ(P(255, 0).y, 0.0f);  // column 255 is only read
  // Negative sizes do nothing.
  vm::InitGeometryBlock(*geo);
  vm::BuildRippleShell(*geo, -1, -1);
  vm::BuildRoughDome(*geo, -1, 5);
  vm::SmoothGridHeights(*geo, -1, -1);
  vm::ComputeGridNormals(*geo, -1, -1);
  for (const GeoRecord& p : geo->grid) ASSERT_EQ(p.y, 0.0f);
}

}  // namespace
