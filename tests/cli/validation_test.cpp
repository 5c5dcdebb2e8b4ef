#include "validate/validation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace vm {
namespace {

// A 128 x 64 dark picture with a light rectangle from column `left` to 80.
RgbImage Picture(int left) {
  RgbImage p;
  p.width = 128;
  p.height = 64;
  p.pixels.assign(size_t{128} * 64 * 3, 40);
  for (int y = 8; y < 56; ++y)
    for (int x = left; x < 80; ++x)
      for (int c = 0; c < 3; ++c) p.pixels[(size_t{128} * y + x) * 3 + c] = 200;
  return p;
}

// A round highlight of `radius` pixels at (40, 32), `levels` brighter.
void Highlight(RgbImage& p, int radius, int levels) {
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if ((x - 40) * (x - 40) + (y - 32) * (y - 32) <= radius * radius)
        for (int c = 0; c < 3; ++c) p.pixels[(size_t{128} * y + x) * 3 + c] += levels;
}

// Edges a pixel apart pass; a shading change over more than 5% of the
// channels fails, a smaller or fainter one passes; a picture of another size
// never matches.
TEST(Comparison, EdgesPassShadingFails) {
  const RgbImage reference = Picture(20);
  EXPECT_EQ(PictureDifference(reference, reference), 0.0);
  EXPECT_LE(PictureDifference(Picture(21), reference), kValidationLimit);
  EXPECT_LE(PictureDifference(Picture(19), reference), kValidationLimit);

  RgbImage shaded = reference;
  Highlight(shaded, 12, kValidationTolerance + 1);  // 5.5% of the picture
  EXPECT_GT(PictureDifference(shaded, reference), kValidationLimit);
  EXPECT_GT(PictureDifference(reference, shaded), kValidationLimit);
  RgbImage faint = reference;
  Highlight(faint, 12, kValidationTolerance);
  EXPECT_EQ(PictureDifference(faint, reference), 0.0);
  RgbImage small = reference;
  Highlight(small, 4, 50);
  EXPECT_LE(PictureDifference(small, reference), kValidationLimit);

  RgbImage narrow = reference;
  narrow.width = 127;
  narrow.pixels.resize(size_t{127} * 64 * 3);
  EXPECT_EQ(PictureDifference(narrow, reference), 100.0);
  EXPECT_EQ(PictureDifference(RgbImage{}, RgbImage{}), 100.0);
}

// A second reference: a channel near either one is near (pixels that
// z-fight take one colour or the other).
TEST(Comparison, EitherReferenceMatches) {
  const RgbImage top = Picture(20), side = Picture(60);
  RgbImage mixed = top;
  for (size_t i = 0; i < mixed.pixels.size() / 2; ++i) mixed.pixels[i] = side.pixels[i];
  EXPECT_GT(PictureDifference(mixed, top), kValidationLimit);
  EXPECT_EQ(PictureDifference(mixed, top, side), 0.0);
  const RgbImage difference = DifferencePicture(mixed, top, side);
  EXPECT_TRUE(std::all_of(difference.pixels.begin(), difference.pixels.end(),
                          [](unsigned char v) { return v == 0; }));
  EXPECT_EQ(PictureDifference(Picture(0), top, side), PictureDifference(Picture(0), top));
}

// The pictures --images writes come out at the frame's size.
TEST(Comparison, ReducedPicturesEnlargeToTheFrame) {
  const RgbImage frame = Picture(21);
  const RgbImage reduced = BlockAverage(frame, kValidationBlock);
  EXPECT_EQ(reduced.width, 64);
  const RgbImage back = Enlarge(reduced, kValidationBlock);
  EXPECT_EQ(back.width, frame.width);
  EXPECT_EQ(back.height, frame.height);
  EXPECT_EQ(back.pixels[(size_t{128} * 30 + 22) * 3], 200);
  EXPECT_EQ(back.pixels[(size_t{128} * 30 + 20) * 3], 120);  // the mean of 40 and 200
}

// Scene 17 draws the mesh of the scene before it: a run that leaves it
// without one is told, whatever else it holds.
TEST(Validation, RunOrderNamesAMissingMesh) {
  bool run[kSceneCount] = {};
  run[16] = true;
  const std::string alone = RunOrderProblem(16, run);
  EXPECT_EQ(alone, "scene 17 draws the mesh of the latest surface scene; add scene 16 before it");
  run[14] = true;
  EXPECT_EQ(RunOrderProblem(16, run), alone);
  run[15] = true;
  EXPECT_EQ(RunOrderProblem(16, run), "");
  for (int scene : {0, 15, 17, 23}) EXPECT_EQ(RunOrderProblem(scene, run), "") << scene;
  bool none[kSceneCount] = {};
  EXPECT_EQ(RunOrderProblem(17, none), "");
}

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
    // In a run of 16 and 17, scene 17 is drawn as in a run of all; alone,
    // it is not drawn at all.
    bool run[kSceneCount] = {};
    run[15] = run[16] = true;
    ASSERT_TRUE(renderer.Render(16, again, error, run)) << error;
    EXPECT_TRUE(first.pixels == again.pixels);
    run[15] = false;
    EXPECT_FALSE(renderer.Render(16, again, error, run));
    EXPECT_EQ(error, RunOrderProblem(16, run));
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
