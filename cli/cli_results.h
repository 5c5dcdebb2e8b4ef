// The runner's view of results.txt: the ranking and the comparison, the
// same lines the Text Results window lists.
#pragma once

#include <cstdio>

namespace vm {

// Prints the ranking list's lines; returns the exit status.
int ResultsCommand(std::FILE* out, std::FILE* err);
// Prints the comparison list after choosing machine `first`, then `second`.
int CompareCommand(int first, int second, std::FILE* out, std::FILE* err);

}  // namespace vm
