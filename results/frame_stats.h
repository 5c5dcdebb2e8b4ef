// The frame times of one scene, summarised without keeping every frame: a
// histogram of logarithmic buckets 2% wide, so a median or p99 read from it is
// within 1% of the true frame time, while the mean, min and max are exact.
// Fixed size: adding a frame never allocates.
#pragma once

#include <cstdint>

namespace vm {

struct FrameSummary {
  double mean, min, median, p99, max;  // milliseconds
};

class FrameHistogram {
 public:
  FrameHistogram() { Clear(); }
  void Clear();
  // A frame of `seconds`; a negative or undefined time counts as 0.
  void Add(double seconds);
  int64_t count() const { return count_; }
  // Nearest rank: the least time that at least `fraction` of the frames do
  // not exceed, in seconds; 0 without frames.
  double Percentile(double fraction) const;
  // All zero without frames.
  FrameSummary Summary() const;
  // The buckets, for drawing the distribution: frames in bucket i, and the
  // time in seconds below which they all lie (the last one: the slowest).
  static constexpr int BucketCount() { return kBuckets; }
  uint32_t BucketFrames(int i) const { return buckets_[i]; }
  double BucketUpper(int i) const;

 private:
  // Bucket 0 holds frames under 1 us; bucket i >= 1 holds
  // [1 us * 1.02^(i-1), 1 us * 1.02^i); the last one everything from about
  // 20 minutes up.
  static constexpr int kBuckets = 1048;
  uint32_t buckets_[kBuckets];
  int64_t count_;
  double sum_, min_, max_;
};

// Told the times of every timed benchmark frame: the drawing time the scene's
// rate is made of, and the whole frame from the clear to the end of the swap.
class FrameTimeSink {
 public:
  virtual ~FrameTimeSink() = default;
  virtual void OnBenchmarkFrame(int scene, double drawSeconds, double frameSeconds) = 0;
  // The sequencer's scene boundaries, outside any timed frame.
  virtual void OnSceneStart(int /*scene*/) {}
  virtual void OnSceneEnd(int /*scene*/) {}
};

}  // namespace vm
