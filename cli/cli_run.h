// The commands of the headless runner, over the desktop program's own code.
#pragma once

#include <cstdio>
#include <string>

#include "cli/cli_options.h"

namespace vm {

// Runs the selected scenes in an off-screen context; returns the exit status.
int RunCommand(CliOptions& options, std::FILE* out, std::FILE* err);

struct RunReport;
// Why --save must not store this run (before it: nullptr), or empty.
std::string WhyNotSaved(const CliOptions& options, const RunReport* report);

}  // namespace vm
