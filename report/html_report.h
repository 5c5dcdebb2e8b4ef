// The report page: one self-contained HTML file (inline CSS and SVG, no
// script, no outside resource) of one run, a comparison of two to eight, or
// the distribution of many.
#pragma once

#include <string>
#include <vector>

#include "report/run_file.h"
#include "report/verdict.h"

namespace vm {

constexpr int kMostCompared = 8;

// Where a single run's score stands among the machines of the results file;
// place 0 when there is no results file to rank against.
// `saved`: the run is one of those machines already (saved with --save),
// counted once.
struct Standing {
  int place = 0, machines = 0;
  std::string file;
  bool saved = false;
};
// Reads `resultsFile` into the result table to rank `run` against it.
Standing RankRun(const RunData& run, const std::string& resultsFile);

// `comparisons`: sides of several runs, compared before the runs are shown;
// without them two to eight runs are each compared with the first. `all`
// keeps runs that failed validation, were interrupted or ran on a busy
// machine in the statistics of many runs.
std::string HtmlReport(const std::vector<RunData>& runs, const Standing& standing,
                       const std::vector<SideComparison>& comparisons = {}, bool all = false);

// Two to eight runs as the report compares them: each against the first.
std::vector<SideComparison> EachAgainstFirst(const std::vector<RunData>& runs, bool all);

// Why a run's numbers are doubtful ("failed validation, busy"); empty when
// they are not.
std::string RunMarks(const RunData& run);

// "1-3,5": scene numbers (ascending) as --scenes takes them.
std::string SceneList(const std::vector<int>& scenes);
// A rate as the run reports write it; "-" for none.
std::string Fps(double fps);

}  // namespace vm
