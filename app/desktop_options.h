// The desktop program's command line: the benchmark itself takes no options,
// only the two questions a packager or user asks of any program.
#pragma once

#include <cstdio>

namespace vm {

// Answers --version or --help (exit status 0, 1 when the answer could not be
// written) or reports anything else as a bad command line (2). Only called
// with at least one argument.
int AnswerDesktopOptions(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace vm
