// The report command: an HTML page of kept runs or run files, and on
// standard output each scene's verdict when runs are compared.
#pragma once

#include <cstdio>

#include "cli/cli_options.h"

namespace vm {

// The exit status of a report that found some scene slower (and no error).
constexpr int kSomeSceneSlower = 3;

int ReportCommand(const CliOptions& options, std::FILE* out, std::FILE* err);

}  // namespace vm
