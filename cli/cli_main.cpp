// velmark3-cli: the benchmark for machines without a desktop session.
#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "cli/cli_results.h"
#include "cli/cli_run.h"

int main(int argc, char** argv) {
  vm::CliOptions options;
  std::string error;
  if (!vm::ParseCli(argc, argv, options, error)) {
    std::fprintf(stderr, "velmark3-cli: %s\n", error.c_str());
    return 2;
  }
  for (const std::string& note : options.notes)
    std::fprintf(stderr, "velmark3-cli: %s\n", note.c_str());
  switch (options.command) {
    case vm::CliCommand::kHelp:
      std::fputs(vm::CliUsage(), stdout);
      return 0;
    case vm::CliCommand::kRun:
      return vm::RunCommand(options, stdout, stderr);
    case vm::CliCommand::kResults:
      return vm::ResultsCommand(stdout, stderr, !options.jsonPath.empty());
    case vm::CliCommand::kCompare:
      return vm::CompareCommand(options.first, options.second, stdout, stderr,
                                !options.jsonPath.empty());
    case vm::CliCommand::kDevices:
      return vm::DevicesCommand(stdout, stderr);
  }
  return 2;
}
