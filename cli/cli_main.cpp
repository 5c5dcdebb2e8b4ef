// velmark3-cli: the benchmark for machines without a desktop session.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_files.h"
#include "cli/cli_results.h"
#include "version.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("velmark3-cli %s\n", VM_VERSION);
    return vm::FinishOutput(stdout, stderr) ? 0 : 1;
  }
  vm::CliOptions options;
  std::string error;
  if (!vm::ParseCli(argc, argv, options, error)) {
    std::fprintf(stderr, "velmark3-cli: %s\n", error.c_str());
    return 2;
  }
  for (const std::string& note : options.notes)
    std::fprintf(stderr, "velmark3-cli: %s\n", note.c_str());
  if (options.command != vm::CliCommand::kHelp && options.command != vm::CliCommand::kScenes &&
      !vm::EnterFilesFolder(vm::InstalledDataDir(), vm::UserPaths(options), error)) {
    std::fprintf(stderr, "velmark3-cli: %s\n", error.c_str());
    return 1;
  }
  // A closed pipe is an output error like any other, reported below.
  std::signal(SIGPIPE, SIG_IGN);
  const int status = vm::RunCli(options, stdout, stderr);
  return vm::FinishOutput(stdout, stderr) ? status : 1;
}
