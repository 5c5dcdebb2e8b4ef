// The history of runs: each run kept in runs/ beside the results file, and
// the history command that lists them.
#pragma once

#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "report/run_report.h"

namespace vm {

// After a run: keeps it in `path` (nothing with an empty path); false, said
// on `err`, when it could not be written.
bool KeepInHistory(const std::string& path, const RunReport& report, std::FILE* err);

int HistoryCommand(const CliOptions& options, std::FILE* out, std::FILE* err);

}  // namespace vm
