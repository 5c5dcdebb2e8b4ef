// The runner's view of results.txt: the ranking and the comparison, taken
// from the Text Results window's own logic.
#pragma once

#include <cstdio>

#include "results/result_table.h"

namespace vm {

// Prints the ranking list's lines; returns the exit status.
int ResultsCommand(std::FILE* out, std::FILE* err, const char* resultsPath = kResultsFile);
// Prints the comparison list after choosing machine `first`, then `second`.
int CompareCommand(int first, int second, std::FILE* out, std::FILE* err,
                   const char* resultsPath = kResultsFile);

}  // namespace vm
