// The report page: one self-contained HTML file (inline CSS and SVG, no
// script, no outside resource) of one run, a comparison of two to eight, or
// the distribution of many.
#pragma once

#include <string>
#include <vector>

#include "report/run_file.h"

namespace vm {

constexpr int kMostCompared = 8;

// One scene measured by both runs: their rates, the ratio of the second to
// the first, and whether it is beyond the noise (with 3 or more runs each,
// ranges that do not overlap; otherwise a ratio beyond +-5%).
struct Verdict {
  int scene;
  double first, second, ratio;
  bool changed;
};
std::vector<Verdict> CompareRuns(const RunData& first, const RunData& other);

// Where a single run's score stands among the machines of the results file;
// place 0 when there is no results file to rank against.
struct Standing {
  int place = 0, machines = 0;
  std::string file;
};

std::string HtmlReport(const std::vector<RunData>& runs, const Standing& standing);

// "1-3,5": scene numbers (ascending) as --scenes takes them.
std::string SceneList(const std::vector<int>& scenes);
// A rate as the run reports write it; "-" for none.
std::string Fps(double fps);

}  // namespace vm
