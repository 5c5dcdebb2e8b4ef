// Whether two sets of runs differ, scene by scene, with the evidence said:
// a rank test over the runs' rates and the interval of the ratio it gives.
#pragma once

#include <string>
#include <vector>

#include "report/run_file.h"

namespace vm {

// Changes smaller than this are not claimed, however sure.
constexpr double kMinimumEffect = 0.05;
// The interval's confidence, two-sided.
constexpr double kConfidence = 0.95;

enum class Call { kFaster, kSlower, kNoChange, kNotEnough };

// The interval [d_(k), d_(m*n+1-k)] of the m*n pairwise differences between
// two samples of sizes m and n: the largest k whose two tails together stay
// within 1 - kConfidence under no change; 0 when even complete separation
// would not be significant (too few values).
int RankIntervalIndex(int m, int n);

// From the rates alone: the verdict, the ratio of medians (second / first)
// and the interval of the ratio (NaN when there is none).
struct RateVerdict {
  Call call = Call::kNotEnough;
  double first = 0.0, second = 0.0, ratio = 0.0, low = 0.0, high = 0.0;
};
RateVerdict CompareRates(const std::vector<double>& first, const std::vector<double>& second);

struct SceneVerdict {
  int scene = 0;
  RateVerdict v;
  int firstRates = 0, secondRates = 0;
  int busyLeftOut = 0;  // busy runs' rates not used: enough quiet ones
  int busyUsed = 0;     // busy runs' rates used: too few quiet ones
  // With busy runs used: the CPUs other processes used on each side (NaN
  // when unknown), and whether they differed too much for any claim.
  double load[2] = {0.0, 0.0};
  int cpus = 0;
  bool loadDiffered = false;
};

// Busy runs support a claim only when both sides left this program about
// the same processor time: the CPUs other processes did not use may differ
// by no more than the minimum effect, which a load change alone could make.

struct SideComparison {
  std::string title;                 // "Run 2 against Run 1"
  std::string header;                // run counts per side and what differs
  std::vector<std::string> leftOut;  // runs left out and why
  std::vector<SceneVerdict> scenes;  // the scenes both sides measured
  bool anySlower() const;
};

// Each side is a set of runs. Runs that failed validation or were
// interrupted are left out when the side has others, unless `all`.
SideComparison CompareSides(const std::vector<const RunData*>& first,
                            const std::vector<const RunData*>& second, bool all);

// "slower by 23.1% (95% interval 18.0% to 27.9%)", "no change detected"...
std::string VerdictText(const SceneVerdict& s);
// The stable line: "Scene N : A fps -> B fps (ratio R) VERDICT".
std::string VerdictLine(const SceneVerdict& s);

}  // namespace vm
