// The history of runs: every finished run's JSON report kept as one file in
// runs/, beside the results file the run was ranked against, named by its
// UTC start time so that the names sort oldest first.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "report/run_file.h"

namespace vm {

// The runs/ folder beside `resultsFile`.
std::string RunsFolder(const std::string& resultsFile);
// "2026-12-07T20:35:00Z".
std::string IsoDate(std::time_t when);
// A new file in `folder` for a run started at `when`: its UTC date and time
// and a random suffix, so that two runs in one second keep both.
std::string NewRunPath(const std::string& folder, std::time_t when);
// Before the run: empty when the file can be written (its folder may still
// be missing), else why not.
std::string PrepareRunPath(const std::string& path);
// After the run: the folder made when missing, the file written whole.
bool KeepRun(const std::string& path, const std::string& json, std::string& error);
// The kept runs' files in `folder` by name; none when it is missing.
std::vector<std::string> KeptRuns(const std::string& folder);

// One file read whole, as a report reads it.
struct ReadRun {
  RunData run;
  std::string error;  // why it is not a run report; empty when it is one
};
// Reads each file on every core: ten thousand runs are a few hundred MB.
std::vector<ReadRun> ReadRunFiles(const std::vector<std::string>& paths, RunDetail detail);

// What runs/ holds. Every file is read whole: a run cut short or otherwise
// damaged is listed as such, by the date in its name; a file that is
// neither a run report nor named like a kept run is stray and left out.
struct History {
  std::vector<ReadRun> runs;  // oldest first by the date inside, the damaged among them
  std::vector<ReadRun> stray;
};
History ReadHistory(const std::string& folder, RunDetail detail = RunDetail::kNoHistograms);

}  // namespace vm
