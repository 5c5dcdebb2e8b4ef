// What a run measured and what results.txt ranks, as documents a script can
// read: JSON and CSV of a run, JSON of the ranking and of a comparison. Every
// number is formatted as the text output prints it.
#pragma once

#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "report/run_report.h"
#include "state/bench_state.h"

namespace vm {

static_assert(kMaxRepeat == kMaxRuns, "a report holds every run");

// The run's settings and renderer, and which scenes take part.
void StartReport(RunReport& report, const CliOptions& options, const std::string& glVendor,
                 const std::string& glRenderer, const std::string& glVersion);
// Writes the --json and --csv reports that were asked for ("-": to `out`);
// false, with the reason on `err`, when one cannot be written.
bool WriteReports(const CliOptions& options, const RunReport& report, std::FILE* out,
                  std::FILE* err);

void WriteRunCsv(const RunReport& report, std::FILE* out);
// "1, 3": the scenes of the run that drew no frame (their rates mean nothing).
std::string ScenesWithoutFrames(const RunReport& report);
// The ranking and a comparison of ResultTable, with the values the Text
// Results window shows and each description as saved, without its padding.
void WriteRankingJson(std::FILE* out);
void WriteCompareJson(int first, int second, std::FILE* out);

}  // namespace vm
