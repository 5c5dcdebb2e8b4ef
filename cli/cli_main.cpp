// velmark3-cli: the benchmark for machines without a desktop session.
#include <csignal>
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
  // A closed pipe is an output error like any other, reported below.
  std::signal(SIGPIPE, SIG_IGN);
  int status = 2;
  switch (options.command) {
    case vm::CliCommand::kHelp:
      std::fputs(vm::CliUsage(), stdout);
      status = 0;
      break;
    case vm::CliCommand::kRun:
      status = vm::RunCommand(options, stdout, stderr);
      break;
    case vm::CliCommand::kResults:
      status = vm::ResultsCommand(stdout, stderr);
      break;
    case vm::CliCommand::kCompare:
      status = vm::CompareCommand(options.first, options.second, stdout, stderr);
      break;
  }
  return vm::FinishOutput(stdout, stderr) ? status : 1;
}
