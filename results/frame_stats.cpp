#include "results/frame_stats.h"

#include <cmath>

namespace vm {
namespace {

constexpr double kFirst = 1e-6;
constexpr double kRatio = 1.02;

}  // namespace

void FrameHistogram::Clear() {
  for (uint32_t& b : buckets_) b = 0;
  count_ = 0;
  sum_ = min_ = max_ = 0.0;
}

void FrameHistogram::Add(double seconds) {
  if (!(seconds >= 0.0) || !std::isfinite(seconds)) seconds = 0.0;
  int bucket = 0;
  if (seconds >= kFirst) {
    const double i = 1.0 + std::floor(std::log(seconds / kFirst) / std::log(kRatio));
    bucket = i < kBuckets - 1 ? static_cast<int>(i) : kBuckets - 1;
  }
  if (buckets_[bucket] != UINT32_MAX) ++buckets_[bucket];
  min_ = count_ == 0 || seconds < min_ ? seconds : min_;
  max_ = count_ == 0 || seconds > max_ ? seconds : max_;
  ++count_;
  sum_ += seconds;
}

double FrameHistogram::Percentile(double fraction) const {
  if (count_ == 0) return 0.0;
  int64_t rank = static_cast<int64_t>(std::ceil(fraction * static_cast<double>(count_)));
  // The extreme ranks are known exactly.
  if (rank <= 1) return min_;
  if (rank >= count_) return max_;
  int64_t seen = 0;
  int bucket = 0;
  while (bucket < kBuckets - 1 && (seen += buckets_[bucket]) < rank) ++bucket;
  // The geometric middle of the bucket is within 1% of anything in it; the
  // exact extremes bound it (one frame, or all frames equal, come out exact).
  double value = bucket == 0 ? min_ : kFirst * std::pow(kRatio, bucket - 0.5);
  if (bucket == kBuckets - 1) value = max_;
  return value < min_ ? min_ : value > max_ ? max_ : value;
}

double FrameHistogram::BucketUpper(int i) const {
  if (i >= kBuckets - 1) return max_;
  return kFirst * std::pow(kRatio, i);
}

FrameSummary FrameHistogram::Summary() const {
  if (count_ == 0) return FrameSummary{0, 0, 0, 0, 0};
  return FrameSummary{sum_ / static_cast<double>(count_) * 1000.0, min_ * 1000.0,
                      Percentile(0.5) * 1000.0, Percentile(0.99) * 1000.0, max_ * 1000.0};
}

}  // namespace vm
