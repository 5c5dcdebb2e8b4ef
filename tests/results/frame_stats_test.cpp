#include "results/frame_stats.h"

#include <gtest/gtest.h>

#include <vector>

namespace vm {
namespace {

// Frame times in ms and their summary: mean, min and max exact, the median
// and p99 (nearest rank) within 1%.
TEST(FrameHistogram, SummariesOfKnownFrameTimes) {
  std::vector<double> ramp, stall(99, 10.0);
  for (int i = 1; i <= 100; ++i) ramp.push_back(i);
  stall.push_back(1000.0);
  const struct {
    const char* what;
    std::vector<double> ms;
    FrameSummary want;
  } cases[] = {
      {"no frames", {}, {0, 0, 0, 0, 0}},
      {"one frame", {16.7}, {16.7, 16.7, 16.7, 16.7, 16.7}},
      {"1 to 100 ms", ramp, {50.5, 1, 50, 99, 100}},
      {"one stall in 100", stall, {19.9, 10, 10, 10, 1000}},
      {"10 us frames", {0.0104, 0.0102, 0.0106}, {0.0104, 0.0102, 0.0104, 0.0106, 0.0106}},
      {"zero, negative and 1 us", {0, -3, 0.001}, {0.001 / 3, 0, 0, 0.001, 0.001}},
      {"beyond the last bucket", {1, 2e6}, {1000000.5, 1, 1, 2e6, 2e6}},
  };
  for (const auto& c : cases) {
    FrameHistogram h;
    for (double ms : c.ms) h.Add(ms / 1000.0);
    const FrameSummary got = h.Summary();
    EXPECT_EQ(h.count(), static_cast<int64_t>(c.ms.size())) << c.what;
    const double have[] = {got.mean, got.min, got.max, got.median, got.p99},
                 want[] = {c.want.mean, c.want.min, c.want.max, c.want.median, c.want.p99};
    for (int k = 0; k < 5; ++k)  // mean, min and max exact; median and p99 within 1%
      EXPECT_NEAR(have[k], want[k], want[k] * (k < 3 ? 1e-9 : 0.01)) << c.what << ", value " << k;
  }
}

}  // namespace
}  // namespace vm
