#include "validate/validation.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vm {
namespace {

// A scene's picture does not depend on what was drawn before it, and a run
// timed after validation starts from the state and random sequence it would
// have had without it.
TEST(Validation, FramesAreIndependentAndTheRunsStateIsKept) {
  BenchState.currentScene = 5;
  BenchState.spotAngle[2] = 123.0f;
  const BenchStateData before = BenchState;
  std::srand(1);
  const int firstRandom = std::rand();
  std::srand(77);
  {
    ValidationRenderer renderer(EglPlatform::kAuto, 0, stderr);
    std::string error;
    ASSERT_TRUE(renderer.Open(error)) << error;
    RgbImage first, other, again;
    ASSERT_TRUE(renderer.Render(16, first, error)) << error;
    ASSERT_TRUE(renderer.Render(0, other, error)) << error;
    ASSERT_TRUE(renderer.Render(16, again, error)) << error;
    EXPECT_EQ(first.width, kValidationWidth);
    EXPECT_TRUE(first.pixels == again.pixels);
    EXPECT_FALSE(first.pixels == other.pixels);
  }
  // What drawing the scenes changes (padding aside, so not by memcmp).
  EXPECT_EQ(BenchState.currentScene, 5);
  EXPECT_EQ(BenchState.spotAngle[2], 123.0f);
  EXPECT_EQ(BenchState.sceneChanged, before.sceneChanged);
  EXPECT_EQ(BenchState.displayMode, before.displayMode);
  EXPECT_EQ(BenchState.sliceCount, before.sliceCount);
  EXPECT_EQ(BenchState.towerX[1], before.towerX[1]);
  EXPECT_EQ(std::rand(), firstRandom);
}

}  // namespace
}  // namespace vm
