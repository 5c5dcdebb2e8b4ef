// The report command: an HTML page of kept runs or run files, and on
// standard output each scene's verdict when runs are compared.
#pragma once

#include <cstdio>

#include "cli/cli_options.h"

namespace vm {

int ReportCommand(const CliOptions& options, std::FILE* out, std::FILE* err);

}  // namespace vm
