// The history of runs (kept in runs/ beside the results file) and the HTML
// report made from kept runs or run files.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>

#include "cli/cli_options.h"
#include "report/run_report.h"

namespace vm {

// Options of history and report (argv[1] is the command).
bool ParseHistoryCli(int argc, const char* const* argv, CliOptions& out, std::string& error);

// Before a run: the file the run started at `started` will be kept in;
// empty with --no-history. False, said on `err`, when it
// cannot be written.
bool PrepareHistory(const CliOptions& options, std::time_t started, std::string& path,
                    std::FILE* err);
// After the run: keeps it (nothing with an empty path).
bool KeepInHistory(const std::string& path, const RunReport& report, std::FILE* err);

int HistoryCommand(const CliOptions& options, std::FILE* out, std::FILE* err);
int ReportCommand(const CliOptions& options, std::FILE* out, std::FILE* err);

}  // namespace vm
