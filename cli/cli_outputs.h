// The files a command will write, checked together before its work starts:
// a run that cannot write what was asked of it is refused (exit 2) before
// its first scene, and nothing it writes can land on a file the user keeps.
#pragma once

#include <string>
#include <vector>

namespace vm {

struct CommandOutput {
  std::string option;  // how messages name it: "--json", "--save"
  std::string path;    // "" (not asked for) and "-" (standard output) are not checked
  // Appended under the lock (the results file) rather than replaced whole.
  bool append = false;
};

// The files the program reads and a report must never replace: the results
// file in use, results.txt, benchs.txt and faq.txt of the working folder, and
// the installed program's shipped files.
std::vector<std::string> KeptFiles(const std::string& resultsFile);

// Empty when every output can be written: each passes CheckOutputPath (an
// appended one: an existing regular file that can be written, or a place for
// a new one), no two name the same file, and no replaced one names a kept
// file (nor an appended one a file other than a results file). Otherwise one
// line per output refused, naming its option and path.
std::string CheckRunOutputs(const std::vector<CommandOutput>& outputs,
                            const std::string& resultsFile);

}  // namespace vm
