// The reference pictures of res/references, compiled into the program.
#pragma once

#include <cstddef>

#include "state/bench_state.h"

namespace vm {

struct EmbeddedReference {
  const unsigned char* data;  // nullptr where the build found no picture
  std::size_t size;
};

// By scene index: drawn with the deepest depth buffer, and with 16 bits
// where that changes the picture (nullptr elsewhere).
extern const EmbeddedReference kEmbeddedReferences[kSceneCount];
extern const EmbeddedReference kShallowReferences[kSceneCount];

}  // namespace vm
