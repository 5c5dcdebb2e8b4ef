// The scenes a run can select, for scripts that build --scenes lists.
#pragma once

#include <cstdio>

namespace vm {

// One line per scene, "Scene N : NAME", or the same as JSON; returns the
// exit status.
int ScenesCommand(std::FILE* out, bool json);

}  // namespace vm
