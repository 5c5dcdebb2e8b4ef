// The particle fountain of scene 15: births at the line tips, bounces on the
// floor level, and a full table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "scenes/scenes.h"
#include "tests/scenes/scene_fixture.h"

namespace {

using vm::BenchState;
using vm::GeoRecord;

class ParticlesTest : public vmtest::SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    StartScene(14);
  }
  int Live() {
    int n = 0;
    for (const GeoRecord& p : geo().particles) n += p.active;
    return n;
  }
};

TEST_F(ParticlesTest, FirstFrameBirthsFillTheLowestIndicesAndTakeTheirFirstStep) {
  std::srand(1234);
  int expected = 0, firstLine = -1;
  for (int line = 0; line < 21 * 21; ++line)
    if (std::rand() % 3 == 2) {
      if (firstLine < 0) firstLine = line;
      ++expected;
    }
  std::srand(1234);
  Frame();

  EXPECT_EQ(Live(), expected);
  EXPECT_GT(expected, 100);
  EXPECT_LT(expected, 200);
  for (int i = 0; i < vm::kParticleCount; ++i)
    ASSERT_EQ(geo().particles[i].active, i < expected ? 1 : 0) << i;

  // Record 0 was born at the tip of the first spawning line, moving outwards
  // at 0.05 x its position, and has already taken one step with gravity.
  const int d = firstLine / 21, h = firstLine % 21;
  const double k = 0.01745;
  const double l = 2 * std::sin(d * 9.0f * k), y = 2 * std::cos(d * 9.0f * k);
  const double phi = (h * 18.0f - 90.0f) * k;
  const double t = l * std::cos(phi), u = l * std::sin(phi);
  const GeoRecord& p = geo().particles[0];
  EXPECT_NEAR(p.x, t * 1.05, 1e-5);
  EXPECT_NEAR(p.y, y * 1.05 - 0.01, 1e-5);
  EXPECT_NEAR(p.z, u * 1.05, 1e-5);
  EXPECT_NEAR(p.vy, 0.05 * y - 0.01, 1e-6);
}

TEST_F(ParticlesTest, BounceHalvesAndReversesTheFallAndEndsSlowParticles) {
  Frame();  // set-up: all free, then the first births
  GeoRecord& fast = geo().particles[9998];
  GeoRecord& slow = geo().particles[9999];
  fast = {1, 2.0f, -7.9f, 3.0f, 0.0f, -0.24f, 0.01f};  // -0.25 after gravity
  slow = {1, 2.0f, -7.9f, 3.0f, 0.0f, -0.14f, 0.01f};  // -0.15 after gravity
  Frame();

  EXPECT_EQ(fast.active, 1);
  EXPECT_NEAR(fast.vy, 0.125, 1e-6);
  EXPECT_NEAR(fast.y, -7.9 - 0.25 + 0.125, 1e-5);
  EXPECT_NEAR(fast.z, 3.01, 1e-6);  // vz is never kicked
  EXPECT_EQ(fast.vz, 0.01f);
  EXPECT_LE(std::fabs(fast.vx), 2 * 99 * 0.0002 + 1e-6);

  EXPECT_EQ(slow.active, 0);  // freed, but it completed the step
  EXPECT_NEAR(slow.vy, 0.075, 1e-6);
  EXPECT_NEAR(slow.y, -7.9 - 0.15 + 0.075, 1e-5);

  // A freed record no longer moves.
  const float y = slow.y;
  Frame();
  EXPECT_EQ(slow.y, y);
}

TEST_F(ParticlesTest, FullTableDropsBirthsAndFreedSlotsAreReusedLowestFirst) {
  Frame();
  for (GeoRecord& p : geo().particles) p = {1, 0.0f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  Frame();
  EXPECT_EQ(Live(), vm::kParticleCount);
  for (const GeoRecord& p : geo().particles) ASSERT_NEAR(p.y, 99.99, 1e-4);  // only fell

  geo().particles[9000].active = 0;
  geo().particles[5].active = 0;
  Frame();
  EXPECT_EQ(Live(), vm::kParticleCount);
  EXPECT_LT(geo().particles[5].y, 3.0f);  // reborn near the burst
  EXPECT_LT(geo().particles[9000].y, 3.0f);
  EXPECT_GT(geo().particles[6].y, 99.0f);

  // The scene's set-up frees every record and keeps their positions.
  StartScene(14);
  vm::SetupScene(view());
  EXPECT_EQ(Live(), 0);
  EXPECT_GT(geo().particles[6].y, 99.0f);
}

}  // namespace
