#include "cli/cli_scenes.h"

#include "cli/cli_documents.h"
#include "state/bench_state.h"

namespace vm {

int ScenesCommand(std::FILE* out, bool json) {
  if (json) std::fprintf(out, "{\"scenes\": [");
  for (int i = 0; i < kSceneCount; ++i) {
    if (json)
      std::fprintf(out, "%s\n  {\"scene\": %d, \"name\": %s}", i ? "," : "", i + 1,
                   JsonString(SceneName(i)).c_str());
    else
      std::fprintf(out, "Scene %d : %s\n", i + 1, SceneName(i).c_str());
  }
  if (json) std::fprintf(out, "]}\n");
  return 0;
}

}  // namespace vm
