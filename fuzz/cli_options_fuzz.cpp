// Arbitrary argument vectors (NUL-separated) for the runner's command line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args = {"velmark3-cli"};
  std::string current;
  for (size_t i = 0; i < size && args.size() < 64; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current.push_back(static_cast<char>(data[i]));
    }
  }
  args.push_back(current);
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  vm::CliOptions options;
  std::string error;
  const bool ok = vm::ParseCli(static_cast<int>(argv.size()), argv.data(), options, error);
  if (!ok && (error.empty() || error.find('\n') != std::string::npos)) __builtin_trap();
  if (ok && options.command == vm::CliCommand::kRun &&
      (options.seconds < 2 || options.timerMs < 10 || options.width < 1 || options.height < 1))
    __builtin_trap();
  return 0;
}
