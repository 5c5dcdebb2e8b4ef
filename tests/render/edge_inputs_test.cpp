// What the drawers get from outside the program's own tables: machine names
// from the results file, a full table, a minimised window, a missing
// picture, frames faster than a millisecond, paints no tick asked for. The
// scenes' own workload is tests/scenes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/font_cells.h"
#include "render/primitives.h"
#include "render/textures.h"
#include "results/result_table.h"
#include "scenes/scenes.h"
#include "tests/scenes/scene_fixture.h"
#include "tests/support/alloc_counter.h"

namespace {

using vm::BenchState;
using EdgeInputs = vmtest::SceneTest;

// Names from the results file are UTF-8 (older files Latin-1): each
// character takes the sheet's cell, its base letter's, or "?"; control
// characters take none.
TEST(FontCells, EveryCharacterKeepsItsPlace) {
  const struct {
    const char* text;
    std::vector<int> cells;
  } cases[] = {
      {"A\tz", {'A' - 32, 'z' - 32}},
      {"\xc3\x89\xc3\xbf", {96 + 0x29, 96 + 0x5f}},                  // É ÿ: Latin-1 rows
      {"\xc4\x8c\xc5\x82\xc5\xbe", {'C' - 32, 'l' - 32, 'z' - 32}},  // Č ł ž
      {"\xd0\x96\xe2\x80\x99", {'?' - 32, '\'' - 32}},               // Cyrillic, typographic quote
      {"\xc9 \x85\x01", {96 + 0x29, 0, '?' - 32}},                   // Latin-1 bytes, no UTF-8
  };
  for (const auto& c : cases) {
    std::vector<int> cells;
    const size_t size = std::strlen(c.text);
    for (size_t i = 0; i < size;)
      if (const int cell = vm::NextFontCell(c.text, size, i); cell >= 0) cells.push_back(cell);
    EXPECT_EQ(cells, c.cells) << c.text;
  }
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

// A fast card's frame takes tens of microseconds: timed to the nanosecond (a
// microsecond clock read 10.4 us as 10, 4% off). The runner's statistics get
// the same drawing time, and the frame from the clear to the end of the swap.
TEST_F(EdgeInputs, ShortFramesAreTimedToTheNanosecond) {
  static struct : vm::FrameTimeSink {
    double draw = 0, frame = 0;
    void OnBenchmarkFrame(int, double d, double f) override { draw = d, frame = f; }
  } sink;
  view_->frameTimes = &sink;
  BenchState.currentScene = 3;
  float sum = BenchState.sceneTime[3] = 0.5f;
  for (int stepNs : {7000000, 100000, 10400, 1}) {
    platform_.clockStepNs = stepNs;  // between clear, draw start, draw end, swap end
    BenchState.frameDone = 0;        // asked for by a tick
    view_->OnDraw();
    sum += stepNs * 1e-9f;
    EXPECT_FLOAT_EQ(BenchState.sceneTime[3], sum) << stepNs;
    EXPECT_DOUBLE_EQ(sink.draw, stepNs * 1e-9) << stepNs;
    EXPECT_DOUBLE_EQ(sink.frame, 3 * stepNs * 1e-9) << stepNs;
  }
  view_->frameTimes = nullptr;
}

// A paint no tick asked for (a menu closed, the window uncovered) neither
// draws nor times a benchmark frame.
TEST_F(EdgeInputs, UnrequestedBenchmarkPaintChangesNothing) {
  BenchState.currentScene = 3;
  BenchState.sceneTime[3] = 0.5f;
  BenchState.frameDone = 1;
  platform_.clockStepNs = 7000000;
  const vm::BenchStateData before = BenchState;
  view_->OnDraw();
  EXPECT_EQ(std::memcmp(&before, &BenchState, sizeof before), 0);
  EXPECT_EQ(GL_COUNT(glClear) + GL_COUNT(glFinish), 0);
}

}  // namespace
