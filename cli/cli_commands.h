// The runner's commands and options, one table each: every command line is
// parsed from them, --help is written from them, and before a command runs
// the outputs its row declares are checked together.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_outputs.h"

namespace vm {

constexpr unsigned CommandBit(CliCommand c) {
  return 1u << static_cast<int>(c);
}

enum class ValueKind { kNone, kNumber, kText, kFile, kFolder, kSceneList, kSize, kChoice };

struct OptionRow {
  const char* name;  // "--name"
  char letter;       // 0, or the one-letter spelling: -o
  ValueKind kind;
  const char* value;   // how --help names the value: "N", "PATH"
  unsigned commands;   // CommandBit of each command that takes it
  unsigned valueless;  // commands that take it without a value (--json: standard output)
  const char* help;
  // Stores the value (already there: the option needs one); false with a
  // one-line reason.
  bool (*set)(CliOptions& options, const std::string& value, std::string& error);
  // A path the user typed, kept pointing where it was meant from the folder
  // the command runs in; null for other values.
  std::string CliOptions::*path;
  const char* example;  // a value it takes
};

struct CommandRow {
  CliCommand command;
  const char* name;
  const char* synopsis;  // what follows the name in --help
  const char* help;
  // The words after the command that are not options; false with a reason
  // when they are not what it takes.
  bool (*arguments)(const std::vector<std::string>& words, CliOptions& options, std::string& error);
  // The files it will write, and those it reads that no output may replace.
  void (*outputs)(CliOptions& options, std::vector<CommandOutput>& writes,
                  std::vector<std::string>& reads);
  int (*run)(CliOptions& options, std::FILE* out, std::FILE* err);
};

const std::vector<OptionRow>& OptionTable();
const std::vector<CommandRow>& CommandTable();

// Fills `out` from argv[1..argc-1]. On a bad command line returns false with
// a one-line reason in `error`.
bool ParseCli(int argc, const char* const* argv, CliOptions& out, std::string& error);

// The full --help text.
std::string CliUsage();

// The paths the command line named (files, folders, a report's run files).
std::vector<std::string*> UserPaths(CliOptions& options);

// Checks the outputs the command declares (exit status 2, one line, when one
// is refused), then runs it; returns the exit status.
int RunCli(CliOptions& options, std::FILE* out, std::FILE* err);

}  // namespace vm
