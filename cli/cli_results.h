// The runner's view of results.txt: the ranking and the comparison, taken
// from the Text Results window's own logic.
#pragma once

#include <cstdio>

namespace vm {

// Prints the ranking list's lines (or their values as JSON); returns the
// exit status.
int ResultsCommand(std::FILE* out, std::FILE* err, bool json = false);
// Prints the comparison list after choosing machine `first`, then `second`.
int CompareCommand(int first, int second, std::FILE* out, std::FILE* err, bool json = false);
// Lists the devices of EGL's device platform, as --device numbers them.
int DevicesCommand(std::FILE* out, std::FILE* err);

}  // namespace vm
