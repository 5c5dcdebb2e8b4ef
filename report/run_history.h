// The history of runs: every finished run's JSON report kept as one file in
// runs/, beside the results file the run was ranked against, named by its
// UTC start time so that the names sort oldest first.
#pragma once

#include <ctime>
#include <string>
#include <vector>

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
// The kept runs' files in `folder`, oldest first; none when it is missing.
std::vector<std::string> KeptRuns(const std::string& folder);

}  // namespace vm
