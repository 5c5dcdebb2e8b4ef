// The runner's view of results.txt: the ranking and the comparison, the
// same lines the Text Results window lists.
#pragma once

#include <cstdio>
#include <string>

#include "results/result_table.h"

namespace vm {

// Prints the ranking list's lines (or their values as JSON); returns the
// exit status.
int ResultsCommand(std::FILE* out, std::FILE* err, const char* resultsPath = kResultsFile,
                   bool json = false);
// Prints the comparison list after choosing machine `first`, then `second`.
int CompareCommand(int first, int second, std::FILE* out, std::FILE* err,
                   const char* resultsPath = kResultsFile, bool json = false);
// Lists the devices of EGL's device platform, as --device numbers them.
int DevicesCommand(std::FILE* out, std::FILE* err);

// Flushes `out`; a write that failed on the way (a full disk, a closed pipe)
// is told on `err`. Returns false then.
bool FinishOutput(std::FILE* out, std::FILE* err);

}  // namespace vm
