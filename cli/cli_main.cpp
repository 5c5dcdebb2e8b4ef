// velmark3-cli: the benchmark for machines without a desktop session.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_files.h"
#include "cli/cli_history.h"
#include "cli/cli_options.h"
#include "cli/cli_results.h"
#include "cli/cli_run.h"
#include "cli/cli_scenes.h"
#include "cli/cli_validate.h"
#include "version.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("velmark3-cli %s\n", VM_VERSION);
    return vm::FinishOutput(stdout, stderr) ? 0 : 1;
  }
  std::vector<const char*> args(argv, argv + argc);
  std::string resultsFile;
  vm::CliOptions options;
  std::string error;
  if (!vm::TakeResultsFileOption(args, resultsFile, error) ||
      !vm::ParseCli(static_cast<int>(args.size()), args.data(), options, error)) {
    std::fprintf(stderr, "velmark3-cli: %s\n", error.c_str());
    return 2;
  }
  for (const std::string& note : options.notes)
    std::fprintf(stderr, "velmark3-cli: %s\n", note.c_str());
  std::vector<std::string*> paths = {&resultsFile, &options.jsonPath, &options.csvPath,
                                     &options.imagesDir, &options.outputPath};
  // A report's runs are files, or history indexes that stay as they are.
  for (std::string& run : options.runs)
    if (run.find_first_not_of("0123456789") != std::string::npos) paths.push_back(&run);
  if (options.command != vm::CliCommand::kHelp && options.command != vm::CliCommand::kScenes &&
      !vm::EnterFilesFolder(vm::InstalledDataDir(), paths, error)) {
    std::fprintf(stderr, "velmark3-cli: %s\n", error.c_str());
    return 1;
  }
  if (!resultsFile.empty()) options.resultsFile = resultsFile;
  const char* results = options.resultsFile.c_str();
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
      status = vm::ResultsCommand(stdout, stderr, results, !options.jsonPath.empty());
      break;
    case vm::CliCommand::kCompare:
      status = vm::CompareCommand(options.first, options.second, stdout, stderr, results,
                                  !options.jsonPath.empty());
      break;
    case vm::CliCommand::kDevices:
      status = vm::DevicesCommand(stdout, stderr);
      break;
    case vm::CliCommand::kScenes:
      status = vm::ScenesCommand(stdout, !options.jsonPath.empty());
      break;
    case vm::CliCommand::kValidate:
      status = vm::ValidateCommand(options, stdout, stderr);
      break;
    case vm::CliCommand::kHistory:
      status = vm::HistoryCommand(options, stdout, stderr);
      break;
    case vm::CliCommand::kReport:
      status = vm::ReportCommand(options, stdout, stderr);
      break;
  }
  return vm::FinishOutput(stdout, stderr) ? status : 1;
}
