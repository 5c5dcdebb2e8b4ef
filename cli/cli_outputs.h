// The one check of the files a command will write, made before its work
// starts (the first scene, the first validation frame, the first run read):
// an output that cannot be written, or that would replace a file the user
// keeps, refuses the whole command, and nothing is created then.
#pragma once

#include <string>
#include <vector>

namespace vm {

enum class OutputKind {
  kDocument,  // replaced whole; "-" is standard output
  kAppend,    // the results file, appended under the lock
  kPicture,   // replaced whole; its folder is made when missing
  kKeptRun,   // the run's file in runs/; the folder is made when missing
};

struct CommandOutput {
  std::string option;  // how messages name it: "--json", "--save"
  std::string path;    // "" is not asked for
  OutputKind kind = OutputKind::kDocument;
};

// The files the program reads and no output may replace: the results file
// in use, results.txt, benchs.txt and faq.txt of the working folder, and the
// installed program's shipped files.
std::vector<std::string> KeptFiles(const std::string& resultsFile);

// Empty when every output can be written: each can take a new file (a link
// is written through to its target), no two name the same file, none names
// a kept file (an appended one may name a results file), a file in `reads`
// or a kept run in runs/. Otherwise one line naming the output's path and
// the reason.
std::string CheckOutputs(const std::vector<CommandOutput>& outputs,
                         const std::vector<std::string>& reads, const std::string& resultsFile);

}  // namespace vm
